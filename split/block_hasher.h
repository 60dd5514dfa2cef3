#pragma once
// The SHA-256 of every part and of the whole source, from the blocks the copy reads
// anyway, never from a second read. Every byte feeds two streams, its part's and
// the whole's, and CNG hashes one stream on one core at a time: so two threads of
// its own hash beside the copy, one the parts and one the whole. For a spare, a
// third takes what PAR2 asks of every part (MD5 and CRC32) and XORs the parts into
// the recovery slice, held in memory: one part's length, 64 MiB at most. The copy
// takes a free block, reads into it, writes it out and hands it over; it waits only
// when every block is still being hashed, so at most a few MiB are ever held.
#include <array>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "receiver/crc32.h"
#include "receiver/par2_set.h"
#include "split/sha256.h"
#include "split/split_outcome.h"

class BlockHasher {
 public:
  static constexpr std::size_t block_size = 1048576;

  // progress: kept at the bytes every thread has hashed, which the copy wrote
  // before it handed them over. part_count: the parts whose digests it keeps, room
  // for which is taken now, on the copy's thread. spare_slice_size: the part size
  // when a spare is made, else 0. Throws a failed SplitOutcome (cannot_hash,
  // cannot_start, out_of_memory).
  BlockHasher(std::atomic<std::int64_t>& progress, std::int32_t part_count, std::int64_t spare_slice_size = 0);
  // Stops both threads once the block each is hashing is done: a cancel or a
  // failure ends the hashing with the copy, within a block.
  ~BlockHasher();
  BlockHasher(const BlockHasher&) = delete;
  BlockHasher& operator=(const BlockHasher&) = delete;

  // A block of block_size bytes to read the next bytes into; waits while every
  // block is being hashed. Throws what a hashing thread failed with.
  char* free_block();
  // Hands over the block last taken, holding `count` bytes of the current part.
  void hand_over(std::size_t count);
  // The current part has had all its bytes: its digest is taken.
  void end_part();
  // Waits until everything handed over is hashed: the digests of the parts, in
  // order, and of the whole. Throws what a hashing thread failed with.
  SplitDigests finish();
  // After finish(), for a spare: what PAR2 asks of the parts, and the recovery slice.
  Par2Sums take_spare_sums() { return std::move(spare); }

 private:
  static constexpr std::size_t blocks_in_flight = 8;
  enum Lane { parts_lane, whole_lane, spare_lane };

  // Why a lane stopped: plain values, which take no memory to keep when memory
  // is what ran out.
  struct LaneFailure {
    SplitOutcome::Reason reason;
    unsigned long system_error;
  };

  struct Slot {
    std::unique_ptr<char[]> data;
    std::size_t count = 0;
    bool ends_part = false;
  };

  void hash_lane(Lane lane);
  // The spare's share of one block, at `offset` in its part.
  void add_to_spare(const Slot& slot);
  void end_spare_part();
  // Under the lock: the blocks every lane is done with.
  std::uint64_t hashed_by_all() const;
  std::size_t lane_count() const { return spare_slice_size > 0 ? 3 : 2; }
  void stop();
  void hand_over_slot(std::size_t count, bool ends_part);
  // Under the lock, where the copy waits: what a lane failed with, if it did.
  void throw_failure() const;
  void fail(LaneFailure lane_failure);

  Sha256Algorithm algorithm;
  Sha256Stream part_stream{algorithm};
  Sha256Stream whole_stream{algorithm};
  // The spare's, touched by its lane alone until finish().
  const std::int64_t spare_slice_size;
  std::int32_t spare_parts = 0;
  std::unique_ptr<Md5Algorithm> md5;
  std::unique_ptr<Md5Stream> spare_whole;
  std::unique_ptr<Md5Stream> spare_first_16k;
  std::unique_ptr<Md5Stream> spare_slice;
  Crc32 spare_crc;
  std::uint64_t spare_offset = 0;
  Par2Sums spare;
  std::array<Slot, blocks_in_flight> slots;
  std::atomic<std::int64_t>& progress;

  // Between the copy and the two lanes, under `mutex`: blocks are handed over and
  // hashed in order, block n living in slot n % blocks_in_flight.
  std::mutex mutex;
  std::condition_variable changed;
  std::uint64_t handed_over = 0;
  std::array<std::uint64_t, 3> hashed{};
  std::array<std::int64_t, 3> bytes_hashed{};
  bool stopping = false;
  std::optional<LaneFailure> failure;
  std::vector<Sha256Digest> part_digests;

  std::array<std::thread, 3> lanes;
  const std::int32_t part_count;
};
