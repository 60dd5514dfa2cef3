#include "split/file_stamp.h"

#include <windows.h>

#include <filesystem>
#include <system_error>

namespace {

std::uint64_t join_words(DWORD high, DWORD low) { return (static_cast<std::uint64_t>(high) << 32) | low; }

}  // namespace

FileStamp query_file_stamp(const FileHandle& file) {
  const auto handle = reinterpret_cast<HANDLE>(file.os_handle());
  BY_HANDLE_FILE_INFORMATION information;
  // A device or a pipe opens like a file, then blocks or reads nothing.
  if (GetFileType(handle) != FILE_TYPE_DISK || !GetFileInformationByHandle(handle, &information)) {
    throw std::filesystem::filesystem_error("file_size(p): invalid argument",
                                            std::error_code(1, std::generic_category()));
  }
  return {join_words(information.nFileSizeHigh, information.nFileSizeLow),
          join_words(information.ftLastWriteTime.dwHighDateTime, information.ftLastWriteTime.dwLowDateTime)};
}
