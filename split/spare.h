#pragma once
// The spare of one split, when the user asks for one: a PAR2 recovery set beside the
// parts (receiver/par2_set.h). It never makes a split fail: where its files would
// not fit (too few, too many or too large parts, a name past the limit or taken
// already, no room for one part more) or cannot be written, the split goes on
// without it, and the box says why.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "receiver/par2_set.h"
#include "split/split_outcome.h"
#include "split/whole_file.h"
#include "split/wide_path.h"

class Spare {
 public:
  // Decided before the first byte: whether it was asked for, and whether its files
  // may be made beside the source.
  Spare(bool asked, const WidePath& source_path, const std::string& utf8_target_name, std::int32_t part_count,
        std::int64_t part_size);

  // Whether it is still to be made, or was.
  bool made() const { return asked && !refusal; }
  // The slice size the hashing takes for it, 0 without it.
  std::int64_t slice_size() const { return made() ? part_size : 0; }
  // The room its files take, 0 without it.
  std::uint64_t length() const { return made() ? set.index_length() + set.volume_length() : 0; }

  void give_up(SpareRefusal why) { refusal = why; }

  // Writes both files, each whole or not at all, after the parts and before the
  // checksum file. A cancel goes on up, any other failure gives the spare up; what
  // was written is removed again either way.
  void write(const Par2Sums& sums, UnfinishedFiles& unfinished);
  // Removes what was written: the split after it did not finish.
  void remove(UnfinishedFiles& unfinished);
  // What the box says of it.
  void tell(SplitOutcome& outcome) const;

 private:
  const bool asked;
  const WidePath index_path;
  const WidePath volume_path;
  const std::int64_t part_size;
  const Par2Set set;
  std::optional<SpareRefusal> refusal;
  std::vector<std::wstring> written;
};
