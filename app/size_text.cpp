#include "app/size_text.h"

#include <cctype>
#include <limits>

namespace {

// Full-width forms as a Japanese input method types them (digits, letters, "+",
// ",", ".") made their ASCII selves, the ideographic space a blank; any other
// character beyond ASCII becomes "?", which no size holds.
std::string folded_to_ascii(const std::wstring& text) {
  std::string ascii;
  for (const wchar_t c : text) {
    if (c >= L'\xFF01' && c <= L'\xFF5E') {
      ascii += static_cast<char>(c - 0xFEE0);
    } else if (c == L'\x3000') {
      ascii += ' ';
    } else {
      ascii += c < 0x80 ? static_cast<char>(c) : '?';
    }
  }
  return ascii;
}

bool is_blank(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::int32_t parse_split_size(const std::wstring& typed) {
  const std::string text = folded_to_ascii(typed);
  std::size_t at = 0;
  const auto skip_blanks = [&] {
    while (at < text.size() && is_blank(text[at])) ++at;
  };
  skip_blanks();
  if (at < text.size() && text[at] == '+') ++at;

  // Digits in groups: the first of any length while no separator follows it, else
  // of one to three; every later group of three exactly.
  constexpr std::int64_t largest = std::numeric_limits<std::int32_t>::max();
  std::int64_t size = 0;
  std::size_t group = 0;
  bool separated = false;
  for (; at < text.size(); ++at) {
    if (is_digit(text[at])) {
      size = size * 10 + (text[at] - '0');
      if (size > largest) return 0;
      ++group;
    } else if (text[at] == ',' && group > 0 && (separated ? group == 3 : group <= 3)) {
      separated = true;
      group = 0;
    } else {
      break;
    }
  }
  if (group == 0 || (separated && group != 3)) return 0;

  skip_blanks();
  std::string unit;
  for (; at < text.size() && !is_blank(text[at]); ++at) {
    unit += static_cast<char>(std::tolower(static_cast<unsigned char>(text[at])));
  }
  skip_blanks();
  const bool unit_known = unit.empty() || unit == "m" || unit == "mb" || unit == "mib";
  return unit_known && at == text.size() ? static_cast<std::int32_t>(size) : 0;
}
