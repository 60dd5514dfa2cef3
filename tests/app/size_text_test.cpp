#include "app/size_text.h"

#include <gtest/gtest.h>

namespace {

struct SizeTextCase {
  const wchar_t* text;
  std::int32_t size_mb;  // 0: no size, the warning
};

const SizeTextCase size_text_cases[] = {
    {L"512", 512}, {L" 64 ", 64}, {L"+8", 8}, {L"12MB", 12}, {L"12 mb", 12}, {L"3 MiB", 3}, {L"3m", 3},
    {L"1,000", 1000}, {L"1,048,576", 1048576}, {L"2,147,483,647 MB", 2147483647},
    // As a Japanese input method types them: "１，０２４", "５１２ＭＢ", "　＋５１２　", "２ｍｉＢ".
    {L"\xFF11\xFF0C\xFF10\xFF12\xFF14", 1024}, {L"\xFF15\xFF11\xFF12\xFF2D\xFF22", 512},
    {L"\x3000\xFF0B\xFF15\xFF11\xFF12\x3000", 512}, {L"\xFF12\xFF4D\xFF49\xFF22", 2},
    // Never the leading digits of something else: another unit, a decimal point (and
    // "１．５"), a minus (and "－１"), separators out of place, a blank or a letter too
    // many, "円", too large; and nothing, or 0.
    {L"2GB", 0}, {L"1.5", 0}, {L"\xFF11\xFF0E\xFF15", 0}, {L"-1", 0}, {L"\xFF0D\xFF11", 0}, {L"1,00", 0},
    {L"1,0000", 0}, {L"1000,000", 0}, {L"1 2", 0}, {L"12 MB x", 0}, {L"\xFF15\xFF11\xFF12\x5186", 0},
    {L"2147483648", 0}, {L"", 0}, {L"MB", 0}, {L"0", 0}};

TEST(SizeText, WholeMebibytesAsPeopleWriteThemAndNothingElse) {
  for (const SizeTextCase& c : size_text_cases) {
    EXPECT_EQ(parse_split_size(c.text), c.size_mb) << '"' << testing::PrintToString(std::wstring(c.text)) << '"';
  }
}

}  // namespace
