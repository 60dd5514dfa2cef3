#include "split/spare.h"

#include <windows.h>

#include "job/split_job.h"
#include "split/file_handle.h"

namespace {

bool taken(const WidePath& path) { return GetFileAttributesW(path.text().c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

Spare::Spare(bool asked, const WidePath& source_path, const std::string& utf8_target_name, std::int32_t part_count,
             std::int64_t part_size)
    : asked(asked),
      index_path(Par2Set::index_path_of(source_path)),
      volume_path(Par2Set::volume_path_of(source_path)),
      part_size(part_size),
      set(utf8_target_name, part_count, part_size) {
  if (!asked) return;
  refusal = Par2Set::refusal_for(part_count, part_size);
  // The volume's is the longer name; its temporary name is no longer than it.
  if (!refusal && !fits_path_buffer(volume_path.text())) refusal = SpareRefusal::name_too_long;
  for (const WidePath& path : {index_path, volume_path, temporary_path_of(index_path), temporary_path_of(volume_path)}) {
    if (!refusal && taken(path)) refusal = SpareRefusal::name_taken;
  }
}

void Spare::write(const Par2Sums& sums, UnfinishedFiles& unfinished) {
  if (!made()) return;
  std::int64_t counted = 0;
  const auto write_file = [&](const WidePath& path, bool volume) {
    write_whole_file(
        path, SplitOutcome::Reason::temporary_exists,
        [&](FileHandle& file, const std::wstring& name) {
          const Par2Set::Sink sink = [&](const void* data, std::size_t count) { write_all(file, data, count, name); };
          volume ? set.write_volume(sums, sink) : set.write_index(sums, sink);
        },
        unfinished, true);
    written.push_back(path.text());
    const auto bytes = static_cast<std::int64_t>(volume ? set.volume_length() : set.index_length());
    split_job.bytes_copied += bytes;
    counted += bytes;
  };
  try {
    write_file(index_path, false);
    write_file(volume_path, true);
  } catch (const SplitOutcome& failure) {
    remove(unfinished);
    if (failure.ending == SplitOutcome::Ending::cancelled) throw;
    // The bar still reaches 100 % with what remains to be written.
    split_job.bytes_copied -= counted;
    split_job.bytes_in_all -= static_cast<std::int64_t>(length());
    refusal = SpareRefusal::not_written;
  }
}

void Spare::remove(UnfinishedFiles& unfinished) {
  for (const std::wstring& path : written) unfinished.remove(path);
  written.clear();
}

void Spare::tell(SplitOutcome& outcome) const {
  if (made()) outcome.spare_files = {index_path.text(), volume_path.text()};
  outcome.spare_refusal = refusal;
}
