#include "data/TextArena.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "data/PagesPresent.h"

namespace zentrik {
namespace {

// Whether any of the eight bytes of a word is 0 or above 127: the high bit of a byte
// is set, or (all high bits clear) subtracting one from each byte borrows from a 0.
bool has_odd_byte(uint64_t word) {
  constexpr uint64_t kOnes = 0x0101010101010101, kHighs = 0x8080808080808080;
  return ((word | ((word - kOnes) & ~word)) & kHighs) != 0;
}

void mark_odd_bytes(char* text, std::size_t size) {
  for (std::size_t i = 0; i < size; ++i)
    if (static_cast<unsigned char>(text[i]) > 127 || text[i] == 0) text[i] = '!';
}

}  // namespace

std::string_view TextArena::store(std::string_view text) {
  if (text.empty()) return "";
  const std::size_t needed = text.size() + 1;  // with the NUL that ends it
  if (blocks_.empty() || used_ + needed > block_capacity_) {
    // blocks grow from small to large, so a small data set stays small
    std::size_t next = blocks_.empty() ? kFirstBlockSize : std::min(2 * block_capacity_, kBlockSize);
    block_capacity_ = std::max(next, needed);
    blocks_.push_back(std::make_unique_for_overwrite<char[]>(block_capacity_));
    if (block_capacity_ >= kBlockSize) make_pages_present(blocks_.back().get(), block_capacity_);
    used_ = 0;
  }
  char* out = blocks_.back().get() + used_;
  // eight bytes at a time; a word holding an odd byte is looked at byte by byte
  std::size_t i = 0;
  for (; i + 8 <= text.size(); i += 8) {
    uint64_t word;
    std::memcpy(&word, text.data() + i, 8);
    std::memcpy(out + i, &word, 8);
    if (has_odd_byte(word)) mark_odd_bytes(out + i, 8);
  }
  const std::size_t tail = i;
  for (; i < text.size(); ++i) out[i] = text[i];
  mark_odd_bytes(out + tail, text.size() - tail);
  out[text.size()] = '\0';
  used_ += needed;
  return {out, text.size()};
}

void TextArena::clear() {
  blocks_.clear();
  block_capacity_ = 0;
  used_ = 0;
}

}  // namespace zentrik
