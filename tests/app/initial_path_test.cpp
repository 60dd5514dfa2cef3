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
      L"\"C:\\d\\movie.iso\"",
      L"C:\\d\\a.iso C:\\d\\b.iso",
      L"C:\\d\\movie.iso  ",
      L"C:\\\u5206\u5272\\\u30BD.iso",
  };
  for (const std::wstring& text : cases) EXPECT_EQ(kept(text), text);
}

TEST(InitialPath, TooLongATextIsNotKeptAtAll) {
  EXPECT_EQ(kept(L""), L"");
  EXPECT_EQ(kept(std::wstring(259, L'a')), std::wstring(259, L'a'));
  EXPECT_EQ(kept(std::wstring(260, L'a')), L"");
  EXPECT_EQ(kept(std::wstring(1000, L'a')), L"");
}

}  // namespace
