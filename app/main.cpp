#include <windows.h>

#include "app/initial_path.h"
#include "app/main_dialog.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR command_line, int) {
  keep_initial_path(command_line);
  run_main_dialog(instance);
  return 0;
}
