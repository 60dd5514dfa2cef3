#include "app/initial_path.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Each case starts from an empty buffer, as the program does.
std::wstring kept(const std::wstring& command_line) {
  initial_path[0] = L'\0';
  keep_initial_path(command_line.c_str());
  return initial_path;
}

TEST(InitialPath, KeepsTheCommandLineTextAsItIs) {
  const std::wstring cases[] = {
      L"C:\\d\\movie.iso",
      L"C:\\my files\\movie.iso",
      L"\"",
      L"\"C:\\d\\a.iso\" \"C:\\d\\b.iso\"",
      L"\"C:\\d\\movie.iso\" /x",
      L"C:\\d\\a.iso C:\\d\\b.iso",
      L"C:\\d\\movie.iso  ",
      L"C:\\\u5206\u5272\\\u30BD.iso",
  };
  for (const std::wstring& text : cases) EXPECT_EQ(kept(text), text);
}

// As Explorer passes a dropped file whose path holds a blank.
TEST(InitialPath, OneQuotedPathIsKeptWithoutItsQuotes) {
  for (const std::wstring& path : {std::wstring(L"C:\\d\\movie.iso"), std::wstring(L"C:\\my files\\movie.iso"),
                                   std::wstring(), std::wstring(259, L'a')}) {
    EXPECT_EQ(kept(L"\"" + path + L"\""), path);
  }
  EXPECT_EQ(kept(L"\"" + std::wstring(260, L'a') + L"\""), L"");
}

TEST(InitialPath, TooLongATextIsNotKeptAtAll) {
  EXPECT_EQ(kept(L""), L"");
  EXPECT_EQ(kept(std::wstring(259, L'a')), std::wstring(259, L'a'));
  EXPECT_EQ(kept(std::wstring(260, L'a')), L"");
  EXPECT_EQ(kept(std::wstring(1000, L'a')), L"");
}

}  // namespace
