#pragma once
// The path of the file to split, as the user gave it, made into the full path that
// the split uses from then on.
#include <optional>
#include <string>

#include "split/split_outcome.h"

// The text without one pair of surrounding quotes, as Explorer's "Copy as path" and
// its command lines give a path with a blank. Only that one shape loses its
// quotes: a text that begins with a quote whose only other quote ends it. Any other
// quoting is the user's own.
std::wstring without_surrounding_quotes(const std::wstring& text);

// Made full now, against the current folder, which the open-file dialog and other
// programs' hooks may move later: parts, script and checks then all lie beside the
// source, whatever the current folder does. A name given in its 8.3 short form
// ("MOVI~0ZM.ISO") is made long, so that the parts, the script and the rebuilt
// file bear the file's own name. Fills full_path and returns nothing, or returns
// why it cannot be split: no name, a device, a stream, or a name too long.
std::optional<SplitOutcome> take_full_source_path(const std::wstring& given, std::wstring& full_path);

// A path the system takes as something other than a file's name: in its own
// namespaces, taken as it stands past the path rules ("\\.\" names a device, and
// NUL, CON and COM1 become "\\.\NUL" ... once made full; "\\?\" and "\??\" skip the
// system's checks), or with a colon past the drive letter's, which on NTFS names a
// stream of the file ("movie.iso:s"): its parts would become hidden streams of
// "movie.iso". Nothing for any other path.
std::optional<SplitOutcome> refuse_special_path(const std::wstring& path);
