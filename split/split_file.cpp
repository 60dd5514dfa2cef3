#include "split/split_file.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "job/split_job.h"
#include "receiver/batch_text.h"
#include "receiver/checksum_file.h"
#include "receiver/rejoin_script.h"
#include "split/block_hasher.h"
#include "split/diagnostics.h"
#include "split/file_handle.h"
#include "split/file_stamp.h"
#include "split/output_check.h"
#include "split/part_sequence.h"
#include "split/path_rules.h"
#include "split/source_path.h"
#include "split/spare.h"
#include "split/whole_file.h"
#include "split/wide_path.h"

namespace {

using Reason = SplitOutcome::Reason;

constexpr std::int64_t block_size = BlockHasher::block_size;

// A long part is flushed as it goes: each flush is then short, the hashing goes on
// with the blocks in flight meanwhile, and a cancel never waits for a whole part to
// reach the disk. How much goes between two flushes is set by time, not bytes: what
// the disk wrote in about a tenth of a second at the last flush. A share or a USB
// stick that writes behind may take seconds for 32 MiB, a local disk milliseconds;
// more flushes than needed cost a FAT32 stick a rewrite of its table each. The
// interval at most doubles from one flush to the next: a USB disk whose cache took
// the last flushes at once may write the next at a crawl once its cache is full.
class FlushPacer {
 public:
  std::int64_t interval() const { return bytes_between_flushes; }

  // Flushes the bytes written since the last flush, and times it.
  bool flush(FileHandle& part, std::int64_t bytes) {
    const auto start = std::chrono::steady_clock::now();
    if (!part.flush()) return false;
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double written_in_target = seconds > 0 ? static_cast<double>(bytes) * target_seconds / seconds : largest;
    const auto blocks = static_cast<std::int64_t>(std::clamp<double>(written_in_target, smallest, largest)) / block_size;
    bytes_between_flushes = std::min(blocks * block_size, 2 * bytes_between_flushes);
    return true;
  }

 private:
  static constexpr double target_seconds = 0.1;
  // One block: on a disk that writes 5 MB/s, that is about a fifth of a second.
  static constexpr std::int64_t smallest = block_size;
  static constexpr std::int64_t largest = 32 * block_size;
  // Small until the disk has shown its pace: the first flush is short on any disk.
  std::int64_t bytes_between_flushes = smallest;
};

// What the split has made so far, for the box of a split that does not finish.
struct MadeSoFar {
  std::int32_t parts = 0;
  bool last_part_whole = true;
  // The files after the parts: the checksum file and the script.
  UnfinishedFiles unfinished;
};

// A missing source and a folder are told apart from the system's other reasons.
FileHandle open_source(const std::wstring& name) {
  try {
    return FileHandle(name, OpenMode::source);
  } catch (SplitOutcome& failure) {
    const DWORD attributes = GetFileAttributesW(name.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
      failure.reason = Reason::source_is_folder;
    } else if (failure.system_error == ERROR_FILE_NOT_FOUND || failure.system_error == ERROR_PATH_NOT_FOUND) {
      failure.reason = Reason::source_missing;
    }
    throw;
  }
}

// A batch file's rejoin script would bear its own name, and a ".~pc" file is its
// script's own temporary name. Windows tells names apart without regard to case, so
// "SETUP.BAT" is one too.
bool has_extension(const WidePath& path, const wchar_t* extension) {
  return CompareStringOrdinal(path_rules::extension(path.file_name().text()).c_str(), -1, extension, -1, TRUE) ==
         CSTR_EQUAL;
}

// Copies the next `length` bytes of the source into the part, block by block,
// handing each block to the hasher once it is written, adding it to `copied`,
// printing one dot for it, and flushing the part as it goes and at its end. A part
// cut short by a cancel is left anyway: flushing it would only delay the cancel.
// True when they are all copied, false when a cancel stopped the copy. Throws on a
// read, write or flush failure, and when the source ends early: no lost byte is
// ever reported as a finished split.
bool copy_part(FileHandle& source, FileHandle& part, BlockHasher& hasher, FlushPacer& pacer, std::int64_t length,
               std::int64_t& copied, const std::wstring& source_name, const std::wstring& part_name) {
  std::int64_t written = 0;
  std::int64_t unflushed = 0;
  while (written < length && !split_cancelled()) {
    char* const block = hasher.free_block();
    // Writers are kept out, but should the source end early all the same (a file
    // server need not honour the sharing), a read then gives 0 bytes: the size
    // taken at the start says more bytes are due.
    const auto wanted = static_cast<unsigned int>(std::min(length - written, block_size));
    const int count = source.read(block, wanted);
    if (count < 0) throw SplitOutcome::failure(Reason::cannot_read, source_name, _doserrno);
    if (count == 0) throw SplitOutcome::failure(Reason::source_changed, source_name);
    write_all(part, block, static_cast<std::size_t>(count), part_name);
    hasher.hand_over(static_cast<std::size_t>(count));
    written += count;
    unflushed += count;
    copied += count;
    write_diagnostic(".", false);
    if (unflushed < pacer.interval() && written < length) continue;
    // A cancel meanwhile is not kept waiting for the disk: a part not flushed at its
    // end counts as cut short.
    if (split_cancelled()) return false;
    if (!pacer.flush(part, unflushed)) throw SplitOutcome::failure(Reason::cannot_write, part_name, _doserrno);
    unflushed = 0;
  }
  return written == length;
}

// The files after the parts, the checksum file and then the script, each written
// whole or not at all: a script cut short would rebuild a wrong file, or write the
// joined parts over the first one. A checksum file whose script could not be made
// belongs to no finished split, and goes again. Each counts as progress once it has
// its name, so that the bar shows 100 % only when the split is done. A cancel is
// honoured until the checksum file has its name; after that the split finishes, and
// a cancel confirmed meanwhile came too late.
void write_checksums_and_script(const ChecksumFile& checksums, const SplitDigests& digests,
                                const WidePath& checksum_path, const RejoinScript& script,
                                const WidePath& script_path, UnfinishedFiles& unfinished) {
  write_whole_file(
      checksum_path, Reason::checksum_exists,
      [&](FileHandle& file, const std::wstring& name) {
        checksums.write(digests, [&](const std::string& piece) { write_all(file, piece.data(), piece.size(), name); });
      },
      unfinished, true);
  split_job.bytes_copied += static_cast<std::int64_t>(checksums.length());
  try {
    write_whole_file(
        script_path, Reason::script_exists,
        [&](FileHandle& file, const std::wstring& name) {
          script.write(digests, [&](const std::string& piece) {
            write_all(file, piece.data(), piece.size(), name);
            return true;
          });
        },
        unfinished, false);
  } catch (...) {
    unfinished.remove(checksum_path.text());
    throw;
  }
  split_job.bytes_copied += static_cast<std::int64_t>(script.length());
}

SplitOutcome split_source(std::int64_t part_size, MadeSoFar& made) {
  const WidePath source_path(std::wstring{split_job.source_path});
  const std::wstring& source_name = source_path.text();
  if (std::optional<SplitOutcome> refusal = refuse_special_path(source_name)) return *refusal;
  if (has_extension(source_path, L".bat")) return SplitOutcome::failure(Reason::source_is_batch_file, source_name);
  if (has_extension(source_path, L".~pc")) return SplitOutcome::failure(Reason::source_is_temporary_name, source_name);
  FileHandle source = open_source(source_name);
  // Only a file on a disk has a stamp: a device such as NUL opens like a file, then
  // blocks or reads nothing.
  const FileStamp stamp = query_file_stamp(source, source_name);
  const auto size = static_cast<std::int64_t>(stamp.size);
  const PartSequence parts(source_name);
  const WidePath script_path = source_path.with_extension(L"bat");
  const WidePath checksum_path = checksum_path_of(source_path);
  // "movie.iso.rejoining", which the receiver's script builds the file under, is the
  // longest name either side makes beside the parts: "movie.iso.sha256", "movie.bat"
  // and the temporary names are shorter. Should it not fit, the script could not
  // rebuild the file in a folder like this one. The checks go before the first
  // byte, so that a name the split cannot finish with fails before any part.
  const std::string building_suffix = RejoinScript::building_suffix;
  const std::wstring building_path = source_name + std::wstring(building_suffix.begin(), building_suffix.end());
  if (!fits_path_buffer(building_path)) return SplitOutcome::failure(Reason::name_too_long, building_path);
  const std::wstring target_name = source_path.file_name().text();
  // Nothing in a script of ASCII bytes can spell an extension that is not ASCII.
  const std::wstring extension = path_rules::extension(target_name);
  if (!batch_text::plain_ascii(extension)) {
    SplitOutcome refusal = SplitOutcome::failure(Reason::extension_not_ascii, source_name);
    refusal.extension = extension;
    return refusal;
  }
  const std::optional<std::string> utf8_target_name = utf8_of(target_name);
  if (!utf8_target_name) return SplitOutcome::failure(Reason::name_not_utf8, source_name);

  if (size < part_size) write_diagnostic("No need to split.", true);

  // An empty source still gets its one, empty, part, so that its script rebuilds it
  // as every other script does. Part numbers are 32-bit; a count beyond them would
  // leave data out, so refuse it.
  const std::int64_t count = std::max<std::int64_t>(1, size / part_size + (size % part_size != 0 ? 1 : 0));
  if (count > INT32_MAX) return SplitOutcome::failure(Reason::too_many_parts, source_name);
  const auto part_count = static_cast<std::int32_t>(count);
  const auto script_with = [&](bool spare_made) {
    return RejoinScript(target_name, part_count, part_size, size - (count - 1) * part_size, spare_made);
  };
  Spare spare(split_job.make_spare, source_path, *utf8_target_name, part_count, part_size);
  const ChecksumFile checksums(*utf8_target_name, part_count);
  const std::vector<NamedOutput> other_files = {{script_path, Reason::script_exists},
                                                {temporary_path_of(script_path), Reason::temporary_exists},
                                                {checksum_path, Reason::checksum_exists},
                                                {temporary_path_of(checksum_path), Reason::temporary_exists}};
  const std::uint64_t planned_script_length = script_with(spare.made()).length();
  const std::uint64_t room_needed = stamp.size + planned_script_length + checksums.length();
  std::optional<SplitOutcome> stop = check_outputs(parts, part_count, other_files, room_needed + spare.length());
  // The spare needs about one part's room more; without that room the split goes on
  // without it.
  if (stop && stop->reason == Reason::no_room && spare.made()) {
    spare.give_up(SpareRefusal::no_room);
    stop = check_outputs(parts, part_count, other_files, room_needed);
  }
  if (stop) return *stop;
  split_job.bytes_in_all = static_cast<std::int64_t>(room_needed + spare.length());

  // The same few blocks for the whole split, whatever the sizes. A fresh block for
  // each part measurably slowed the copy of small parts, for nothing: a block's old
  // bytes are never written.
  BlockHasher hasher(split_job.bytes_copied, part_count, spare.slice_size());
  FlushPacer pacer;
  std::int64_t copied = 0;
  // Counted in 64 bits: a 32-bit number would step past the largest after the last part.
  for (std::int64_t i = 1; i <= count && !split_cancelled(); ++i) {
    const auto number = static_cast<std::int32_t>(i);
    const std::wstring part_name = parts.part_path(number);
    write_diagnostic("", true);
    write_diagnostic(utf8_of(part_name).value_or(""), true);

    FileHandle part(part_name, OpenMode::new_file);
    ++made.parts;
    made.last_part_whole = false;
    made.last_part_whole =
        copy_part(source, part, hasher, pacer, std::min(part_size, size - copied), copied, source_name, part_name);
    // A hashing failure reported here leaves a whole part; a failed close may have
    // lost its last bytes.
    if (made.last_part_whole) hasher.end_part();
    if (!part.close()) {
      made.last_part_whole = false;
      throw SplitOutcome::failure(Reason::cannot_close, part_name, _doserrno);
    }
  }

  // A cancelled split writes no script: run beside the source, a script listing only
  // the parts made so far would replace the whole file with its beginning. The
  // parts stay, as everything written does.
  if (made.parts < part_count || !made.last_part_whole || split_cancelled()) return SplitOutcome::cancel();
  // Writers are kept out while the source is open, but not everything that changes
  // a file opens it for writing: a program may set its times, or write through a
  // mapping it made before. Parts of a changed source rebuild no file at all.
  if (query_file_stamp(source, source_name) != stamp) {
    return SplitOutcome::failure(Reason::source_changed, source_name);
  }

  const SplitDigests digests = hasher.finish();
  // The spare first, so that a cancel meanwhile takes it away with the rest; the
  // script then says whether there is one.
  spare.write(hasher.take_spare_sums(), made.unfinished);
  const RejoinScript script = script_with(spare.made());
  // A spare given up since the checks leaves a script a few lines shorter.
  split_job.bytes_in_all += static_cast<std::int64_t>(script.length()) - static_cast<std::int64_t>(planned_script_length);
  try {
    write_checksums_and_script(checksums, digests, checksum_path, script, script_path, made.unfinished);
  } catch (...) {
    spare.remove(made.unfinished);
    throw;
  }
  SplitOutcome finished;
  finished.script_file = script_path.text();
  finished.checksum_file = checksum_path.text();
  spare.tell(finished);
  return finished;
}

}  // namespace

SplitOutcome split_file(std::int64_t part_size) {
  // A part size of zero or below would make no sensible parts: refuse it before
  // anything is opened.
  if (part_size <= 0) return SplitOutcome::failure(Reason::part_size_not_positive);
  MadeSoFar made;
  SplitOutcome outcome;
  try {
    outcome = split_source(part_size, made);
  } catch (const SplitOutcome& failure) {
    outcome = failure;
  } catch (const std::exception&) {
    // Every other failure is turned into its reason where it happens: what is left
    // is memory running out.
    outcome = SplitOutcome::failure(Reason::out_of_memory);
  }
  if (outcome.reason == Reason::part_exists || outcome.reason == Reason::script_exists ||
      outcome.reason == Reason::temporary_exists || outcome.reason == Reason::checksum_exists ||
      outcome.system_error == ERROR_FILE_EXISTS) {
    write_diagnostic("Output File exist.", true);
  }
  outcome.parts_kept = made.parts;
  const PartSequence parts(split_job.source_path);
  outcome.first_part = parts.part_path(1);
  outcome.last_part = parts.part_path(std::max(made.parts, 1));
  outcome.last_part_short = !made.last_part_whole;
  outcome.unfinished_removed = made.unfinished.removed;
  outcome.unfinished_left = made.unfinished.left;
  return outcome;
}
