#pragma once
// One open low-level file descriptor of the C runtime, owned for its whole life.
#include <string>

enum class OpenMode {
  // The file to split: read only; others may write it meanwhile but not read it.
  source,
  // A part or the rejoin script: always created new, an existing file is never
  // touched; others may read and write it meanwhile.
  new_file,
};

class FileHandle {
 public:
  // Throws the runtime's error number as a plain int when the open fails:
  // ENOENT missing, EACCES access denied or a sharing conflict, EEXIST the file exists already,
  // ENAMETOOLONG a name longer than the platform's 259 characters.
  FileHandle(const char* name, OpenMode mode);
  ~FileHandle();

  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;

  // The count read (0 at the end) or -1.
  int read(void* buffer, unsigned int count);
  // The count written or -1.
  int write(const void* data, unsigned int count);
  // 1 at the end, 0 before it, -1 on error; the position stays where it was.
  int at_end();

  const std::string name;

 private:
  int descriptor = -1;
};
