#include "split/file_size.h"

#include <windows.h>

#include <filesystem>
#include <system_error>

namespace {

// Read-only, hidden, system, archive, normal, temporary, sparse, compressed, offline,
// not-content-indexed and encrypted: any of these makes a regular file. The device
// and reparse-point bits are left out on purpose.
constexpr DWORD regular_file_attributes = 0x7BA7;

bool is_regular_file(DWORD attributes) {
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && (attributes & regular_file_attributes) != 0;
}

WIN32_FILE_ATTRIBUTE_DATA query_regular_file(const WidePath& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(path.text().c_str(), GetFileExInfoStandard, &data) ||
      !is_regular_file(data.dwFileAttributes)) {
    throw std::filesystem::filesystem_error("file_size(p): invalid argument",
                                            std::error_code(1, std::generic_category()));
  }
  return data;
}

std::uint64_t join_words(DWORD high, DWORD low) { return (static_cast<std::uint64_t>(high) << 32) | low; }

}  // namespace

std::uint64_t query_file_size(const WidePath& path) {
  const WIN32_FILE_ATTRIBUTE_DATA data = query_regular_file(path);
  return join_words(data.nFileSizeHigh, data.nFileSizeLow);
}

std::uint64_t query_last_write_time(const WidePath& path) {
  const WIN32_FILE_ATTRIBUTE_DATA data = query_regular_file(path);
  return join_words(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime);
}

bool name_taken(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
