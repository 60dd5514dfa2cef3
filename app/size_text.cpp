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
