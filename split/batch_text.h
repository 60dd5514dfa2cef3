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
// "a0b.iso_1"; "%%" stands for one "%". A code page 932 trail byte is never 0x25,
// so every such byte really is a percent sign.
inline std::string percent_doubled(const std::string& name) {
  std::string result;
  for (char c : name) {
    result += c;
    if (c == '%') result += '%';
  }
  return result;
}

inline std::string quoted(const std::string& name) { return "\"" + percent_doubled(name) + "\""; }

}  // namespace batch_text
