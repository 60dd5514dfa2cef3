#pragma once
// What the split asks about its open source: the file itself, never its name, so
// that a symbolic link tells its target's size and a device is told apart.
#include <cstdint>
#include <string>

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

// Throws a failed SplitOutcome naming the file: source_is_device when the open file
// is not a file on a disk (a device such as NUL or CON, a pipe), cannot_read with
// the system's number when the system could not be asked.
FileStamp query_file_stamp(const FileHandle& file, const std::wstring& name);
