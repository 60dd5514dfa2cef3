#pragma once
// How far a split has come, shown in a bar (made at run time, so the dialog template
// stays as it is, and hidden while no job runs), on the taskbar button and in the
// caption ("42% - Parcelor").
#include <windows.h>

// The timer that moves the bar, running only while a job does.
constexpr UINT_PTR progress_timer = 1;

void create_progress_bar(HWND dialog);

// At the start of a job: all three show 0 and the timer starts.
void show_progress(HWND dialog);
// On each tick of the timer: they follow the job, and stay where it stopped while
// its completion box is open.
void update_progress(HWND dialog);
// Once the start button is handed back: the timer stops, the bar hides, the button
// shows no progress and the caption is the program's name again.
void hide_progress(HWND dialog);
