// The program's own benchmark: times split_file inside this process, reports its
// peak memory, and measures how soon a cancel takes effect. scripts/bench drives it
// and compares it with plain copies of the same file. Commands:
//
//   split PART_MIB SOURCE
//     One split of SOURCE (its parts land beside it). Answers
//     "ok=1 seconds=S peak_mib=M".
//   unflushed PART_MIB SOURCE
//     The same split without flushing its files to the disk, to weigh the flush.
//   spare PART_MIB SOURCE
//     The same split with a spare, a PAR2 recovery set, beside the parts.
//   hash SOURCE
//     One SHA-256 stream over SOURCE, read in 1 MiB blocks, through the same CNG
//     the split hashes with: what one hashing core can do. Answers
//     "ok=1 seconds=S digest=HEX".
//   script PART_COUNT PART_BYTES SOURCE
//     Writes the rejoin script that a split of SOURCE into PART_COUNT parts of
//     PART_BYTES would write, without the parts: making hundreds of thousands of
//     them takes Wine an hour. Answers "ok=1 seconds=S bytes=B".
//   cancel PART_MIB DELAY_MS SOURCE
//     A split that is cancelled DELAY_MS after it starts. Answers
//     "ok=1 cancel_ms=C block_ms=B copied_mib=N": C from setting the flag until
//     split_file returned, B the mean time one block took before it.
//   slowcancel PART_MIB DELAY_MS DISK SOURCE
//     The same on a disk that writes behind, as a USB stick set to "Better
//     performance" does: each flush waits for the bytes written since the last. DISK
//     is its pace, 5 or 30 (MB/s), or cache30: a USB disk whose cache takes the first
//     three flushes at once, then writes at 30 MB/s.
//
// One command comes on the command line, or with none, one a line on standard
// input, each answered at once: one warm process then serves a whole benchmark, and
// starting Wine never falls between deleting a run's outputs and timing the next.
#include <windows.h>
#include <io.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <sstream>
#include <streambuf>
#include <string>
#include <thread>
#include <vector>

#include "job/split_job.h"
#include "receiver/rejoin_script.h"
#include "split/file_handle.h"
#include "split/sha256.h"
#include "split/split_file.h"
#include "split/wide_path.h"

namespace {

constexpr std::int64_t MiB = 1048576;
using Clock = std::chrono::steady_clock;

double milliseconds_between(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

// The routine's progress lines are not what is measured, and keeping them would
// make memory grow with the source.
class DiscardedOutput : public std::streambuf {
 protected:
  int_type overflow(int_type c) override { return traits_type::not_eof(c); }
};

bool time_split(std::int64_t part_size) {
  const auto start = Clock::now();
  const bool ok = split_file(part_size).ending == SplitOutcome::Ending::finished;
  const double seconds = milliseconds_between(start, Clock::now()) / 1000;
  PROCESS_MEMORY_COUNTERS memory = {};
  GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
  std::printf("ok=%d seconds=%.4f peak_mib=%.2f\n", ok, seconds,
              static_cast<double>(memory.PeakWorkingSetSize) / MiB);
  return ok;
}

std::int64_t bytes_since_flush = 0;

int write_counted(int descriptor, const void* data, unsigned int count) {
  bytes_since_flush += count;
  return _write(descriptor, data, count);
}

// The disk of a slow cancel: bytes a millisecond once its cache is full, and how
// many flushes its cache takes at once.
std::int64_t disk_bytes_per_ms = 30000;
int disk_cached_flushes = 0;
int flushes_so_far = 0;

int flush_at_the_disks_pace(int descriptor) {
  if (flushes_so_far++ >= disk_cached_flushes) Sleep(static_cast<DWORD>(bytes_since_flush / disk_bytes_per_ms));
  bytes_since_flush = 0;
  return _commit(descriptor);
}

bool time_cancel(std::int64_t part_size, int delay_ms) {
  bool ok = false;
  split_job.bytes_copied = 0;  // as a job's start sets it
  const auto start = Clock::now();
  std::thread splitter([&] { ok = split_file(part_size).ending == SplitOutcome::Ending::cancelled; });
  std::this_thread::sleep_for(std::chrono::milliseconds(delay_ms));
  const std::int64_t copied = split_job.bytes_copied;
  const auto cancelled = Clock::now();
  split_job.cancel_requested = true;
  splitter.join();
  const auto returned = Clock::now();
  const double blocks = static_cast<double>(copied) / MiB;
  std::printf("ok=%d cancel_ms=%.2f block_ms=%.2f copied_mib=%.0f\n", ok, milliseconds_between(cancelled, returned),
              blocks > 0 ? milliseconds_between(start, cancelled) / blocks : 0.0, blocks);
  return ok;
}

bool time_script(std::int32_t part_count, std::int64_t part_bytes, const std::wstring& source) {
  const auto start = Clock::now();
  const WidePath source_path(source);
  const RejoinScript script(source_path.file_name().text(), part_count, part_bytes, part_bytes);
  FileHandle file(source_path.with_extension(L"bat").text(), OpenMode::new_file);
  const SplitDigests digests{std::vector<Sha256Digest>(static_cast<std::size_t>(part_count)), {}};
  const bool ok = script.write(digests, [&](const std::string& piece) {
    return file.write(piece.data(), static_cast<unsigned int>(piece.size())) == static_cast<int>(piece.size());
  }) && file.close();
  std::printf("ok=%d seconds=%.4f bytes=%llu\n", ok, milliseconds_between(start, Clock::now()) / 1000,
              static_cast<unsigned long long>(script.length()));
  return ok;
}

bool time_hash(const std::wstring& source) {
  const auto start = Clock::now();
  FileHandle file(source, OpenMode::source);
  const Sha256Algorithm algorithm;
  Sha256Stream stream(algorithm);
  const std::unique_ptr<char[]> block(new char[MiB]);
  int count = 0;
  while ((count = file.read(block.get(), MiB)) > 0) stream.add(block.get(), static_cast<std::size_t>(count));
  const std::string digest = hex_of(stream.finish());
  std::printf("ok=%d seconds=%.4f digest=%s\n", count == 0, milliseconds_between(start, Clock::now()) / 1000,
              digest.c_str());
  return count == 0;
}

// Runs one command line and answers it with one line; false when the command is
// malformed or what it ran failed.
bool run(const std::string& command_line) {
  std::istringstream words(command_line);
  std::string command;
  std::int64_t first = 0;  // PART_MIB, or PART_COUNT for "script"
  std::int64_t second = 0;  // DELAY_MS or PART_BYTES
  words >> command;
  if (command != "hash") words >> first;
  if (command == "cancel" || command == "slowcancel" || command == "script") words >> second;
  std::string disk;
  if (command == "slowcancel") words >> disk;
  std::string source_text;
  std::getline(words >> std::ws, source_text);
  // The paths the benchmark makes are plain ASCII.
  const std::wstring source(source_text.begin(), source_text.end());
  bool ok = false;
  if ((command != "split" && command != "unflushed" && command != "spare" && command != "cancel" &&
       command != "slowcancel" &&
       command != "script" && command != "hash") ||
      (first <= 0 && command != "hash") || source.empty()) {
    std::printf("ok=0 usage: split|unflushed|spare PART_MIB SOURCE | cancel PART_MIB DELAY_MS SOURCE |"
                " slowcancel PART_MIB DELAY_MS 5|30|cache30 SOURCE | script PART_COUNT PART_BYTES SOURCE |"
                " hash SOURCE\n");
  } else if (command == "hash") {
    ok = time_hash(source);
  } else if (command == "script") {
    ok = time_script(static_cast<std::int32_t>(first), second, source);
  } else {
    std::swprintf(split_job.source_path, std::size(split_job.source_path), L"%ls", source.c_str());
    split_job.cancel_requested = false;
    if (command == "unflushed") flush_descriptor = [](int) { return 0; };
    split_job.make_spare = command == "spare";
    if (command == "slowcancel") {
      bytes_since_flush = 0;
      flushes_so_far = 0;
      disk_bytes_per_ms = disk == "5" ? 5000 : 30000;
      disk_cached_flushes = disk == "cache30" ? 3 : 0;
      write_descriptor = write_counted;
      flush_descriptor = flush_at_the_disks_pace;
    }
    ok = command == "cancel" || command == "slowcancel" ? time_cancel(first * MiB, static_cast<int>(second))
                                                        : time_split(first * MiB);
    write_descriptor = _write;
    flush_descriptor = _commit;
  }
  std::fflush(stdout);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  static DiscardedOutput discarded;  // cout is flushed again at exit
  std::cout.rdbuf(&discarded);
  if (argc > 1) {
    std::string command_line;
    for (int i = 1; i < argc; ++i) command_line += std::string(i > 1 ? " " : "") + argv[i];
    return run(command_line) ? 0 : 1;
  }
  bool all_ok = true;
  for (std::string line; std::getline(std::cin, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    all_ok = run(line) && all_ok;
  }
  return all_ok ? 0 : 1;
}
