#include "data/Fingerprint.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace zentrik {
namespace {

// Odd constants with every byte above 127: a word of text (bytes below 128) never
// cancels one of them to zero.
constexpr std::array<uint64_t, 4> kKeys = {0xA0761D6478BD642FULL, 0xE7037ED1A0B428DBULL, 0x8EBC6AF09C88C6E3ULL,
                                           0x9E3779B185EBCA87ULL};
constexpr uint64_t kOdd = 0xC2B2AE3D27D4EB4FULL;

uint64_t word_at(const char* bytes) {
  uint64_t word;
  std::memcpy(&word, bytes, sizeof word);
  return word;
}

// The two halves of the full product folded into one: every bit of both factors
// reaches the result.
uint64_t fold_product(uint64_t a, uint64_t b) {
  const unsigned __int128 product = static_cast<unsigned __int128>(a) * b;
  return static_cast<uint64_t>(product) ^ static_cast<uint64_t>(product >> 64);
}

}  // namespace

Fingerprint::Fingerprint() : lanes_(kKeys) {}

// Each lane takes sixteen bytes of the stripe in one multiplication; the four lanes
// do not wait for each other.
void Fingerprint::add_stripe(const char* stripe) {
  for (std::size_t lane = 0; lane < 4; ++lane) {
    const char* part = stripe + 16 * lane;
    lanes_[lane] = fold_product(word_at(part) ^ kKeys[lane], word_at(part + 8) ^ lanes_[lane]);
  }
}

void Fingerprint::add(const char* bytes, std::size_t count) {
  total_ += count;
  if (pending_count_ > 0) {
    std::size_t taken = std::min(count, kStripe - pending_count_);
    std::memcpy(pending_.data() + pending_count_, bytes, taken);
    pending_count_ += taken;
    bytes += taken;
    count -= taken;
    if (pending_count_ < kStripe) return;
    add_stripe(pending_.data());
    pending_count_ = 0;
  }
  for (; count >= kStripe; bytes += kStripe, count -= kStripe) add_stripe(bytes);
  std::memcpy(pending_.data(), bytes, count);
  pending_count_ = count;
}

uint64_t Fingerprint::value() const {
  uint64_t hash = total_ ^ kOdd;
  for (uint64_t lane : lanes_) hash = fold_product(hash ^ kKeys[0], lane ^ kKeys[1]);
  // the bytes of an incomplete stripe, padded with zeros to whole words
  std::array<char, kStripe + 8> rest{};
  std::memcpy(rest.data(), pending_.data(), pending_count_);
  for (std::size_t at = 0; at < pending_count_; at += 8)
    hash = fold_product(hash ^ kKeys[2], word_at(rest.data() + at) ^ kKeys[3]);
  return fold_product(hash ^ kOdd, std::rotl(hash, 29) ^ kKeys[1]);
}

}  // namespace zentrik
