#include "split/wide_path.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(WidePath, SlashesBecomeBackslashes) { EXPECT_EQ(WidePath(L"C:/d/movie.iso").text(), L"C:\\d\\movie.iso"); }

// Windows counts UTF-16 units: 259 of them fit, whatever the characters; an emoji
// takes two.
TEST(WidePath, PathsFitUpTo259Units) {
  EXPECT_TRUE(fits_path_buffer(std::wstring(259, L'\u5206')));
  EXPECT_FALSE(fits_path_buffer(std::wstring(260, L'a')));
  EXPECT_TRUE(fits_path_buffer(std::wstring(257, L'a') + L"\U0001F600"));
  EXPECT_FALSE(fits_path_buffer(std::wstring(258, L'a') + L"\U0001F600"));
}

TEST(Utf8Of, EveryNameButALoneSurrogate) {
  const struct {
    std::wstring wide;
    const char* utf8;  // nullptr: refused
  } cases[] = {
      {L"movie.iso", "movie.iso"},
      {L"caf\u00E9 \U0001F600.bin", "caf\xC3\xA9 \xF0\x9F\x98\x80.bin"},
      // A Mac's separated voiced sound mark stays separated.
      {L"\u304B\u3099\u3093.bin", "\xE3\x81\x8B\xE3\x82\x99\xE3\x82\x93.bin"},
      {L"\u00A5100.bin", "\xC2\xA5" "100.bin"},
      {std::wstring(L"a") + L'\xD83D' + L".bin", nullptr},
      {std::wstring(L"a") + L'\xDE00', nullptr},
  };
  for (const auto& c : cases) {
    const std::optional<std::string> utf8 = utf8_of(c.wide);
    EXPECT_EQ(utf8.has_value(), c.utf8 != nullptr) << c.wide.size();
    EXPECT_EQ(utf8.value_or(""), c.utf8 != nullptr ? c.utf8 : "");
  }
}

}  // namespace
