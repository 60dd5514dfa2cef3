#include "split/sha256.h"

#include "split/split_outcome.h"

NTSTATUS(WINAPI* hash_data)(BCRYPT_HASH_HANDLE hash, PUCHAR data, ULONG count, ULONG flags) = BCryptHashData;

namespace {

void check(NTSTATUS status) {
  if (!BCRYPT_SUCCESS(status)) {
    throw SplitOutcome::failure(SplitOutcome::Reason::cannot_hash, {}, static_cast<unsigned long>(status));
  }
}

}  // namespace

std::string hex_of(const Sha256Digest& digest) {
  static const char digits[] = "0123456789abcdef";
  std::string text;
  for (unsigned char byte : digest) {
    text += digits[byte >> 4];
    text += digits[byte & 15];
  }
  return text;
}

Sha256Algorithm::Sha256Algorithm() { check(BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0)); }

Sha256Algorithm::~Sha256Algorithm() { BCryptCloseAlgorithmProvider(algorithm, 0); }

Sha256Stream::Sha256Stream(const Sha256Algorithm& algorithm) : algorithm(algorithm) { begin(); }

Sha256Stream::~Sha256Stream() {
  if (hash != nullptr) BCryptDestroyHash(hash);
}

// Since Windows 7 the system keeps the hash object itself when given none.
void Sha256Stream::begin() { check(BCryptCreateHash(algorithm.handle(), &hash, nullptr, 0, nullptr, 0, 0)); }

void Sha256Stream::add(const void* data, std::size_t count) {
  check(hash_data(hash, static_cast<PUCHAR>(const_cast<void*>(data)), static_cast<ULONG>(count), 0));
}

Sha256Digest Sha256Stream::finish() {
  Sha256Digest digest;
  check(BCryptFinishHash(hash, digest.data(), static_cast<ULONG>(digest.size()), 0));
  BCryptDestroyHash(hash);
  hash = nullptr;
  begin();
  return digest;
}
