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

TEST(InitialPath, KeepsTheTextAsItIsButForOneQuotedPath) {
  const struct {
    std::wstring command_line;
    std::wstring kept;
  } cases[] = {
      {L"C:\\d\\movie.iso", L"C:\\d\\movie.iso"},
      {L"C:\\my files\\movie.iso", L"C:\\my files\\movie.iso"},
      {L"C:\\d\\movie.iso  ", L"C:\\d\\movie.iso  "},
      {L"C:\\d\\a.iso C:\\d\\b.iso", L"C:\\d\\a.iso C:\\d\\b.iso"},
      {L"C:\\\u5206\u5272\\\u30BD.iso", L"C:\\\u5206\u5272\\\u30BD.iso"},
      {L"\"C:\\d\\movie.iso\"", L"C:\\d\\movie.iso"},
      {L"\"C:\\my files\\movie.iso\"", L"C:\\my files\\movie.iso"},
      {L"\"\"", L""},
      {L"\"", L"\""},
      {L"\"C:\\d\\a.iso\" \"C:\\d\\b.iso\"", L"\"C:\\d\\a.iso\" \"C:\\d\\b.iso\""},
      {L"\"C:\\d\\movie.iso\" /x", L"\"C:\\d\\movie.iso\" /x"},
      {L"\"" + std::wstring(259, L'a') + L"\"", std::wstring(259, L'a')},
      {L"\"" + std::wstring(260, L'a') + L"\"", L""},
  };
  for (const auto& c : cases) EXPECT_EQ(kept(c.command_line), c.kept) << c.command_line.size() << " characters";
}

TEST(InitialPath, TooLongATextIsNotKeptAtAll) {
  EXPECT_EQ(kept(L""), L"");
  EXPECT_EQ(kept(std::wstring(259, L'a')), std::wstring(259, L'a'));
  EXPECT_EQ(kept(std::wstring(260, L'a')), L"");
  EXPECT_EQ(kept(std::wstring(1000, L'a')), L"");
}

}  // namespace
