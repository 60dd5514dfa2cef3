#pragma once
#include <cstdint>

#include "split/wide_path.h"

// The size in bytes of a regular file. Throws std::filesystem::filesystem_error
// when the path is missing, a directory, a device, or its size cannot be read.
std::uint64_t query_file_size(const WidePath& path);
