#pragma once
#include <cstdint>

#include "split/split_outcome.h"

// Cuts the file named by split_job.source_path into parts of part_size bytes beside
// it and writes the rejoin script. Everything it can know before the first byte
// (free names that fit, room in the folder) it checks before it. Polls
// split_job.cancel_requested during those checks, before every part and every
// block; a cancelled run writes no script. Says how it ended, and for a failure
// why; the files made so far stay in place.
SplitOutcome split_file(std::int64_t part_size);
