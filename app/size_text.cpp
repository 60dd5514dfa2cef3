#include "app/size_text.h"

#include <cstring>

std::int32_t parse_split_size(const char* text) {
  while (*text != '\0' && std::strchr(" \t\n\v\f\r", *text) != nullptr) ++text;
  const bool negative = *text == '-';
  if (*text == '+' || *text == '-') ++text;

  // Accumulated as a magnitude in 64 bits and clamped at each digit, so that no
  // length of digits can overflow.
  const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
  std::int64_t magnitude = 0;
  for (; *text >= '0' && *text <= '9'; ++text) {
    magnitude = magnitude * 10 + (*text - '0');
    if (magnitude > limit) magnitude = limit;
  }
  return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

std::string size_text_in_ascii(const std::wstring& text) {
  std::string ascii;
  for (const wchar_t c : text) {
    if (c >= L'\xFF10' && c <= L'\xFF19') {
      ascii += static_cast<char>('0' + (c - L'\xFF10'));
    } else if (c == L'\xFF0B' || c == L'\xFF0D') {
      ascii += c == L'\xFF0B' ? '+' : '-';
    } else if (c == L'\x3000') {
      ascii += ' ';
    } else {
      ascii += c < 0x80 ? static_cast<char>(c) : '?';
    }
  }
  return ascii;
}
