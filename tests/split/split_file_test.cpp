#include "split/split_file.h"

#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "job/split_job.h"
#include "split/file_handle.h"
#include "tests/support/captured_output.h"
#include "tests/support/test_files.h"

namespace {

constexpr std::int64_t MiB = 1048576;

class SplitFileTest : public testing::Test {
 protected:
  void SetUp() override { split_job.cancel_requested = false; }
  void TearDown() override { split_job.cancel_requested = false; }

  bool split(const std::string& source, std::int64_t part_size) {
    std::snprintf(split_job.source_path, sizeof split_job.source_path, "%s", source.c_str());
    return split_file(part_size);
  }

  // What standard output must hold for parts of the given lengths.
  std::string expected_output(const std::string& source, const std::vector<std::int64_t>& part_lengths,
                              bool no_need_to_split) const {
    std::string text = no_need_to_split ? "No need to split.\n" : "";
    for (std::size_t k = 1; k <= part_lengths.size(); ++k) {
      text += "\n" + source + "_" + std::to_string(k) + "\n";
      text += std::string(static_cast<std::size_t>((part_lengths[k - 1] + MiB - 1) / MiB), '.');
    }
    return text;
  }

  std::string expected_script(const std::string& name, std::size_t part_count) const {
    std::string text = "copy /b";
    for (std::size_t k = 1; k <= part_count; ++k) {
      text += (k > 1 ? " + \"" : " \"") + name + "_" + std::to_string(k) + "\"";
    }
    return text + " \"" + name + "\"\r\n";
  }

  TempFolder folder;
  CapturedOutput output;
};

struct SizeCase {
  const char* what;
  std::int64_t source_size;
  std::int64_t part_size;
};

const SizeCase size_cases[] = {
    {"empty", 0, 2 * MiB},
    {"below the part size", MiB + 3, 2 * MiB},
    {"equal to the part size", 2 * MiB, 2 * MiB},
    {"three times the part size", 6 * MiB, 2 * MiB},
    {"three times the part size plus one", 6 * MiB + 1, 2 * MiB},
    {"part size not a multiple of 1 MiB", 4 * MiB, MiB + MiB / 2},
    {"part size of one byte", 5, 1},
};

TEST_F(SplitFileTest, PartsAreByteExactSlicesForEverySize) {
  for (const SizeCase& c : size_cases) {
    SCOPED_TRACE(c.what);
    TempFolder each;
    const std::string source = each / "movie.iso";
    const Bytes bytes = pattern_bytes(static_cast<std::size_t>(c.source_size));
    write_file(source, bytes);
    const std::string before = output.text();

    ASSERT_TRUE(split(source, c.part_size));

    std::vector<std::int64_t> lengths;
    for (std::int64_t offset = 0; offset < c.source_size; offset += c.part_size) {
      lengths.push_back(std::min(c.part_size, c.source_size - offset));
    }
    EXPECT_EQ(output.text().substr(before.size()), expected_output(source, lengths, c.source_size < c.part_size));

    Bytes joined;
    std::vector<std::string> expected_files = {"movie.bat", "movie.iso"};
    for (std::size_t k = 1; k <= lengths.size(); ++k) {
      const std::string part = "movie.iso_" + std::to_string(k);
      expected_files.push_back(part);
      const Bytes part_bytes = read_file(each / part);
      EXPECT_EQ(static_cast<std::int64_t>(part_bytes.size()), lengths[k - 1]) << part;
      joined.insert(joined.end(), part_bytes.begin(), part_bytes.end());
    }
    EXPECT_TRUE(joined == bytes) << "the parts do not concatenate to the source";
    std::sort(expected_files.begin(), expected_files.end());
    EXPECT_EQ(files_in(each.path()), expected_files);
    EXPECT_EQ(read_text(each / "movie.bat"), expected_script("movie.iso", lengths.size()));
  }
}

TEST_F(SplitFileTest, OutputIsFlushedAtLineEndsOnly) {
  write_file(folder / "movie.iso", pattern_bytes(3 * MiB));
  ASSERT_TRUE(split(folder / "movie.iso", 2 * MiB));
  const std::string text = output.text();
  std::vector<std::size_t> line_ends;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n') line_ends.push_back(i + 1);
  }
  EXPECT_EQ(output.flush_points(), line_ends);
}

TEST_F(SplitFileTest, PartNumbersGoOnPastNineWithoutLeadingZeros) {
  write_file(folder / "movie.iso", pattern_bytes(12));
  ASSERT_TRUE(split(folder / "movie.iso", 1));
  EXPECT_EQ(read_file(folder / "movie.iso_10"), Bytes{pattern_bytes(12)[9]});
  EXPECT_EQ(read_text(folder / "movie.bat"), expected_script("movie.iso", 12));
  EXPECT_NE(output.text().find("\\movie.iso_9\n.\n" + folder.path() + "\\movie.iso_10\n.\n"), std::string::npos);
}

TEST_F(SplitFileTest, ZeroOrNegativePartSizeIsRefusedBeforeAnythingIsCreated) {
  write_file(folder / "movie.iso", pattern_bytes(10));
  for (std::int64_t part_size : {std::int64_t{0}, -MiB, std::int64_t{-1}}) {
    EXPECT_FALSE(split(folder / "movie.iso", part_size)) << part_size;
  }
  EXPECT_EQ(files_in(folder.path()), std::vector<std::string>{"movie.iso"});
  EXPECT_EQ(output.text(), "");
}

TEST_F(SplitFileTest, SourceThatCannotBeOpenedOrSizedCreatesNothing) {
  write_file(folder / "held.iso", pattern_bytes(10));
  int writer = -1;
  ASSERT_EQ(_sopen_s(&writer, (folder / "held.iso").c_str(), _O_WRONLY, _SH_DENYNO, 0), 0);
  // NUL opens like a file and reads nothing; the same file named through the system's
  // namespaces would get its script named by other rules.
  const std::string sources[] = {folder / "missing.iso", folder.path(), folder / "held.iso", "",
                                 "NUL", "\\\\?\\" + (folder / "held.iso"), "\\\\.\\" + (folder / "held.iso")};
  for (const std::string& source : sources) {
    EXPECT_FALSE(split(source, MiB)) << source;
  }
  _close(writer);
  EXPECT_EQ(files_in(folder.path()), std::vector<std::string>{"held.iso"});
  EXPECT_EQ(output.text(), "");
}

TEST_F(SplitFileTest, ExistingPartIsNeverOverwritten) {
  const std::string source = folder / "movie.iso";
  write_file(source, pattern_bytes(3 * MiB));
  write_file(folder / "movie.iso_2", {'k', 'e', 'e', 'p'});

  EXPECT_FALSE(split(source, MiB));

  EXPECT_EQ(output.text(), "Output File exist.\n");
  EXPECT_EQ(read_file(folder / "movie.iso_2"), (Bytes{'k', 'e', 'e', 'p'}));
  EXPECT_EQ(files_in(folder.path()), (std::vector<std::string>{"movie.iso", "movie.iso_2"})) << "a part was made";
}

TEST_F(SplitFileTest, ExistingFirstPartStopsBeforeAnyCopy) {
  const std::string source = folder / "movie.iso";
  write_file(source, pattern_bytes(10));
  write_file(folder / "movie.iso_1", {});
  EXPECT_FALSE(split(source, MiB));
  EXPECT_EQ(output.text(), "No need to split.\nOutput File exist.\n");
  EXPECT_EQ(files_in(folder.path()), (std::vector<std::string>{"movie.iso", "movie.iso_1"}));
}

TEST_F(SplitFileTest, ExistingScriptIsNeverOverwrittenAndNoPartIsMade) {
  const std::string source = folder / "movie.iso";
  write_file(source, pattern_bytes(2 * MiB));
  write_file(folder / "movie.bat", {'r', 'e', 'm'});

  EXPECT_FALSE(split(source, MiB));

  EXPECT_EQ(output.text(), "Output File exist.\n");
  EXPECT_EQ(read_file(folder / "movie.bat"), (Bytes{'r', 'e', 'm'}));
  EXPECT_EQ(files_in(folder.path()), (std::vector<std::string>{"movie.bat", "movie.iso"}));
}

TEST_F(SplitFileTest, BatchFileSourceFailsBeforeAnyPartIsWritten) {
  const std::string source = folder / "movie.bat";
  const Bytes bytes = pattern_bytes(3 * MiB);
  write_file(source, bytes);

  EXPECT_FALSE(split(source, 2 * MiB));

  EXPECT_EQ(output.text(), "Output File exist.\n");
  EXPECT_TRUE(read_file(source) == bytes) << "the source was changed";
  EXPECT_EQ(files_in(folder.path()), (std::vector<std::string>{"movie.bat"}));
}

// Pads a file name so that the folder's path, a backslash and the name make `length` bytes.
std::string path_of_length(const TempFolder& folder, std::size_t length, const std::string& extension) {
  const std::size_t name_length = length - folder.path().size() - 1;
  return folder / (std::string(name_length - extension.size(), 'n') + extension);
}

TEST_F(SplitFileTest, PartPathTooLongForThePlatformCreatesNothing) {
  // Ten parts: the ninth part's path takes 259 bytes, the tenth's one more.
  const std::string source = path_of_length(folder, 257, ".iso");
  write_file(source, pattern_bytes(10));
  EXPECT_FALSE(split(source, 1));
  EXPECT_EQ(files_in(folder.path()).size(), 1u);
}

TEST_F(SplitFileTest, ScriptPathBeyond259BytesFailsBeforeAnyPart) {
  // Without an extension the script path is four bytes longer than the source path.
  const std::string fits = path_of_length(folder, 255, "");
  write_file(fits, pattern_bytes(10));
  EXPECT_TRUE(split(fits, MiB));
  EXPECT_TRUE(file_exists(fits + ".bat"));

  TempFolder other;
  const std::string too_long = path_of_length(other, 256, "");
  write_file(too_long, pattern_bytes(10));
  EXPECT_FALSE(split(too_long, MiB));
  EXPECT_EQ(files_in(other.path()).size(), 1u);
}

TEST_F(SplitFileTest, HugeSourceWithoutRoomCreatesNothingAndACancelDuringTheChecksIsHonoured) {
  // A sparse 8 TiB source: more than any test disk holds, at 1 MiB parts 8 million
  // names to check.
  const std::string source = folder / "huge.iso";
  int file = -1;
  ASSERT_EQ(_sopen_s(&file, source.c_str(), _O_CREAT | _O_WRONLY | _O_BINARY, _SH_DENYNO, _S_IREAD | _S_IWRITE), 0);
  ASSERT_EQ(_chsize_s(file, std::int64_t{8} << 40), 0);
  _close(file);
  // Should the checks let it through, the first block cancels it.
  output.on_progress_dot([](int) { split_job.cancel_requested = true; });
  for (const bool cancel : {true, false}) {
    split_job.cancel_requested = cancel;
    EXPECT_EQ(split(source, MiB), cancel) << (cancel ? "cancelled" : "no room");
    EXPECT_EQ(files_in(folder.path()), std::vector<std::string>{"huge.iso"});
  }
}

TEST_F(SplitFileTest, CancelBeforeTheFirstPartWritesNothing) {
  write_file(folder / "movie.iso", pattern_bytes(3 * MiB));
  std::thread([] { split_job.cancel_requested = true; }).join();

  EXPECT_TRUE(split(folder / "movie.iso", MiB));

  EXPECT_EQ(output.text(), "");
  EXPECT_EQ(files_in(folder.path()), (std::vector<std::string>{"movie.iso"}));
}

TEST_F(SplitFileTest, CancelDuringAPartKeepsTheShortPartAndWritesNoScript) {
  const Bytes bytes = pattern_bytes(12 * MiB);
  write_file(folder / "movie.iso", bytes);

  // After the second block the splitter waits until another thread has set the flag.
  std::mutex mutex;
  std::condition_variable changed;
  bool cancel_wanted = false;
  std::thread canceller([&] {
    std::unique_lock<std::mutex> lock(mutex);
    changed.wait(lock, [&] { return cancel_wanted; });
    split_job.cancel_requested = true;
    cancel_wanted = false;
    changed.notify_all();
  });
  output.on_progress_dot([&](int dots) {
    if (dots != 2) return;
    std::unique_lock<std::mutex> lock(mutex);
    cancel_wanted = true;
    changed.notify_all();
    changed.wait(lock, [&] { return !cancel_wanted; });
  });

  EXPECT_TRUE(split(folder / "movie.iso", 4 * MiB));
  canceller.join();

  // A script for part 1 alone, run beside the source, would cut it to 2 MiB.
  EXPECT_EQ(files_in(folder.path()), (std::vector<std::string>{"movie.iso", "movie.iso_1"}));
  EXPECT_TRUE(read_file(folder / "movie.iso_1") == Bytes(bytes.begin(), bytes.begin() + 2 * MiB));
}

// What may still change the source during the split: a program that sets its times
// (it needs no write access, which is shut out), and a close that fails.
TEST_F(SplitFileTest, ChangedSourceOrFailedCloseFailsWithoutAScript) {
  const auto touch = [](const std::string& source) {
    const HANDLE file = CreateFileA(source.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    const FILETIME long_ago = {0, 30000000};
    SetFileTime(file, nullptr, nullptr, &long_ago);
    CloseHandle(file);
  };
  const auto failing_close = [](int descriptor) {
    _close(descriptor);
    return -1;
  };
  for (const bool times_set : {true, false}) {
    SCOPED_TRACE(times_set ? "times set" : "failed close");
    TempFolder each;
    const std::string source = each / "movie.iso";
    write_file(source, pattern_bytes(2 * MiB));
    CapturedOutput each_output;
    each_output.on_progress_dot([&](int dots) {
      if (dots == 1 && times_set) touch(source);
      if (dots == 2 && !times_set) close_descriptor = failing_close;
    });

    EXPECT_FALSE(split(source, MiB));
    close_descriptor = _close;

    EXPECT_EQ(files_in(each.path()), (std::vector<std::string>{"movie.iso", "movie.iso_1", "movie.iso_2"}));
  }
}

struct RejoinCase {
  const char* what;
  const char* name;
  const char* script_name;
  std::size_t source_size;
  std::int64_t part_size;
};

// "\x83\x5C" is ソ in code page 932; its second byte is a backslash.
const RejoinCase rejoin_cases[] = {
    {"percent signs in the name", "a%20b%%.iso", "a%20b%%.bat", 3 * MiB + 5, MiB},
    {"a Japanese name with a 5C byte", "\x83\x5C\x95\xaa\x8a\x84.iso", "\x83\x5C\x95\xaa\x8a\x84.bat", 2 * MiB + 1, MiB},
    {"600 parts, too many for one line", "movie.iso", "movie.bat", 1799, 3},
};

TEST_F(SplitFileTest, TheRealCommandInterpreterRejoinsTheParts) {
  for (const RejoinCase& c : rejoin_cases) {
    SCOPED_TRACE(c.what);
    TempFolder each;
    const Bytes bytes = pattern_bytes(c.source_size);
    write_file(each / c.name, bytes);
    ASSERT_TRUE(split(each / c.name, c.part_size));

    ASSERT_TRUE(MoveFileA((each / c.name).c_str(), (each / "original").c_str()));
    EXPECT_EQ(run_batch_script(each.path(), c.script_name), 0u);
    ASSERT_TRUE(file_exists(each / c.name)) << "nothing rebuilt";
    EXPECT_TRUE(read_file(each / c.name) == bytes) << "the rebuilt file differs from the source";
  }
}

}  // namespace
