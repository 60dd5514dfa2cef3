#include "split/split_file.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <iostream>
#include <memory>
#include <stdexcept>
#include <string>

#include "job/split_job.h"
#include "split/file_handle.h"
#include "split/file_stamp.h"
#include "split/output_check.h"
#include "split/part_sequence.h"
#include "split/rejoin_script.h"
#include "split/source_path.h"
#include "split/wide_path.h"

namespace {

using Reason = SplitOutcome::Reason;

constexpr std::int64_t block_size = 1048576;

bool cancelled() { return split_job.cancel_requested.load(); }

// What the split has made so far, for the box of a split that does not finish.
struct MadeSoFar {
  std::int32_t parts = 0;
  bool last_part_whole = true;
};

// Writes the whole buffer or throws: a short write loses bytes. Only a text beyond
// what one write can take needs more than one.
void write_all(FileHandle& file, const char* data, std::size_t count, const std::wstring& name) {
  constexpr std::size_t largest_write = std::size_t{1} << 30;
  while (count > 0) {
    const auto chunk = static_cast<unsigned int>(std::min(count, largest_write));
    if (file.write(data, chunk) != static_cast<int>(chunk)) {
      throw SplitOutcome::failure(Reason::cannot_write, name, _doserrno);
    }
    data += chunk;
    count -= chunk;
  }
}

// A missing source and a folder are told apart from the system's other reasons.
FileHandle open_source(const std::wstring& name) {
  try {
    return FileHandle(split_job.source_path, OpenMode::source);
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

// Only a file on a disk has a stamp: a device such as NUL opens like a file, then
// blocks or reads nothing.
FileStamp stamp_of(const FileHandle& source, const std::wstring& name) {
  try {
    return query_file_stamp(source);
  } catch (const std::filesystem::filesystem_error&) {
    throw SplitOutcome::failure(Reason::source_is_device, name);
  }
}

// Copies the next `length` bytes of the source into the part through `block`,
// adding each block to `copied` and printing one dot for it. True when they are
// all copied, false when a cancel stopped the copy. Throws on a read or write
// failure, and when the source ends early: no lost byte is ever reported as a
// finished split.
bool copy_part(FileHandle& source, FileHandle& part, char* block, std::int64_t length, std::int64_t& copied,
               const std::wstring& source_name, const std::wstring& part_name) {
  std::int64_t written = 0;
  while (written < length && !cancelled()) {
    // Writers are kept out, but should the source end early all the same (a file
    // server need not honour the sharing), Microsoft's runtime says "not at the end"
    // for a position past the new end and every read gives 0 bytes: an empty read
    // must end the copy as surely as the end test does.
    const int end = source.at_end();
    if (end < 0) throw SplitOutcome::failure(Reason::cannot_read, source_name, _doserrno);
    if (end > 0) throw SplitOutcome::failure(Reason::source_changed, source_name);
    const auto wanted = static_cast<unsigned int>(std::min(length - written, block_size));
    const int count = source.read(block, wanted);
    if (count < 0) throw SplitOutcome::failure(Reason::cannot_read, source_name, _doserrno);
    if (count == 0) throw SplitOutcome::failure(Reason::source_changed, source_name);
    write_all(part, block, static_cast<std::size_t>(count), part_name);
    written += count;
    copied += count;
    split_job.bytes_copied.store(copied, std::memory_order_relaxed);
    std::cout << '.';
  }
  return written == length;
}

// A script whose write or close failed would rebuild a wrong file, and block every
// later split of the same source: it goes again. This split made it, as a new file.
void write_script(const RejoinScript& script, const std::string& name, const std::wstring& wide_name) {
  FileHandle file(name.c_str(), OpenMode::new_file);
  try {
    script.write([&](const std::string& piece) {
      write_all(file, piece.data(), piece.size(), wide_name);
      return true;
    });
    if (!file.close()) throw SplitOutcome::failure(Reason::cannot_close, wide_name, _doserrno);
  } catch (SplitOutcome& failure) {
    file.close();
    failure.script_left = DeleteFileW(wide_name.c_str()) ? SplitOutcome::ScriptLeft::removed
                                                         : SplitOutcome::ScriptLeft::not_removed;
    throw;
  }
}

SplitOutcome split_source(std::int64_t part_size, MadeSoFar& made) {
  const WidePath source_path(split_job.source_path);
  const std::wstring& source_name = source_path.text();
  if (std::optional<SplitOutcome> refusal = refuse_namespace_path(source_name)) return *refusal;
  FileHandle source = open_source(source_name);
  const FileStamp stamp = stamp_of(source, source_name);
  const auto size = static_cast<std::int64_t>(stamp.size);
  split_job.bytes_in_all = size;
  const PartSequence parts(split_job.source_path);
  // Its narrow form is taken now: a script name too long for it fails the split
  // before any part is written, not after all of them.
  const WidePath script_path = source_path.with_extension(L"bat");
  std::string script_name;
  try {
    script_name = script_path.narrow();
  } catch (const std::invalid_argument&) {
    return SplitOutcome::failure(Reason::name_too_long, script_path.text());
  }

  if (size < part_size) std::cout << "No need to split." << std::endl;

  // An empty source still gets its one, empty, part, so that its script rebuilds it
  // as every other script does. Part numbers are 32-bit; a count beyond them would
  // leave data out, so refuse it.
  const std::int64_t count = std::max<std::int64_t>(1, size / part_size + (size % part_size != 0 ? 1 : 0));
  if (count > INT32_MAX) return SplitOutcome::failure(Reason::too_many_parts, source_name);
  const auto part_count = static_cast<std::int32_t>(count);
  const RejoinScript script(source_path.file_name().narrow(), part_count, part_size, size - (count - 1) * part_size);
  if (std::optional<SplitOutcome> stop = check_outputs(parts, part_count, script_path, stamp.size + script.length())) {
    return *stop;
  }

  // One block for the whole split, whatever the sizes. A fresh block for each part
  // measurably slowed the copy of small parts, for nothing: a block's old bytes are
  // never written.
  const std::unique_ptr<char[]> block(new char[block_size]);
  std::int64_t copied = 0;
  // Counted in 64 bits: a 32-bit number would step past the largest after the last part.
  for (std::int64_t i = 1; i <= count && !cancelled(); ++i) {
    const auto number = static_cast<std::int32_t>(i);
    const std::string path = parts.part_path(number);
    const std::wstring part_name = parts.wide_part_path(number);
    std::cout << std::endl << path << std::endl;

    FileHandle part(path.c_str(), OpenMode::new_file);
    ++made.parts;
    made.last_part_whole = false;
    const bool whole =
        copy_part(source, part, block.get(), std::min(part_size, size - copied), copied, source_name, part_name);
    if (!part.close()) throw SplitOutcome::failure(Reason::cannot_close, part_name, _doserrno);
    made.last_part_whole = whole;
  }

  // A cancelled split writes no script: run beside the source, a script listing only
  // the parts made so far would replace the whole file with its beginning. The
  // parts stay, as everything written does.
  if (made.parts < part_count || !made.last_part_whole) return SplitOutcome::cancel();
  // Writers are kept out while the source is open, but not everything that changes
  // a file opens it for writing: a program may set its times, or write through a
  // mapping it made before. Parts of a changed source rebuild no file at all.
  if (stamp_of(source, source_name) != stamp) return SplitOutcome::failure(Reason::source_changed, source_name);

  write_script(script, script_name, script_path.text());
  return {};
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
      outcome.system_error == ERROR_FILE_EXISTS) {
    std::cout << "Output File exist." << std::endl;
  }
  outcome.parts_kept = made.parts;
  outcome.first_part = PartSequence(split_job.source_path).wide_part_path(1);
  outcome.last_part_short = !made.last_part_whole;
  return outcome;
}
