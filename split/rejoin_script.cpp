#include "split/rejoin_script.h"

namespace {

const std::string command_word = "copy /b";
const std::string line_end = "\r\n";

// The command interpreter expands %...% even inside quotes, so "a%20b.iso_1" would
// be read as "a0b.iso_1"; "%%" stands for one "%". A code page 932 trail byte is
// never 0x25, so every such byte really is a percent sign.
std::string quoted(const std::string& name) {
  std::string result = " \"";
  for (char c : name) {
    result += c;
    if (c == '%') result += '%';
  }
  return result + "\"";
}

}  // namespace

RejoinScript::RejoinScript(std::string target_name) : target_name(std::move(target_name)) {}

void RejoinScript::add_part(const char* name) {
  if (!first_part) command += " +";
  first_part = false;
  command += quoted(name);
  part_ends.push_back(command.size());
}

std::string RejoinScript::finish() {
  if (!finished) {
    const std::string target = quoted(target_name);
    if (command.size() + target.size() <= longest_line) {
      command += target + line_end;
    } else {
      command = wrapped_lines(target);
    }
    finished = true;
  }
  return command;
}

// The first line builds the target from the first parts; each later line appends
// the next parts to it:  copy /b "movie.iso" + "movie.iso_481" + ... "movie.iso"
std::string RejoinScript::wrapped_lines(const std::string& target) const {
  std::string text;
  std::string line = command_word;
  std::size_t entry_start = command_word.size();
  for (std::size_t i = 0; i < part_ends.size(); ++i) {
    std::string entry = command.substr(entry_start, part_ends[i] - entry_start);
    entry_start = part_ends[i];
    if (i > 0 && line.size() + entry.size() + target.size() > longest_wrapped_line) {
      text += line + target + line_end;
      line = command_word + target;
    }
    line += entry;
  }
  return text + line + target + line_end;
}
