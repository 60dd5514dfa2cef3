#pragma once
// A file the split hands to others is written whole or not at all: under a
// temporary name beside its final one, created new, flushed and closed, and only
// then given its final name. A crash or a power cut leaves a stray temporary
// file, never half a file under a name that runs or that a receiver trusts.
#include <functional>
#include <string>
#include <vector>

#include "split/file_handle.h"
#include "split/split_outcome.h"
#include "split/wide_path.h"

// "C:\d\movie.bat" is written as "C:\d\movie.~pc": the extension becomes "~pc", so
// the name is never longer than the final one and passes every check that passes.
// A PAR2 file's becomes "~p2": "movie.iso.par2" would otherwise share
// "movie.iso.~pc" with "movie.iso.sha256".
WidePath temporary_path_of(const WidePath& final_path);

// What is left of the writes that did not end well: whether a file was removed
// again, and every one that could not be, which the user must remove.
struct UnfinishedFiles {
  bool removed = false;
  std::vector<std::wstring> left;

  // Removes the file, waiting a moment for another program that holds it, and
  // notes what became of it.
  void remove(const std::wstring& path);
};

// Writes the whole buffer or throws a failed SplitOutcome (cannot_write, naming the
// file): a short write loses bytes. Only a text beyond what one write can take
// needs more than one.
void write_all(FileHandle& file, const void* data, std::size_t count, const std::wstring& name);

// Writes the text into the file, under the temporary name as named to the user.
using FileWriter = std::function<void(FileHandle& file, const std::wstring& name)>;

// Writes final_path through its temporary name. Throws a failed SplitOutcome when
// the file cannot be made whole: if_taken naming final_path when that name was
// taken meanwhile (it is never replaced). Whatever ends the write early, the
// writer's own exceptions included, removes the temporary file first and notes in
// `unfinished` whether that worked. A rename that another program holds up for a
// moment is waited for. With cancellable, a cancel up to the rename, or during its
// wait, ends the write as a cancel; without, the file is finished whatever comes.
void write_whole_file(const WidePath& final_path, SplitOutcome::Reason if_taken, const FileWriter& write,
                      UnfinishedFiles& unfinished, bool cancellable);
