#include "split/held_file.h"

#include <algorithm>

#include "job/split_job.h"

BOOL(WINAPI* move_file)(const wchar_t* from, const wchar_t* to, DWORD flags) = MoveFileExW;
BOOL(WINAPI* delete_file)(const wchar_t* name) = DeleteFileW;

namespace {

bool held_for_a_moment(DWORD error) { return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED; }

// Sleeps in short steps, so that a cancel ends the wait at once. False on a cancel.
bool wait_unless_cancelled(DWORD milliseconds) {
  constexpr DWORD step_ms = 10;
  for (DWORD slept = 0; slept < milliseconds; slept += step_ms) {
    if (split_job.cancel_requested.load()) return false;
    Sleep(step_ms);
  }
  return !split_job.cancel_requested.load();
}

template <typename Operation>
DWORD patiently(Operation operation) {
  const ULONGLONG start = GetTickCount64();
  DWORD wait_ms = 10;
  for (;;) {
    if (operation()) return 0;
    const DWORD error = GetLastError();
    const ULONGLONG waited = GetTickCount64() - start;
    if (!held_for_a_moment(error) || waited >= held_file_patience_ms) return error;
    if (!wait_unless_cancelled(std::min<DWORD>(wait_ms, static_cast<DWORD>(held_file_patience_ms - waited)))) {
      return error;
    }
    wait_ms = std::min<DWORD>(wait_ms * 2, 500);
  }
}

}  // namespace

DWORD rename_patiently(const std::wstring& from, const std::wstring& to) {
  // Without MOVEFILE_REPLACE_EXISTING a name taken meanwhile stays as it is.
  return patiently([&] { return move_file(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH); });
}

DWORD delete_patiently(const std::wstring& name) {
  return patiently([&] { return delete_file(name.c_str()); });
}
