#include "app/initial_path.h"

#include <cwchar>
#include <iterator>

wchar_t initial_path[260];

namespace {

// Explorer quotes every path that holds a blank, for a file dropped on the program
// as for "Send to". Only that one shape loses its quotes: a text that begins with a
// quote whose only other quote ends it. Any other quoting is the user's own.
bool is_one_quoted_path(const wchar_t* text, std::size_t length) {
  return length >= 2 && text[0] == L'"' && text[length - 1] == L'"' &&
         std::wmemchr(text + 1, L'"', length - 2) == nullptr;
}

}  // namespace

void keep_initial_path(const wchar_t* command_line) {
  std::size_t length = std::wcslen(command_line);
  if (is_one_quoted_path(command_line, length)) {
    ++command_line;
    length -= 2;
  }
  if (length == 0 || length >= std::size(initial_path)) return;
  std::wmemcpy(initial_path, command_line, length);
  initial_path[length] = L'\0';
}
