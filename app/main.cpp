#include <windows.h>

#include "app/initial_path.h"
#include "app/main_dialog.h"
#include "app/resource.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR command_line, int) {
  keep_initial_path(command_line);
  DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, main_dialog_proc, 0);
  return 0;
}
