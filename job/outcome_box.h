#pragma once
// The box that tells the user how a split ended: finished, cancelled or failed,
// and then what is left and, for a failure, why, naming the file concerned.
#include <windows.h>

#include <string>
#include <vector>

#include "split/split_outcome.h"

// The program's texts are code page 932 bytes; the boxes show them as wide text,
// the same whatever the system's code page.
std::wstring from_code_page_932(const char* text);
// One of those texts with "%1", "%2" ... replaced by values, in one pass: a file
// name put in for "%1" may hold "%2" itself.
std::wstring filled(const char* text, const std::vector<std::wstring>& values);

// answer_too_late: the user answered OK to the cancel or quit question after the
// split had ended; the box says that the answer changed nothing.
std::wstring outcome_text(const SplitOutcome& outcome, bool answer_too_late = false);

// Owned by the dialog, caption "Split", one OK button. Wide, so that a name the
// code page cannot hold shows as it is.
void show_outcome_box(HWND owner, const SplitOutcome& outcome, bool answer_too_late = false);
