#include "split/file_handle.h"

#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>

#include <cerrno>

#include "split/wide_path.h"

int (*close_descriptor)(int descriptor) = _close;

FileHandle::FileHandle(const char* name, OpenMode mode) {
  // Windows refuses longer names to programs that are not long-path aware, as this
  // one is not; Wine would create them. Refusing them here keeps both the same.
  if (!fits_path_buffer(name)) throw static_cast<int>(ENAMETOOLONG);
  errno_t error = 0;
  if (mode == OpenMode::source) {
    // Readers (a virus scanner, Explorer's preview) may look on; a program that
    // holds the file for writing makes this open fail at once.
    error = _sopen_s(&descriptor, name, _O_RDONLY | _O_BINARY, _SH_DENYWR, 0);
  } else {
    // _O_EXCL: a part or script of the same name is never overwritten.
    error = _sopen_s(&descriptor, name, _O_RDWR | _O_CREAT | _O_EXCL | _O_BINARY, _SH_DENYNO,
                     _S_IREAD | _S_IWRITE);
  }
  if (error != 0) throw static_cast<int>(error);
}

FileHandle::~FileHandle() {
  if (descriptor >= 0) close_descriptor(descriptor);
}

int FileHandle::read(void* buffer, unsigned int count) { return _read(descriptor, buffer, count); }

int FileHandle::write(const void* data, unsigned int count) { return _write(descriptor, data, count); }

int FileHandle::at_end() { return _eof(descriptor); }

bool FileHandle::close() {
  const int result = close_descriptor(descriptor);
  descriptor = -1;
  return result == 0;
}

std::intptr_t FileHandle::os_handle() const { return _get_osfhandle(descriptor); }
