#pragma once
// The checksum file beside the parts, "movie.iso.sha256", which sha256sum, 7-Zip
// and a glance by eye all read: GNU sha256sum's binary-mode lines, 64 lowercase
// hex digits, a blank, "*" and the file name, one for each part in order and one
// for the whole file; UTF-8 without a byte-order mark, LF line ends.
//   3a6e...91c0 *movie.iso_1
//   ...
//   5f0b...7d2e *movie.iso
#include <cstdint>
#include <functional>
#include <string>

#include "split/sha256.h"
#include "split/wide_path.h"

// "C:\d\movie.iso" gives "C:\d\movie.iso.sha256".
WidePath checksum_path_of(const WidePath& source_path);

class ChecksumFile {
 public:
  // target_name: the source's bare file name in UTF-8; its parts are
  // target_name + "_1" ... "_<part_count>".
  ChecksumFile(std::string target_name, std::int32_t part_count);

  // Hands the whole text to `write` in pieces of about 64 KiB, in order: the text
  // for 262,144 parts runs to tens of MiB.
  void write(const SplitDigests& digests, const std::function<void(const std::string& piece)>& write) const;

  // The text's length in bytes, known before any digest is.
  std::uint64_t length() const;

 private:
  const std::string target_name;
  const std::int32_t part_count;
};
