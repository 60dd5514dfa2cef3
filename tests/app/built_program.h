#pragma once
#include <windows.h>

#include <algorithm>
#include <string>

// The parcelor.exe of this build. The build system tells where it lies relative to
// the test program.
inline std::string built_program_path() {
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string path(self);
  path.erase(path.rfind('\\') + 1);
  path += PARCELOR_PROGRAM_FROM_TESTS;
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}
