#include "tests/app/running_dialog.h"

#include "app/initial_path.h"
#include "app/main_dialog.h"
#include "app/resource.h"
#include "tests/support/message_boxes.h"

RunningDialog::RunningDialog(const std::wstring& command_line) {
  // As a started program holds them; an earlier dialog in this process may have
  // changed them.
  selected_path[0] = L'\0';
  initial_path[0] = L'\0';
  keep_initial_path(command_line.c_str());

  thread = std::thread([this] {
    thread_id = GetCurrentThreadId();
    dialog_result = run_main_dialog(GetModuleHandleW(nullptr));
    finished = true;
  });
  pump_until([this] {
    dialog = find_dialog_with_control(GetCurrentProcessId(), IDC_START_SPLIT, "Parcelor");
    return dialog != nullptr || finished;
  });
}

RunningDialog::~RunningDialog() {
  if (!finished && dialog != nullptr) {
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    wait_until_ended();
  }
  thread.join();
}

std::string RunningDialog::text(int id) const {
  char buffer[1024] = {};
  GetWindowTextA(control(id), buffer, sizeof buffer);
  return buffer;
}

void RunningDialog::set_text(int id, const std::string& text) const { SetWindowTextA(control(id), text.c_str()); }

void RunningDialog::click(int id) const { PostMessageA(control(id), BM_CLICK, 0, 0); }

void RunningDialog::post_key(int control_id, WPARAM key) const {
  PostMessageA(control(control_id), WM_KEYDOWN, key, 1);
  PostMessageA(control(control_id), WM_KEYUP, key, 0xC0000001);
}

bool RunningDialog::wait_until_ended(DWORD timeout_ms) {
  return pump_until([this] { return finished.load(); }, timeout_ms);
}

HWND RunningDialog::focus() const {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(thread_id, &info);
  return info.hwndFocus;
}
