// The spare as a PAR2 reader finds it, parsed from what a split wrote rather than
// from the writer's own rules: packets of the form PAR2 2.0 gives, each with its
// MD5, the recovery slice the XOR of the parts padded with zeros. The parts' own
// MD5 and CRC32 are par2's to check (spare_test.sh).
#include "receiver/par2_set.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>

#include "job/split_job.h"
#include "split/split_file.h"
#include "tests/support/test_files.h"

namespace {

// Each packet's type with its body, after checking its header.
std::multimap<std::string, std::string> packets_of(const Bytes& file) {
  const Md5Algorithm md5;
  std::multimap<std::string, std::string> packets;
  for (std::size_t at = 0; at < file.size();) {
    EXPECT_EQ(std::string(file.begin() + at, file.begin() + at + 8), std::string("PAR2\0PKT", 8));
    std::uint64_t length = 0;
    std::memcpy(&length, file.data() + at + 8, 8);
    EXPECT_EQ(length % 4, 0u);
    Md5Stream stream(md5);
    stream.add(file.data() + at + 32, length - 32);
    const Md5Digest digest = stream.finish();
    EXPECT_TRUE(std::equal(digest.begin(), digest.end(), file.begin() + at + 16)) << "packet at " << at;
    packets.emplace(std::string(file.begin() + at + 48, file.begin() + at + 64),
                    std::string(file.begin() + at + 64, file.begin() + at + length));
    at += length;
  }
  return packets;
}

// A split of 20 bytes into parts of 8, asked for a spare.
SplitOutcome split_with_spare(const TempFolder& folder, const Bytes& source) {
  write_file(folder / "movie.iso", source);
  swprintf(split_job.source_path, 260, L"%ls", (folder / L"movie.iso").c_str());
  split_job.make_spare = true;
  const SplitOutcome outcome = split_file(8);
  split_job.make_spare = false;
  return outcome;
}

TEST(Par2Set, ASplitsSpareIsWhatAReaderExpects) {
  TempFolder folder;
  const Bytes source = pattern_bytes(20);
  EXPECT_EQ(split_with_spare(folder, source).ending, SplitOutcome::Ending::finished);

  const auto index = packets_of(read_file(folder / "movie.iso.par2"));
  const auto volume = packets_of(read_file(folder / "movie.iso.vol0+1.par2"));
  EXPECT_EQ(index.count(std::string("PAR 2.0\0Main\0\0\0\0", 16)), 1u);
  EXPECT_EQ(index.count(std::string("PAR 2.0\0FileDesc", 16)), 3u);
  EXPECT_EQ(index.count(std::string("PAR 2.0\0IFSC\0\0\0\0", 16)), 3u);
  EXPECT_EQ(volume.size(), index.size() + 1);
  // Exponent 0, then the three slices of 8 bytes XORed, the last of 4 padded.
  const std::string recovery = volume.find(std::string("PAR 2.0\0RecvSlic", 16))->second;
  std::string expected(4, '\0');
  for (std::size_t i = 0; i < 8; ++i) {
    expected += static_cast<char>(source[i] ^ source[8 + i] ^ (16 + i < source.size() ? source[16 + i] : 0));
  }
  EXPECT_EQ(recovery, expected);
}

// A file of the index's name is never replaced: the split finishes without a spare.
TEST(Par2Set, AFileInTheSparesWayIsKeptAndTheSplitFinishes) {
  TempFolder folder;
  write_file(folder / "movie.iso.par2", Bytes{'k', 'e', 'e', 'p'});
  const SplitOutcome outcome = split_with_spare(folder, pattern_bytes(20));
  EXPECT_EQ(outcome.ending, SplitOutcome::Ending::finished);
  EXPECT_EQ(outcome.spare_refusal, SpareRefusal::name_taken);
  EXPECT_TRUE(read_file(folder / "movie.iso.par2") == (Bytes{'k', 'e', 'e', 'p'}));
  EXPECT_FALSE(file_exists(folder / "movie.iso.vol0+1.par2"));
}

// None for one or two parts, for parts over 64 MiB or of no multiple of 4 bytes, or
// for more than the 32,768 files PAR2 takes.
TEST(Par2Set, NoSpareWhereItWouldNotServe) {
  EXPECT_EQ(Par2Set::refusal_for(2, 8), SpareRefusal::too_few_parts);
  EXPECT_EQ(Par2Set::refusal_for(3, 64 * 1048576 + 4), SpareRefusal::parts_too_large);
  EXPECT_EQ(Par2Set::refusal_for(3, 6), SpareRefusal::parts_too_large);
  EXPECT_EQ(Par2Set::refusal_for(32769, 8), SpareRefusal::too_many_parts);
  EXPECT_EQ(Par2Set::refusal_for(32768, 64 * 1048576), std::nullopt);
}

}  // namespace
