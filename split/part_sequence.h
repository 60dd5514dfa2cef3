#pragma once
// Names the numbered parts of one source: "C:\d\movie.iso" has the parts
// "C:\d\movie.iso_1", "C:\d\movie.iso_2", ... "C:\d\movie.iso_10", ...
#include <cstdint>
#include <string>

#include "split/wide_path.h"

class PartSequence {
 public:
  explicit PartSequence(const char* source_path) : path(source_path) {}

  // The full path of part `number`, under which it is created.
  std::string part_path() const;
  // The bare file name of part `number`, as the rejoin script lists it.
  std::string part_file_name() const;
  // The full path of any part, as wide text, to look for it before the split.
  std::wstring wide_part_path(std::int32_t part_number) const;

  const WidePath path;
  std::int32_t number = 1;
};
