#pragma once
// The bar that shows how far a split has come: made at run time, so the dialog
// template stays as it is, and hidden while no job runs.
#include <windows.h>

// The timer that moves the bar, running only while a job does.
constexpr UINT_PTR progress_timer = 1;

void create_progress_bar(HWND dialog);

// At the start of a job: the bar shows at 0 and the timer starts.
void show_progress(HWND dialog);
// On each tick of the timer: the bar follows the job.
void update_progress(HWND dialog);
// Once the start button is handed back: the bar hides and the timer stops.
void hide_progress(HWND dialog);
