#pragma once
// SHA-256 and MD5 through Windows' own CNG (bcrypt), which uses the processor's SHA
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

// An algorithm of CNG's, opened once for a whole split; every stream is made from
// it. Throws a failed SplitOutcome (cannot_hash, with CNG's status as its
// system_error) when the system cannot give it.
class CngAlgorithm {
 public:
  explicit CngAlgorithm(LPCWSTR id);
  ~CngAlgorithm();
  CngAlgorithm(const CngAlgorithm&) = delete;
  CngAlgorithm& operator=(const CngAlgorithm&) = delete;

  BCRYPT_ALG_HANDLE handle() const { return algorithm; }

 private:
  BCRYPT_ALG_HANDLE algorithm = nullptr;
};

struct Sha256Algorithm : CngAlgorithm {
  Sha256Algorithm() : CngAlgorithm(BCRYPT_SHA256_ALGORITHM) {}
};

// MD5, which the PAR2 recovery set asks of every part.
struct Md5Algorithm : CngAlgorithm {
  Md5Algorithm() : CngAlgorithm(BCRYPT_MD5_ALGORITHM) {}
};

// One stream of bytes being hashed. Used by one thread at a time. Throws a failed
// SplitOutcome (cannot_hash, with CNG's status) when the system fails.
template <std::size_t digest_size>
class CngStream {
 public:
  using Digest = std::array<unsigned char, digest_size>;

  explicit CngStream(const CngAlgorithm& algorithm);
  ~CngStream();
  CngStream(const CngStream&) = delete;
  CngStream& operator=(const CngStream&) = delete;

  // A block of the split: far below the 4 GiB one call takes.
  void add(const void* data, std::size_t count);
  // The digest of everything added since the stream began or last finished; the
  // stream then begins again, empty.
  Digest finish();

 private:
  void begin();

  const CngAlgorithm& algorithm;
  BCRYPT_HASH_HANDLE hash = nullptr;
};

using Sha256Stream = CngStream<32>;
using Md5Stream = CngStream<16>;
using Md5Digest = Md5Stream::Digest;
