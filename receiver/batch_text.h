#pragma once
// Text for the command interpreter, cmd. Every line of the rejoin script is one
// simple command: cmd parses compound forms in ways that differ between versions,
// and between Windows and look-alikes. A name only ever stands inside quotes, where
// & ( ) ^ ; , = and blanks are plain letters, and never in the body of a "for" nor
// after "call", which would read a % in it twice.
#include <string>

namespace batch_text {

inline const std::string line_end = "\r\n";

// cmd expands %...% even inside quotes, so "a%20b.iso_1" would be read as
// "a0b.iso_1"; "%%" stands for one "%".
inline std::string percent_doubled(const std::string& name) {
  std::string result;
  for (char c : name) {
    result += c;
    if (c == '%') result += '%';
  }
  return result;
}

inline bool plain_ascii(const std::wstring& text) {
  for (wchar_t c : text) {
    if (c >= 0x80) return false;
  }
  return true;
}

// The bytes of text that is plain ASCII.
inline std::string ascii_of(const std::wstring& text) { return std::string(text.begin(), text.end()); }

}  // namespace batch_text
