#pragma once
// The batch script that rebuilds the source from its parts. It first checks that
// every part is there with the size this split gave it and that nothing has the
// target's name yet, and only then glues them together with "copy /b":
//   copy /b /y "movie.iso_1" + "movie.iso_2" "movie.iso"<CR><LF>
// The text is made from the part count and sizes piece by piece and never held
// whole: the script of 262,144 parts runs to tens of MiB.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

class RejoinScript {
 public:
  // cmd reads a batch file in the console's code page, and the program's users
  // are on Japanese Windows: the names in the script are code page 932 bytes,
  // whatever code page the system's file functions use.
  static constexpr unsigned int code_page = 932;

  // target_name: the source's bare file name in code page 932, the file the script rebuilds. Its
  // parts are target_name + "_1" ... "_<part_count>", each part_size bytes long
  // but the last, which is last_part_size.
  RejoinScript(std::string target_name, std::int32_t part_count, std::int64_t part_size,
               std::int64_t last_part_size);

  // Takes one piece of the text; false stops the writing.
  using Sink = std::function<bool(const std::string& piece)>;

  // Hands the whole text to `sink` in pieces of about 64 KiB, in order. False as
  // soon as the sink says false.
  bool write(const Sink& sink) const;

  // The text's length in bytes, without making it: lines that differ only in the
  // digits of a number are as long as each other, so one of each kind is made.
  std::uint64_t length() const;

  // The command interpreter refuses longer lines ("The input line is too long.").
  static constexpr std::size_t longest_line = 8191;
  // When the list does not fit on one line, each of the several lines stays this short.
  static constexpr std::size_t longest_wrapped_line = 4096;

 private:
  // The copy lines, each as the parts first to last and its length without the line end.
  using CopyLineVisitor = std::function<void(std::int32_t first, std::int32_t last, std::uint64_t length)>;

  std::string part_name(std::int32_t number) const;
  std::int64_t part_size_of(std::int32_t number) const;
  std::string head() const;
  std::string checks(std::int32_t number) const;
  std::string target_check() const;
  std::string entry(std::int32_t number) const;
  std::string target() const;
  std::string copy_line(std::int32_t first, std::int32_t last) const;
  void for_each_copy_line(const CopyLineVisitor& visit) const;
  std::string tail() const;

  const std::string target_name;
  const std::int32_t part_count;
  const std::int64_t part_size;
  const std::int64_t last_part_size;
};
