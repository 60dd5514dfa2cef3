// The resources of the built parcelor.exe, read back from the file itself.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/resource.h"
#include "tests/app/built_program.h"

namespace {

class ProgramResources : public testing::Test {
 protected:
  void SetUp() override {
    program = LoadLibraryExA(built_program_path().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(program, nullptr) << built_program_path();
  }
  void TearDown() override { FreeLibrary(program); }

  std::vector<unsigned char> resource(LPCSTR type, LPCSTR name, WORD language) const {
    HRSRC found = FindResourceExA(program, type, name, language);
    if (found == nullptr) return {};
    const auto* data = static_cast<const unsigned char*>(LockResource(LoadResource(program, found)));
    return std::vector<unsigned char>(data, data + SizeofResource(program, found));
  }

  HMODULE program = nullptr;
};

// Reads a dialog template field by field.
class TemplateReader {
 public:
  explicit TemplateReader(const std::vector<unsigned char>& bytes) : bytes(bytes) {}
  template <typename T>
  T next() {
    T value;
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    offset += sizeof value;
    return value;
  }
  // A string of wide characters, or an ordinal (0xFFFF then a number) given as "#n".
  std::wstring text_or_ordinal() {
    if (next<WORD>() == 0xFFFF) return L"#" + std::to_wstring(next<WORD>());
    offset -= 2;
    std::wstring text;
    for (wchar_t c; (c = next<wchar_t>()) != 0;) text += c;
    return text;
  }
  void align() { offset = (offset + 3) & ~std::size_t{3}; }

 private:
  const std::vector<unsigned char>& bytes;
  std::size_t offset = 0;
};

struct TemplateControl {
  DWORD style;
  short x, y, width, height;
  int id;
  const wchar_t* class_name;  // predefined classes are stored as ordinals
  const wchar_t* text;
};

const TemplateControl template_controls[] = {
    {0x50010001, 198, 90, 54, 12, IDOK, L"#128", L"\u7d42\u4e86"},
    {0x50810080, 12, 24, 216, 12, IDC_SOURCE_PATH, L"#129", L""},
    {0x50010000, 240, 24, 20, 12, IDC_BROWSE, L"#128", L"..."},
    {0x50810080, 66, 54, 54, 12, IDC_SPLIT_SIZE, L"#129", L""},
    {0x50010003, 12, 72, 174, 10, IDC_MAKE_SPARE, L"#128", L"\u4fee\u5fa9\u7528\u30c7\u30fc\u30bf (PAR2) \u3092\u4f5c\u308b"},
    {0x50010000, 132, 54, 54, 12, IDC_START_SPLIT, L"#128", L"\u5206\u5272\u958b\u59cb"},
    {0x50010000, 204, 54, 54, 12, IDC_CANCEL_SPLIT, L"#128", L"\u5206\u5272\u30ad\u30e3\u30f3\u30bb\u30eb"},
    {0x50020000, 12, 54, 51, 8, IDC_STATIC, L"#130", L"\u5206\u5272\u30b5\u30a4\u30ba[MB]"},
    {0x50020000, 6, 12, 54, 8, IDC_STATIC, L"#130", L"\u5206\u5272\u30d5\u30a1\u30a4\u30eb"},
};

TEST_F(ProgramResources, DialogTemplateIsExactlyAsDesigned) {
  const std::vector<unsigned char> bytes =
      resource(RT_DIALOG, MAKEINTRESOURCEA(IDD_MAIN), MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT));
  ASSERT_FALSE(bytes.empty()) << "no Japanese (1041) dialog 129";
  TemplateReader reader(bytes);
  EXPECT_EQ(reader.next<WORD>(), 1) << "not an extended template";
  EXPECT_EQ(reader.next<WORD>(), 0xFFFF);
  EXPECT_EQ(reader.next<DWORD>(), 0u) << "help id";
  EXPECT_EQ(reader.next<DWORD>(), 0u) << "extended style";
  EXPECT_EQ(reader.next<DWORD>(), 0x00C000CCu) << "style";
  ASSERT_EQ(reader.next<WORD>(), 9) << "control count";
  EXPECT_EQ(reader.next<short>(), 0);
  EXPECT_EQ(reader.next<short>(), 0);
  EXPECT_EQ(reader.next<short>(), 267);
  EXPECT_EQ(reader.next<short>(), 110);
  EXPECT_EQ(reader.text_or_ordinal(), L"") << "menu";
  EXPECT_EQ(reader.text_or_ordinal(), L"") << "class";
  EXPECT_EQ(reader.text_or_ordinal(), L"Parcelor");
  EXPECT_EQ(reader.next<WORD>(), 10) << "points";
  EXPECT_EQ(reader.next<WORD>(), 400) << "weight";
  EXPECT_EQ(reader.next<BYTE>(), 0) << "italic";
  EXPECT_EQ(reader.next<BYTE>(), 128) << "character set";
  EXPECT_EQ(reader.text_or_ordinal(), L"MS Shell Dlg");

  for (const TemplateControl& c : template_controls) {
    SCOPED_TRACE("control " + std::to_string(c.id));
    reader.align();
    EXPECT_EQ(reader.next<DWORD>(), 0u) << "help id";
    EXPECT_EQ(reader.next<DWORD>(), 0u) << "extended style";
    EXPECT_EQ(reader.next<DWORD>(), c.style);
    EXPECT_EQ(reader.next<short>(), c.x);
    EXPECT_EQ(reader.next<short>(), c.y);
    EXPECT_EQ(reader.next<short>(), c.width);
    EXPECT_EQ(reader.next<short>(), c.height);
    EXPECT_EQ(reader.next<int>(), c.id);
    EXPECT_EQ(reader.text_or_ordinal(), c.class_name);
    EXPECT_EQ(reader.text_or_ordinal(), c.text);
    EXPECT_EQ(reader.next<WORD>(), 0) << "creation data";
  }
}

TEST_F(ProgramResources, TwoIconGroupsOfTheSameNineImages) {
  const struct {
    BYTE width;
    WORD bits;
  } expected[] = {{0, 8}, {48, 8}, {32, 8}, {16, 8}, {0, 32}, {64, 32}, {48, 32}, {32, 32}, {16, 32}};
  for (int group : {IDI_APPLICATION_ICON, IDI_APPLICATION_ICON_SMALL}) {
    SCOPED_TRACE("group " + std::to_string(group));
    HRSRC found = FindResourceA(program, MAKEINTRESOURCEA(group), RT_GROUP_ICON);
    ASSERT_NE(found, nullptr);
    const auto* data = static_cast<const unsigned char*>(LockResource(LoadResource(program, found)));
    WORD count;
    std::memcpy(&count, data + 4, 2);
    ASSERT_EQ(count, 9);
    for (int i = 0; i < 9; ++i) {
      const unsigned char* entry = data + 6 + 14 * i;  // width, height, colours, reserved, planes, bits, size, id
      WORD bits;
      std::memcpy(&bits, entry + 6, 2);
      EXPECT_EQ(entry[0], expected[i].width) << "image " << i;
      EXPECT_EQ(entry[1], expected[i].width) << "image " << i;
      EXPECT_EQ(bits, expected[i].bits) << "image " << i;
    }
  }
}

TEST_F(ProgramResources, ManifestAsksOnlyToRunAsTheInvoker) {
  HRSRC found = FindResourceA(program, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
  ASSERT_NE(found, nullptr);
  const char* data = static_cast<const char*>(LockResource(LoadResource(program, found)));
  const std::string manifest(data, SizeofResource(program, found));
  EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
  EXPECT_NE(manifest.find("uiAccess=\"false\""), std::string::npos);
  for (const char* absent : {"Common-Controls", "dpiAware", "dpiAwareness", "longPathAware"}) {
    EXPECT_EQ(manifest.find(absent), std::string::npos) << absent;
  }
}

// What Explorer's properties show, read as Explorer reads it: the version block,
// its strings in Japanese and Unicode, and the one version the build gives.
TEST_F(ProgramResources, VersionBlockNamesTheProgramAndItsVersion) {
  DWORD ignored = 0;
  std::vector<unsigned char> block(GetFileVersionInfoSizeA(built_program_path().c_str(), &ignored));
  ASSERT_TRUE(GetFileVersionInfoA(built_program_path().c_str(), 0, static_cast<DWORD>(block.size()), block.data()));
  const auto value = [&](const std::wstring& key) {
    wchar_t* data = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), key.c_str(), reinterpret_cast<void**>(&data), &length)) return std::wstring();
    return std::wstring(data, key.find(L"Translation") != std::wstring::npos ? 2 : length - 1);
  };
  const std::wstring strings = L"\\StringFileInfo\\041104B0\\";
  EXPECT_EQ(value(strings + L"FileVersion"), L"" PARCELOR_VERSION);
  EXPECT_EQ(value(strings + L"ProductName"), L"Parcelor");
  EXPECT_EQ(value(strings + L"LegalCopyright"), L"\u00a9 2026 the Parcelor authors. MIT License");
  EXPECT_EQ(value(strings + L"FileDescription"), L"\u30d5\u30a1\u30a4\u30eb\u5206\u5272\u30c4\u30fc\u30eb");
  EXPECT_EQ(value(L"\\VarFileInfo\\Translation"), std::wstring({0x0411, 1200}));
}

}  // namespace
