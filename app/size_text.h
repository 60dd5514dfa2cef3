#pragma once
#include <cstdint>

// The part size typed in MiB: leading white space, an optional sign, then ASCII
// digits up to the first other character. No digits gives 0; values beyond the
// 32-bit range saturate at 2147483647 or -2147483648.
std::int32_t parse_split_size(const char* text);
