// Splits one file, for the tests that check what a split leaves with the tools of
// the machine the tests run on:  split_once PART_BYTES SOURCE
#include <cstdio>
#include <cstdlib>

#include "job/split_job.h"
#include "split/split_file.h"

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  std::snprintf(split_job.source_path, sizeof split_job.source_path, "%s", argv[2]);
  return split_file(std::atoll(argv[1])).ending == SplitOutcome::Ending::finished ? 0 : 1;
}
