#include "split/diagnostics.h"

#include <windows.h>

#include <iostream>

namespace {

void write_to_a_disk_file(const std::string& text, bool end_line) {
  // Asked once: what the process started with is what it keeps.
  static const bool disk_file = GetFileType(GetStdHandle(STD_OUTPUT_HANDLE)) == FILE_TYPE_DISK;
  if (!disk_file) return;
  std::cout << text;
  if (end_line) std::cout << std::endl;
}

}  // namespace

void (*write_diagnostic)(const std::string& text, bool end_line) = write_to_a_disk_file;
