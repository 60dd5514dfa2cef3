#include "tests/support/message_boxes.h"

namespace {

// A message box's text control has this id on Windows and on Wine.
constexpr int message_text_id = 0xFFFF;

struct Search {
  DWORD process_id;
  int control_id;
  const char* caption;
  HWND found;
};

BOOL CALLBACK match_dialog(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<Search*>(parameter);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  char class_name[16] = {};
  char caption[256] = {};
  GetClassNameA(window, class_name, sizeof class_name);
  GetWindowTextA(window, caption, sizeof caption);
  if (process == search->process_id && IsWindowVisible(window) && std::string(class_name) == "#32770" &&
      (search->caption == nullptr || std::string(search->caption) == caption) &&
      GetDlgItem(window, search->control_id) != nullptr) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK match_icon(HWND child, LPARAM parameter) {
  if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) return TRUE;
  *reinterpret_cast<HICON*>(parameter) = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
  return FALSE;
}

// The box shows one of the shared system icons; tell which by its handle.
UINT icon_of(HWND box) {
  HICON shown = nullptr;
  EnumChildWindows(box, match_icon, reinterpret_cast<LPARAM>(&shown));
  const struct {
    LPCSTR resource;
    UINT flag;
  } icons[] = {{IDI_INFORMATION, MB_ICONINFORMATION},
               {IDI_HAND, MB_ICONHAND},
               {IDI_QUESTION, MB_ICONQUESTION},
               {IDI_WARNING, MB_ICONWARNING}};
  for (const auto& icon : icons) {
    if (shown != nullptr && shown == LoadIconA(nullptr, icon.resource)) return icon.flag;
  }
  return 0;
}

}  // namespace

HWND find_dialog_with_control(DWORD process_id, int control_id, const char* caption) {
  Search search = {process_id, control_id, caption, nullptr};
  EnumWindows(match_dialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool pump_until(const std::function<bool()>& condition, DWORD timeout_ms) {
  const DWORD start = GetTickCount();
  while (!condition()) {
    if (GetTickCount() - start > timeout_ms) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
  return true;
}

void pump_for(DWORD milliseconds) {
  pump_until([] { return false; }, milliseconds);
}

MessageBoxAnswer::MessageBoxAnswer(std::string caption, int button, std::function<void()> before_answer,
                                   DWORD timeout_ms, DWORD process_id)
    : caption(std::move(caption)), button(button), before_answer(std::move(before_answer)) {
  thread = std::thread([this, timeout_ms, process_id] { run(timeout_ms, process_id); });
}

MessageBoxAnswer::~MessageBoxAnswer() { thread.join(); }

bool MessageBoxAnswer::wait() {
  pump_until([this] { return done(); }, 60000);
  return found;
}

void MessageBoxAnswer::run(DWORD timeout_ms, DWORD process_id) {
  const DWORD start = GetTickCount();
  HWND box = nullptr;
  while ((box = find_dialog_with_control(process_id, message_text_id, caption.c_str())) == nullptr &&
         GetTickCount() - start < timeout_ms) {
    Sleep(5);
  }
  if (box != nullptr) {
    char buffer[2048] = {};
    GetDlgItemTextA(box, message_text_id, buffer, sizeof buffer);
    text = buffer;
    wchar_t wide_buffer[2048] = {};
    GetDlgItemTextW(box, message_text_id, wide_buffer, 2048);
    wide_text = wide_buffer;
    icon = icon_of(box);
    owner = GetWindow(box, GW_OWNER);
    found = true;
    if (before_answer) before_answer();
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
  }
  finished = true;
}
