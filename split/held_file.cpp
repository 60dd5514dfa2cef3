#include "split/held_file.h"

#include <algorithm>

#include "job/split_job.h"

BOOL(WINAPI* move_file)(const wchar_t* from, const wchar_t* to, DWORD flags) = MoveFileExW;
BOOL(WINAPI* delete_file)(const wchar_t* name) = DeleteFileW;
std::atomic<DWORD> held_file_patience_ms{5000};

namespace {

bool held_for_a_moment(DWORD error) { return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED; }

// Sleeps in short steps, so that a cancel, where it counts, ends the wait at once.
// False on such a cancel.
bool wait_unless_cancelled(DWORD milliseconds, bool cancel_stops_it) {
  const auto stopped = [&] { return cancel_stops_it && split_cancelled(); };
  constexpr DWORD step_ms = 10;
  for (DWORD slept = 0; slept < milliseconds; slept += step_ms) {
    if (stopped()) return false;
    Sleep(step_ms);
  }
  return !stopped();
}

template <typename Operation>
DWORD patiently(Operation operation, bool cancel_stops_it) {
  const ULONGLONG start = GetTickCount64();
  DWORD wait_ms = 10;
  for (;;) {
    if (operation()) return 0;
    const DWORD error = GetLastError();
    const ULONGLONG waited = GetTickCount64() - start;
    const DWORD patience = held_file_patience_ms.load();
    if (!held_for_a_moment(error) || waited >= patience) return error;
    if (!wait_unless_cancelled(std::min<DWORD>(wait_ms, static_cast<DWORD>(patience - waited)), cancel_stops_it)) {
      return error;
    }
    wait_ms = std::min<DWORD>(wait_ms * 2, 500);
  }
}

}  // namespace

DWORD rename_patiently(const std::wstring& from, const std::wstring& to, bool cancel_stops_it) {
  // Without MOVEFILE_REPLACE_EXISTING a name taken meanwhile stays as it is.
  return patiently([&] { return move_file(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH); }, cancel_stops_it);
}

DWORD delete_patiently(const std::wstring& name) {
  return patiently([&] { return delete_file(name.c_str()); }, false);
}
