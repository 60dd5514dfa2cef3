#include "app/split_progress.h"

#include <commctrl.h>

#include "app/resource.h"
#include "job/split_worker.h"

namespace {

// Steps of the bar: fine enough that a 20 GB split moves it every few seconds.
constexpr int bar_steps = 1000;
// The bar moves at least this often.
constexpr UINT tick_ms = 100;

HWND bar_of(HWND dialog) { return GetDlgItem(dialog, IDC_SPLIT_PROGRESS); }

}  // namespace

void create_progress_bar(HWND dialog) {
  INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&classes);
  // The empty strip left of the quit button, from the left margin of the controls
  // above it, level with the button: in dialog units, then in pixels.
  RECT place = {12, 78, 12 + 174, 78 + 12};
  MapDialogRect(dialog, &place);
  const HWND bar = CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | PBS_SMOOTH, place.left, place.top,
                                   place.right - place.left, place.bottom - place.top, dialog,
                                   reinterpret_cast<HMENU>(IDC_SPLIT_PROGRESS), GetModuleHandleA(nullptr), nullptr);
  SendMessageA(bar, PBM_SETRANGE32, 0, bar_steps);
}

void show_progress(HWND dialog) {
  SendMessageA(bar_of(dialog), PBM_SETPOS, 0, 0);
  ShowWindow(bar_of(dialog), SW_SHOWNA);
  SetTimer(dialog, progress_timer, tick_ms, nullptr);
}

void update_progress(HWND dialog) {
  SendMessageA(bar_of(dialog), PBM_SETPOS, static_cast<WPARAM>(split_job_progress() * bar_steps), 0);
}

void hide_progress(HWND dialog) {
  KillTimer(dialog, progress_timer);
  ShowWindow(bar_of(dialog), SW_HIDE);
}
