// Splits one large file and reports the copy rate and the process's peak memory.
// Usage: split_bench [SOURCE_MIB] [PART_MIB]   (defaults 1024 and 100)
// The peak memory should stay near one 1 MiB block whatever the sizes.
#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "job/split_job.h"
#include "split/split_file.h"

namespace {

constexpr std::int64_t MiB = 1048576;

std::string make_folder() {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string folder = std::string(temp) + "parcelor-bench-" + std::to_string(GetCurrentProcessId());
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

void write_source(const std::string& path, std::int64_t size) {
  FILE* file = std::fopen(path.c_str(), "wb");
  std::vector<unsigned char> block(MiB);
  for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<unsigned char>(i * 131 + 7);
  for (std::int64_t written = 0; written < size; written += MiB) std::fwrite(block.data(), 1, MiB, file);
  std::fclose(file);
}

void remove_folder(const std::string& folder) {
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileA((folder + "\\" + entry.cFileName).c_str());
    } while (FindNextFileA(search, &entry));
    FindClose(search);
  }
  RemoveDirectoryA(folder.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  const std::int64_t source_mib = argc > 1 ? std::atoll(argv[1]) : 1024;
  const std::int64_t part_mib = argc > 2 ? std::atoll(argv[2]) : 100;
  const std::string folder = make_folder();
  const std::string source = folder + "\\source.bin";
  write_source(source, source_mib * MiB);
  std::snprintf(split_job.source_path, sizeof split_job.source_path, "%s", source.c_str());

  // The routine's own progress output is not what is measured here.
  std::ostringstream discarded;
  std::streambuf* const console = std::cout.rdbuf(discarded.rdbuf());
  const auto start = std::chrono::steady_clock::now();
  const bool ok = split_file(part_mib * MiB);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::cout.rdbuf(console);

  PROCESS_MEMORY_COUNTERS memory = {};
  GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
  std::printf("split %lld MiB into %lld MiB parts: %s, %.2f s, %.0f MiB/s, peak working set %.1f MiB\n",
              static_cast<long long>(source_mib), static_cast<long long>(part_mib), ok ? "ok" : "FAILED", seconds,
              static_cast<double>(source_mib) / seconds, static_cast<double>(memory.PeakWorkingSetSize) / MiB);
  remove_folder(folder);
  return ok ? 0 : 1;
}
