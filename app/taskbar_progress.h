#pragma once
// The split's progress on the dialog's taskbar button, as Explorer's own copies show
// theirs, for a user who has switched to another window meanwhile.
#include <windows.h>

enum class TaskbarState { none, normal, error };

// Where the button's progress goes: the shell's taskbar list, once it has told the
// dialog that the button exists. A test puts a recorder here, since Wine draws
// nothing and never announces the button. share: 0 to 1000.
extern void (*show_taskbar_progress)(HWND dialog, TaskbarState state, int share);

// At WM_INITDIALOG: the single-threaded COM the taskbar list (and the open-file
// dialog) needs on this thread, and the shell's message let in to the dialog.
void start_taskbar_progress(HWND dialog);
// The message the shell sends once the dialog's taskbar button exists.
bool is_taskbar_button_created(UINT message);
// Then the taskbar list can be made; where it cannot, the button shows nothing.
void on_taskbar_button_created();
// When the dialog is destroyed.
void end_taskbar_progress();
