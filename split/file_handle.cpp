#include "split/file_handle.h"

#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>

#include <cerrno>

#include "split/wide_path.h"

FileHandle::FileHandle(const char* name, OpenMode mode) : name(name) {
  // Windows refuses longer names to programs that are not long-path aware, as this
  // one is not; Wine would create them. Refusing them here keeps both the same.
  if (!fits_path_buffer(name)) throw static_cast<int>(ENAMETOOLONG);
  errno_t error = 0;
  if (mode == OpenMode::source) {
    // Denying read sharing keeps a second splitter (or any reader) off the source
    // while it is cut; writers are still let in.
    error = _sopen_s(&descriptor, name, _O_RDONLY | _O_BINARY, _SH_DENYRD, 0);
  } else {
    // _O_EXCL: a part or script of the same name is never overwritten.
    error = _sopen_s(&descriptor, name, _O_RDWR | _O_CREAT | _O_EXCL | _O_BINARY, _SH_DENYNO,
                     _S_IREAD | _S_IWRITE);
  }
  if (error != 0) throw static_cast<int>(error);
}

FileHandle::~FileHandle() { _close(descriptor); }

int FileHandle::read(void* buffer, unsigned int count) { return _read(descriptor, buffer, count); }

int FileHandle::write(const void* data, unsigned int count) { return _write(descriptor, data, count); }

int FileHandle::at_end() { return _eof(descriptor); }
