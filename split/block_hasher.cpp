#include "split/block_hasher.h"

#include <algorithm>
#include <system_error>

BlockHasher::BlockHasher(std::atomic<std::int64_t>& progress, std::int32_t part_count) : progress(progress) {
  for (Slot& slot : slots) slot.data.reset(new char[block_size]);
  // A lane then never takes memory under the lock: a push_back that ran short there
  // would stop the hashing with nobody to tell.
  part_digests.reserve(static_cast<std::size_t>(part_count));
  // Should the second lane not start, the first is stopped and joined before this
  // throws: a thread still running when its object goes would end the program.
  try {
    lanes[parts_lane] = std::thread([this] { hash_lane(parts_lane); });
    lanes[whole_lane] = std::thread([this] { hash_lane(whole_lane); });
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

std::uint64_t BlockHasher::hashed_by_both() const { return std::min(hashed[parts_lane], hashed[whole_lane]); }

void BlockHasher::throw_failure() const {
  if (failure) throw SplitOutcome::failure(failure->reason, {}, failure->system_error);
}

char* BlockHasher::free_block() {
  std::unique_lock<std::mutex> lock(mutex);
  changed.wait(lock, [this] { return failure || handed_over - hashed_by_both() < blocks_in_flight; });
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
    changed.wait(lock, [this] { return failure || hashed_by_both() == handed_over; });
    throw_failure();
  }
  stop();
  return {std::move(part_digests), whole_stream.finish()};
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
      stream.add(slot->data.get(), slot->count);
      std::optional<Sha256Digest> part_digest;
      if (lane == parts_lane && slot->ends_part) part_digest = stream.finish();
      {
        const std::lock_guard<std::mutex> lock(mutex);
        if (part_digest) part_digests.push_back(*part_digest);
        hashed[lane] = next + 1;
        bytes_hashed[lane] += static_cast<std::int64_t>(slot->count);
        progress.store(std::min(bytes_hashed[parts_lane], bytes_hashed[whole_lane]), std::memory_order_relaxed);
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
