#include "receiver/crc32.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

using Tables = std::array<std::array<std::uint32_t, 256>, 8>;

// tables[k][b]: the CRC of byte b followed by k bytes of zero.
Tables make_tables() {
  Tables tables{};
  for (std::uint32_t byte = 0; byte < 256; ++byte) {
    std::uint32_t crc = byte;
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (crc & 1 ? 0xEDB88320u : 0);
    tables[0][byte] = crc;
  }
  for (std::size_t k = 1; k < 8; ++k) {
    for (std::uint32_t byte = 0; byte < 256; ++byte) {
      tables[k][byte] = (tables[k - 1][byte] >> 8) ^ tables[0][tables[k - 1][byte] & 0xFF];
    }
  }
  return tables;
}

const Tables tables = make_tables();

}  // namespace

void Crc32::add(const void* data, std::size_t count) {
  const auto* bytes = static_cast<const unsigned char*>(data);
  std::uint32_t crc = state;
  for (; count >= 8; bytes += 8, count -= 8) {
    std::uint32_t low;
    std::uint32_t high;
    std::memcpy(&low, bytes, 4);
    std::memcpy(&high, bytes + 4, 4);
    low ^= crc;
    crc = tables[7][low & 0xFF] ^ tables[6][(low >> 8) & 0xFF] ^ tables[5][(low >> 16) & 0xFF] ^
          tables[4][low >> 24] ^ tables[3][high & 0xFF] ^ tables[2][(high >> 8) & 0xFF] ^
          tables[1][(high >> 16) & 0xFF] ^ tables[0][high >> 24];
  }
  for (; count > 0; ++bytes, --count) crc = (crc >> 8) ^ tables[0][(crc ^ *bytes) & 0xFF];
  state = crc;
}

void Crc32::add_zeros(std::uint64_t count) {
  static const unsigned char zeros[4096] = {};
  for (; count > 0; count -= std::min<std::uint64_t>(count, sizeof zeros)) {
    add(zeros, static_cast<std::size_t>(std::min<std::uint64_t>(count, sizeof zeros)));
  }
}
