#include "app/main_dialog.h"

#include <commdlg.h>
#include <shellapi.h>

#include <cstdint>

#include "app/app_texts.h"
#include "app/initial_path.h"
#include "app/resource.h"
#include "app/size_text.h"
#include "app/split_progress.h"
#include "job/split_worker.h"

char selected_path[260];
// "Before files" and "*.*" as the program starts, the rest zero.
char custom_filter[256] = "Before files\0*.*";

namespace {

void on_init_dialog(HWND dialog) {
  SetWindowTextA(GetDlgItem(dialog, IDC_SPLIT_SIZE), app_texts::initial_split_size);
  // The command line came in as wide text; show it as such.
  if (initial_path[0] != L'\0') SetWindowTextW(GetDlgItem(dialog, IDC_SOURCE_PATH), initial_path);
  // A file dragged from Explorer onto the dialog arrives as WM_DROPFILES.
  DragAcceptFiles(dialog, TRUE);
  create_progress_bar(dialog);
}

// The first dropped item takes the source edit's place, as a browse would; a drop
// during a job changes the edit only, as typing does.
void on_drop_files(HWND dialog, HDROP drop) {
  char path[sizeof selected_path];
  const UINT length = DragQueryFileA(drop, 0, nullptr, 0);
  // A path too long for the program's buffers is left out rather than cut short.
  if (length > 0 && length < sizeof path && DragQueryFileA(drop, 0, path, sizeof path) == length) {
    SetWindowTextA(GetDlgItem(dialog, IDC_SOURCE_PATH), path);
  }
  DragFinish(drop);
}

void on_quit(HWND dialog) {
  if (request_quit(dialog)) EndDialog(dialog, IDOK);
}

void on_browse(HWND dialog) {
  OPENFILENAMEA dialog_record = {};
  dialog_record.lStructSize = sizeof dialog_record;
  dialog_record.hwndOwner = dialog;
  dialog_record.lpstrFilter = app_texts::file_filter;
  dialog_record.lpstrCustomFilter = custom_filter;
  dialog_record.nMaxCustFilter = sizeof custom_filter;
  dialog_record.nFilterIndex = 0;  // start on the custom filter
  // Not cleared first: the dialog offers the path last chosen or started.
  dialog_record.lpstrFile = selected_path;
  dialog_record.nMaxFile = sizeof selected_path;
  dialog_record.Flags = OFN_FILEMUSTEXIST;
  if (GetOpenFileNameA(&dialog_record) == 1) SetWindowTextA(GetDlgItem(dialog, IDC_SOURCE_PATH), selected_path);
}

void on_start(HWND dialog) {
  // Windows never sends this from the disabled button, but a queued click could
  // still arrive; a second job must not start while one runs.
  if (split_job_in_progress()) return;

  char size_text[260];
  GetWindowTextA(GetDlgItem(dialog, IDC_SPLIT_SIZE), size_text, sizeof size_text);
  const std::int32_t size_mb = parse_split_size(size_text);
  if (size_mb == 0) {
    MessageBoxA(dialog, app_texts::size_warning, app_texts::size_warning_caption, MB_OK | MB_ICONWARNING);
    return;
  }
  // Not checked here: a path that cannot be split ends in the job's failure box.
  GetWindowTextA(GetDlgItem(dialog, IDC_SOURCE_PATH), selected_path, sizeof selected_path);
  const HWND start_button = GetDlgItem(dialog, IDC_START_SPLIT);
  // A disabled button cannot keep the focus, and the keyboard would be left with
  // none: hand it on in the tab order, to the cancel button, first.
  if (GetFocus() == start_button) {
    SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetNextDlgTabItem(dialog, start_button, FALSE)), TRUE);
  }
  EnableWindow(start_button, FALSE);
  if (start_split_job(dialog, start_button, size_mb, selected_path)) show_progress(dialog);
}

void on_split_job_notice(HWND dialog) {
  const bool quit_waiting = on_split_job_ended();
  if (!split_job_in_progress()) hide_progress(dialog);
  if (quit_waiting) EndDialog(dialog, IDOK);
}

}  // namespace

INT_PTR CALLBACK main_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      on_init_dialog(dialog);
      return TRUE;  // the focus goes to the first tab stop, the quit button
    case WM_SPLIT_JOB_ENDED:
      on_split_job_notice(dialog);
      return TRUE;
    case WM_TIMER:
      if (wparam == progress_timer) update_progress(dialog);
      return TRUE;
    case WM_DROPFILES:
      on_drop_files(dialog, reinterpret_cast<HDROP>(wparam));
      return TRUE;
    case WM_COMMAND:
      // Esc and a close request arrive as IDCANCEL and are ignored: quitting is
      // the quit button's (or Enter's) alone.
      switch (LOWORD(wparam)) {
        case IDOK:
          on_quit(dialog);
          return TRUE;
        case IDC_BROWSE:
          on_browse(dialog);
          return FALSE;
        case IDC_START_SPLIT:
          on_start(dialog);
          return FALSE;
        case IDC_CANCEL_SPLIT:
          request_cancel(dialog);
          return FALSE;
      }
      return FALSE;
  }
  return FALSE;
}
