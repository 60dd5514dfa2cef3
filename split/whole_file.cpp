#include "split/whole_file.h"

#include <windows.h>

#include <cstdlib>

namespace {

using Reason = SplitOutcome::Reason;
using ScriptLeft = SplitOutcome::ScriptLeft;

}  // namespace

WidePath temporary_path_of(const WidePath& final_path) { return final_path.with_extension(L"~pc"); }

void write_whole_file(const WidePath& final_path, Reason if_taken, const FileWriter& write,
                      UnfinishedFile& unfinished) {
  const WidePath temporary = temporary_path_of(final_path);
  const std::wstring& name = temporary.text();
  // Created new: a file of that name is not ours, and its failure leaves nothing.
  FileHandle file(temporary.text(), OpenMode::new_file);
  try {
    write(file, name);
    if (!file.flush()) throw SplitOutcome::failure(Reason::cannot_write, name, _doserrno);
    if (!file.close()) throw SplitOutcome::failure(Reason::cannot_close, name, _doserrno);
    // Without MOVEFILE_REPLACE_EXISTING a name taken since the checks stays as it is.
    if (!MoveFileExW(name.c_str(), final_path.text().c_str(), MOVEFILE_WRITE_THROUGH)) {
      const DWORD error = GetLastError();
      if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) {
        throw SplitOutcome::failure(if_taken, final_path.text());
      }
      throw SplitOutcome::failure(Reason::cannot_rename, final_path.text(), error);
    }
  } catch (...) {
    file.close();
    unfinished.path = name;
    unfinished.state = DeleteFileW(name.c_str()) ? ScriptLeft::removed : ScriptLeft::not_removed;
    throw;
  }
}
