#include "app/split_progress.h"

#include <commctrl.h>

#include <cstdio>

#include "app/app_texts.h"
#include "app/resource.h"
#include "app/taskbar_progress.h"
#include "job/split_worker.h"

namespace {

// Steps of the bar: fine enough that a 20 GB split moves it every few seconds.
constexpr int bar_steps = 1000;
// The bar moves at least this often.
constexpr UINT tick_ms = 100;

HWND bar_of(HWND dialog) { return GetDlgItem(dialog, IDC_SPLIT_PROGRESS); }

// The whole percent in the caption, so that the taskbar's tooltip and Alt+Tab show
// it; -1 while no job runs. Touched by the dialog thread only.
int caption_percent = -1;

// Set only when the number changes, so the caption does not flicker.
void show_percent_in_caption(HWND dialog, int percent) {
  if (percent == caption_percent) return;
  caption_percent = percent;
  char caption[32];
  std::snprintf(caption, sizeof caption, "%d%% - %s", percent, app_texts::caption);
  SetWindowTextA(dialog, caption);
}

// What the taskbar button shows: the share done while the job runs and once it has
// finished; red and full once it has failed, since red at the point where a split
// stopped (often 0) draws nothing; no progress once it was cancelled.
void show_on_taskbar(HWND dialog, int steps) {
  switch (split_job_ending().value_or(SplitOutcome::Ending::finished)) {
    case SplitOutcome::Ending::finished:
      show_taskbar_progress(dialog, TaskbarState::normal, steps);
      break;
    case SplitOutcome::Ending::failed:
      show_taskbar_progress(dialog, TaskbarState::error, bar_steps);
      break;
    case SplitOutcome::Ending::cancelled:
      show_taskbar_progress(dialog, TaskbarState::none, 0);
      break;
  }
}

// Where the bar is, and what the taskbar button and the caption show.
void show_share(HWND dialog, double share) {
  const auto steps = static_cast<int>(share * bar_steps);
  SendMessageA(bar_of(dialog), PBM_SETPOS, static_cast<WPARAM>(steps), 0);
  show_on_taskbar(dialog, steps);
  // Rounded down, so 100% shows only once every byte is copied.
  show_percent_in_caption(dialog, static_cast<int>(share * 100));
}

}  // namespace

void create_progress_bar(HWND dialog) {
  INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&classes);
  // The empty strip left of the quit button, from the left margin of the controls
  // above it, level with the button: in dialog units, then in pixels.
  RECT place = {12, 90, 12 + 174, 90 + 12};
  MapDialogRect(dialog, &place);
  const HWND bar = CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | PBS_SMOOTH, place.left, place.top,
                                   place.right - place.left, place.bottom - place.top, dialog,
                                   reinterpret_cast<HMENU>(IDC_SPLIT_PROGRESS), GetModuleHandleA(nullptr), nullptr);
  SendMessageA(bar, PBM_SETRANGE32, 0, bar_steps);
}

void show_progress(HWND dialog) {
  show_share(dialog, 0);
  ShowWindow(bar_of(dialog), SW_SHOWNA);
  SetTimer(dialog, progress_timer, tick_ms, nullptr);
}

void update_progress(HWND dialog) { show_share(dialog, split_job_progress()); }

void hide_progress(HWND dialog) {
  KillTimer(dialog, progress_timer);
  ShowWindow(bar_of(dialog), SW_HIDE);
  show_taskbar_progress(dialog, TaskbarState::none, 0);
  caption_percent = -1;
  SetWindowTextA(dialog, app_texts::caption);
}
