#pragma once
#include <cstdint>
#include <string>

// The part size typed in MiB, read as people write sizes: a whole number in
// half-width or full-width digits, blanks around it, a leading "+", thousands
// separated by "," or "，" in groups of three, and a trailing "MB", "MiB" or "M" in
// any case or width, with or without a blank before it ("1,024", "１２MB", "+8 mib").
// Anything else is no size at all, and gives 0: another unit ("2GB"), a decimal
// point ("1.5"), a sign of minus, letters, or a number past 2,147,483,647, and 0
// itself. The number is never taken from the front of a longer text: "1,000" read
// as 1 would have cut a 3 GB file into 3,000 parts.
std::int32_t parse_split_size(const std::wstring& text);
