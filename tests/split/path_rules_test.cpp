#include "split/path_rules.h"

#include <gtest/gtest.h>

#include "split/wide_path.h"

namespace {

struct ScriptPathCase {
  const wchar_t* source;
  const wchar_t* script;
};

// The katakana letter so (ソ) is 83 5C in code page 932, whose second byte is a
// backslash: one letter of the name all the same.
const ScriptPathCase script_path_cases[] = {
    {L"C:\\d\\movie.iso", L"C:\\d\\movie.bat"},
    {L"C:\\d\\archive.tar.gz", L"C:\\d\\archive.tar.bat"},
    {L"C:\\d\\movie", L"C:\\d\\movie.bat"},
    {L"C:\\d\\movie.", L"C:\\d\\movie.bat"},
    {L"C:\\d\\.hidden", L"C:\\d\\.bat"},
    {L"C:\\d.x\\movie", L"C:\\d.x\\movie.bat"},
    {L"C:\\movie.iso", L"C:\\movie.bat"},
    {L"C:movie.iso", L"C:movie.bat"},
    {L"movie.iso", L"movie.bat"},
    {L"sub\\movie.iso", L"sub\\movie.bat"},
    {L"C:/d/movie.iso", L"C:\\d\\movie.bat"},
    {L"C:\\d\\\\movie.iso", L"C:\\d\\movie.bat"},
    {L"\\\\srv\\share\\movie.iso", L"\\\\srv\\share\\movie.bat"},
    {L"C:\\d\\movie.bat", L"C:\\d\\movie.bat"},
    {L"C:\\d\\\u30BD.iso", L"C:\\d\\\u30BD.bat"},
    {L"C:\\\u30BD\\movie", L"C:\\\u30BD\\movie.bat"},
};

TEST(PathRules, ScriptPathReplacesTheExtensionOfTheLastElementOnly) {
  for (const ScriptPathCase& c : script_path_cases) {
    EXPECT_EQ(WidePath(c.source).with_extension(L"bat").text(), c.script) << "source " << c.source;
  }
}

struct NameCase {
  const wchar_t* path;
  const wchar_t* file_name;
  const wchar_t* extension;
  const wchar_t* stem;
  const wchar_t* parent;
};

const NameCase name_cases[] = {
    {L"C:\\d\\movie.iso", L"movie.iso", L".iso", L"movie", L"C:\\d"},
    {L"C:movie.iso", L"movie.iso", L".iso", L"movie", L"C:"},
    {L"movie.iso", L"movie.iso", L".iso", L"movie", L""},
    {L"C:\\d\\.hidden", L".hidden", L".hidden", L"", L"C:\\d"},
    {L"C:\\d\\movie.", L"movie.", L".", L"movie", L"C:\\d"},
    {L"C:\\d\\..", L"..", L"", L"..", L"C:\\d"},
    {L"C:\\d\\", L".", L"", L".", L"C:\\d"},
    {L"C:\\", L"\\", L"", L"\\", L"C:"},
    {L"\\\\srv\\share\\a.b", L"a.b", L".b", L"a", L"\\\\srv\\share"},
    {L"\\movie.iso", L"movie.iso", L".iso", L"movie", L"\\"},
    {L"", L"", L"", L"", L""},
};

TEST(PathRules, FileNameExtensionStemAndParent) {
  for (const NameCase& c : name_cases) {
    const std::wstring name = path_rules::file_name(c.path);
    EXPECT_EQ(name, c.file_name) << "path " << testing::PrintToString(std::wstring(c.path));
    EXPECT_EQ(path_rules::extension(name), c.extension) << "path " << testing::PrintToString(std::wstring(c.path));
    EXPECT_EQ(path_rules::stem(name), c.stem) << "path " << testing::PrintToString(std::wstring(c.path));
    EXPECT_EQ(path_rules::parent(c.path), c.parent) << "path " << testing::PrintToString(std::wstring(c.path));
  }
}

TEST(PathRules, RootNames) {
  EXPECT_EQ(path_rules::root_name(L"C:\\d"), L"C:");
  EXPECT_EQ(path_rules::root_name(L"\\\\srv\\share"), L"\\\\srv");
  EXPECT_EQ(path_rules::root_name(L"\\\\srv"), L"\\\\srv");
  EXPECT_EQ(path_rules::root_name(L"\\\\\\x"), L"");
  EXPECT_EQ(path_rules::root_name(L"\\d\\movie"), L"");
}

TEST(PathRules, JoinPutsOneBackslashBetweenNames) {
  EXPECT_EQ(path_rules::join(L"C:\\d", L"movie.bat"), L"C:\\d\\movie.bat");
  EXPECT_EQ(path_rules::join(L"C:\\d\\", L"movie.bat"), L"C:\\d\\movie.bat");
  EXPECT_EQ(path_rules::join(L"C:", L"movie.bat"), L"C:movie.bat");
  EXPECT_EQ(path_rules::join(L"", L"movie.bat"), L"movie.bat");
  EXPECT_EQ(path_rules::join(L"C:\\d", L"\\x"), L"C:\\d\\x");
  EXPECT_EQ(path_rules::join(L"C:\\d", L"a/b"), L"C:\\d\\a\\b");
}

TEST(PathRules, TargetNameIsTheFileNameComponent) {
  for (const wchar_t* source : {L"C:\\d\\movie.iso", L"movie.iso", L"C:/d/movie.iso"}) {
    EXPECT_EQ(WidePath(source).file_name().text(), L"movie.iso") << "source " << source;
  }
  EXPECT_EQ(WidePath(L"C:\\d\\\u30BD.iso").file_name().text(), L"\u30BD.iso");
}

}  // namespace
