#include "app/main_dialog.h"

#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string>

#include "app/app_texts.h"
#include "app/initial_path.h"
#include "app/resource.h"
#include "app/size_text.h"
#include "app/split_progress.h"
#include "app/taskbar_progress.h"
#include "job/job_texts.h"
#include "job/outcome_box.h"
#include "job/split_worker.h"
#include "split/source_path.h"

wchar_t selected_path[260];
// "Before files" and "*.*" as the program starts, the rest zero.
wchar_t custom_filter[256] = L"Before files\0*.*";

namespace {

// Made when the dialog opens: once memory has run out, no text can be made.
std::wstring out_of_memory_text;
std::wstring out_of_memory_caption;

void on_init_dialog(HWND dialog) {
  out_of_memory_text = outcome_text(SplitOutcome::failure(SplitOutcome::Reason::out_of_memory));
  out_of_memory_caption = from_code_page_932(job_texts::split_caption);
  SetWindowTextA(GetDlgItem(dialog, IDC_SPLIT_SIZE), app_texts::initial_split_size);
  // Ticked at every start: nothing is remembered between runs.
  CheckDlgButton(dialog, IDC_MAKE_SPARE, BST_CHECKED);
  // The command line came in as wide text; show it as such.
  if (initial_path[0] != L'\0') SetWindowTextW(GetDlgItem(dialog, IDC_SOURCE_PATH), initial_path);
  // A file dragged from Explorer onto the dialog arrives as WM_DROPFILES.
  DragAcceptFiles(dialog, TRUE);
  create_progress_bar(dialog);
  start_taskbar_progress(dialog);
}

// The first dropped item takes the source edit's place, as a browse would; a drop
// during a job changes the edit only, as typing does. Taken whole and as wide text,
// whatever its length: a start refuses what the program cannot hold, in view.
void on_drop_files(HWND dialog, HDROP drop) {
  std::wstring path(DragQueryFileW(drop, 0, nullptr, 0), L'\0');
  if (!path.empty() && DragQueryFileW(drop, 0, path.data(), static_cast<UINT>(path.size() + 1)) == path.size()) {
    SetWindowTextW(GetDlgItem(dialog, IDC_SOURCE_PATH), path.c_str());
  }
  DragFinish(drop);
}

// After the job's notice, and whenever one of the dialog's own modal windows has
// closed: a split that ended meanwhile is reported now, one box at a time.
void report_ending_if_due(HWND dialog) {
  if (!split_job_in_progress() || split_job.job_finished) ShutdownBlockReasonDestroy(dialog);
  const bool was_running = split_job_in_progress();
  const bool quit_waiting = report_split_ending_if_due(dialog);
  if (was_running && !split_job_in_progress()) {
    hide_progress(dialog);
    EnableWindow(GetDlgItem(dialog, IDC_MAKE_SPARE), TRUE);
  }
  if (quit_waiting) EndDialog(dialog, IDOK);
}

void on_quit(HWND dialog) {
  if (request_quit(dialog)) {
    EndDialog(dialog, IDOK);
  } else {
    report_ending_if_due(dialog);
  }
}

void on_cancel(HWND dialog) {
  request_cancel(dialog);
  report_ending_if_due(dialog);
}

// The filter list as wide text, converted whole: its NULs are part of it.
std::wstring wide_file_filter() {
  wchar_t buffer[sizeof app_texts::file_filter];
  const int units = MultiByteToWideChar(CP_ACP, 0, app_texts::file_filter, sizeof app_texts::file_filter, buffer,
                                        static_cast<int>(std::size(buffer)));
  return std::wstring(buffer, static_cast<std::size_t>(units));
}

// The wide dialog hands over the chosen name exactly; the narrow one would have
// converted it inside Windows, look-alikes and all. It moves the process's current
// folder to where the user looked, whatever its flags say; put back, so that a bare
// name, typed or from the command line, always means the folder the program
// started in. It starts from the path last chosen or started, without the quotes
// a pasted path may have; a name it still refuses (it then opens not at all) gives
// way to none.
void on_browse(HWND dialog) {
  std::wstring current_folder(GetCurrentDirectoryW(0, nullptr), L'\0');
  current_folder.resize(GetCurrentDirectoryW(static_cast<DWORD>(current_folder.size()), current_folder.data()));
  const std::wstring file_filter = wide_file_filter();
  OPENFILENAMEW dialog_record = {};
  dialog_record.lStructSize = sizeof dialog_record;
  dialog_record.hwndOwner = dialog;
  dialog_record.lpstrFilter = file_filter.c_str();
  dialog_record.lpstrCustomFilter = custom_filter;
  dialog_record.nMaxCustFilter = std::size(custom_filter);
  dialog_record.nFilterIndex = 0;  // start on the custom filter
  // Not cleared first: the dialog offers the path last chosen or started.
  dialog_record.lpstrFile = selected_path;
  dialog_record.nMaxFile = std::size(selected_path);
  dialog_record.Flags = OFN_FILEMUSTEXIST;
  const std::wstring offered = without_surrounding_quotes(selected_path);
  std::copy(offered.c_str(), offered.c_str() + offered.size() + 1, selected_path);
  BOOL chosen = FALSE;
  {
    const OwnModalWindow open_file_dialog;
    chosen = GetOpenFileNameW(&dialog_record);
    if (!chosen && CommDlgExtendedError() == FNERR_INVALIDFILENAME) {
      selected_path[0] = L'\0';
      chosen = GetOpenFileNameW(&dialog_record);
    }
  }
  SetCurrentDirectoryW(current_folder.c_str());
  if (chosen == 1) SetWindowTextW(GetDlgItem(dialog, IDC_SOURCE_PATH), selected_path);
  report_ending_if_due(dialog);
}

// The source edit's text, whole; kept for the next browse to offer when it fits.
std::wstring read_source_text(HWND dialog) {
  const HWND edit = GetDlgItem(dialog, IDC_SOURCE_PATH);
  std::wstring text(GetWindowTextLengthW(edit) + 1, L'\0');
  text.resize(GetWindowTextW(edit, text.data(), static_cast<int>(text.size())));
  if (text.size() < std::size(selected_path)) std::copy(text.c_str(), text.c_str() + text.size() + 1, selected_path);
  return text;
}

void show_size_warning(HWND dialog, const std::wstring& typed) {
  const std::wstring first_line =
      typed.empty() ? from_code_page_932(app_texts::size_warning) : filled(app_texts::size_not_a_size, {typed});
  MessageBoxW(dialog, (first_line + L"\n" + from_code_page_932(app_texts::size_rule)).c_str(),
              from_code_page_932(app_texts::size_warning_caption).c_str(), MB_OK | MB_ICONWARNING);
}

void on_start(HWND dialog) {
  // Windows never sends this from the disabled button, but a queued click could
  // still arrive; a second job must not start while one runs.
  if (split_job_in_progress()) return;

  wchar_t size_text[260];
  GetWindowTextW(GetDlgItem(dialog, IDC_SPLIT_SIZE), size_text, static_cast<int>(std::size(size_text)));
  const std::int32_t size_mb = parse_split_size(size_text);
  if (size_mb == 0) {
    show_size_warning(dialog, size_text);
    return;
  }
  // Made full here, before the worker exists and before anything can move the
  // current folder. Only what the path itself says is checked here: the job finds
  // out the rest and says it in its own box.
  std::wstring source_path;
  if (const std::optional<SplitOutcome> refusal = take_full_source_path(read_source_text(dialog), source_path)) {
    show_outcome_box(dialog, *refusal);
    return;
  }
  const HWND start_button = GetDlgItem(dialog, IDC_START_SPLIT);
  // A disabled button cannot keep the focus, and the keyboard would be left with
  // none: hand it on in the tab order, to the cancel button, first.
  if (GetFocus() == start_button) {
    SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetNextDlgTabItem(dialog, start_button, FALSE)), TRUE);
  }
  EnableWindow(start_button, FALSE);
  const bool make_spare = IsDlgButtonChecked(dialog, IDC_MAKE_SPARE) == BST_CHECKED;
  if (!start_split_job(dialog, start_button, size_mb, source_path.c_str(), make_spare)) return;
  EnableWindow(GetDlgItem(dialog, IDC_MAKE_SPARE), FALSE);
  show_progress(dialog);
  // Shown on Windows' "programs still need to close" screen should the user sign out
  // or shut down meanwhile. Wine has no such screen, and fails the call.
  ShutdownBlockReasonCreate(dialog, from_code_page_932(app_texts::shutdown_reason).c_str());
}

// While a split runs, Windows is asked to wait (a dialog procedure that returns
// FALSE lets the default answer, which is yes); an end that cannot wait, a critical
// one, is not refused.
void on_query_end_session(HWND dialog, LPARAM lparam) {
  const bool splitting = split_job_in_progress() && !split_job.job_finished;
  SetWindowLongPtrW(dialog, DWLP_MSGRESULT, splitting && (lparam & ENDSESSION_CRITICAL) == 0 ? FALSE : TRUE);
}

INT_PTR handle_message(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  // Registered at run time, so it cannot be a case below.
  if (is_taskbar_button_created(message)) {
    on_taskbar_button_created();
    return TRUE;
  }
  switch (message) {
    case WM_INITDIALOG:
      on_init_dialog(dialog);
      return TRUE;  // the focus goes to the first tab stop, the quit button
    case WM_DESTROY:
      end_taskbar_progress();
      return FALSE;
    case WM_SPLIT_JOB_ENDED:
      report_ending_if_due(dialog);
      return TRUE;
    case WM_TIMER:
      if (wparam != progress_timer) return TRUE;
      update_progress(dialog);
      // Should the job's notice have been lost, its ending is reported all the same.
      report_ending_if_due(dialog);
      return TRUE;
    case WM_DROPFILES:
      on_drop_files(dialog, reinterpret_cast<HDROP>(wparam));
      return TRUE;
    case WM_QUERYENDSESSION:
      on_query_end_session(dialog, lparam);
      return TRUE;
    case WM_ENDSESSION:
      // The session may end any time once every program has answered this.
      if (wparam) stop_split_job(true);
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
          on_cancel(dialog);
          return FALSE;
      }
      return FALSE;
  }
  return FALSE;
}

}  // namespace

// No exception may unwind through the system's frames around a dialog procedure:
// memory running out while a box's text is made ends in a box, not in the end of
// the program.
INT_PTR CALLBACK main_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  try {
    return handle_message(dialog, message, wparam, lparam);
  } catch (...) {
    MessageBoxW(dialog, out_of_memory_text.c_str(), out_of_memory_caption.c_str(), MB_OK | MB_ICONHAND);
    return TRUE;
  }
}

INT_PTR run_main_dialog(HINSTANCE instance) {
  // Wide, so that the source edit keeps a typed or pasted name exactly: an edit made
  // by a narrow dialog keeps narrow text and would best-fit it as it arrives.
  const INT_PTR result = DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_MAIN), nullptr, main_dialog_proc, 0);
  stop_split_job(false);
  return result;
}
