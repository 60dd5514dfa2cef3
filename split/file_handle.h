#pragma once
// One open low-level file descriptor of the C runtime, owned until it is closed.
#include <cstdint>

enum class OpenMode {
  // The file to split: read only; others may read it meanwhile but never write it,
  // so the bytes cut are the bytes that were there when the split began.
  source,
  // A part or the rejoin script: always created new, an existing file is never
  // touched; others may read and write it meanwhile.
  new_file,
};

// The runtime's close. A test puts a failing one here: on a local disk Windows
// hardly ever reports a failed close, so nothing else could show one.
extern int (*close_descriptor)(int descriptor);

class FileHandle {
 public:
  // Throws the runtime's error number as a plain int when the open fails:
  // ENOENT missing, EACCES access denied or a sharing conflict, EEXIST the file exists already,
  // ENAMETOOLONG a name longer than the platform's 259 characters.
  FileHandle(const char* name, OpenMode mode);
  // Closes what close() has not, on the ways out of a split that fail anyway.
  ~FileHandle();

  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;

  // The count read (0 at the end) or -1.
  int read(void* buffer, unsigned int count);
  // The count written or -1.
  int write(const void* data, unsigned int count);
  // 1 at the end, 0 before it, -1 on error; the position stays where it was.
  int at_end();
  // False when the close failed: a network share or a device that is gone may lose
  // written bytes there. The handle holds no descriptor afterwards, so none is ever
  // closed twice (Microsoft's newer runtimes end the program on a stale one).
  bool close();

  // The platform's handle beneath the descriptor, to ask about the open file itself.
  std::intptr_t os_handle() const;

 private:
  int descriptor = -1;
};
