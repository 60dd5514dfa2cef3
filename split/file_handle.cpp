#include "split/file_handle.h"

#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>

#include <cstdlib>

#include "split/split_outcome.h"
#include "split/wide_path.h"

int (*write_descriptor)(int descriptor, const void* data, unsigned int count) = _write;
int (*flush_descriptor)(int descriptor) = _commit;
int (*close_descriptor)(int descriptor) = _close;

FileHandle::FileHandle(const std::wstring& name, OpenMode mode) {
  // Windows refuses longer names to programs that are not long-path aware, as this
  // one is not; Wine would create them. Refusing them here keeps both the same.
  if (!fits_path_buffer(name)) throw SplitOutcome::failure(SplitOutcome::Reason::name_too_long, name);
  _doserrno = 0;
  errno_t error = 0;
  if (mode == OpenMode::source) {
    // Readers (a virus scanner, Explorer's preview) may look on; a program that
    // holds the file for writing makes this open fail at once.
    error = _wsopen_s(&descriptor, name.c_str(), _O_RDONLY | _O_BINARY, _SH_DENYWR, 0);
  } else {
    // _O_EXCL: a part or script of the same name is never overwritten.
    error = _wsopen_s(&descriptor, name.c_str(), _O_RDWR | _O_CREAT | _O_EXCL | _O_BINARY, _SH_DENYNO,
                      _S_IREAD | _S_IWRITE);
  }
  const unsigned long system_error = _doserrno;
  if (error != 0) throw SplitOutcome::failure(SplitOutcome::Reason::cannot_open, name, system_error);
}

FileHandle::~FileHandle() {
  if (descriptor >= 0) close_descriptor(descriptor);
}

int FileHandle::read(void* buffer, unsigned int count) {
  _doserrno = 0;
  return _read(descriptor, buffer, count);
}

int FileHandle::write(const void* data, unsigned int count) {
  _doserrno = 0;
  return write_descriptor(descriptor, data, count);
}

bool FileHandle::flush() {
  _doserrno = 0;
  return flush_descriptor(descriptor) == 0;
}

bool FileHandle::close() {
  if (descriptor < 0) return true;
  _doserrno = 0;
  const int result = close_descriptor(descriptor);
  descriptor = -1;
  return result == 0;
}

std::intptr_t FileHandle::os_handle() const { return _get_osfhandle(descriptor); }
