#pragma once
// Everything a split can know before its first byte, checked before it, so that a
// split that cannot finish writes nothing at all: every name it will create is
// free and fits, and the volume has room for the parts. Creating each file only if
// it is new still guards against what changes after the look.
#include <cstdint>

#include "split/part_sequence.h"
#include "split/wide_path.h"

enum class OutputCheck {
  clear,
  // A part or the script exists already, as a file or a folder.
  name_taken,
  // A name too long, too little room, a part too large for a FAT volume, or a
  // folder that could not be looked through.
  refused,
  // The user confirmed a cancel meanwhile.
  cancelled,
};

// part_count parts of the sequence and the script; size: the source's, largest_part:
// the length of the longest part.
OutputCheck check_outputs(const PartSequence& parts, std::int32_t part_count, const WidePath& script_path,
                          std::int64_t size, std::int64_t largest_part);
