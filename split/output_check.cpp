#include "split/output_check.h"

#include <windows.h>

#include <algorithm>

#include "job/split_job.h"
#include "split/path_rules.h"

namespace {

using Reason = SplitOutcome::Reason;

// Anything but "there is no such file" leaves the name's state unknown.
std::optional<SplitOutcome> unless_missing(DWORD error, const std::wstring& folder) {
  if (error == ERROR_FILE_NOT_FOUND) return std::nullopt;
  return SplitOutcome::failure(Reason::cannot_look_through_folder, folder, error);
}

std::optional<SplitOutcome> check_free_name(const NamedOutput& file) {
  if (GetFileAttributesW(file.path.text().c_str()) != INVALID_FILE_ATTRIBUTES) {
    return SplitOutcome::failure(file.if_taken, file.path.text());
  }
  const DWORD error = GetLastError();
  return unless_missing(error, path_rules::folder_of(file.path.text()));
}

// One look through the folder, whatever the number of parts: a question per part
// name took seconds for a large source on a local disk, minutes on a share. Every
// taken name is counted, so that the user hears of all of them at once, by the
// lowest and the highest number.
std::optional<SplitOutcome> check_part_names(const PartSequence& parts, std::int32_t part_count) {
  const std::wstring folder = path_rules::folder_of(parts.path.text());
  WIN32_FIND_DATAW entry;
  const HANDLE search = FindFirstFileW((parts.path.text() + L"_*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return unless_missing(GetLastError(), folder);
  std::optional<SplitOutcome> result;
  std::int64_t lowest = 0;
  std::int64_t highest = 0;
  std::int64_t taken = 0;
  do {
    const std::int64_t number = parts.number_named_by(entry.cFileName);
    if (number >= 1 && number <= part_count) {
      lowest = taken == 0 ? number : std::min(lowest, number);
      highest = std::max(highest, number);
      ++taken;
    } else if (split_cancelled()) {
      result = SplitOutcome::cancel();
    }
  } while (!result && FindNextFileW(search, &entry));
  const DWORD error = GetLastError();
  if (!result && error != ERROR_NO_MORE_FILES) {
    result = SplitOutcome::failure(Reason::cannot_look_through_folder, folder, error);
  }
  FindClose(search);
  if (!result && taken > 0) {
    result = SplitOutcome::failure(Reason::part_exists, parts.part_path(static_cast<std::int32_t>(lowest)));
    result->names_taken = taken;
    result->last_taken = parts.part_path(static_cast<std::int32_t>(highest));
  }
  return result;
}

// Asked of the parts' own folder: the system follows links and junctions from there
// and counts this user's quota. Where the question itself fails (some shares do not
// answer it), the split goes on: every write is checked anyway.
std::optional<SplitOutcome> check_room(const WidePath& source, std::uint64_t room_needed) {
  const std::wstring folder = path_rules::folder_of(source.text());
  ULARGE_INTEGER free_to_caller;
  if (!GetDiskFreeSpaceExW(folder.empty() ? nullptr : folder.c_str(), &free_to_caller, nullptr, nullptr) ||
      free_to_caller.QuadPart >= room_needed) {
    return std::nullopt;
  }
  SplitOutcome outcome = SplitOutcome::failure(Reason::no_room, folder);
  outcome.room_needed = room_needed;
  outcome.room_free = free_to_caller.QuadPart;
  return outcome;
}

}  // namespace

std::optional<SplitOutcome> check_outputs(const PartSequence& parts, std::int32_t part_count,
                                          const std::vector<NamedOutput>& files, std::uint64_t room_needed) {
  // The last part has the longest name.
  if (!fits_path_buffer(parts.part_path(part_count))) {
    return SplitOutcome::failure(Reason::name_too_long, parts.part_path(part_count));
  }
  // Cheapest first; a confirmed cancel is honoured between the file-system questions.
  if (split_cancelled()) return SplitOutcome::cancel();
  std::optional<SplitOutcome> result;
  for (const NamedOutput& file : files) {
    if (!result) result = check_free_name(file);
  }
  if (!result) result = check_part_names(parts, part_count);
  if (!result && split_cancelled()) result = SplitOutcome::cancel();
  if (!result) result = check_room(parts.path, room_needed);
  return result;
}
