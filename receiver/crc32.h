#pragma once
// CRC-32 as PAR2 (and zip, and Ethernet) take it: the reflected polynomial
// 0xEDB88320, begun and ended with all ones. Eight bytes at a time, from eight
// tables: PAR2 asks it of every byte of every part, beside the copy.
#include <cstddef>
#include <cstdint>

class Crc32 {
 public:
  void add(const void* data, std::size_t count);
  // Bytes of zero, as the last slice is padded.
  void add_zeros(std::uint64_t count);
  std::uint32_t value() const { return ~state; }

 private:
  std::uint32_t state = 0xFFFFFFFF;
};
