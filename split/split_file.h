#pragma once
#include <cstdint>

// Cuts the file named by split_job.source_path into parts of part_size bytes beside
// it and writes the rejoin script. Everything it can know before the first byte
// (free names that fit, room on the volume) it checks before it. Polls
// split_job.cancel_requested during those checks, before every part and every
// block; a cancelled run writes no script and counts as done. Returns false on any
// failure, with the files made so far left in place.
bool split_file(std::int64_t part_size);
