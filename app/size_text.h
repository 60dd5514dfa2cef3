#pragma once
#include <cstdint>
#include <string>

// The part size typed in MiB: leading white space, an optional sign, then ASCII
// digits up to the first other character. No digits gives 0; values beyond the
// 32-bit range saturate at 2147483647 or -2147483648.
std::int32_t parse_split_size(const char* text);

// The size edit's text as a Japanese input method may type it, with full-width
// digits, signs and spaces made ASCII ("５１２" is "512"); any other character
// beyond ASCII becomes "?", where the reading of digits stops.
std::string size_text_in_ascii(const std::wstring& text);
