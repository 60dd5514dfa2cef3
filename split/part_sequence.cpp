#include "split/part_sequence.h"

#include <windows.h>

namespace {

// The part number's text: decimal digits, no sign, no leading zero.
std::int64_t number_in(const std::wstring& digits) {
  if (digits.empty() || digits[0] == L'0') return 0;
  std::int64_t number = 0;
  for (wchar_t digit : digits) {
    if (digit < L'0' || digit > L'9') return 0;
    number = number > (INT64_MAX - 9) / 10 ? INT64_MAX : number * 10 + (digit - L'0');
  }
  return number;
}

}  // namespace

std::wstring PartSequence::part_path(std::int32_t number) const { return path.text() + L"_" + std::to_wstring(number); }

std::int64_t PartSequence::number_named_by(const std::wstring& file_name) const {
  const std::wstring prefix = path.file_name().text() + L"_";
  if (file_name.size() <= prefix.size() ||
      CompareStringOrdinal(file_name.c_str(), static_cast<int>(prefix.size()), prefix.c_str(),
                           static_cast<int>(prefix.size()), TRUE) != CSTR_EQUAL) {
    return 0;
  }
  return number_in(file_name.substr(prefix.size()));
}
