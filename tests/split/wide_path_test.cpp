#include "split/wide_path.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

std::string conversion_error(const char* narrow_text) {
  try {
    WidePath path(narrow_text);
  } catch (const std::invalid_argument& error) {
    return error.what();
  }
  return "no error";
}

std::string narrow_form_error(const std::wstring& wide_text) {
  try {
    WidePath(wide_text).narrow();
  } catch (const std::invalid_argument& error) {
    return error.what();
  }
  return "no error";
}

TEST(WidePath, SlashesBecomeBackslashes) {
  const WidePath path("C:/d/movie.iso");
  EXPECT_EQ(path.text(), L"C:\\d\\movie.iso");
  EXPECT_EQ(path.narrow(), "C:\\d\\movie.iso");
}

TEST(WidePath, JapaneseTextRoundTripsThroughCodePage932) {
  // "分割\ソ.iso": the second byte of ソ (83 5C) is not a separator.
  const char* narrow = "\x95\xaa\x8a\x84\\\x83\x5C.iso";
  const WidePath path(narrow);
  EXPECT_EQ(path.text(), L"\u5206\u5272\\\u30BD.iso");
  EXPECT_EQ(path.narrow(), narrow);
}

TEST(WidePath, NarrowTextUpTo259BytesConverts) {
  const std::string longest(259, 'a');
  EXPECT_EQ(conversion_error(longest.c_str()), "no error");
  EXPECT_EQ(WidePath(longest.c_str()).narrow(), longest);
  EXPECT_EQ(conversion_error(std::string(260, 'a').c_str()), "invalid char filename argument");
}

TEST(WidePath, NarrowFormFailsBeyond259Bytes) {
  EXPECT_EQ(narrow_form_error(std::wstring(259, L'a')), "no error");
  EXPECT_EQ(narrow_form_error(std::wstring(260, L'a')), "invalid wchar_t filename argument");
  // 130 Japanese characters are only 130 wide units but 260 bytes in code page 932.
  EXPECT_EQ(narrow_form_error(std::wstring(129, L'\u5206') + L"a"), "no error");
  EXPECT_EQ(narrow_form_error(std::wstring(130, L'\u5206')), "invalid wchar_t filename argument");
}

TEST(ExactNarrowPath, OnlyWhenCodePage932HoldsEveryCharacter) {
  const struct {
    std::wstring wide;
    std::string narrow;  // empty: refused
  } cases[] = {
      {L"C:\\d\\movie.iso", "C:\\d\\movie.iso"},
      {L"C:\\\u5206\u5272.iso", "C:\\\x95\xaa\x8a\x84.iso"},
      {L"C:\\\u30BD.iso", "C:\\\x83\x5C.iso"},  // its second byte is 0x5C
      {L"C:\\" + std::wstring(256, L'n'), "C:\\" + std::string(256, 'n')},
      {L"C:\\caf\u00E9.iso", ""},  // best-fits to "cafe.iso", another file
      {L"C:\\wave\u301Cdash.iso", ""},
      {L"C:\\\u00A5\\x.iso", ""},  // best-fits to 0x5C, a separator
      {L"C:\\\U0001F600.iso", ""},
      {L"C:\\" + std::wstring(300, L'n'), "C:\\" + std::string(300, 'n')},  // any length: the caller judges
  };
  for (const auto& c : cases) {
    EXPECT_EQ(exact_narrow_path(c.wide).value_or(""), c.narrow) << c.wide;
  }
}

}  // namespace
