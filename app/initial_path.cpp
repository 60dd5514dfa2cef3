#include "app/initial_path.h"

#include <cwchar>
#include <iterator>

wchar_t initial_path[260];

void keep_initial_path(const wchar_t* command_line) {
  const std::size_t length = std::wcslen(command_line);
  if (length == 0 || length >= std::size(initial_path)) return;
  std::wmemcpy(initial_path, command_line, length + 1);
}
