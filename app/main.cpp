#include <windows.h>

#include "app/initial_path.h"
#include "app/main_dialog.h"
#include "app/resource.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR command_line, int) {
  keep_initial_path(command_line);
  // Wide, so that the source edit keeps a typed or pasted name exactly: an edit made
  // by a narrow dialog keeps narrow text and would best-fit it as it arrives.
  DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_MAIN), nullptr, main_dialog_proc, 0);
  return 0;
}
