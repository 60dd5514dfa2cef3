#include "split/part_sequence.h"

// The suffix goes on after the conversion, so it can never push a path of at
// most 259 bytes over the conversion's limit.
std::string PartSequence::part_path() const { return path.narrow() + "_" + std::to_string(number); }

std::string PartSequence::part_file_name() const {
  return path.file_name().narrow() + "_" + std::to_string(number);
}

std::wstring PartSequence::wide_part_path(std::int32_t part_number) const {
  return path.text() + L"_" + std::to_wstring(part_number);
}
