#pragma once
// What the split asks about its open source: the file itself, never its name, so
// that a symbolic link tells its target's size and a device is told apart.
#include <cstdint>

#include "split/file_handle.h"

struct FileStamp {
  std::uint64_t size;
  // When the file was last written, in the platform's 100-nanosecond units.
  std::uint64_t last_write_time;

  bool operator==(const FileStamp& other) const {
    return size == other.size && last_write_time == other.last_write_time;
  }
  bool operator!=(const FileStamp& other) const { return !(*this == other); }
};

// Throws std::filesystem::filesystem_error when the open file is not a file on a
// disk (a device such as NUL or CON, a pipe) or cannot be asked.
FileStamp query_file_stamp(const FileHandle& file);
