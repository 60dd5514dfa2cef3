#include "split/split_file.h"

#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "job/split_job.h"
#include "receiver/batch_text.h"
#include "split/file_handle.h"
#include "split/held_file.h"
#include "split/path_rules.h"
#include "split/sha256.h"
#include "split/source_path.h"
#include "split/wide_path.h"
#include "tests/support/captured_output.h"
#include "tests/support/test_files.h"

namespace {

constexpr std::int64_t MiB = 1048576;

using Ending = SplitOutcome::Ending;
using Reason = SplitOutcome::Reason;

class SplitFileTest : public testing::Test {
 protected:
  void SetUp() override { split_job.cancel_requested = false; }
  void TearDown() override { split_job.cancel_requested = false; }

  SplitOutcome split(const std::wstring& source, std::int64_t part_size) {
    std::swprintf(split_job.source_path, std::size(split_job.source_path), L"%ls", source.c_str());
    return split_file(part_size);
  }
  SplitOutcome split(const std::string& source, std::int64_t part_size) {
    return split(widened(source.c_str()), part_size);
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

  // The script's copy line, with the line ends around it.
  std::string expected_copy_line(const std::string& name, std::size_t part_count) const {
    std::string text = "\r\ncopy /b /y";
    for (std::size_t k = 1; k <= part_count; ++k) {
      text += (k > 1 ? " + \"" : " \"") + name + "_" + std::to_string(k) + "\"";
    }
    return text + " \"" + name + ".rejoining\"\r\n";
  }

  // Whether the split failed for this reason, naming this file.
  static void expect_failure(const SplitOutcome& outcome, Reason reason, const std::string& file) {
    EXPECT_EQ(outcome.ending, Ending::failed);
    EXPECT_EQ(outcome.reason, reason);
    EXPECT_EQ(outcome.file, widened(file.c_str()));
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

    ASSERT_EQ(split(source, c.part_size).ending, Ending::finished);

    // An empty source has one empty part.
    std::vector<std::int64_t> lengths;
    for (std::int64_t offset = 0; offset < c.source_size || lengths.empty(); offset += c.part_size) {
      lengths.push_back(std::min(c.part_size, c.source_size - offset));
    }
    EXPECT_EQ(output.text().substr(before.size()), expected_output(source, lengths, c.source_size < c.part_size));

    Bytes joined;
    std::vector<std::string> expected_files = {"movie.bat", "movie.iso", "movie.iso.sha256"};
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
    EXPECT_NE(read_text(each / "movie.bat").find(expected_copy_line("movie.iso", lengths.size())), std::string::npos);
  }
}

TEST_F(SplitFileTest, OutputIsFlushedAtLineEndsOnly) {
  write_file(folder / "movie.iso", pattern_bytes(3 * MiB));
  ASSERT_EQ(split(folder / "movie.iso", 2 * MiB).ending, Ending::finished);
  const std::string text = output.text();
  std::vector<std::size_t> line_ends;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n') line_ends.push_back(i + 1);
  }
  EXPECT_EQ(output.flush_points(), line_ends);
}

TEST_F(SplitFileTest, PartNumbersGoOnPastNineWithoutLeadingZeros) {
  write_file(folder / "movie.iso", pattern_bytes(12));
  ASSERT_EQ(split(folder / "movie.iso", 1).ending, Ending::finished);
  EXPECT_EQ(read_file(folder / "movie.iso_10"), Bytes{pattern_bytes(12)[9]});
  EXPECT_NE(read_text(folder / "movie.bat").find(expected_copy_line("movie.iso", 12)), std::string::npos);
  EXPECT_NE(output.text().find("\\movie.iso_9\n.\n" + folder.path() + "\\movie.iso_10\n.\n"), std::string::npos);
}

TEST_F(SplitFileTest, ZeroOrNegativePartSizeIsRefusedBeforeAnythingIsCreated) {
  write_file(folder / "movie.iso", pattern_bytes(10));
  for (std::int64_t part_size : {std::int64_t{0}, -MiB, std::int64_t{-1}}) {
    expect_failure(split(folder / "movie.iso", part_size), Reason::part_size_not_positive, "");
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
  const struct {
    std::string source;
    Reason reason;
    unsigned long system_error;
  } cases[] = {{folder / "missing.iso", Reason::source_missing, ERROR_FILE_NOT_FOUND},
               {folder.path(), Reason::source_is_folder, ERROR_ACCESS_DENIED},
               {folder / "held.iso", Reason::cannot_open, ERROR_SHARING_VIOLATION},
               {"NUL", Reason::source_is_device, 0},
               {"\\\\?\\" + (folder / "held.iso"), Reason::raw_path, 0},
               {"\\\\.\\" + (folder / "held.iso"), Reason::source_is_device, 0},
               {folder / "held.iso:s", Reason::stream_name, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.source);
    const SplitOutcome outcome = split(c.source, MiB);
    expect_failure(outcome, c.reason, c.source);
    EXPECT_EQ(outcome.system_error, c.system_error);
    EXPECT_EQ(outcome.parts_kept, 0);
  }
  _close(writer);
  EXPECT_EQ(files_in(folder.path()), std::vector<std::string>{"held.iso"});
  EXPECT_EQ(output.text(), "");
}

// Every taken part name is counted, in one look, by the lowest and the highest.
TEST_F(SplitFileTest, ExistingPartsAreNeverOverwrittenAndAllCounted) {
  const std::string source = folder / "movie.iso";
  write_file(source, pattern_bytes(3 * MiB));
  for (const char* name : {"movie.iso_3", "movie.iso_2", "movie.iso_02", "movie.iso_4"}) {
    write_file(folder / name, {'k', 'e', 'e', 'p'});
  }

  const SplitOutcome outcome = split(source, MiB);
  expect_failure(outcome, Reason::part_exists, folder / "movie.iso_2");
  EXPECT_EQ(outcome.names_taken, 2);
  EXPECT_EQ(outcome.last_taken, widened((folder / "movie.iso_3").c_str()));

  EXPECT_EQ(output.text(), "Output File exist.\n");
  EXPECT_EQ(read_file(folder / "movie.iso_2"), (Bytes{'k', 'e', 'e', 'p'}));
  EXPECT_EQ(files_in(folder.path()).size(), 5u) << "a part was made";
}

TEST_F(SplitFileTest, ExistingFirstPartStopsBeforeAnyCopy) {
  const std::string source = folder / "movie.iso";
  write_file(source, pattern_bytes(10));
  write_file(folder / "movie.iso_1", {});
  expect_failure(split(source, MiB), Reason::part_exists, folder / "movie.iso_1");
  EXPECT_EQ(output.text(), "No need to split.\nOutput File exist.\n");
  EXPECT_EQ(files_in(folder.path()), (std::vector<std::string>{"movie.iso", "movie.iso_1"}));
}

// The script's and the checksum file's names, and the names they are written under
// until they are whole.
TEST_F(SplitFileTest, ExistingScriptChecksumsOrTheirTemporaryNamesAreNeverOverwrittenAndNoPartIsMade) {
  for (const auto& [taken, reason] :
       {std::pair{"movie.bat", Reason::script_exists}, std::pair{"movie.~pc", Reason::temporary_exists},
        std::pair{"movie.iso.sha256", Reason::checksum_exists}, std::pair{"movie.iso.~pc", Reason::temporary_exists}}) {
    TempFolder each;
    CapturedOutput each_output;
    const std::string source = each / "movie.iso";
    write_file(source, pattern_bytes(2 * MiB));
    write_file(each / taken, {'r', 'e', 'm'});

    expect_failure(split(source, MiB), reason, each / taken);

    EXPECT_EQ(each_output.text(), "Output File exist.\n");
    EXPECT_EQ(read_file(each / taken), (Bytes{'r', 'e', 'm'}));
    EXPECT_EQ(files_in(each.path()).size(), 2u) << "a file was made beside " << taken;
  }
}

// A batch file's script would bear its name; a .~pc file is its script's
// temporary name.
TEST_F(SplitFileTest, BatchOrTemporaryFileSourceIsRefusedBeforeAnythingIsWritten) {
  for (const auto& [name, reason] : {std::pair{"setup.BAT", Reason::source_is_batch_file},
                                     std::pair{"movie.~PC", Reason::source_is_temporary_name}}) {
    TempFolder each;
    write_file(each / name, pattern_bytes(3 * MiB));
    expect_failure(split(each / name, 2 * MiB), reason, each / name);
    EXPECT_EQ(files_in(each.path()), (std::vector<std::string>{name}));
  }
  EXPECT_EQ(output.text(), "");
}

// A Japanese path of `length` UTF-16 units in the folder, ending in the extension:
// folders of up to 60 characters, which Linux beneath Wine takes (255 bytes a name,
// three for each character here).
std::wstring path_of_length(const TempFolder& folder, std::size_t length, const std::wstring& extension) {
  std::wstring path = widened(folder.path().c_str());
  while (path.size() + 61 + 20 < length) {
    path += L"\\" + std::wstring(60, L'\u5206');
    CreateDirectoryW(path.c_str(), nullptr);
  }
  return path + L"\\" + std::wstring(length - path.size() - 1 - extension.size(), L'\u5272') + extension;
}

// The name the rejoin script builds the file under is ten units longer than the
// source's, and the longest name either side makes; Windows counts the units, not
// the bytes of any code page.
TEST_F(SplitFileTest, NamesBeyond259UnitsFailBeforeAnyPart) {
  const struct {
    std::size_t source_length;
    bool fits;
  } cases[] = {{249, true}, {250, false}};
  for (const auto& c : cases) {
    TempFolder each;
    const std::wstring source = path_of_length(each, c.source_length, L".iso");
    write_file(source, Bytes(1000000));
    const SplitOutcome outcome = split(source, MiB);
    if (c.fits) {
      EXPECT_EQ(outcome.ending, Ending::finished);
    } else {
      EXPECT_EQ(outcome.reason, Reason::name_too_long);
      EXPECT_EQ(outcome.file, source + L".rejoining");
      EXPECT_EQ(files_in(path_rules::folder_of(source)).size(), 1u);
    }
  }
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
    const SplitOutcome outcome = split(source, MiB);
    EXPECT_EQ(outcome.ending, cancel ? Ending::cancelled : Ending::failed);
    // Asked of the source's own folder: the parts and the script need the source's size and more.
    if (!cancel) {
      expect_failure(outcome, Reason::no_room, folder.path() + "\\");
      EXPECT_GT(outcome.room_needed, std::uint64_t{8} << 40);
    }
    EXPECT_EQ(outcome.parts_kept, 0);
    EXPECT_EQ(files_in(folder.path()), std::vector<std::string>{"huge.iso"});
  }
}

TEST_F(SplitFileTest, CancelBeforeTheFirstPartWritesNothing) {
  write_file(folder / "movie.iso", pattern_bytes(3 * MiB));
  std::thread([] { split_job.cancel_requested = true; }).join();

  const SplitOutcome outcome = split(folder / "movie.iso", MiB);
  EXPECT_EQ(outcome.ending, Ending::cancelled);
  EXPECT_EQ(outcome.parts_kept, 0);

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

  const SplitOutcome outcome = split(folder / "movie.iso", 4 * MiB);
  canceller.join();
  EXPECT_EQ(outcome.ending, Ending::cancelled);
  EXPECT_EQ(outcome.parts_kept, 1);
  EXPECT_TRUE(outcome.last_part_short);
  EXPECT_EQ(outcome.first_part, widened((folder / "movie.iso_1").c_str()));

  // A script for part 1 alone, run beside the source, would cut it to 2 MiB.
  EXPECT_EQ(files_in(folder.path()), (std::vector<std::string>{"movie.iso", "movie.iso_1"}));
  EXPECT_TRUE(read_file(folder / "movie.iso_1") == Bytes(bytes.begin(), bytes.begin() + 2 * MiB));
}

// What may still change the source during the split, a program that sets its times
// (it needs no write access, which is shut out), and what may fail after the first
// byte: a write, a flush or a close of a part, the script's write.
TEST_F(SplitFileTest, ChangedSourceOrFailedWriteOrCloseFailsWithoutAScript) {
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
  const auto failing_write = [](int, const void*, unsigned int) {
    _doserrno = ERROR_DISK_FULL;
    return -1;
  };
  const auto failing_flush = [](int) {
    _doserrno = ERROR_NETNAME_DELETED;
    return -1;
  };
  // After the last block the checksum file's one write goes through; half the
  // script's text is on the disk when the exception comes.
  const auto throwing_write = [](int descriptor, const void* data, unsigned int count) -> int {
    static int calls = 0;
    if (++calls % 2 == 1) return _write(descriptor, data, count);
    _write(descriptor, data, count / 2);
    throw std::bad_alloc();
  };
  // Another program that holds a file for good, or a disk that refuses deletes.
  const auto held_rename = [](const wchar_t*, const wchar_t*, DWORD) -> BOOL {
    SetLastError(ERROR_SHARING_VIOLATION);
    return FALSE;
  };
  const auto refused_delete = [](const wchar_t*) -> BOOL {
    SetLastError(ERROR_WRITE_PROTECT);
    return FALSE;
  };
  const struct {
    const char* what;
    int dot;  // after which block of two things go wrong
    Reason reason;
    const char* file;
    unsigned long system_error;
    bool last_part_short;
    bool script_begun;
    bool nothing_removable = false;
  } cases[] = {{"times set", 1, Reason::source_changed, "movie.iso", 0, false, false},
               // Bytes may be lost in a failed close or flush.
               {"part closed in failure", 2, Reason::cannot_close, "movie.iso_2", 0, true, false},
               {"part flushed in failure", 2, Reason::cannot_write, "movie.iso_2", ERROR_NETNAME_DELETED, true, false},
               {"part written in failure", 1, Reason::cannot_write, "movie.iso_2", ERROR_DISK_FULL, true, false},
               {"checksums written in failure", 2, Reason::cannot_write, "movie.iso.~pc", ERROR_DISK_FULL, false, true},
               {"script write thrown out of", 2, Reason::out_of_memory, "", 0, false, true},
               {"script write thrown out of, nothing removable", 2, Reason::out_of_memory, "", 0, false, true, true},
               // Given up after a few seconds, the temporary name removed.
               {"checksums held for good", 2, Reason::cannot_rename, "movie.iso.sha256", ERROR_SHARING_VIOLATION,
                false, true}};
  held_file_patience_ms = 300;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder each;
    const std::string source = each / "movie.iso";
    write_file(source, pattern_bytes(2 * MiB));
    CapturedOutput each_output;
    each_output.on_progress_dot([&](int dots) {
      if (dots != c.dot) return;
      if (c.reason == Reason::source_changed) touch(source);
      if (c.reason == Reason::cannot_close) close_descriptor = failing_close;
      if (c.system_error == ERROR_NETNAME_DELETED) flush_descriptor = failing_flush;
      if (c.system_error == ERROR_DISK_FULL) write_descriptor = failing_write;
      if (c.reason == Reason::out_of_memory) write_descriptor = throwing_write;
      if (c.nothing_removable) delete_file = refused_delete;
      if (c.reason == Reason::cannot_rename) move_file = held_rename;
    });

    const SplitOutcome outcome = split(source, MiB);
    close_descriptor = _close;
    flush_descriptor = _commit;
    write_descriptor = _write;
    delete_file = DeleteFileW;
    move_file = MoveFileExW;

    expect_failure(outcome, c.reason, *c.file != '\0' ? each / c.file : "");
    EXPECT_EQ(outcome.system_error, c.system_error);
    EXPECT_EQ(outcome.parts_kept, 2);
    EXPECT_EQ(outcome.last_part_short, c.last_part_short);
    // A checksum file or script that could not be written whole is gone again,
    // under either name; so is a checksum file whose script failed.
    // Where nothing could be removed, each file left is named.
    EXPECT_EQ(outcome.unfinished_removed, c.script_begun && !c.nothing_removable);
    const std::vector<std::wstring> left = {each / L"movie.~pc", each / L"movie.iso.sha256"};
    EXPECT_EQ(outcome.unfinished_left, c.nothing_removable ? left : std::vector<std::wstring>{});
    std::vector<std::string> files = {"movie.iso", "movie.iso_1", "movie.iso_2"};
    if (c.nothing_removable) files = {"movie.iso", "movie.iso.sha256", "movie.iso_1", "movie.iso_2", "movie.~pc"};
    EXPECT_EQ(files_in(each.path()), files);
  }
  held_file_patience_ms = 5000;
}

// A cancel after the last block is honoured, and so is one during the wait for a
// held checksum file, whose clean-up then waits while what held it still holds it.
int held_deletes = 0;

TEST_F(SplitFileTest, ACancelBeforeTheChecksumFileIsNamedIsHonouredAndCleansUp) {
  for (const bool while_held : {false, true}) {
    TempFolder each;
    write_file(each / "movie.iso", pattern_bytes(2 * MiB));
    split_job.cancel_requested = false;
    CapturedOutput each_output;
    each_output.on_progress_dot([&](int dots) { split_job.cancel_requested = !while_held && dots == 2; });
    if (while_held) {
      move_file = [](const wchar_t*, const wchar_t*, DWORD) -> BOOL {
        split_job.cancel_requested = true;
        SetLastError(ERROR_SHARING_VIOLATION);
        return FALSE;
      };
      delete_file = [](const wchar_t* name) -> BOOL {
        SetLastError(ERROR_SHARING_VIOLATION);
        return ++held_deletes > 3 && DeleteFileW(name);
      };
    }
    EXPECT_EQ(split(each / "movie.iso", MiB).ending, Ending::cancelled) << while_held;
    move_file = MoveFileExW;
    delete_file = DeleteFileW;
    EXPECT_EQ(files_in(each.path()), (std::vector<std::string>{"movie.iso", "movie.iso_1", "movie.iso_2"}));
  }
}

// A source named by its 8.3 short form is split under its long name.
TEST_F(SplitFileTest, AShortNameIsMadeLong) {
  const std::wstring source = folder / L"a long movie name.iso";
  write_file(source, pattern_bytes(10));
  wchar_t short_form[MAX_PATH];
  ASSERT_GT(GetShortPathNameW(source.c_str(), short_form, MAX_PATH), 0u);
  ASSERT_NE(short_form, source);
  std::wstring full;
  EXPECT_EQ(take_full_source_path(short_form, full), std::nullopt);
  EXPECT_EQ(full, source);
}

// A virus scanner that opens the fresh script, without delete sharing, for 300 ms,
// and a deletion pending on the fresh checksum file (its first two renames refused
// with access denied): each rename waits, and the split finishes.
std::atomic<HANDLE> held_script{INVALID_HANDLE_VALUE};
std::wstring script_to_hold;
int renames = 0;

TEST_F(SplitFileTest, FilesHeldForAMomentAreWaitedFor) {
  write_file(folder / "movie.iso", pattern_bytes(MiB + 1));
  script_to_hold = folder / L"movie.~pc";
  close_descriptor = [](int descriptor) {
    const int result = _close(descriptor);
    if (held_script == INVALID_HANDLE_VALUE) {
      held_script = CreateFileW(script_to_hold.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    }
    return result;
  };
  move_file = [](const wchar_t* from, const wchar_t* to, DWORD flags) -> BOOL {
    if (++renames > 2) return MoveFileExW(from, to, flags);
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  };
  std::thread scanner([] {
    for (int waited = 0; held_script == INVALID_HANDLE_VALUE && waited < 10000; ++waited) Sleep(1);
    Sleep(300);
    CloseHandle(held_script);
  });
  const SplitOutcome outcome = split(folder / "movie.iso", MiB);
  scanner.join();
  close_descriptor = _close;
  move_file = MoveFileExW;
  EXPECT_EQ(outcome.ending, Ending::finished) << outcome.system_error;
  EXPECT_EQ(files_in(folder.path()),
            (std::vector<std::string>{"movie.bat", "movie.iso", "movie.iso.sha256", "movie.iso_1", "movie.iso_2"}));
}

// A failure on a hashing thread, memory running out there or CNG failing, ends the
// split as a failure with its reason and CNG's status, never the program.
TEST_F(SplitFileTest, AFailureOnAHashingThreadFailsTheSplit) {
  const struct {
    NTSTATUS (WINAPI* hash)(BCRYPT_HASH_HANDLE, PUCHAR, ULONG, ULONG);
    Reason reason;
    unsigned long status;
  } cases[] = {{[](BCRYPT_HASH_HANDLE, PUCHAR, ULONG, ULONG) -> NTSTATUS { throw std::bad_alloc(); },
                Reason::out_of_memory, 0},
               {[](BCRYPT_HASH_HANDLE, PUCHAR, ULONG, ULONG) -> NTSTATUS { return 0xC000000D; }, Reason::cannot_hash,
                0xC000000D}};
  for (const auto& c : cases) {
    TempFolder each;
    write_file(each / "movie.iso", pattern_bytes(3 * MiB));
    hash_data = c.hash;
    const SplitOutcome outcome = split(each / "movie.iso", MiB);
    hash_data = BCryptHashData;
    EXPECT_EQ(outcome.ending, Ending::failed);
    EXPECT_EQ(outcome.reason, c.reason);
    EXPECT_EQ(outcome.system_error, c.status);
    EXPECT_FALSE(file_exists(each / "movie.bat") || file_exists(each / "movie.iso.sha256"));
  }
}

// After a slow flush (a USB stick writing behind, 30 MB/s here) fewer bytes go
// before the next one, so that each takes about 100 ms; a cancel asked for during a
// flush is honoured before the next. Where the disk's cache takes the first flushes
// at once, the interval grows from one block by doubling only.
std::int64_t unflushed_bytes = 0;
std::vector<std::int64_t> flushed_bytes;
std::size_t cached_flushes = 0;

TEST_F(SplitFileTest, FlushesOfASlowDiskStayShortAndACancelStopsBeforeTheNext) {
  write_file(folder / "movie.iso", pattern_bytes(24 * MiB));
  write_descriptor = [](int descriptor, const void* data, unsigned int count) {
    unflushed_bytes += count;
    return _write(descriptor, data, count);
  };
  flush_descriptor = [](int descriptor) {
    if (flushed_bytes.size() >= cached_flushes) Sleep(static_cast<DWORD>(unflushed_bytes / 30000));
    flushed_bytes.push_back(unflushed_bytes);
    unflushed_bytes = 0;
    if (flushed_bytes.size() == 4) split_job.cancel_requested = true;
    return _commit(descriptor);
  };
  for (cached_flushes = 0; cached_flushes <= 3; cached_flushes += 3) {
    flushed_bytes.clear();
    split_job.cancel_requested = false;
    EXPECT_EQ(split(folder / "movie.iso", 24 * MiB).ending, Ending::cancelled);
    DeleteFileA((folder / "movie.iso_1").c_str());
    ASSERT_EQ(flushed_bytes.size(), 4u);
    for (const std::int64_t bytes : flushed_bytes) EXPECT_LE(bytes, cached_flushes == 0 ? 4 * MiB : 8 * MiB);
  }
  write_descriptor = _write;
  flush_descriptor = _commit;
  EXPECT_EQ(flushed_bytes, (std::vector<std::int64_t>{MiB, 2 * MiB, 4 * MiB, 8 * MiB}));
}

struct RejoinCase {
  const char* what;
  const wchar_t* name;
  std::size_t source_size;
  std::int64_t part_size;
  // What the receiver has wrong: a part missing, of another size or with one byte
  // changed (on a read-only part too), a file or folder where the script builds or
  // names the file or keeps certutil's output, an environment that names other
  // files or stands in for results, or the script itself edited (its length said
  // anew), renamed, cut short or with its line ends converted to LF.
  enum Wrong { nothing, part_missing, part_resized, part_changed, read_only_part_changed, target_file,
               target_folder, building_file, building_folder, sums_file, sums_folder, hostile_environment,
               script_edited, script_renamed, script_cut, script_lf } wrong;
  // The part concerned, and for part_resized the size it has.
  int part;
  int size;
  // The folder the parts lie in, below the one the script is started from.
  const char* folder;
  // How the stand-in certutil answers: as Windows 10, 7 or Japanese Windows does,
  // with a failure ("sharing") or not at all ("silent").
  const char* certutil;
  // For script_edited: up to two texts, each replaced where it first stands; for
  // script_cut, the text before which it is cut (none: its last byte). And what the
  // script must then say.
  const char* edits[4] = {};
  const char* said = nullptr;
  // Split with a spare beside the parts.
  bool spare = false;
};

using Wrong = RejoinCase::Wrong;

// ソ (U+30BD) is 83 5C in code page 932, whose second byte is a backslash. A name
// that ran as a command would make a folder X. Names beyond ASCII, and beyond code
// page 932 (an emoji, é, 〜 U+301C, ¥, Korean, a Mac's separated voiced sound
// mark), reach the script through its own name. An edited whole digest makes the file
// wrong whatever its parts; "eol=3" makes the search pass over part 3's digest.
const char* const whole_digest_edited[] = {"call :verdict %errorlevel% ", "call :verdict %errorlevel% 0"};
const char* const incomplete = "This script is incomplete or was changed after it was made";
const RejoinCase rejoin_cases[] = {
    {"percent signs in the name", L"a%20b%%.iso", 3 * MiB + 5, MiB, Wrong::nothing, 0, 0, "", "win10"},
    {"a Japanese name with a 5C byte", L"\u30BD\u5206\u5272.iso", 2 * MiB + 1, MiB, Wrong::nothing, 0, 0, "",
     "japanese"},
    {"600 parts, too many for one line", L"movie.iso", 1799, 3, Wrong::nothing, 0, 0, "", "win7"},
    {"an empty source", L"movie.iso", 0, MiB, Wrong::nothing, 0, 0, "", "win10"},
    {"letters cmd reads as commands", L"a&mkdir X ^!();,='.iso", 20, 8, Wrong::nothing, 0, 0, "", "win7"},
    {"%f and %s in the name", L"b%f %s.iso", 20, 8, Wrong::nothing, 0, 0, "", "win10"},
    {"started from another folder", L"movie.iso", 20, 8, Wrong::nothing, 0, 0, "a &^b", "win10"},
    {"certutil failing", L"movie.iso", 20, 8, Wrong::nothing, 0, 0, "", "sharing", {},
     "could not be checked: another program is using the file (certutil.exe ended with code 0x80070020)."},
    {"certutil silent", L"b%f %s.iso", 20, 8, Wrong::nothing, 0, 0, "", "silent"},
    {"an emoji and an accent", L"caf\u00E9 \U0001F600.bin", MiB + 3, MiB / 2, Wrong::nothing, 0, 0, "", "win10"},
    {"a wave dash", L"\u65C5\u884C\u301C\u590F.mp4", 20, 8, Wrong::nothing, 0, 0, "", "japanese"},
    {"a separated voiced sound mark", L"\u304B\u3099\u3093.bin", 20, 8, Wrong::nothing, 0, 0, "", "win7"},
    {"a yen sign", L"\u00A5100.bin", 20, 8, Wrong::nothing, 0, 0, "", "win10"},
    {"Korean", L"\uD55C\uAD6D\uC5B4.bin", 20, 8, Wrong::nothing, 0, 0, "", "win10"},
    {"Korean, one byte changed", L"\uD55C\uAD6D\uC5B4.bin", 20, 8, Wrong::part_changed, 2, 0, "", "win10"},
    {"a percent sign, & and brackets", L"50% off & more (1).bin", 20, 8, Wrong::nothing, 0, 0, "", "win10"},
    {"a script renamed, its name beyond ASCII", L"caf\u00E9.bin", 20, 8, Wrong::script_renamed, 0, 0, "",
     "win10", {}, "If this script was renamed, that is why"},
    {"part 1 of a name beyond ASCII short", L"caf\u00E9.bin", 20, 8, Wrong::part_resized, 1, 7, "", "win10"},
    {"500 parts of a two-character name", L"\u65C5\u884C.mp4", 500, 1, Wrong::nothing, 0, 0, "", "win10"},
    // A script cut inside its copy line, before that line's destination, before its
    // data lines, or by one byte, and one whose line ends became LF.
    {"cut", L"movie.iso", 20, 8, Wrong::script_cut, 0, 0, "", "win10", {"+ \"movie.iso_2\""}, incomplete},
    {"cut", L"movie.iso", 20, 8, Wrong::script_cut, 0, 0, "", "win10", {" \"movie.iso.rejoining\"\r\nif"}, incomplete},
    {"cut", L"movie.iso", 20, 8, Wrong::script_cut, 0, 0, "", "win10", {"\n1 "}, incomplete},
    {"cut", L"movie.iso", 20, 8, Wrong::script_cut, 0, 0, "", "win10", {}, incomplete},
    {"LF", L"movie.iso", 20, 8, Wrong::script_lf, 0, 0, "", "win10", {}, incomplete},
    {"TEMP nowhere, RANDOM and ERRORLEVEL set", L"movie.iso", 20, 8, Wrong::hostile_environment, 0, 0, "", "win10"},
    {"a middle part missing", L"movie.iso", 20, 8, Wrong::part_missing, 2, 0, "", "win10"},
    {"a part missing, the spare beside", L"movie.iso", 20, 8, Wrong::part_missing, 2, 0, "", "win10", {},
     "\"movie.iso.vol0+1.par2\" is here: it can rebuild one missing or damaged part.", true},
    {"the first part missing", L"movie.iso", 20, 8, Wrong::part_missing, 1, 0, "", "win10"},
    {"the last part one byte short", L"movie.iso", 20, 8, Wrong::part_resized, 3, 3, "", "win10"},
    {"a part one byte too long", L"movie.iso", 20, 8, Wrong::part_resized, 1, 9, "", "win10"},
    {"a missing part named as a command", L"a&mkdir X ^!();,='.iso", 20, 8, Wrong::part_missing, 2, 0, "", "win10"},
    {"a missing part with %f and %s", L"b%f %s.iso", 20, 8, Wrong::part_missing, 3, 0, "", "win10"},
    {"a missing part with a Japanese name", L"\u30BD\u5206\u5272.iso", 20, 8, Wrong::part_missing, 2, 0, "",
     "win10"},
    {"one byte of part 2 changed, progress told after every part", L"movie.iso", 20, 8, Wrong::part_changed, 2, 0,
     "", "win10", {"until_report=100", "until_report=1", "until_report=100", "until_report=1"},
     "Each of the 3 parts is checked in turn, which takes a while for many parts.\r\nChecked 1 of 3 parts...\r\n"
     "Part \"movie.iso_2\" is damaged: its content differs from the original.\r\nChecked 2 of 3 parts...\r\n"
     "Checked 3 of 3 parts..."},
    {"one byte changed, Windows 7", L"a%20b&^!.iso", 20, 8, Wrong::part_changed, 2, 0, "", "win7"},
    {"one byte changed, Japanese", L"-\u30BD.iso", 20, 8, Wrong::part_changed, 2, 0, "", "japanese"},
    {"one byte of a read-only single part changed", L"movie.iso", 20, 32, Wrong::read_only_part_changed, 1, 0, "",
     "win10"},
    {"a file of the target's name", L"movie.iso", 20, 8, Wrong::target_file, 0, 0, "", "win10"},
    {"a folder of the target's name", L"movie.iso", 20, 8, Wrong::target_folder, 0, 0, "", "win10"},
    {"a file of the name it builds under", L"movie.iso", 20, 8, Wrong::building_file, 0, 0, "", "win10"},
    {"a folder of the name it builds under", L"movie.iso", 20, 8, Wrong::building_folder, 0, 0, "", "win10"},
    // With a file of the name it builds under as well: one run names both.
    {"a file of the name of certutil's output", L"movie.iso", 20, 8, Wrong::sums_file, 0, 0, "", "win10", {},
     "are here:\r\n- \"movie.iso.rejoining\"\r\n- \"movie.iso.certutil\"\r\nThey may be deleted"},
    {"a folder of the name of certutil's output", L"movie.iso", 20, 8, Wrong::sums_folder, 0, 0, "", "win10"},
    {"a rebuilt size other than the original's", L"movie.iso", 20, 8, Wrong::script_edited, 0, 0, "", "win10",
     {"==\"20\" goto size_wrong", "==\"21\" goto size_wrong"},
     "The rebuilt file is 20 bytes long, not "},
    {"intact parts of a wrong file", L"movie.iso", 20, 8, Wrong::script_edited, 0, 0, "", "win7",
     {whole_digest_edited[0], whole_digest_edited[1]}, "Every part is intact: the copy itself went wrong."},
    {"a part's digest not read", L"movie.iso", 20, 8, Wrong::script_edited, 0, 0, "", "win10",
     {whole_digest_edited[0], whole_digest_edited[1], " tokens=1,2", " tokens=1,2 eol=3"},
     "No part checked was damaged, but not every part could be checked, as said above: the damaged part was not "
     "found."},
};

// An edit that also says the script's new length, so that the script runs on and
// shows what the edit changes.
void restate_length(Bytes& text) {
  const std::string said = "\"%length%\"==\"";
  const auto number = std::search(text.begin(), text.end(), said.begin(), said.end()) + said.size();
  const std::string length = std::to_string(text.size());
  ASSERT_EQ(std::find(number, text.end(), '"') - number, static_cast<std::ptrdiff_t>(length.size()));
  std::copy(length.begin(), length.end(), number);
}

// Wine's own certutil writes nothing for -hashfile. Under Wine the stand-in built
// beside this test takes its place, and Wine is told to load it rather than its
// own; on Windows the real one answers, in whatever form that Windows prints.
bool use_certutil_stand_in() {
  if (GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") == nullptr) return false;
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string stand_in(path);
  stand_in.replace(stand_in.rfind('\\') + 1, std::string::npos, "certutil_stand_in.exe");
  char system[MAX_PATH];
  GetSystemDirectoryA(system, MAX_PATH);
  EXPECT_TRUE(CopyFileA(stand_in.c_str(), (std::string(system) + "\\certutil.exe").c_str(), FALSE)) << stand_in;
  HKEY overrides = nullptr;
  RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\DllOverrides", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &overrides,
                  nullptr);
  const char native[] = "native";
  EXPECT_EQ(RegSetValueExA(overrides, "certutil.exe", 0, REG_SZ, reinterpret_cast<const BYTE*>(native), sizeof native),
            ERROR_SUCCESS);
  RegCloseKey(overrides);
  return true;
}

// Run twice by the suite: in a console using code page 932, and in a Western one.
// A script for a plain ASCII name is the same text in both and reads the same in
// both, so the Western run takes only the names beyond ASCII.
TEST_F(SplitFileTest, TheRealCommandInterpreterRejoinsIntactPartsOnly) {
  const bool stand_in = use_certutil_stand_in();
  const char* western = std::getenv("PARCELOR_CONSOLE_CODE_PAGE");
  if (western != nullptr) {
    EXPECT_EQ(GetOEMCP(), std::stoul(western));
  }
  // Would make copy ask before it appends to the file it made, and wait for ever.
  SetEnvironmentVariableA("COPYCMD", "/-Y");
  for (const RejoinCase& c : rejoin_cases) {
    SCOPED_TRACE(c.what);
    const bool real_form = std::strcmp(c.certutil, "sharing") != 0 && std::strcmp(c.certutil, "silent") != 0;
    if ((!stand_in && !real_form) || (western != nullptr && batch_text::plain_ascii(c.name))) continue;
    SetEnvironmentVariableA("PARCELOR_CERTUTIL_FORM", c.certutil);
    TempFolder each;
    std::wstring folder = widened(each.path().c_str());
    if (*c.folder != '\0') {
      folder = each / widened(c.folder);
      ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    }
    const std::wstring name = c.name;
    const std::wstring source = folder + L"\\" + name;
    const std::wstring building = source + L".rejoining";
    const std::wstring sums = source + L".certutil";
    const Bytes bytes = pattern_bytes(c.source_size);
    write_file(source, bytes);
    split_job.make_spare = c.spare;
    ASSERT_EQ(split(source, c.part_size).ending, Ending::finished);
    split_job.make_spare = false;
    std::wstring script = source.substr(0, source.rfind(L'.')) + L".bat";
    Bytes text = read_file(script);
    EXPECT_TRUE(std::all_of(text.begin(), text.end(), [](unsigned char byte) { return byte < 0x80; }));

    const std::wstring part = name + L"_" + std::to_wstring(c.part);
    const std::wstring part_path = folder + L"\\" + part;
    if (c.wrong == Wrong::part_missing) DeleteFileW(part_path.c_str());
    if (c.wrong == Wrong::part_resized) write_file(part_path, pattern_bytes(c.size));
    const bool part_changed = c.wrong == Wrong::part_changed || c.wrong == Wrong::read_only_part_changed;
    if (part_changed) {
      Bytes changed = read_file(part_path);
      changed[3] ^= 1;
      write_file(part_path, changed);
    }
    if (c.wrong == Wrong::read_only_part_changed) SetFileAttributesW(part_path.c_str(), FILE_ATTRIBUTE_READONLY);
    const auto find = [&text](const char* what) {
      const auto at = std::search(text.begin(), text.end(), what, what + std::strlen(what));
      EXPECT_NE(at, text.end()) << what;
      return at;
    };
    const bool edited = c.wrong != Wrong::script_cut && c.edits[0] != nullptr;
    for (int k = 0; edited && k < 4 && c.edits[k] != nullptr; k += 2) {
      text.insert(text.erase(find(c.edits[k]), find(c.edits[k]) + static_cast<std::ptrdiff_t>(std::strlen(c.edits[k]))),
                  c.edits[k + 1], c.edits[k + 1] + std::strlen(c.edits[k + 1]));
    }
    if (edited) restate_length(text);
    if (c.wrong == Wrong::script_cut) text.erase(c.edits[0] != nullptr ? find(c.edits[0]) : text.end() - 1, text.end());
    if (c.wrong == Wrong::script_lf) text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    if (edited || c.wrong >= Wrong::script_cut) write_file(script, text);
    // As a browser names a second download.
    if (c.wrong == Wrong::script_renamed) {
      const std::wstring renamed = script.substr(0, script.size() - 4) + L" (1).bat";
      ASSERT_TRUE(MoveFileW(script.c_str(), renamed.c_str()));
      script = renamed;
    }
    // The source itself stands for a file of the target's name that a failed
    // rebuild must leave alone; where the target must be made, it goes aside.
    const bool target_kept = c.wrong == Wrong::part_missing || c.wrong == Wrong::part_resized ||
                             c.wrong == Wrong::target_file;
    if (!target_kept) {
      ASSERT_TRUE(MoveFileW(source.c_str(), (each / L"original").c_str()));
    }
    const std::wstring& in_the_way = c.wrong == Wrong::building_file || c.wrong == Wrong::building_folder ? building
                                     : c.wrong == Wrong::sums_file || c.wrong == Wrong::sums_folder     ? sums
                                                                                                        : source;
    const bool folder_in_the_way =
        c.wrong == Wrong::target_folder || c.wrong == Wrong::building_folder || c.wrong == Wrong::sums_folder;
    const bool file_in_the_way = c.wrong == Wrong::building_file || c.wrong == Wrong::sums_file;
    if (folder_in_the_way) {
      ASSERT_TRUE(CreateDirectoryW(in_the_way.c_str(), nullptr));
    }
    if (file_in_the_way) write_file(in_the_way, Bytes{'k', 'e', 'e', 'p'});
    if (c.wrong == Wrong::sums_file) write_file(building, Bytes{'k', 'e', 'e', 'p'});
    wchar_t temp[MAX_PATH];
    GetEnvironmentVariableW(L"TEMP", temp, MAX_PATH);
    if (c.wrong == Wrong::hostile_environment) {
      SetEnvironmentVariableW(L"TEMP", (each / L"nowhere").c_str());
      SetEnvironmentVariableA("RANDOM", "7");
      SetEnvironmentVariableA("ERRORLEVEL", "1");
    }

    // The script only ever reads the parts.
    std::vector<std::pair<std::wstring, Bytes>> parts_before;
    for (const std::wstring& file : files_in(folder)) {
      if (file.rfind(name + L"_", 0) == 0) parts_before.emplace_back(file, read_file(folder + L"\\" + file));
    }

    const BatchRun run = run_batch_script(widened(each.path().c_str()), script);
    for (const auto& [file, before] : parts_before) {
      EXPECT_TRUE(read_file(folder + L"\\" + file) == before) << "the run changed a part: " << run.output;
    }
    EXPECT_EQ(run.output.find("If this script was renamed") != std::string::npos, c.wrong == Wrong::script_renamed);

    if (c.wrong == Wrong::hostile_environment) {
      SetEnvironmentVariableW(L"TEMP", temp);
      SetEnvironmentVariableA("RANDOM", nullptr);
      SetEnvironmentVariableA("ERRORLEVEL", nullptr);
    }
    EXPECT_FALSE(file_exists(each / "X")) << "a name ran as a command";
    EXPECT_TRUE(&in_the_way == &building || c.wrong == Wrong::sums_file || !file_exists(building))
        << "the file built is left: " << run.output;
    EXPECT_TRUE(&in_the_way == &sums || !file_exists(sums)) << "certutil's output is left: " << run.output;
    if (c.wrong == Wrong::nothing || c.wrong == Wrong::hostile_environment) {
      EXPECT_EQ(run.exit_code, 0u) << run.output;
      ASSERT_TRUE(file_exists(source)) << "nothing rebuilt: " << run.output;
      EXPECT_TRUE(read_file(source) == bytes) << "the rebuilt file differs from the source";
      const char* verdict = c.source_size == 0 ? "is complete: it is empty"
                            : real_form        ? "is complete: its content is the original's, checked with SHA-256."
                                               : "only its size and the sizes of its parts were checked.";
      EXPECT_NE(run.output.find(verdict), std::string::npos) << run.output;
      EXPECT_TRUE(c.said == nullptr || run.output.find(c.said) != std::string::npos) << run.output;
      continue;
    }
    EXPECT_EQ(run.exit_code, 1u);
    // As the interpreter writes it, in the console's code page: "?" for what that lacks.
    const std::string said = narrowed(
        c.said != nullptr          ? widened(c.said)
        : part_changed             ? L"Part \"" + part + L"\" is damaged: its content differs from the original."
        : c.part != 0              ? L"Part \"" + part + L"\" is missing or is not "
        : &in_the_way == &source   ? L"\"" + name + L"\" exists already here."
                                   : L"- \"" + in_the_way.substr(folder.size() + 1) + L"\"\r\nThey may be deleted",
        CP_OEMCP);
    EXPECT_NE(run.output.find(said), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("Every part is intact") != std::string::npos,
              said.find("Every part is intact") != std::string::npos);
    EXPECT_EQ(run.output.find("_1\" is damaged") != std::string::npos, c.wrong == Wrong::read_only_part_changed)
        << "an intact part called damaged";
    // Whatever had the target's name, or a name the script makes, stays as it was;
    // no wrong file gets the target's name.
    EXPECT_EQ(file_exists(in_the_way), target_kept || folder_in_the_way || file_in_the_way) << "a wrong file was named";
    EXPECT_TRUE(!folder_in_the_way || files_in(in_the_way).empty()) << "data went into the folder";
    EXPECT_TRUE(!file_exists(in_the_way) || folder_in_the_way ||
                read_file(in_the_way) == (file_in_the_way ? Bytes{'k', 'e', 'e', 'p'} : bytes));
  }
  SetEnvironmentVariableA("COPYCMD", nullptr);
  SetEnvironmentVariableA("PARCELOR_CERTUTIL_FORM", nullptr);
}

}  // namespace
