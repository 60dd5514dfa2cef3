#include "split/rejoin_script.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string script_for(const std::string& target, int part_count) {
  RejoinScript script(target);
  for (int k = 1; k <= part_count; ++k) script.add_part((target + "_" + std::to_string(k)).c_str());
  return script.finish();
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

struct ScriptCase {
  int parts;
  const char* text;
  std::size_t size;
};

const ScriptCase script_cases[] = {
    {0, "copy /b \"movie.iso\"\r\n", 21},
    {1, "copy /b \"movie.iso_1\" \"movie.iso\"\r\n", 35},
    {2, "copy /b \"movie.iso_1\" + \"movie.iso_2\" \"movie.iso\"\r\n", 51},
    {3, "copy /b \"movie.iso_1\" + \"movie.iso_2\" + \"movie.iso_3\" \"movie.iso\"\r\n", 67},
};

TEST(RejoinScript, OneLineForZeroToThreeParts) {
  for (const ScriptCase& c : script_cases) {
    const std::string text = script_for("movie.iso", c.parts);
    EXPECT_EQ(text, c.text) << c.parts << " parts";
    EXPECT_EQ(text.size(), c.size) << c.parts << " parts";
  }
}

TEST(RejoinScript, OnePartScriptByteForByte) {
  const unsigned char expected[] = {0x63, 0x6F, 0x70, 0x79, 0x20, 0x2F, 0x62, 0x20, 0x22, 0x6D, 0x6F, 0x76,
                                    0x69, 0x65, 0x2E, 0x69, 0x73, 0x6F, 0x5F, 0x31, 0x22, 0x20, 0x22, 0x6D,
                                    0x6F, 0x76, 0x69, 0x65, 0x2E, 0x69, 0x73, 0x6F, 0x22, 0x0D, 0x0A};
  EXPECT_EQ(script_for("movie.iso", 1), std::string(expected, expected + sizeof expected));
}

TEST(RejoinScript, FinishTwiceGivesTheSameText) {
  RejoinScript script("movie.iso");
  script.add_part("movie.iso_1");
  const std::string first = script.finish();
  EXPECT_EQ(script.finish(), first);
}

TEST(RejoinScript, PercentSignsAreDoubledAndNothingElseChanges) {
  RejoinScript script("a%20b &^!.iso");
  script.add_part("a%20b &^!.iso_1");
  EXPECT_EQ(script.finish(), "copy /b \"a%%20b &^!.iso_1\" \"a%%20b &^!.iso\"\r\n");
}

TEST(RejoinScript, JapaneseNamesAreWrittenAsTheirBytes) {
  // "ソ.iso" in code page 932: the 5C byte stays as it is.
  EXPECT_EQ(script_for("\x83\x5C.iso", 1), "copy /b \"\x83\x5C.iso_1\" \"\x83\x5C.iso\"\r\n");
}

TEST(RejoinScript, ALineThatFitsTheInterpreterStaysOneLine) {
  // 7 + (3 + L1) ... : pick a part count and name length so the line is exactly 8191 bytes.
  const std::string target(16, 't');  // parts are "tttt..._k"
  RejoinScript script(target);
  std::size_t length = 7 + 3 + target.size();
  int k = 0;
  while (true) {
    const std::string name = target + "_" + std::to_string(k + 1);
    const std::size_t entry = (k == 0 ? 3 : 5) + name.size();
    if (length + entry > RejoinScript::longest_line) break;
    script.add_part(name.c_str());
    length += entry;
    ++k;
  }
  const std::string text = script.finish();
  ASSERT_EQ(lines_of(text).size(), 1u);
  EXPECT_LE(text.size() - 2, RejoinScript::longest_line);
  EXPECT_GT(text.size() - 2, RejoinScript::longest_line - 30);
}

TEST(RejoinScript, ALongListIsWrappedIntoAppendingLines) {
  const std::string text = script_for("movie.iso", 600);
  const std::vector<std::string> lines = lines_of(text);
  ASSERT_GT(lines.size(), 1u);

  // Each line builds or extends the target, and together they list every part once, in order.
  std::string listed;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    EXPECT_LE(line.size(), RejoinScript::longest_wrapped_line) << "line " << i;
    const std::string head = i == 0 ? "copy /b \"movie.iso_1\"" : "copy /b \"movie.iso\" + \"movie.iso_";
    EXPECT_EQ(line.compare(0, head.size(), head), 0) << "line " << i << ": " << line.substr(0, 60);
    const std::string tail = " \"movie.iso\"";
    ASSERT_GE(line.size(), tail.size());
    EXPECT_EQ(line.substr(line.size() - tail.size()), tail) << "line " << i;
    const std::size_t body_start = i == 0 ? 7 : 7 + tail.size();
    listed += line.substr(body_start, line.size() - tail.size() - body_start);
  }
  std::string expected = " \"movie.iso_1\"";
  for (int k = 2; k <= 600; ++k) expected += " + \"movie.iso_" + std::to_string(k) + "\"";
  EXPECT_EQ(listed, expected);
}

}  // namespace
