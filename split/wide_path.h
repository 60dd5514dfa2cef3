#pragma once
// Path text in two forms: the narrow bytes of the process's code page, under which
// files are opened, and the wide text the path rules and file queries work on.
#include <optional>
#include <string>

// Whether narrow text fits the platform's 260-unit path buffer (259 characters and
// the terminator) once it is made wide.
bool fits_path_buffer(const char* narrow_text);

// The narrow form of a path the user gave as wide text, only when it is exact: every
// character has bytes of its own in the code page (no look-alike, no "?"). Nothing
// otherwise. Of any length: whether it fits is the caller's to judge.
std::optional<std::string> exact_narrow_path(const std::wstring& wide_text);
// The same in a code page of the caller's choosing.
std::optional<std::string> exact_narrow_text(const std::wstring& wide_text, unsigned int code_page);

// The wide form of narrow text, of any length, to name a file to the user.
std::wstring widened(const char* narrow_text);

class WidePath {
 public:
  // Throws std::invalid_argument("invalid char filename argument") when the text
  // needs more than 259 wide characters. Every "/" becomes a backslash.
  explicit WidePath(const char* narrow_text);
  explicit WidePath(std::wstring wide_text);

  const std::wstring& text() const { return text_; }

  // Throws std::invalid_argument("invalid wchar_t filename argument") when the
  // narrow form needs more than 259 bytes; in code page 932 a Japanese character
  // takes two bytes, so a short wide path can still be too long here.
  std::string narrow() const;

  WidePath file_name() const;

  // The file name's extension replaced: "C:\d\movie.iso" with "bat" gives "C:\d\movie.bat".
  WidePath with_extension(const std::wstring& new_extension) const;

 private:
  std::wstring text_;
};
