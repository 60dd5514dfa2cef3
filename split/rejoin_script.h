#pragma once
// The batch script that glues the parts back together with "copy /b":
//   copy /b "movie.iso_1" + "movie.iso_2" "movie.iso"<CR><LF>
#include <cstddef>
#include <string>
#include <vector>

class RejoinScript {
 public:
  // target_name: the source's bare file name, the file the script rebuilds.
  explicit RejoinScript(std::string target_name);

  void add_part(const char* name);

  // The whole script text. The target and line end are appended by the first call
  // only, so a second call returns the same text.
  std::string finish();

  // The command interpreter refuses longer lines ("The input line is too long.").
  static constexpr std::size_t longest_line = 8191;
  // When the list does not fit on one line, each of the several lines stays this short.
  static constexpr std::size_t longest_wrapped_line = 4096;

 private:
  std::string wrapped_lines(const std::string& target) const;

  std::string command = "copy /b";
  const std::string target_name;
  bool finished = false;
  bool first_part = true;
  // Where each part's entry ends in `command`, to cut the list into several lines.
  std::vector<std::size_t> part_ends;
};
