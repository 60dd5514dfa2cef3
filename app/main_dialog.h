#pragma once
#include <windows.h>

// The path last chosen in the open-file dialog or last started; offered to the next
// browse. Kept for the life of the process.
extern wchar_t selected_path[260];

// Where the open-file dialog keeps the user's last filter pattern.
extern wchar_t custom_filter[256];

// The procedure of the main dialog IDD_MAIN.
INT_PTR CALLBACK main_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);

// Runs the main dialog modally: the program's life. However it ends, a split still
// running is stopped before this returns, with no box: a quit message ends the
// modal loop with the dialog destroyed, whether the program's own code posted it
// (a shell extension loaded by the open-file dialog may) or another program did.
INT_PTR run_main_dialog(HINSTANCE instance);
