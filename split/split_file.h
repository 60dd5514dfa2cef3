#pragma once
#include <cstdint>

// Cuts the file named by split_job.source_path into parts of part_size bytes beside
// it and writes the rejoin script. Polls split_job.cancel_requested before every
// part and every block; a cancelled run still writes the script and counts as done.
// Returns false on any failure, with the files made so far left in place.
bool split_file(std::int64_t part_size);
