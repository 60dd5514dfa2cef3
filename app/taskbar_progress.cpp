#include "app/taskbar_progress.h"

#include <shobjidl.h>

namespace {

// Both touched by the dialog thread only.
ITaskbarList3* taskbar_list = nullptr;
bool com_started = false;

UINT taskbar_button_created() {
  static const UINT message = RegisterWindowMessageW(L"TaskbarButtonCreated");
  return message;
}

TBPFLAG flag_of(TaskbarState state) {
  switch (state) {
    case TaskbarState::normal:
      return TBPF_NORMAL;
    case TaskbarState::error:
      return TBPF_ERROR;
    case TaskbarState::none:
      break;
  }
  return TBPF_NOPROGRESS;
}

void show_on_taskbar_list(HWND dialog, TaskbarState state, int share) {
  if (taskbar_list == nullptr) return;
  taskbar_list->SetProgressState(dialog, flag_of(state));
  if (state != TaskbarState::none) taskbar_list->SetProgressValue(dialog, static_cast<ULONGLONG>(share), 1000);
}

}  // namespace

void (*show_taskbar_progress)(HWND dialog, TaskbarState state, int share) = show_on_taskbar_list;

void start_taskbar_progress(HWND dialog) {
  // S_FALSE (already started on this thread) must be balanced too; a thread set up
  // for another model keeps it, and the taskbar list may still work there.
  com_started = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  // Run as administrator, the dialog hears nothing from the lower-integrity shell
  // unless it lets the message in. This one only: a drop or WM_COPYDATA from a lower
  // program must never steer an elevated one to its files.
  if (taskbar_button_created() != 0) {
    ChangeWindowMessageFilterEx(dialog, taskbar_button_created(), MSGFLT_ALLOW, nullptr);
  }
}

bool is_taskbar_button_created(UINT message) {
  return taskbar_button_created() != 0 && message == taskbar_button_created();
}

void on_taskbar_button_created() {
  // Explorer sends it again after it restarts; the list made first still serves.
  if (taskbar_list != nullptr) return;
  ITaskbarList3* list = nullptr;
  if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&list)))) return;
  if (FAILED(list->HrInit())) {
    list->Release();
    return;
  }
  taskbar_list = list;
}

void end_taskbar_progress() {
  if (taskbar_list != nullptr) taskbar_list->Release();
  taskbar_list = nullptr;
  if (com_started) CoUninitialize();
  com_started = false;
}
