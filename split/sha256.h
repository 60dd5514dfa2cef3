#pragma once
// SHA-256 through Windows' own CNG (bcrypt), which uses the processor's SHA
// instructions where it has them.
#include <windows.h>
#include <bcrypt.h>

#include <array>
#include <cstddef>
#include <string>
#include <vector>

using Sha256Digest = std::array<unsigned char, 32>;

// What a split hashed: each part's digest in order, and the whole file's.
struct SplitDigests {
  std::vector<Sha256Digest> parts;
  Sha256Digest whole;
};

// CNG's own hashing of a block. A test puts one here that fails, or throws, on the
// thread that hashes: nothing else could show what such a failure does.
extern NTSTATUS(WINAPI* hash_data)(BCRYPT_HASH_HANDLE hash, PUCHAR data, ULONG count, ULONG flags);

// 64 lowercase hex digits, as sha256sum and certutil print them.
std::string hex_of(const Sha256Digest& digest);

// The algorithm, opened once for a whole split; every stream is made from it.
// Throws a failed SplitOutcome (cannot_hash, with CNG's status as its system_error)
// when the system cannot give it.
class Sha256Algorithm {
 public:
  Sha256Algorithm();
  ~Sha256Algorithm();
  Sha256Algorithm(const Sha256Algorithm&) = delete;
  Sha256Algorithm& operator=(const Sha256Algorithm&) = delete;

  BCRYPT_ALG_HANDLE handle() const { return algorithm; }

 private:
  BCRYPT_ALG_HANDLE algorithm = nullptr;
};

// One stream of bytes being hashed. Used by one thread at a time. Throws a failed
// SplitOutcome (cannot_hash, with CNG's status) when the system fails.
class Sha256Stream {
 public:
  explicit Sha256Stream(const Sha256Algorithm& algorithm);
  ~Sha256Stream();
  Sha256Stream(const Sha256Stream&) = delete;
  Sha256Stream& operator=(const Sha256Stream&) = delete;

  // A block of the split: far below the 4 GiB one call takes.
  void add(const void* data, std::size_t count);
  // The digest of everything added since the stream began or last finished; the
  // stream then begins again, empty.
  Sha256Digest finish();

 private:
  void begin();

  const Sha256Algorithm& algorithm;
  BCRYPT_HASH_HANDLE hash = nullptr;
};
