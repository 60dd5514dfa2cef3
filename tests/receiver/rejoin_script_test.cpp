#include "receiver/rejoin_script.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <string>
#include <vector>

namespace {

std::string text_of(const RejoinScript& script, std::int32_t part_count) {
  std::string text;
  const SplitDigests digests{std::vector<Sha256Digest>(static_cast<std::size_t>(part_count)), {}};
  EXPECT_TRUE(script.write(digests, [&](const std::string& piece) {
    text += piece;
    return true;
  }));
  EXPECT_EQ(script.length(), text.size());
  return text;
}

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  EXPECT_EQ(start, text.size()) << "text after the last line end";
  return lines;
}

// The script's copy lines, each with its line end.
std::string copy_lines_for(const std::wstring& target, int part_count) {
  std::string copy_lines;
  for (const std::string& line : lines_of(text_of(RejoinScript(target, part_count, 10, 10), part_count))) {
    if (line.compare(0, 8, "copy /b ") == 0) copy_lines += line + "\r\n";
  }
  return copy_lines;
}

// Whatever the registry's defaults and wherever it is started from, the script
// works in its own folder and its own environment; every way out goes back.
TEST(RejoinScript, SetsUpItsOwnEnvironmentAndLeavesItOnEveryWayOut) {
  const std::string text = text_of(RejoinScript(L"50% off.iso", 3, 5368709120, 7), 3);
  const std::vector<std::string> lines = lines_of(text);
  ASSERT_GT(lines.size(), 16u);
  // Before anything else, the script refuses to run unless it is as long as it was
  // made, found by its name with ".bat" however it was started.
  const std::string incomplete = "if \"%whole%\"==\"no\" ";
  const std::vector<std::string> set_up = {
      "@echo off", "setlocal EnableExtensions DisableDelayedExpansion", "set \"length=%~z0\"",
      "if \"%~x0\"==\"\" for %%f in (\"%~dpn0.bat\") do set \"length=%%~zf\"", "set \"whole=no\"",
      "if \"%length%\"==\"" + std::to_string(text.size()) + "\" set \"whole=yes\"",
      incomplete + "echo This script is incomplete or was changed after it was made: a download or copy that "
                   "stopped early, a conversion of its line ends or an edit. Nothing was done.",
      incomplete + "echo Get this script again from whoever sent you the parts, put it beside them and run that one.",
      incomplete + "pause", incomplete + "exit /b 1", "set \"script=%~f0\"", "if \"%~x0\"==\"\" set \"script=%~dpn0.bat\"",
      "pushd \"%~dp0\"", "if errorlevel 1 goto no_folder", "set \"ERRORLEVEL=\""};
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 15), set_up);
  // The search reads the data lines after the last way out, and only those.
  const auto search = std::find_if(lines.begin(), lines.end(), [](const std::string& line) {
    return line.rfind("for /f \"usebackq skip=", 0) == 0;
  });
  ASSERT_NE(search, lines.end());
  const std::size_t skipped = std::stoul(search->substr(22));
  ASSERT_EQ(lines.size(), skipped + 3);
  EXPECT_EQ(lines[skipped], "1 " + std::string(64, '0'));
  EXPECT_EQ(*search, "for /f \"usebackq skip=" + std::to_string(skipped) +
                         " tokens=1,2\" %%a in (\"50%% off.bat\") do call :check_part %%a %%b");
  std::vector<std::string> before_exits;
  for (std::size_t i = 1; i < skipped; ++i) {
    if (lines[i].rfind("exit /b ", 0) == 0) before_exits.push_back(lines[i - 1]);
  }
  // Proven, not checked; the two subroutines return; damaged, a part wrong, the
  // target or the script's own leftovers there already, a copy that failed or gave the
  // wrong size, the rename failed; a folder not entered has nothing to leave.
  EXPECT_EQ(before_exits, (std::vector<std::string>{
                              "popd", "popd",
                              "if \"%until_report%\"==\"0\" set \"until_report=100\"",
                              "if /i \"%digits%\"==\"x%~2\" set \"verdict=intact\"", "popd", "popd", "popd", "popd",
                              "popd", "popd", "popd", "pause"}));
  // Sizes as text, beyond cmd's 32-bit numbers, the rebuilt file's too; names with
  // their % doubled.
  EXPECT_NE(std::find(lines.begin(), lines.end(), "if not \"%size%\"==\"5368709120\" goto part_wrong"), lines.end());
  EXPECT_NE(std::find(lines.begin(), lines.end(), "if not \"%size%\"==\"10737418247\" goto size_wrong"), lines.end());
  EXPECT_NE(std::find(lines.begin(), lines.end(), "for %%f in (\"50%% off.iso_3\") do set \"size=%%~zf\""), lines.end());
  const auto first_copy = std::find_if(lines.begin(), lines.end(), [](const std::string& line) {
    return line.rfind("copy /b /y ", 0) == 0;
  });
  ASSERT_NE(first_copy, lines.end());
  EXPECT_EQ(std::vector<std::string>(first_copy - 5, first_copy),
            (std::vector<std::string>{"if exist \"50%% off.iso\" goto target_exists", "set \"leftovers=\"",
                                      "if exist \"50%% off.iso.rejoining\" set \"leftovers=yes\"",
                                      "if exist \"50%% off.iso.certutil\" set \"leftovers=yes\"",
                                      "if defined leftovers goto leftovers"}));
}

struct ScriptCase {
  int parts;
  const char* text;
  std::size_t size;
};

const ScriptCase script_cases[] = {
    {1, "copy /b /y \"movie.iso_1\" \"movie.iso.rejoining\"\r\n", 48},
    {2, "copy /b /y \"movie.iso_1\" + \"movie.iso_2\" \"movie.iso.rejoining\"\r\n", 64},
    {3, "copy /b /y \"movie.iso_1\" + \"movie.iso_2\" + \"movie.iso_3\" \"movie.iso.rejoining\"\r\n", 80},
};

TEST(RejoinScript, OneCopyLineForOneToThreeParts) {
  for (const ScriptCase& c : script_cases) {
    const std::string text = copy_lines_for(L"movie.iso", c.parts);
    EXPECT_EQ(text, c.text) << c.parts << " parts";
    EXPECT_EQ(text.size(), c.size) << c.parts << " parts";
  }
}

TEST(RejoinScript, OnePartScriptByteForByte) {
  const unsigned char expected[] = {0x63, 0x6F, 0x70, 0x79, 0x20, 0x2F, 0x62, 0x20, 0x2F, 0x79, 0x20, 0x22, 0x6D, 0x6F, 0x76,
                                    0x69, 0x65, 0x2E, 0x69, 0x73, 0x6F, 0x5F, 0x31, 0x22, 0x20, 0x22, 0x6D,
                                    0x6F, 0x76, 0x69, 0x65, 0x2E, 0x69, 0x73, 0x6F, 0x2E, 0x72, 0x65, 0x6A,
                                    0x6F, 0x69, 0x6E, 0x69, 0x6E, 0x67, 0x22, 0x0D, 0x0A};
  EXPECT_EQ(copy_lines_for(L"movie.iso", 1), std::string(expected, expected + sizeof expected));
}

TEST(RejoinScript, PercentSignsAreDoubledAndNothingElseChanges) {
  EXPECT_EQ(copy_lines_for(L"a%20b &^!.iso", 1),
            "copy /b /y \"a%%20b &^!.iso_1\" \"a%%20b &^!.iso.rejoining\"\r\n");
  // A name beyond ASCII is the script's own stem and the extension.
  EXPECT_EQ(copy_lines_for(L"\u30BD%.i%so", 1), "copy /b /y \"%stem%.i%%so_1\" \"%stem%.i%%so.rejoining\"\r\n");
}

TEST(RejoinScript, ALineThatFitsTheInterpreterStaysOneLine) {
  // 10 + (3 + L1) ... + the destination: the most parts whose copy line stays
  // within 8191 bytes.
  const std::wstring target(16, L't');  // parts are "tttt..._k"
  std::size_t length = 10 + 3 + target.size() + 10;
  int parts = 0;
  while (true) {
    const std::size_t entry = (parts == 0 ? 3 : 5) + target.size() + 1 + std::to_string(parts + 1).size();
    if (length + entry > RejoinScript::longest_line) break;
    length += entry;
    ++parts;
  }
  const std::vector<std::string> lines = lines_of(copy_lines_for(target, parts));
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].size(), length);
  EXPECT_GT(lines_of(copy_lines_for(target, parts + 1)).size(), 1u);
}

// A stem beyond ASCII is written "%stem%": a short one grows shorter once cmd has
// expanded it ("旅行"), a long one longer (120 Japanese characters). Every line
// stays within cmd's limit both ways, at the part counts around the wrap.
TEST(RejoinScript, EveryLineFitsTheInterpreterAsWrittenAndExpanded) {
  const auto is_copy_line = [](const std::string& line) { return line.compare(0, 8, "copy /b ") == 0; };
  for (const std::size_t stem_units : {1, 2, 3, 4, 5, 6, 120}) {
    for (const std::wstring extension : {L"", L".a", L".ab", L".mp4", L".jpeg"}) {
      const std::wstring target = std::wstring(stem_units, L'\u65C5') + extension;
      SCOPED_TRACE(testing::Message() << stem_units << " units and \"" << extension << "\"");
      int fewest = 1;  // the fewest parts whose copy line is wrapped, found by halving
      for (int most = 1200, middle; fewest < most;) {
        const bool wrapped = lines_of(copy_lines_for(target, middle = (fewest + most) / 2)).size() > 1;
        (wrapped ? most : fewest) = wrapped ? middle : middle + 1;
      }
      for (const int parts : {fewest - 1, fewest, fewest + 1}) {
        std::string text = text_of(RejoinScript(target, parts, 1, 1), parts);
        for (const bool expand : {false, true}) {
          if (expand) text = std::regex_replace(text, std::regex("%stem%"), std::string(stem_units, 's'));
          const std::vector<std::string> lines = lines_of(text);
          const bool wrapped = std::count_if(lines.begin(), lines.end(), is_copy_line) > 1;
          for (const std::string& line : lines) {
            EXPECT_LE(line.size(), wrapped && is_copy_line(line) ? RejoinScript::longest_wrapped_line
                                                                  : RejoinScript::longest_line)
                << parts << " parts, expanded: " << expand;
          }
        }
      }
    }
  }
}

TEST(RejoinScript, ALongListIsWrappedIntoAppendingLines) {
  const std::vector<std::string> lines = lines_of(copy_lines_for(L"movie.iso", 600));
  ASSERT_GT(lines.size(), 1u);

  // Each line builds or extends the target, and together they list every part once, in order.
  std::string listed;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    EXPECT_LE(line.size(), RejoinScript::longest_wrapped_line) << "line " << i;
    const std::string head =
        i == 0 ? "copy /b /y \"movie.iso_1\"" : "copy /b /y \"movie.iso.rejoining\" + \"movie.iso_";
    EXPECT_EQ(line.compare(0, head.size(), head), 0) << "line " << i << ": " << line.substr(0, 60);
    const std::string tail = " \"movie.iso.rejoining\"";
    ASSERT_GE(line.size(), tail.size());
    EXPECT_EQ(line.substr(line.size() - tail.size()), tail) << "line " << i;
    const std::size_t body_start = i == 0 ? 10 : 10 + tail.size();
    listed += line.substr(body_start, line.size() - tail.size() - body_start);
  }
  std::string expected = " \"movie.iso_1\"";
  for (int k = 2; k <= 600; ++k) expected += " + \"movie.iso_" + std::to_string(k) + "\"";
  EXPECT_EQ(listed, expected);
}

}  // namespace
