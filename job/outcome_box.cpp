#include "job/outcome_box.h"

#include <cwchar>
#include <iterator>
#include <vector>

#include "job/job_texts.h"
#include "receiver/batch_text.h"
#include "split/path_rules.h"

std::wstring from_code_page_932(const char* text) {
  std::wstring wide(MultiByteToWideChar(932, 0, text, -1, nullptr, 0), L'\0');
  MultiByteToWideChar(932, 0, text, -1, wide.data(), static_cast<int>(wide.size()));
  wide.pop_back();
  return wide;
}

std::wstring filled(const char* text, const std::vector<std::wstring>& values) {
  const std::wstring pattern = from_code_page_932(text);
  std::wstring result;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const std::size_t index = i + 1 < pattern.size() ? static_cast<std::size_t>(pattern[i + 1] - L'1') : values.size();
    if (pattern[i] == L'%' && index < values.size()) {
      result += values[index];
      ++i;
    } else {
      result += pattern[i];
    }
  }
  return result;
}

namespace {

using Ending = SplitOutcome::Ending;
using Reason = SplitOutcome::Reason;

constexpr std::uint64_t MiB = 1048576;

std::wstring line(const char* text, const std::vector<std::wstring>& values = {}) {
  return L"\n" + filled(text, values);
}

std::wstring bare_name(const std::wstring& path) { return path_rules::file_name(path); }

// "movie.iso_1 から movie.iso_3 まで", or the one name.
std::wstring name_range(std::int64_t count, const std::wstring& first, const std::wstring& last) {
  return count == 1 ? bare_name(first) : filled(job_texts::name_range, {bare_name(first), bare_name(last)});
}

// What a finished split made: where, how many parts, and the files beside them.
const char* spare_refusal_text(SpareRefusal refusal) {
  switch (refusal) {
    case SpareRefusal::too_few_parts: return job_texts::spare_too_few_parts;
    case SpareRefusal::parts_too_large: return job_texts::spare_parts_too_large;
    case SpareRefusal::too_many_parts: return job_texts::spare_too_many_parts;
    case SpareRefusal::no_room: return job_texts::spare_no_room;
    case SpareRefusal::name_too_long: return job_texts::spare_name_too_long;
    case SpareRefusal::name_taken: return job_texts::spare_name_taken;
    case SpareRefusal::not_written: break;
  }
  return job_texts::spare_not_written;
}

// The spare's files and what they cost and do, or why there are none; and any file
// of a spare given up that could not be removed.
std::wstring spare_lines(const SplitOutcome& outcome) {
  std::wstring text;
  if (outcome.spare_files.size() == 2) {
    text = line(job_texts::spare_made, {bare_name(outcome.spare_files[0]), bare_name(outcome.spare_files[1])});
  }
  if (outcome.spare_refusal) {
    text = line(job_texts::spare_not_made, {from_code_page_932(spare_refusal_text(*outcome.spare_refusal))});
  }
  for (const std::wstring& left : outcome.unfinished_left) text += line(job_texts::script_not_removed, {left});
  return text;
}

std::wstring made_lines(const SplitOutcome& outcome) {
  return line(job_texts::folder_made, {path_rules::folder_of(outcome.first_part)}) +
         line(job_texts::parts_made, {std::to_wstring(outcome.parts_kept),
                                      name_range(outcome.parts_kept, outcome.first_part, outcome.last_part)}) +
         line(job_texts::script_made, {bare_name(outcome.script_file)}) +
         line(job_texts::checksum_made, {bare_name(outcome.checksum_file)}) +
         line(job_texts::what_to_send, {bare_name(outcome.script_file), bare_name(outcome.checksum_file)}) +
         (batch_text::plain_ascii(bare_name(outcome.script_file))
              ? L""
              : line(job_texts::keep_script_name, {bare_name(outcome.script_file)})) +
         spare_lines(outcome);
}

const char* reason_text(Reason reason) {
  switch (reason) {
    case Reason::none: break;
    case Reason::no_source_named: return job_texts::no_source_named;
    case Reason::source_missing: return job_texts::source_missing;
    case Reason::source_is_folder: return job_texts::source_is_folder;
    case Reason::source_is_device: return job_texts::source_is_device;
    case Reason::source_is_batch_file: return job_texts::source_is_batch_file;
    case Reason::source_is_temporary_name: return job_texts::source_is_temporary_name;
    case Reason::raw_path: return job_texts::raw_path;
    case Reason::stream_name: return job_texts::stream_name;
    case Reason::extension_not_ascii: return job_texts::extension_not_ascii;
    case Reason::name_not_utf8: return job_texts::name_not_utf8;
    case Reason::name_too_long: return job_texts::name_too_long;
    case Reason::part_exists: return job_texts::part_exists;
    case Reason::script_exists: return job_texts::script_exists;
    case Reason::checksum_exists: return job_texts::checksum_exists;
    case Reason::temporary_exists: return job_texts::temporary_exists;
    case Reason::no_room: return job_texts::no_room;
    case Reason::part_size_not_positive: return job_texts::part_size_not_positive;
    case Reason::too_many_parts: return job_texts::too_many_parts;
    case Reason::source_changed: return job_texts::source_changed;
    case Reason::out_of_memory: return job_texts::out_of_memory;
    case Reason::cannot_open: return job_texts::cannot_open;
    case Reason::cannot_read: return job_texts::cannot_read;
    case Reason::cannot_write: return job_texts::cannot_write;
    case Reason::cannot_close: return job_texts::cannot_close;
    case Reason::cannot_rename: return job_texts::cannot_rename;
    case Reason::cannot_hash: return job_texts::cannot_hash;
    case Reason::cannot_look_through_folder: return job_texts::cannot_look_through_folder;
    case Reason::cannot_start: return job_texts::cannot_start;
  }
  return "";
}

// The system's own words for its number, in the user's language, without the line
// break it ends with.
std::wstring system_text(unsigned long error) {
  wchar_t* buffer = nullptr;
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text(buffer != nullptr ? buffer : L"", length);
  LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n')) text.pop_back();
  return text;
}

// The reason's words, with what it puts in.
std::wstring reason_line(const SplitOutcome& outcome) {
  switch (outcome.reason) {
    case Reason::no_room:
      return line(job_texts::no_room,
                  {std::to_wstring((outcome.room_needed + MiB - 1) / MiB), std::to_wstring(outcome.room_free / MiB)});
    case Reason::part_exists:
      return line(job_texts::part_exists, {std::to_wstring(outcome.names_taken),
                                           name_range(outcome.names_taken, outcome.file, outcome.last_taken)});
    case Reason::extension_not_ascii:
      return line(job_texts::extension_not_ascii, {outcome.extension});
    default:
      return line(reason_text(outcome.reason));
  }
}

// Why it failed: the file, the reason, and the system's reason where there is one.
// Without a number the system has nothing to say (its text for 0 reads "completed
// successfully"): our own words stand there instead. For a folder or a missing
// file our words say it all; the system's would repeat or contradict them.
std::wstring failure_lines(const SplitOutcome& outcome) {
  std::wstring text;
  if (!outcome.file.empty()) text += L"\n" + outcome.file;
  text += reason_line(outcome);
  if (outcome.system_error == ERROR_SHARING_VIOLATION || outcome.system_error == ERROR_LOCK_VIOLATION) {
    text += line(job_texts::in_use);
  }
  if (outcome.reason == Reason::source_missing || outcome.reason == Reason::source_is_folder) return text;
  if (outcome.reason == Reason::cannot_hash && outcome.system_error != 0) {
    wchar_t status[9];
    std::swprintf(status, std::size(status), L"%08lX", outcome.system_error);
    text += line(job_texts::hash_status, {status});
  } else if (outcome.system_error != 0) {
    text += line(job_texts::system_reason, {system_text(outcome.system_error), std::to_wstring(outcome.system_error)});
  } else if (outcome.reason == Reason::cannot_write) {
    text += line(job_texts::short_write);
  } else if (outcome.reason == Reason::cannot_start) {
    text += line(job_texts::no_thread);
  }
  return text;
}

// What a split that did not finish leaves for the user to clear away.
std::wstring left_behind_lines(const SplitOutcome& outcome) {
  if (outcome.parts_kept == 0) {
    return outcome.ending == Ending::cancelled ? L"\n" + from_code_page_932(job_texts::nothing_written) : L"";
  }
  // The first by its full path, which says where they lie.
  const std::wstring kept = outcome.parts_kept == 1
                                ? outcome.first_part
                                : filled(job_texts::name_range, {outcome.first_part, bare_name(outcome.last_part)});
  std::wstring text = line(job_texts::parts_kept, {std::to_wstring(outcome.parts_kept), kept});
  if (outcome.last_part_short) text += L"\n" + from_code_page_932(job_texts::last_part_short);
  // Every file left is named; once none is, that the others went.
  for (const std::wstring& left : outcome.unfinished_left) text += line(job_texts::script_not_removed, {left});
  if (outcome.unfinished_left.empty()) {
    text += L"\n" + from_code_page_932(outcome.unfinished_removed ? job_texts::script_removed : job_texts::no_script);
  }
  return text + L"\n" + from_code_page_932(job_texts::delete_parts);
}

}  // namespace

std::wstring outcome_text(const SplitOutcome& outcome, bool answer_too_late) {
  switch (outcome.ending) {
    case Ending::finished:
      return from_code_page_932(job_texts::split_finished) +
             (answer_too_late ? line(job_texts::ended_before_answer) : L"") + made_lines(outcome);
    case Ending::cancelled:
      return from_code_page_932(job_texts::split_cancelled) + left_behind_lines(outcome);
    case Ending::failed:
      break;
  }
  return from_code_page_932(job_texts::split_failed) + (answer_too_late ? line(job_texts::failed_before_answer) : L"") +
         failure_lines(outcome) + left_behind_lines(outcome);
}

void show_outcome_box(HWND owner, const SplitOutcome& outcome, bool answer_too_late) {
  const UINT icon = outcome.ending == Ending::failed ? MB_ICONHAND : MB_ICONINFORMATION;
  MessageBoxW(owner, outcome_text(outcome, answer_too_late).c_str(),
              from_code_page_932(job_texts::split_caption).c_str(), MB_OK | icon);
}
