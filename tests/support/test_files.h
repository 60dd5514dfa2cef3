#pragma once
// Files for tests: each test works in a fresh folder of its own under the
// temporary folder, removed again with everything in it. Paths are wide text, as the
// program itself uses them, or narrow text in the ANSI code page where a test needs
// no other characters.
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
  std::wstring operator/(const std::wstring& name) const;

 private:
  std::string folder;
};

// Bytes that differ from block to block, so a misplaced block shows.
Bytes pattern_bytes(std::size_t count, std::uint32_t seed = 1);

// Narrow text in the ANSI code page made wide, and wide text made narrow in a code
// page (the ANSI one, 0, unless named), "?" for what it lacks.
std::wstring widened(const char* narrow_text);
std::string narrowed(const std::wstring& text, unsigned int code_page = 0);

void write_file(const std::wstring& path, const Bytes& bytes);
void write_file(const std::string& path, const Bytes& bytes);
Bytes read_file(const std::wstring& path);
Bytes read_file(const std::string& path);
std::string read_text(const std::string& path);
bool file_exists(const std::wstring& path);
bool file_exists(const std::string& path);
std::int64_t file_size(const std::string& path);

// Names of the files directly in a folder, sorted.
std::vector<std::wstring> files_in(const std::wstring& folder);
std::vector<std::string> files_in(const std::string& folder);

struct BatchRun {
  unsigned long exit_code;
  // What it wrote to its standard output and error.
  std::string output;
};

// Runs the batch script (a name in the folder, or a full path) with the real command
// interpreter in `folder`, its input from NUL. Started by its wide name: a narrow
// command line would lose the characters the ANSI code page lacks.
BatchRun run_batch_script(const std::wstring& folder, const std::wstring& script);
BatchRun run_batch_script(const std::string& folder, const std::string& script);
