#pragma once
// Names the numbered parts of one source: "C:\d\movie.iso" has the parts
// "C:\d\movie.iso_1", "C:\d\movie.iso_2", ... "C:\d\movie.iso_10", ...
#include <cstdint>
#include <string>
#include <utility>

#include "split/wide_path.h"

class PartSequence {
 public:
  explicit PartSequence(std::wstring source_path) : path(std::move(source_path)) {}

  // The full path of part `number`.
  std::wstring part_path(std::int32_t number) const;
  // The number of the part that a file name in the source's folder stands for, told
  // apart as Windows tells names apart, without regard to case; 0 for any other name.
  // Numbers too large for a part come back as INT64_MAX.
  std::int64_t number_named_by(const std::wstring& file_name) const;

  const WidePath path;
};
