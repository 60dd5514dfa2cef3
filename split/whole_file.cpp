#include "split/whole_file.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>

#include "job/split_job.h"
#include "split/held_file.h"
#include "split/path_rules.h"

namespace {

using Reason = SplitOutcome::Reason;

}  // namespace

void UnfinishedFiles::remove(const std::wstring& path) {
  if (delete_patiently(path) == 0) {
    removed = true;
  } else {
    left.push_back(path);
  }
}

void write_all(FileHandle& file, const void* data, std::size_t count, const std::wstring& name) {
  constexpr std::size_t largest_write = std::size_t{1} << 30;
  const auto* bytes = static_cast<const char*>(data);
  while (count > 0) {
    const auto chunk = static_cast<unsigned int>(std::min(count, largest_write));
    if (file.write(bytes, chunk) != static_cast<int>(chunk)) {
      throw SplitOutcome::failure(Reason::cannot_write, name, _doserrno);
    }
    bytes += chunk;
    count -= chunk;
  }
}

WidePath temporary_path_of(const WidePath& final_path) {
  const bool par2 = CompareStringOrdinal(path_rules::extension(final_path.file_name().text()).c_str(), -1, L".par2",
                                         -1, TRUE) == CSTR_EQUAL;
  return final_path.with_extension(par2 ? L"~p2" : L"~pc");
}

void write_whole_file(const WidePath& final_path, Reason if_taken, const FileWriter& write,
                      UnfinishedFiles& unfinished, bool cancellable) {
  const auto cancelled = [&] { return cancellable && split_cancelled(); };
  const WidePath temporary = temporary_path_of(final_path);
  const std::wstring& name = temporary.text();
  // Created new: a file of that name is not ours, and its failure leaves nothing.
  FileHandle file(temporary.text(), OpenMode::new_file);
  try {
    write(file, name);
    if (!file.flush()) throw SplitOutcome::failure(Reason::cannot_write, name, _doserrno);
    if (!file.close()) throw SplitOutcome::failure(Reason::cannot_close, name, _doserrno);
    if (cancelled()) throw SplitOutcome::cancel();
    // A name taken since the checks stays as it is.
    if (const DWORD error = rename_patiently(name, final_path.text(), cancellable)) {
      if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) {
        throw SplitOutcome::failure(if_taken, final_path.text());
      }
      if (cancelled()) throw SplitOutcome::cancel();
      throw SplitOutcome::failure(Reason::cannot_rename, final_path.text(), error);
    }
  } catch (...) {
    file.close();
    unfinished.remove(name);
    throw;
  }
}
