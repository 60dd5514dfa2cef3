#pragma once
#include <windows.h>

#include <string>

// The parcelor.exe built beside the test programs.
inline std::string built_program_path() {
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string folder(self);
  folder.erase(folder.rfind('\\'));
  return folder + "\\..\\..\\app\\parcelor.exe";
}
