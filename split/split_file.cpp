#include "split/split_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <exception>
#include <iostream>
#include <memory>
#include <string>

#include "job/split_job.h"
#include "split/file_handle.h"
#include "split/file_stamp.h"
#include "split/output_check.h"
#include "split/part_sequence.h"
#include "split/path_rules.h"
#include "split/rejoin_script.h"
#include "split/wide_path.h"

namespace {

constexpr std::int64_t block_size = 1048576;

bool cancelled() { return split_job.cancel_requested.load(); }

// Writes the whole buffer or reports failure: a short write loses bytes. Only a
// text beyond what one write can take (a script of millions of parts) needs more.
bool write_all(FileHandle& file, const char* data, std::size_t count) {
  constexpr std::size_t largest_write = std::size_t{1} << 30;
  while (count > 0) {
    const auto chunk = static_cast<unsigned int>(std::min(count, largest_write));
    if (file.write(data, chunk) != static_cast<int>(chunk)) return false;
    data += chunk;
    count -= chunk;
  }
  return true;
}

// Copies the next `length` bytes of the source into the part through `block`,
// adding each block to `copied` and printing one dot for it. True when they are
// copied or a cancel stopped the copy. False on a read, write or end-test failure,
// and when the source ends early: no lost byte is ever reported as a finished split.
bool copy_part(FileHandle& source, FileHandle& part, char* block, std::int64_t length, std::int64_t& copied) {
  std::int64_t written = 0;
  while (written < length && !cancelled()) {
    // Writers are kept out, but should the source end early all the same (a file
    // server need not honour the sharing), Microsoft's runtime says "not at the end"
    // for a position past the new end and every read gives 0 bytes: an empty read
    // must end the copy as surely as the end test does.
    if (source.at_end() != 0) return false;
    const auto wanted = static_cast<unsigned int>(std::min(length - written, block_size));
    const int count = source.read(block, wanted);
    if (count <= 0 || !write_all(part, block, static_cast<std::size_t>(count))) return false;
    written += count;
    copied += count;
    split_job.bytes_copied.store(copied, std::memory_order_relaxed);
    std::cout << '.';
  }
  return true;
}

bool split_source(std::int64_t part_size) {
  const WidePath source_path(split_job.source_path);
  if (path_rules::has_namespace_prefix(source_path.text())) return false;
  FileHandle source(split_job.source_path, OpenMode::source);
  const FileStamp stamp = query_file_stamp(source);
  const auto size = static_cast<std::int64_t>(stamp.size);
  split_job.bytes_in_all = size;
  const PartSequence parts(split_job.source_path);
  // Its narrow form is taken now: a script name too long for it fails the split
  // before any part is written, not after all of them.
  const WidePath script_path = source_path.with_extension(L"bat");
  const std::string script_name = script_path.narrow();
  RejoinScript script(source_path.file_name().narrow());

  if (size < part_size) std::cout << "No need to split." << std::endl;

  // Part numbers are 32-bit; a count beyond them would leave data out, so refuse it.
  const std::int64_t count = size / part_size + (size % part_size != 0 ? 1 : 0);
  if (count > INT32_MAX) return false;
  switch (check_outputs(parts, static_cast<std::int32_t>(count), script_path, size, std::min(part_size, size))) {
    case OutputCheck::clear:
      break;
    case OutputCheck::name_taken:
      std::cout << "Output File exist." << std::endl;
      return false;
    case OutputCheck::refused:
      return false;
    case OutputCheck::cancelled:
      return true;
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
    script.add_part(parts.part_file_name(number).c_str());
    std::cout << std::endl << path << std::endl;

    FileHandle part(path.c_str(), OpenMode::new_file);
    if (!copy_part(source, part, block.get(), std::min(part_size, size - copied), copied) || !part.close()) {
      return false;
    }
  }

  // A cancelled split writes no script: run beside the source, a script listing only
  // the parts made so far would replace the whole file with its beginning. The
  // parts stay, as everything written does.
  if (copied < size) return true;
  // Writers are kept out while the source is open, but not everything that changes
  // a file opens it for writing: a program may set its times, or write through a
  // mapping it made before. Parts of a changed source rebuild no file at all.
  if (query_file_stamp(source) != stamp) return false;

  FileHandle script_file(script_name.c_str(), OpenMode::new_file);
  const std::string text = script.finish();
  return write_all(script_file, text.data(), text.size()) && script_file.close();
}

}  // namespace

bool split_file(std::int64_t part_size) {
  // A part size of zero or below would make no sensible parts: refuse it before
  // anything is opened.
  if (part_size <= 0) return false;
  try {
    return split_source(part_size);
  } catch (int error_number) {
    if (error_number == EEXIST) std::cout << "Output File exist." << std::endl;
    return false;
  } catch (const std::exception&) {
    // A path conversion, the size query or memory exhaustion.
    return false;
  }
}
