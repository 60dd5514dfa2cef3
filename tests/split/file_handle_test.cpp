#include "split/file_handle.h"

#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <windows.h>

#include <gtest/gtest.h>

#include "split/file_stamp.h"
#include "split/split_outcome.h"
#include "split/wide_path.h"
#include "tests/support/test_files.h"

namespace {

// The system's number for a failed open, which also names the file; 0 when it opened.
unsigned long open_error(const std::string& path, OpenMode mode) {
  try {
    FileHandle file(widened(path.c_str()), mode);
  } catch (const SplitOutcome& failure) {
    EXPECT_EQ(failure.reason, SplitOutcome::Reason::cannot_open);
    EXPECT_EQ(failure.file, widened(path.c_str()));
    return failure.system_error;
  }
  return 0;
}

// Another program's descriptor on the file, for reading or writing, sharing everything.
class ForeignOpener {
 public:
  ForeignOpener(const std::string& path, int access) { _sopen_s(&descriptor, path.c_str(), access, _SH_DENYNO, 0); }
  ~ForeignOpener() { _close(descriptor); }
  bool is_open() const { return descriptor >= 0; }

 private:
  int descriptor = -1;
};

TEST(FileHandle, OpenErrorNumbers) {
  TempFolder folder;
  write_file(folder / "exists.bin", {1, 2, 3});
  EXPECT_EQ(open_error(folder / "missing.bin", OpenMode::source), 2u);
  EXPECT_EQ(open_error(folder / "no-dir\\x.bin", OpenMode::new_file), 3u);
  EXPECT_EQ(open_error(folder.path(), OpenMode::source), 5u);
  EXPECT_EQ(open_error(folder / "exists.bin", OpenMode::new_file), 80u);
  EXPECT_EQ(read_file(folder / "exists.bin"), (Bytes{1, 2, 3})) << "the existing file was touched";
  EXPECT_EQ(open_error(folder / "exists.bin", OpenMode::source), 0u);
}

TEST(FileHandle, OpenSourceLetsReadersInButNotWriters) {
  TempFolder folder;
  write_file(folder / "source.bin", {1});
  const ForeignOpener scanner(folder / "source.bin", _O_RDONLY);  // reading it before the split
  FileHandle source(folder / L"source.bin", OpenMode::source);
  EXPECT_TRUE(ForeignOpener(folder / "source.bin", _O_RDONLY).is_open());
  EXPECT_FALSE(ForeignOpener(folder / "source.bin", _O_WRONLY).is_open());
}

TEST(FileHandle, NewFileIsWritableAndSharedForReading) {
  TempFolder folder;
  const std::string path = folder / "part_1";
  {
    FileHandle part(widened(path.c_str()), OpenMode::new_file);
    EXPECT_EQ(part.write("abc", 3), 3);
    EXPECT_TRUE(ForeignOpener(path, _O_RDONLY).is_open());
  }
  EXPECT_EQ(read_file(path), (Bytes{'a', 'b', 'c'}));
  EXPECT_EQ(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
}

TEST(FileHandle, BytesPassUnchangedAndTheEndReadsNothing) {
  TempFolder folder;
  const Bytes bytes = {'a', '\r', '\n', 0x1A, '\n', 0};
  write_file(folder / "source.bin", bytes);
  FileHandle source(folder / L"source.bin", OpenMode::source);
  char buffer[16];
  EXPECT_EQ(source.read(buffer, 4), 4);
  EXPECT_EQ(source.read(buffer + 4, 16), 2);
  EXPECT_EQ(source.read(buffer, 16), 0);
  EXPECT_EQ(Bytes(buffer, buffer + 6), bytes);
}

TEST(QueryFileStamp, DiskFilesOnly) {
  TempFolder folder;
  write_file(folder / "empty.bin", {});
  write_file(folder / "three.bin", {1, 2, 3});
  EXPECT_EQ(query_file_stamp(FileHandle(folder / L"empty.bin", OpenMode::source), L"empty").size, 0u);
  EXPECT_EQ(query_file_stamp(FileHandle(folder / L"three.bin", OpenMode::source), L"three").size, 3u);
  try {
    query_file_stamp(FileHandle(L"NUL", OpenMode::source), L"NUL");
    ADD_FAILURE() << "no error for the NUL device";
  } catch (const SplitOutcome& failure) {
    EXPECT_EQ(failure.reason, SplitOutcome::Reason::source_is_device);
    EXPECT_EQ(failure.file, L"NUL");
  }
}

}  // namespace
