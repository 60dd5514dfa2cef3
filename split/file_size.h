#pragma once
// What the split asks the file system: about its source, and about the names it
// will write under.
#include <cstdint>

#include "split/wide_path.h"

// The size in bytes of a regular file. Throws std::filesystem::filesystem_error
// when the path is missing, a directory, a device, or its size cannot be read.
std::uint64_t query_file_size(const WidePath& path);

// When a regular file was last written, in the platform's 100-nanosecond units.
// Throws as query_file_size does.
std::uint64_t query_last_write_time(const WidePath& path);

// Whether a file or folder of this name exists already.
bool name_taken(const std::wstring& path);
