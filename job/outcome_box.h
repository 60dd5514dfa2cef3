#pragma once
// The box that tells the user how a split ended: finished, cancelled or failed,
// and then what is left and, for a failure, why, naming the file concerned.
#include <windows.h>

#include <string>

#include "split/split_outcome.h"

std::wstring outcome_text(const SplitOutcome& outcome);

// Owned by the dialog, caption "Split", one OK button. Wide, so that a name the
// code page cannot hold shows as it is.
void show_outcome_box(HWND owner, const SplitOutcome& outcome);
