// A fast 64-bit hash of a stream of bytes taken in pieces of any size: the
// fingerprint of the part of a data file a read has gone over, so that a later
// reload can tell whether that part is still the same. Fed by LineReader.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace zentrik {

class Fingerprint {
 public:
  Fingerprint();
  // Takes the next bytes of the stream.
  void add(const char* bytes, std::size_t count);
  // The hash of every byte taken so far; taking more bytes afterwards goes on from there.
  uint64_t value() const;

 private:
  static constexpr std::size_t kStripe = 64;  // four lanes of sixteen bytes
  void add_stripe(const char* stripe);

  std::array<uint64_t, 4> lanes_;
  std::array<char, kStripe> pending_{};  // the start of a stripe not yet complete
  std::size_t pending_count_ = 0;
  uint64_t total_ = 0;
};

}  // namespace zentrik
