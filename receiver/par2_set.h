#pragma once
// The spare beside the parts: a PAR2 2.0 recovery set (the Parity Volume Set format,
// version 2.0) whose files are the parts, one slice each, the slice as long
// as a part, and one recovery slice of exponent 0. Every constant to the power 0
// is 1, so that slice is the XOR of all the parts, the short last one padded with
// zeros, and MultiPar or par2 rebuilds from it any one part that is missing or
// damaged. Two files:
//   movie.iso.par2          the index: which files, how long, their MD5 and CRC32
//   movie.iso.vol0+1.par2   the recovery slice, with the index's packets again
// named as par2 names them, so that MultiPar and par2 find the volume by the index.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "split/sha256.h"
#include "split/split_outcome.h"
#include "split/wide_path.h"

// What PAR2 asks of each part: the MD5 of the whole part and of its first 16 KiB,
// its length, and the MD5 and CRC32 of its slice (the part padded with zeros to the
// slice size).
struct Par2PartSums {
  Md5Digest whole{};
  Md5Digest first_16k{};
  std::uint64_t length = 0;
  Md5Digest slice{};
  std::uint32_t slice_crc = 0;
};

struct Par2Sums {
  std::vector<Par2PartSums> parts;
  // The XOR of every slice: the recovery slice.
  std::vector<unsigned char> recovery;
};

class Par2Set {
 public:
  static constexpr std::int64_t largest_slice = 64 * 1048576;

  // Whether a split into part_count parts of part_size bytes gets a spare at all.
  static std::optional<SpareRefusal> refusal_for(std::int64_t part_count, std::int64_t part_size);

  // "C:\d\movie.iso" gives "C:\d\movie.iso.par2" and "C:\d\movie.iso.vol0+1.par2".
  static WidePath index_path_of(const WidePath& source_path);
  static WidePath volume_path_of(const WidePath& source_path);

  // target_name: the source's bare file name in UTF-8; its parts are
  // target_name + "_1" ... "_<part_count>", each slice_size bytes but the last.
  Par2Set(std::string target_name, std::int32_t part_count, std::int64_t slice_size);

  using Sink = std::function<void(const void* data, std::size_t count)>;
  // Hand the file's bytes to `sink` in order. Throw a failed SplitOutcome
  // (cannot_hash) when CNG fails.
  void write_index(const Par2Sums& sums, const Sink& sink) const;
  void write_volume(const Par2Sums& sums, const Sink& sink) const;

  // The files' lengths, known before any sum is.
  std::uint64_t index_length() const;
  std::uint64_t volume_length() const;

 private:
  std::string part_name(std::int32_t number) const;
  void write_packets(const Par2Sums& sums, bool with_recovery, const Sink& sink) const;

  const std::string target_name;
  const std::int32_t part_count;
  const std::int64_t slice_size;
};
