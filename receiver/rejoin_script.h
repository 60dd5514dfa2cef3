#pragma once
// The batch script that rebuilds the source from its parts. It first checks that
// it is itself whole, as long as it was made, then that every part is there with the size this split gave it and that nothing has the
// target's name yet, then glues them together with "copy /b" under a name of its
// own:
//   copy /b /y "movie.iso_1" + "movie.iso_2" "movie.iso.rejoining"<CR><LF>
// and gives the file the target's name only once its size and SHA-256 are the
// original's. Should the SHA-256 differ, the script hashes each part to name the
// damaged ones: their digests stand as data lines after its last line, read in one
// pass by a "for /f" over the script itself.
// The text is made from the part count, sizes and digests piece by piece and never
// held whole: the script of 262,144 parts runs to tens of MiB.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "split/sha256.h"

class RejoinScript {
 public:
  // target_name: the source's bare file name, the file the script rebuilds, whose
  // extension is plain ASCII. Its parts are target_name + "_1" ... "_<part_count>",
  // each part_size bytes long but the last, which is last_part_size.
  //
  // cmd reads a batch file in the console's code page, which differs from Windows to
  // Windows, so every byte of the script is ASCII. A name in plain ASCII is written
  // into it; any other reaches it through the script's own name, which cmd holds as
  // UTF-16 whatever the code page: the script is the name without its extension, and
  // ".bat", so its first lines take that stem from %~n0, and every other name is the
  // stem and a suffix written into the script.
  //
  // spare_made: a spare, a PAR2 recovery set, was made beside the parts. Where a
  // part is missing, of another size or damaged, the script tells how to rebuild it
  // from the spare's volume beside it, or that the sender has one.
  RejoinScript(std::wstring target_name, std::int32_t part_count, std::int64_t part_size,
               std::int64_t last_part_size, bool spare_made = false);

  // Takes one piece of the text; false stops the writing.
  using Sink = std::function<bool(const std::string& piece)>;

  // Hands the whole text to `sink` in pieces of about 64 KiB, in order. False as
  // soon as the sink says false. digests: one for each part, and the whole's.
  bool write(const SplitDigests& digests, const Sink& sink) const;

  // The text's length in bytes, without making it and before any digest is known:
  // lines that differ only in the digits of a number are as long as each other, so
  // one of each kind is made.
  std::uint64_t length() const;

  // The name the file is built under until it is proven, "movie.iso.rejoining": the
  // longest name the script makes, and so the one that must fit the path limit.
  static constexpr char building_suffix[] = ".rejoining";
  // certutil's output goes to a file of this run's own beside the parts,
  // "movie.iso.certutil": no longer than the building name.
  static constexpr char sums_suffix[] = ".certutil";

  // The command interpreter refuses longer lines ("The input line is too long.").
  static constexpr std::size_t longest_line = 8191;
  // When the list does not fit on one line, each of the several lines stays this short.
  static constexpr std::size_t longest_wrapped_line = 4096;

 private:
  // The copy lines, each as the parts first to last and its length without the line end.
  using CopyLineVisitor = std::function<void(std::int32_t first, std::int32_t last, std::uint64_t length)>;

  // A file beside the script as the script names it, in quotes: the target's name
  // and the suffix, "movie.iso_2" for "_2". With dot_first, ".\movie.iso_2", which
  // no command takes for an option.
  std::string file(const std::string& suffix, bool dot_first = false) const;
  // The script's own file name: the target's without its extension, and ".bat".
  std::string script_name() const;
  std::int64_t part_size_of(std::int32_t number) const;
  std::int64_t total_size() const;
  bool target_empty() const;

  // The first lines, which refuse to go on unless the script is own_length bytes long.
  std::string head(std::uint64_t own_length) const;
  std::string checks(std::int32_t number) const;
  std::string guards() const;
  std::string entry(std::int32_t number) const;
  std::string destination() const;
  std::string copy_line(std::int32_t first, std::int32_t last) const;
  void for_each_copy_line(const CopyLineVisitor& visit) const;
  std::string size_check() const;
  std::string failure_exits() const;
  // Deletes one of the script's own files, if it is there, and says so if it stays.
  std::string removal(const std::string& suffix) const;
  // What the spare can do for a part that is wrong; each line after `condition`.
  std::string spare_lines(const std::string& condition) const;

  // The proof, in rejoin_proof.cpp: from the size check to the way out of a proven
  // file, and the search for damaged parts with the subroutines both call. The
  // search reads the data lines after the first lines_before_data lines.
  std::string proof(const Sha256Digest& whole) const;
  std::string rename_lines() const;
  std::string search(std::uint64_t lines_before_data) const;
  std::string verdict() const;
  std::string data_line(std::int32_t number, const Sha256Digest& digest) const;
  std::uint64_t length_with_number_zero() const;
  // Every line but the data lines, counted without being made.
  std::uint64_t lines_before_data() const;

  // Whether the script takes the stem of every name from its own name.
  const bool named_by_itself;
  // The target's extension, as the script writes it.
  const std::string extension;
  // The target's name as the script writes it: the name with every "%" doubled, or
  // "%stem%" and the extension.
  const std::string name_in_script;
  // How many characters longer a name is once cmd has expanded it than as written.
  const std::int64_t name_growth;
  const std::wstring target_name;
  const std::int32_t part_count;
  const std::int64_t part_size;
  const std::int64_t last_part_size;
  const bool spare_made;
};
