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
  std::string part_path(std::int32_t number) const;
  // The same path as wide text, to name the part to the user.
  std::wstring wide_part_path(std::int32_t number) const;
  // The bare file name of part `number`, as the rejoin script lists it.
  std::string part_file_name(std::int32_t number) const;
  // The number of the part that a file name in the source's folder stands for, told
  // apart as Windows tells names apart, without regard to case; 0 for any other name.
  // Numbers too large for a part come back as INT64_MAX.
  std::int64_t number_named_by(const std::wstring& file_name) const;

  const WidePath path;
};
