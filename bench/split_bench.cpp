// The program's own benchmark: times split_file inside this process, reports its
// peak memory, and measures how soon a cancel takes effect. scripts/bench drives it
// and compares it with plain copies of the same file.
//
//   split_bench split SOURCE PART_MIB
//     One split of SOURCE (its parts land beside it). Prints
//     "ok=1 seconds=S peak_mib=M".
//   split_bench cancel SOURCE PART_MIB DELAY_MS
//     A split that is cancelled DELAY_MS after it starts. Prints
//     "ok=1 cancel_ms=C block_ms=B copied_mib=N": C from setting the flag until
//     split_file returned, B the mean time one block took before it.
#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <streambuf>
#include <string>
#include <thread>

#include "job/split_job.h"
#include "split/split_file.h"

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

int time_split(std::int64_t part_size) {
  const auto start = Clock::now();
  const bool ok = split_file(part_size);
  const double seconds = milliseconds_between(start, Clock::now()) / 1000;
  PROCESS_MEMORY_COUNTERS memory = {};
  GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
  std::printf("ok=%d seconds=%.4f peak_mib=%.2f\n", ok, seconds,
              static_cast<double>(memory.PeakWorkingSetSize) / MiB);
  return ok ? 0 : 1;
}

int time_cancel(std::int64_t part_size, int delay_ms) {
  bool ok = false;
  const auto start = Clock::now();
  std::thread splitter([&] { ok = split_file(part_size); });
  std::this_thread::sleep_for(std::chrono::milliseconds(delay_ms));
  const std::int64_t copied = split_job.bytes_copied;
  const auto cancelled = Clock::now();
  split_job.cancel_requested = true;
  splitter.join();
  const auto returned = Clock::now();
  const double blocks = static_cast<double>(copied) / MiB;
  std::printf("ok=%d cancel_ms=%.2f block_ms=%.2f copied_mib=%.0f\n", ok, milliseconds_between(cancelled, returned),
              blocks > 0 ? milliseconds_between(start, cancelled) / blocks : 0.0, blocks);
  return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (!((mode == "split" && argc == 4) || (mode == "cancel" && argc == 5))) {
    std::fprintf(stderr, "usage: split_bench split SOURCE PART_MIB | cancel SOURCE PART_MIB DELAY_MS\n");
    return 2;
  }
  std::snprintf(split_job.source_path, sizeof split_job.source_path, "%s", argv[2]);
  const std::int64_t part_size = std::atoll(argv[3]) * MiB;
  static DiscardedOutput discarded;  // cout is flushed again at exit
  std::cout.rdbuf(&discarded);
  return mode == "split" ? time_split(part_size) : time_cancel(part_size, std::atoi(argv[4]));
}
