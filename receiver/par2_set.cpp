#include "receiver/par2_set.h"

#include <algorithm>
#include <utility>

namespace {

// Every packet's type is 16 bytes, NULs included.
const std::string main_type("PAR 2.0\0Main\0\0\0\0", 16);
const std::string file_description_type("PAR 2.0\0FileDesc", 16);
const std::string slice_checksum_type("PAR 2.0\0IFSC\0\0\0\0", 16);
const std::string recovery_slice_type("PAR 2.0\0RecvSlic", 16);
const std::string creator_type("PAR 2.0\0Creator\0", 16);
const std::string creator = "Created by Parcelor";
// The magic, the length, the packet's MD5, the set ID and the type.
constexpr std::uint64_t header_length = 8 + 8 + 16 + 16 + 16;

// Numbers are little-endian.
void put(std::string& out, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

void put(std::string& out, const Md5Digest& digest) { out.append(digest.begin(), digest.end()); }

// Texts are padded with NULs to a multiple of 4 bytes.
std::string padded(const std::string& text) { return text + std::string((4 - text.size() % 4) % 4, '\0'); }

Md5Digest md5_of(const CngAlgorithm& md5, const std::string& bytes) {
  Md5Stream stream(md5);
  stream.add(bytes.data(), bytes.size());
  return stream.finish();
}

// The packet's MD5 covers the set ID, the type and the body; the recovery slice's
// body ends in a tail too long to copy.
void write_packet(const CngAlgorithm& md5, const Md5Digest& set_id, const std::string& type, const std::string& body,
                  const std::vector<unsigned char>* tail, const Par2Set::Sink& sink) {
  Md5Stream stream(md5);
  std::string rest;
  put(rest, set_id);
  rest += type + body;
  stream.add(rest.data(), rest.size());
  if (tail != nullptr) stream.add(tail->data(), tail->size());
  std::string header("PAR2\0PKT", 8);
  put(header, header_length + body.size() + (tail != nullptr ? tail->size() : 0), 8);
  put(header, stream.finish());
  sink(header.data(), header.size());
  sink(rest.data(), rest.size());
  if (tail != nullptr) sink(tail->data(), tail->size());
}

}  // namespace

std::optional<SpareRefusal> Par2Set::refusal_for(std::int64_t part_count, std::int64_t part_size) {
  if (part_count < 3) return SpareRefusal::too_few_parts;
  if (part_size > largest_slice || part_size % 4 != 0) return SpareRefusal::parts_too_large;
  if (part_count > 32768) return SpareRefusal::too_many_parts;
  return std::nullopt;
}

WidePath Par2Set::index_path_of(const WidePath& source_path) { return WidePath(source_path.text() + L".par2"); }

WidePath Par2Set::volume_path_of(const WidePath& source_path) {
  return WidePath(source_path.text() + L".vol0+1.par2");
}

Par2Set::Par2Set(std::string target_name, std::int32_t part_count, std::int64_t slice_size)
    : target_name(std::move(target_name)), part_count(part_count), slice_size(slice_size) {}

std::string Par2Set::part_name(std::int32_t number) const { return target_name + "_" + std::to_string(number); }

void Par2Set::write_index(const Par2Sums& sums, const Sink& sink) const { write_packets(sums, false, sink); }

void Par2Set::write_volume(const Par2Sums& sums, const Sink& sink) const { write_packets(sums, true, sink); }

// A file's ID is the MD5 of its first 16 KiB's MD5, its length and its name; the
// main packet lists them sorted as 128-bit little-endian numbers, and the set's ID
// is the MD5 of that packet's body.
void Par2Set::write_packets(const Par2Sums& sums, bool with_recovery, const Sink& sink) const {
  const Md5Algorithm md5;
  std::vector<std::pair<Md5Digest, std::int32_t>> files;
  for (std::int32_t number = 1; number <= part_count; ++number) {
    const Par2PartSums& part = sums.parts[static_cast<std::size_t>(number - 1)];
    std::string id_source;
    put(id_source, part.first_16k);
    put(id_source, part.length, 8);
    files.emplace_back(md5_of(md5, id_source + part_name(number)), number);
  }
  std::sort(files.begin(), files.end(), [](const auto& a, const auto& b) {
    return std::lexicographical_compare(a.first.rbegin(), a.first.rend(), b.first.rbegin(), b.first.rend());
  });
  std::string main_body;
  put(main_body, static_cast<std::uint64_t>(slice_size), 8);
  put(main_body, static_cast<std::uint64_t>(part_count), 4);
  for (const auto& file : files) put(main_body, file.first);
  const Md5Digest set_id = md5_of(md5, main_body);

  if (with_recovery) write_packet(md5, set_id, recovery_slice_type, std::string(4, '\0'), &sums.recovery, sink);
  write_packet(md5, set_id, main_type, main_body, nullptr, sink);
  for (const auto& [id, number] : files) {
    const Par2PartSums& part = sums.parts[static_cast<std::size_t>(number - 1)];
    std::string description;
    put(description, id);
    put(description, part.whole);
    put(description, part.first_16k);
    put(description, part.length, 8);
    write_packet(md5, set_id, file_description_type, description + padded(part_name(number)), nullptr, sink);
    std::string checksums;
    put(checksums, id);
    put(checksums, part.slice);
    put(checksums, part.slice_crc, 4);
    write_packet(md5, set_id, slice_checksum_type, checksums, nullptr, sink);
  }
  write_packet(md5, set_id, creator_type, padded(creator), nullptr, sink);
}

std::uint64_t Par2Set::index_length() const {
  std::uint64_t total = header_length + 12 + 16 * static_cast<std::uint64_t>(part_count) + header_length +
                        padded(creator).size();
  for (std::int32_t number = 1; number <= part_count; ++number) {
    total += header_length + 56 + padded(part_name(number)).size() + header_length + 16 + 20;
  }
  return total;
}

std::uint64_t Par2Set::volume_length() const {
  return header_length + 4 + static_cast<std::uint64_t>(slice_size) + index_length();
}
