// Splits one file, for the tests that check what a split leaves with the tools of
// the machine the tests run on:  split_once PART_BYTES SOURCE [spare]
// The source comes as wide text, which holds every name.
#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <iterator>

#include "job/split_job.h"
#include "split/split_file.h"

int main() {
  int count = 0;
  wchar_t** words = CommandLineToArgvW(GetCommandLineW(), &count);
  if (words == nullptr || count < 3 || count > 4) return 2;
  split_job.make_spare = count == 4;
  std::swprintf(split_job.source_path, std::size(split_job.source_path), L"%ls", words[2]);
  return split_file(std::wcstoll(words[1], nullptr, 10)).ending == SplitOutcome::Ending::finished ? 0 : 1;
}
