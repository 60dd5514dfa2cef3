#include "split/file_handle.h"

#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "split/file_size.h"
#include "tests/support/test_files.h"

namespace {

int open_error(const std::string& path, OpenMode mode) {
  try {
    FileHandle file(path.c_str(), mode);
  } catch (int error_number) {
    return error_number;
  }
  return 0;
}

// Another program's descriptor on the file, opened for reading, sharing everything.
class ForeignReader {
 public:
  explicit ForeignReader(const std::string& path) { _sopen_s(&descriptor, path.c_str(), _O_RDONLY, _SH_DENYNO, 0); }
  ~ForeignReader() { _close(descriptor); }
  bool is_open() const { return descriptor >= 0; }

 private:
  int descriptor = -1;
};

TEST(FileHandle, OpenErrorNumbers) {
  TempFolder folder;
  write_file(folder / "exists.bin", {1, 2, 3});
  EXPECT_EQ(open_error(folder / "missing.bin", OpenMode::source), 2);
  EXPECT_EQ(open_error(folder / "no-dir\\x.bin", OpenMode::new_file), 2);
  EXPECT_EQ(open_error(folder.path(), OpenMode::source), 13);
  EXPECT_EQ(open_error(folder / "exists.bin", OpenMode::new_file), 17);
  EXPECT_EQ(read_file(folder / "exists.bin"), (Bytes{1, 2, 3})) << "the existing file was touched";
  EXPECT_EQ(open_error(folder / "exists.bin", OpenMode::source), 0);
}

TEST(FileHandle, SourceHeldOpenForReadingElsewhereIsRefused) {
  TempFolder folder;
  write_file(folder / "source.bin", {1});
  ForeignReader reader(folder / "source.bin");
  ASSERT_TRUE(reader.is_open());
  EXPECT_EQ(open_error(folder / "source.bin", OpenMode::source), 13);
}

TEST(FileHandle, OpenSourceKeepsReadersOutButNotWriters) {
  TempFolder folder;
  write_file(folder / "source.bin", {1});
  FileHandle source((folder / "source.bin").c_str(), OpenMode::source);
  EXPECT_FALSE(ForeignReader(folder / "source.bin").is_open());
  int writer = -1;
  EXPECT_EQ(_sopen_s(&writer, (folder / "source.bin").c_str(), _O_WRONLY, _SH_DENYNO, 0), 0);
  _close(writer);
}

TEST(FileHandle, NewFileIsWritableAndSharedForReading) {
  TempFolder folder;
  const std::string path = folder / "part_1";
  {
    FileHandle part(path.c_str(), OpenMode::new_file);
    EXPECT_EQ(part.write("abc", 3), 3);
    EXPECT_TRUE(ForeignReader(path).is_open());
  }
  EXPECT_EQ(read_file(path), (Bytes{'a', 'b', 'c'}));
  EXPECT_EQ(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
}

TEST(FileHandle, BytesPassUnchangedAndTheEndTestKeepsThePosition) {
  TempFolder folder;
  const Bytes bytes = {'a', '\r', '\n', 0x1A, '\n', 0};
  write_file(folder / "source.bin", bytes);
  FileHandle source((folder / "source.bin").c_str(), OpenMode::source);
  char buffer[16];
  EXPECT_EQ(source.at_end(), 0);
  EXPECT_EQ(source.read(buffer, 4), 4);
  EXPECT_EQ(source.at_end(), 0);
  EXPECT_EQ(source.read(buffer + 4, 16), 2);
  EXPECT_EQ(source.at_end(), 1);
  EXPECT_EQ(Bytes(buffer, buffer + 6), bytes);
}

TEST(QueryFileSize, RegularFilesOnly) {
  TempFolder folder;
  write_file(folder / "empty.bin", {});
  write_file(folder / "three.bin", {1, 2, 3});
  EXPECT_EQ(query_file_size(WidePath((folder / "empty.bin").c_str())), 0u);
  EXPECT_EQ(query_file_size(WidePath((folder / "three.bin").c_str())), 3u);
  for (const std::string& path : {folder.path(), folder / "missing.bin"}) {
    try {
      query_file_size(WidePath(path.c_str()));
      ADD_FAILURE() << "no error for " << path;
    } catch (const std::filesystem::filesystem_error& error) {
      EXPECT_EQ(error.code(), std::error_code(1, std::generic_category())) << path;
    }
  }
}

}  // namespace
