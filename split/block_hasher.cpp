#include "split/block_hasher.h"

#include <algorithm>
#include <cstring>
#include <system_error>

BlockHasher::BlockHasher(std::atomic<std::int64_t>& progress, std::int32_t part_count,
                         std::int64_t spare_slice_size)
    : spare_slice_size(spare_slice_size), progress(progress), part_count(part_count) {
  for (Slot& slot : slots) slot.data.reset(new char[block_size]);
  // A lane then never takes memory under the lock: a push_back that ran short there
  // would stop the hashing with nobody to tell.
  part_digests.reserve(static_cast<std::size_t>(part_count));
  if (spare_slice_size > 0) {
    md5 = std::make_unique<Md5Algorithm>();
    spare_whole = std::make_unique<Md5Stream>(*md5);
    spare_first_16k = std::make_unique<Md5Stream>(*md5);
    spare_slice = std::make_unique<Md5Stream>(*md5);
    spare.parts.resize(static_cast<std::size_t>(part_count));
    spare.recovery.assign(static_cast<std::size_t>(spare_slice_size), 0);
  }
  // Should the second lane not start, the first is stopped and joined before this
  // throws: a thread still running when its object goes would end the program.
  try {
    lanes[parts_lane] = std::thread([this] { hash_lane(parts_lane); });
    lanes[whole_lane] = std::thread([this] { hash_lane(whole_lane); });
    if (spare_slice_size > 0) lanes[spare_lane] = std::thread([this] { hash_lane(spare_lane); });
  } catch (const std::system_error&) {
    stop();
    throw SplitOutcome::failure(SplitOutcome::Reason::cannot_start);
  } catch (...) {
    stop();
    throw SplitOutcome::failure(SplitOutcome::Reason::out_of_memory);
  }
}

BlockHasher::~BlockHasher() { stop(); }

void BlockHasher::stop() {
  {
    const std::lock_guard<std::mutex> lock(mutex);
    stopping = true;
  }
  changed.notify_all();
  for (std::thread& lane : lanes) {
    if (lane.joinable()) lane.join();
  }
}

std::uint64_t BlockHasher::hashed_by_all() const {
  return *std::min_element(hashed.begin(), hashed.begin() + static_cast<std::ptrdiff_t>(lane_count()));
}

void BlockHasher::throw_failure() const {
  if (failure) throw SplitOutcome::failure(failure->reason, {}, failure->system_error);
}

char* BlockHasher::free_block() {
  std::unique_lock<std::mutex> lock(mutex);
  changed.wait(lock, [this] { return failure || handed_over - hashed_by_all() < blocks_in_flight; });
  throw_failure();
  return slots[handed_over % blocks_in_flight].data.get();
}

// The slot was filled before the count goes up under the lock, and is not touched
// again until both lanes are done with it: the lock orders every use of its bytes.
void BlockHasher::hand_over_slot(std::size_t count, bool ends_part) {
  Slot& slot = slots[handed_over % blocks_in_flight];
  slot.count = count;
  slot.ends_part = ends_part;
  {
    const std::lock_guard<std::mutex> lock(mutex);
    ++handed_over;
  }
  changed.notify_all();
}

void BlockHasher::hand_over(std::size_t count) { hand_over_slot(count, false); }

void BlockHasher::end_part() {
  free_block();
  hand_over_slot(0, true);
}

SplitDigests BlockHasher::finish() {
  {
    std::unique_lock<std::mutex> lock(mutex);
    changed.wait(lock, [this] { return failure || hashed_by_all() == handed_over; });
    throw_failure();
  }
  stop();
  return {std::move(part_digests), whole_stream.finish()};
}

// Each part is one slice of the set: its bytes go into the recovery slice at their
// place in the part. Only the last part can be short: its slice is padded with
// zeros, for which its MD5 is taken by a stream of its own.
void BlockHasher::add_to_spare(const Slot& slot) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(slot.data.get());
  spare_whole->add(bytes, slot.count);
  if (spare_parts == part_count - 1) spare_slice->add(bytes, slot.count);
  constexpr std::uint64_t first_bytes = 16384;
  if (spare_offset < first_bytes) {
    spare_first_16k->add(bytes, static_cast<std::size_t>(std::min<std::uint64_t>(slot.count, first_bytes - spare_offset)));
  }
  spare_crc.add(bytes, slot.count);
  // Eight bytes at a time: the XOR runs over every byte of the file.
  unsigned char* recovery = spare.recovery.data() + spare_offset;
  std::size_t i = 0;
  for (std::uint64_t word, with; i + 8 <= slot.count; i += 8) {
    std::memcpy(&word, recovery + i, 8);
    std::memcpy(&with, bytes + i, 8);
    word ^= with;
    std::memcpy(recovery + i, &word, 8);
  }
  for (; i < slot.count; ++i) recovery[i] ^= bytes[i];
  spare_offset += slot.count;
}

void BlockHasher::end_spare_part() {
  Par2PartSums& sums = spare.parts[static_cast<std::size_t>(spare_parts)];
  sums.length = spare_offset;
  sums.whole = spare_whole->finish();
  sums.first_16k = spare_first_16k->finish();
  const std::uint64_t padding = static_cast<std::uint64_t>(spare_slice_size) - spare_offset;
  // The padding in small steps: the last part may be short by nearly 64 MiB.
  static const unsigned char zeros[65536] = {};
  for (std::uint64_t left = padding; left > 0; left -= std::min<std::uint64_t>(left, sizeof zeros)) {
    spare_slice->add(zeros, static_cast<std::size_t>(std::min<std::uint64_t>(left, sizeof zeros)));
  }
  spare_crc.add_zeros(padding);
  sums.slice = padding > 0 ? spare_slice->finish() : sums.whole;
  sums.slice_crc = spare_crc.value();
  spare_crc = Crc32();
  spare_offset = 0;
  ++spare_parts;
}

void BlockHasher::hash_lane(Lane lane) {
  Sha256Stream& stream = lane == parts_lane ? part_stream : whole_stream;
  try {
    for (std::uint64_t next = 0;; ++next) {
      const Slot* slot = nullptr;
      {
        std::unique_lock<std::mutex> lock(mutex);
        changed.wait(lock, [&] { return stopping || next < handed_over; });
        if (stopping) return;
        slot = &slots[next % blocks_in_flight];
      }
      std::optional<Sha256Digest> part_digest;
      if (lane == spare_lane) {
        add_to_spare(*slot);
        if (slot->ends_part) end_spare_part();
      } else {
        stream.add(slot->data.get(), slot->count);
        if (lane == parts_lane && slot->ends_part) part_digest = stream.finish();
      }
      {
        const std::lock_guard<std::mutex> lock(mutex);
        if (part_digest) part_digests.push_back(*part_digest);
        hashed[lane] = next + 1;
        bytes_hashed[lane] += static_cast<std::int64_t>(slot->count);
        progress.store(*std::min_element(bytes_hashed.begin(),
                                         bytes_hashed.begin() + static_cast<std::ptrdiff_t>(lane_count())),
                       std::memory_order_relaxed);
      }
      changed.notify_all();
    }
  } catch (const SplitOutcome& hash_failure) {
    fail({hash_failure.reason, hash_failure.system_error});
  } catch (...) {
    // Anything else on this thread is memory running out, as on the copy's.
    fail({SplitOutcome::Reason::out_of_memory, 0});
  }
}

// Wakes the copy, which throws the failure where it waits.
void BlockHasher::fail(LaneFailure lane_failure) {
  {
    const std::lock_guard<std::mutex> lock(mutex);
    if (!failure) failure = lane_failure;
  }
  changed.notify_all();
}
