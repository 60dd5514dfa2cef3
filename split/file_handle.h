#pragma once
// One open low-level file descriptor of the C runtime, owned until it is closed.
#include <cstdint>
#include <string>

enum class OpenMode {
  // The file to split: read only; others may read it meanwhile but never write it,
  // so the bytes cut are the bytes that were there when the split began.
  source,
  // A part or the rejoin script: always created new, an existing file is never
  // touched; others may read and write it meanwhile.
  new_file,
};

// The runtime's write, flush and close. A test puts failing ones here: on a local
// disk Windows hardly ever reports a failed write, flush or close, so nothing else
// could show one; the benchmark puts a flush that does nothing, to weigh the real one.
extern int (*write_descriptor)(int descriptor, const void* data, unsigned int count);
extern int (*flush_descriptor)(int descriptor);
extern int (*close_descriptor)(int descriptor);

class FileHandle {
 public:
  // Throws a failed SplitOutcome naming the file when the open fails: cannot_open
  // with the system's number (2 missing, 5 access denied, 32 in use, 80 exists
  // already), or name_too_long beyond the platform's 259 characters.
  FileHandle(const std::wstring& name, OpenMode mode);
  // Closes what close() has not, on the ways out of a split that fail anyway.
  ~FileHandle();

  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;

  // Each call below clears the runtime's _doserrno first, so that right after a
  // failure it holds the system's number for this call, or 0 where the runtime
  // failed on its own (a short write), never an older one.

  // The count read (0 at the end) or -1.
  int read(void* buffer, unsigned int count);
  // The count written or -1.
  int write(const void* data, unsigned int count);
  // False when the system could not put what was written on the disk itself: a
  // share or a USB disk that writes behind may otherwise fail only after the split
  // has said it finished.
  bool flush();
  // False when the close failed: a network share or a device that is gone may lose
  // written bytes there. The handle holds no descriptor afterwards, so none is ever
  // closed twice (Microsoft's newer runtimes end the program on a stale one): a
  // second close does nothing.
  bool close();

  // The platform's handle beneath the descriptor, to ask about the open file itself.
  std::intptr_t os_handle() const;

 private:
  int descriptor = -1;
};
