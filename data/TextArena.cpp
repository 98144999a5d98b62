#include "data/TextArena.h"

#include "data/PagesPresent.h"

#include <algorithm>

namespace zentrik {

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
  for (std::size_t i = 0; i < text.size(); ++i)
    out[i] = static_cast<unsigned char>(text[i]) > 127 || text[i] == 0 ? '!' : text[i];
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
