#pragma once
// Files for tests: each test works in a fresh folder of its own under the
// temporary folder, removed again with everything in it. Paths are narrow
// code page 932 text, as the program itself uses them.
#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder's path without a trailing backslash.
  const std::string& path() const { return folder; }
  // The path of `name` inside the folder.
  std::string operator/(const std::string& name) const { return folder + "\\" + name; }

 private:
  std::string folder;
};

// Bytes that differ from block to block, so a misplaced block shows.
Bytes pattern_bytes(std::size_t count, std::uint32_t seed = 1);

void write_file(const std::string& path, const Bytes& bytes);
Bytes read_file(const std::string& path);
std::string read_text(const std::string& path);
bool file_exists(const std::string& path);
std::int64_t file_size(const std::string& path);

// Names of the files directly in a folder, sorted.
std::vector<std::string> files_in(const std::string& folder);

struct BatchRun {
  unsigned long exit_code;
  // What it wrote to its standard output and error.
  std::string output;
};

// Runs the batch script (a name in the folder, or a full path) with the real command
// interpreter in `folder`, its input from NUL.
BatchRun run_batch_script(const std::string& folder, const std::string& script);
