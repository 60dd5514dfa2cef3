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

CngAlgorithm::CngAlgorithm(LPCWSTR id) { check(BCryptOpenAlgorithmProvider(&algorithm, id, nullptr, 0)); }

CngAlgorithm::~CngAlgorithm() { BCryptCloseAlgorithmProvider(algorithm, 0); }

template <std::size_t digest_size>
CngStream<digest_size>::CngStream(const CngAlgorithm& algorithm) : algorithm(algorithm) {
  begin();
}

template <std::size_t digest_size>
CngStream<digest_size>::~CngStream() {
  if (hash != nullptr) BCryptDestroyHash(hash);
}

// Since Windows 7 the system keeps the hash object itself when given none.
template <std::size_t digest_size>
void CngStream<digest_size>::begin() {
  check(BCryptCreateHash(algorithm.handle(), &hash, nullptr, 0, nullptr, 0, 0));
}

template <std::size_t digest_size>
void CngStream<digest_size>::add(const void* data, std::size_t count) {
  check(hash_data(hash, static_cast<PUCHAR>(const_cast<void*>(data)), static_cast<ULONG>(count), 0));
}

template <std::size_t digest_size>
typename CngStream<digest_size>::Digest CngStream<digest_size>::finish() {
  Digest digest;
  check(BCryptFinishHash(hash, digest.data(), static_cast<ULONG>(digest.size()), 0));
  BCryptDestroyHash(hash);
  hash = nullptr;
  begin();
  return digest;
}

template class CngStream<16>;
template class CngStream<32>;
