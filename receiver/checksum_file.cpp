#include "receiver/checksum_file.h"

#include <utility>

namespace {

std::string line_for(const Sha256Digest& digest, const std::string& name) {
  return hex_of(digest) + " *" + name + "\n";
}

// A line without its name: the digits, " *" and the line end.
constexpr std::uint64_t line_frame = 64 + 2 + 1;

}  // namespace

WidePath checksum_path_of(const WidePath& source_path) { return WidePath(source_path.text() + L".sha256"); }

ChecksumFile::ChecksumFile(std::string target_name, std::int32_t part_count)
    : target_name(std::move(target_name)), part_count(part_count) {}

void ChecksumFile::write(const SplitDigests& digests,
                         const std::function<void(const std::string& piece)>& write) const {
  constexpr std::size_t piece_size = 65536;
  std::string pending;
  for (std::int32_t number = 1; number <= part_count; ++number) {
    pending += line_for(digests.parts[static_cast<std::size_t>(number - 1)], target_name + "_" + std::to_string(number));
    if (pending.size() >= piece_size) {
      write(pending);
      pending.clear();
    }
  }
  write(pending + line_for(digests.whole, target_name));
}

std::uint64_t ChecksumFile::length() const {
  std::uint64_t total = line_frame + target_name.size();
  for (std::int32_t number = 1; number <= part_count; ++number) {
    total += line_frame + target_name.size() + 1 + std::to_string(number).size();
  }
  return total;
}
