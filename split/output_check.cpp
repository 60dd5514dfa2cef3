#include "split/output_check.h"

#include <windows.h>

#include <cwchar>

#include "job/split_job.h"

namespace {

// FAT holds no file of 4 GiB or more: such a part would fail at its 4 GiB-th byte.
constexpr std::int64_t fat_file_limit = std::int64_t{1} << 32;

bool cancelled() { return split_job.cancel_requested.load(); }

// Anything but "there is no such file" leaves the name's state unknown.
OutputCheck free_unless_unknown(DWORD error) {
  return error == ERROR_FILE_NOT_FOUND ? OutputCheck::clear : OutputCheck::refused;
}

OutputCheck check_script_name(const WidePath& script_path) {
  if (GetFileAttributesW(script_path.text().c_str()) != INVALID_FILE_ATTRIBUTES) return OutputCheck::name_taken;
  return free_unless_unknown(GetLastError());
}

// One look through the folder, whatever the number of parts: a question per part
// name took seconds for a large source on a local disk, minutes on a share.
OutputCheck check_part_names(const PartSequence& parts, std::int32_t part_count) {
  WIN32_FIND_DATAW entry;
  const HANDLE search = FindFirstFileW((parts.path.text() + L"_*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return free_unless_unknown(GetLastError());
  OutputCheck result = OutputCheck::clear;
  do {
    const std::int64_t number = parts.number_named_by(entry.cFileName);
    if (number >= 1 && number <= part_count) {
      result = OutputCheck::name_taken;
    } else if (cancelled()) {
      result = OutputCheck::cancelled;
    }
  } while (result == OutputCheck::clear && FindNextFileW(search, &entry));
  if (result == OutputCheck::clear && GetLastError() != ERROR_NO_MORE_FILES) result = OutputCheck::refused;
  FindClose(search);
  return result;
}

bool is_fat(const wchar_t* volume) {
  wchar_t file_system[MAX_PATH + 1] = {};
  return GetVolumeInformationW(volume, nullptr, 0, nullptr, nullptr, nullptr, file_system, MAX_PATH + 1) &&
         (_wcsicmp(file_system, L"FAT") == 0 || _wcsicmp(file_system, L"FAT32") == 0);
}

// The room this user may fill, which a quota can make less than the disk's.
OutputCheck check_room(const WidePath& source, std::int64_t size, std::int64_t largest_part) {
  wchar_t volume[MAX_PATH];
  ULARGE_INTEGER free_to_caller;
  if (!GetVolumePathNameW(source.text().c_str(), volume, MAX_PATH) ||
      !GetDiskFreeSpaceExW(volume, &free_to_caller, nullptr, nullptr) ||
      free_to_caller.QuadPart < static_cast<std::uint64_t>(size)) {
    return OutputCheck::refused;
  }
  if (largest_part >= fat_file_limit && is_fat(volume)) return OutputCheck::refused;
  return OutputCheck::clear;
}

}  // namespace

OutputCheck check_outputs(const PartSequence& parts, std::int32_t part_count, const WidePath& script_path,
                          std::int64_t size, std::int64_t largest_part) {
  // The last part has the longest name; the script's narrow name was made already.
  if (part_count > 0 && !fits_path_buffer(parts.part_path(part_count).c_str())) return OutputCheck::refused;
  // Cheapest first; a confirmed cancel is honoured between the file-system questions.
  if (cancelled()) return OutputCheck::cancelled;
  OutputCheck result = check_script_name(script_path);
  if (result == OutputCheck::clear) result = check_part_names(parts, part_count);
  if (result == OutputCheck::clear && cancelled()) result = OutputCheck::cancelled;
  if (result == OutputCheck::clear) result = check_room(parts.path, size, largest_part);
  return result;
}
