#include "split/file_stamp.h"

#include <windows.h>

#include "split/split_outcome.h"

namespace {

using Reason = SplitOutcome::Reason;

std::uint64_t join_words(DWORD high, DWORD low) { return (static_cast<std::uint64_t>(high) << 32) | low; }

}  // namespace

FileStamp query_file_stamp(const FileHandle& file, const std::wstring& name) {
  const auto handle = reinterpret_cast<HANDLE>(file.os_handle());
  // "Unknown" is also what a failed call answers; only the number tells them apart.
  SetLastError(NO_ERROR);
  const DWORD type = GetFileType(handle);
  const DWORD type_error = GetLastError();
  if (type == FILE_TYPE_UNKNOWN && type_error != NO_ERROR) {
    throw SplitOutcome::failure(Reason::cannot_read, name, type_error);
  }
  // A device or a pipe opens like a file, then blocks or reads nothing.
  if (type != FILE_TYPE_DISK) throw SplitOutcome::failure(Reason::source_is_device, name);
  BY_HANDLE_FILE_INFORMATION information;
  if (!GetFileInformationByHandle(handle, &information)) {
    throw SplitOutcome::failure(Reason::cannot_read, name, GetLastError());
  }
  return {join_words(information.nFileSizeHigh, information.nFileSizeLow),
          join_words(information.ftLastWriteTime.dwHighDateTime, information.ftLastWriteTime.dwLowDateTime)};
}
