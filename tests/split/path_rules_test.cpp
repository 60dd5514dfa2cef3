#include "split/path_rules.h"

#include <gtest/gtest.h>

#include "split/wide_path.h"

namespace {

struct ScriptPathCase {
  const char* source;
  const char* script;
};

// "\x83\x5C" is the katakana letter so (ソ) in code page 932: its second byte is a
// backslash, and it must still be one letter of the name.
const ScriptPathCase script_path_cases[] = {
    {"C:\\d\\movie.iso", "C:\\d\\movie.bat"},
    {"C:\\d\\archive.tar.gz", "C:\\d\\archive.tar.bat"},
    {"C:\\d\\movie", "C:\\d\\movie.bat"},
    {"C:\\d\\movie.", "C:\\d\\movie.bat"},
    {"C:\\d\\.hidden", "C:\\d\\.bat"},
    {"C:\\d.x\\movie", "C:\\d.x\\movie.bat"},
    {"C:\\movie.iso", "C:\\movie.bat"},
    {"C:movie.iso", "C:movie.bat"},
    {"movie.iso", "movie.bat"},
    {"sub\\movie.iso", "sub\\movie.bat"},
    {"C:/d/movie.iso", "C:\\d\\movie.bat"},
    {"C:\\d\\\\movie.iso", "C:\\d\\movie.bat"},
    {"\\\\srv\\share\\movie.iso", "\\\\srv\\share\\movie.bat"},
    {"C:\\d\\movie.bat", "C:\\d\\movie.bat"},
    {"C:\\d\\\x83\x5C.iso", "C:\\d\\\x83\x5C.bat"},
    {"C:\\\x83\x5C\\movie", "C:\\\x83\x5C\\movie.bat"},
};

TEST(PathRules, ScriptPathReplacesTheExtensionOfTheLastElementOnly) {
  for (const ScriptPathCase& c : script_path_cases) {
    EXPECT_EQ(WidePath(c.source).with_extension(L"bat").narrow(), c.script) << "source " << c.source;
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
  for (const char* source : {"C:\\d\\movie.iso", "movie.iso", "C:/d/movie.iso"}) {
    EXPECT_EQ(WidePath(source).file_name().narrow(), "movie.iso") << "source " << source;
  }
  EXPECT_EQ(WidePath("C:\\d\\\x83\x5C.iso").file_name().narrow(), "\x83\x5C.iso");
}

}  // namespace
