#pragma once
// Everything a split can know before its first byte, checked before it, so that a
// split that cannot finish writes nothing at all: every name it will create is
// free and fits, and the source's folder has room for the parts and the script.
// Creating each file only if it is new still guards against what changes after the look.
#include <cstdint>
#include <optional>
#include <vector>

#include "split/part_sequence.h"
#include "split/split_outcome.h"
#include "split/wide_path.h"

// A file the split will make beside its parts, and why the split fails when its
// name is taken.
struct NamedOutput {
  WidePath path;
  SplitOutcome::Reason if_taken;
};

// part_count parts of the sequence and the other files, whose narrow names were
// made already; room_needed: the bytes they all take. Nothing when the split may
// begin; else how it ends: cancelled (the user confirmed a cancel meanwhile) or
// failed, with the reason and the file.
std::optional<SplitOutcome> check_outputs(const PartSequence& parts, std::int32_t part_count,
                                          const std::vector<NamedOutput>& files, std::uint64_t room_needed);
