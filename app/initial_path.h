#pragma once

// The command-line text, shown in the source edit when the dialog opens; empty
// when there was none.
extern wchar_t initial_path[260];

// Keeps the command-line text for the dialog, as it is but for one path in quotes,
// which is kept without them. A text too long for the buffer is not kept at all: a
// cut path would name the wrong file.
void keep_initial_path(const wchar_t* command_line);
