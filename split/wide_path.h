#pragma once
// Path text as the system holds it: wide (UTF-16) from the dialog to the file
// system, never passed through a code page, so that every name Windows holds works.
#include <optional>
#include <string>

// Whether a path fits the platform's 260-unit path buffer: 259 UTF-16 units and the
// terminator, as Windows counts them for a program that is not long-path aware (a
// character beyond the first 65,536, such as an emoji, counts two).
bool fits_path_buffer(const std::wstring& path);

// The UTF-8 form of wide text; nothing when the text holds a lone surrogate, which
// Windows allows in a name but no UTF-8 can spell.
std::optional<std::string> utf8_of(const std::wstring& wide_text);

class WidePath {
 public:
  // Every "/" becomes a backslash.
  explicit WidePath(std::wstring wide_text);

  const std::wstring& text() const { return text_; }

  WidePath file_name() const;

  // The file name's extension replaced: "C:\d\movie.iso" with "bat" gives "C:\d\movie.bat".
  WidePath with_extension(const std::wstring& new_extension) const;

 private:
  std::wstring text_;
};
