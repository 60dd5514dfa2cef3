#include "app/initial_path.h"

#include <cwchar>
#include <iterator>
#include <string>

#include "split/source_path.h"

wchar_t initial_path[260];

void keep_initial_path(const wchar_t* command_line) {
  // Explorer quotes every path that holds a blank, for a file dropped on the
  // program as for "Send to".
  const std::wstring path = without_surrounding_quotes(command_line);
  if (path.empty() || path.size() >= std::size(initial_path)) return;
  std::wmemcpy(initial_path, path.c_str(), path.size() + 1);
}
