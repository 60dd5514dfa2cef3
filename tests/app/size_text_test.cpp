#include "app/size_text.h"

#include <gtest/gtest.h>

namespace {

struct SizeTextCase {
  const char* text;
  std::int32_t size_mb;
};

const SizeTextCase size_text_cases[] = {
    {"512", 512},
    {" 64", 64},
    {"\t\n\v\f\r 7", 7},
    {"+8", 8},
    {"12MB", 12},
    {"-1", -1},
    {"0", 0},
    {"", 0},
    {"MB", 0},
    {"+", 0},
    {"- 5", 0},
    {"\x82\x54\x82\x50\x82\x51", 0},  // 512 in full-width digits
    {"2147483647", 2147483647},
    {"2147483648", 2147483647},
    {"99999999999999999999999999", 2147483647},
    {"-2147483648", -2147483647 - 1},
    {"-99999999999999999999999999", -2147483647 - 1},
    {"0000000000000000000000000042", 42},
};

TEST(SizeText, DecimalWithSignAndSaturation) {
  for (const SizeTextCase& c : size_text_cases) {
    EXPECT_EQ(parse_split_size(c.text), c.size_mb) << '"' << c.text << '"';
  }
}

}  // namespace
