#include "job/outcome_box.h"

#include "job/job_texts.h"

namespace {

using Ending = SplitOutcome::Ending;
using Reason = SplitOutcome::Reason;

constexpr std::uint64_t MiB = 1048576;

// The texts are code page 932 bytes whatever the system's code page.
std::wstring from_code_page_932(const char* text) {
  std::wstring wide(MultiByteToWideChar(932, 0, text, -1, nullptr, 0), L'\0');
  MultiByteToWideChar(932, 0, text, -1, wide.data(), static_cast<int>(wide.size()));
  wide.pop_back();
  return wide;
}

// The text with "%1" and "%2" replaced, in one pass: a file name put in for "%1"
// may hold "%2" itself.
std::wstring filled(const char* text, const std::wstring& first, const std::wstring& second = {}) {
  const std::wstring pattern = from_code_page_932(text);
  std::wstring result;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const wchar_t next = i + 1 < pattern.size() ? pattern[i + 1] : L'\0';
    if (pattern[i] == L'%' && (next == L'1' || next == L'2')) {
      result += next == L'1' ? first : second;
      ++i;
    } else {
      result += pattern[i];
    }
  }
  return result;
}

const char* reason_text(Reason reason) {
  switch (reason) {
    case Reason::none: break;
    case Reason::no_source_named: return job_texts::no_source_named;
    case Reason::source_missing: return job_texts::source_missing;
    case Reason::source_is_folder: return job_texts::source_is_folder;
    case Reason::source_is_device: return job_texts::source_is_device;
    case Reason::source_is_batch_file: return job_texts::source_is_batch_file;
    case Reason::raw_path: return job_texts::raw_path;
    case Reason::name_not_in_code_page: return job_texts::name_not_in_code_page;
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

// Why it failed: the file, the reason, and the system's reason where there is one.
// Without a number the system has nothing to say (its text for 0 reads "completed
// successfully"): our own words stand there instead.
std::wstring failure_lines(const SplitOutcome& outcome) {
  std::wstring text;
  if (!outcome.file.empty()) text += L"\n" + outcome.file;
  if (outcome.reason == Reason::no_room) {
    text += L"\n" + filled(job_texts::no_room, std::to_wstring((outcome.room_needed + MiB - 1) / MiB),
                           std::to_wstring(outcome.room_free / MiB));
  } else {
    text += L"\n" + from_code_page_932(reason_text(outcome.reason));
  }
  if (outcome.system_error != 0) {
    text += L"\n" + filled(job_texts::system_reason, system_text(outcome.system_error),
                           std::to_wstring(outcome.system_error));
  } else if (outcome.reason == Reason::cannot_write) {
    text += L"\n" + from_code_page_932(job_texts::short_write);
  } else if (outcome.reason == Reason::cannot_start) {
    text += L"\n" + from_code_page_932(job_texts::no_thread);
  }
  return text;
}

// What a split that did not finish leaves for the user to clear away.
std::wstring left_behind_lines(const SplitOutcome& outcome) {
  if (outcome.parts_kept == 0) {
    return outcome.ending == Ending::cancelled ? L"\n" + from_code_page_932(job_texts::nothing_written) : L"";
  }
  std::wstring text = L"\n" + filled(job_texts::parts_kept, std::to_wstring(outcome.parts_kept), outcome.first_part);
  if (outcome.last_part_short) text += L"\n" + from_code_page_932(job_texts::last_part_short);
  switch (outcome.script_left) {
    case SplitOutcome::ScriptLeft::none:
      text += L"\n" + from_code_page_932(job_texts::no_script);
      break;
    case SplitOutcome::ScriptLeft::removed:
      text += L"\n" + from_code_page_932(job_texts::script_removed);
      break;
    case SplitOutcome::ScriptLeft::not_removed:
      text += L"\n" + filled(job_texts::script_not_removed, outcome.unfinished_file);
      break;
  }
  return text + L"\n" + from_code_page_932(job_texts::delete_parts);
}

}  // namespace

std::wstring outcome_text(const SplitOutcome& outcome) {
  switch (outcome.ending) {
    case Ending::finished:
      return from_code_page_932(job_texts::split_finished);
    case Ending::cancelled:
      return from_code_page_932(job_texts::split_cancelled) + left_behind_lines(outcome);
    case Ending::failed:
      break;
  }
  return from_code_page_932(job_texts::split_failed) + failure_lines(outcome) + left_behind_lines(outcome);
}

void show_outcome_box(HWND owner, const SplitOutcome& outcome) {
  const UINT icon = outcome.ending == Ending::failed ? MB_ICONHAND : MB_ICONINFORMATION;
  MessageBoxW(owner, outcome_text(outcome).c_str(), from_code_page_932(job_texts::split_caption).c_str(), MB_OK | icon);
}
