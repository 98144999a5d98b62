// Storage for the texts of a data set's lines: large blocks filled one after the
// other, so that millions of lines cost no allocation each. Texts stay where they
// are until the arena is cleared.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

namespace zentrik {

class TextArena {
 public:
  // A stored copy of text in which every byte above 127, and every NUL byte, has become
  // "!"; a NUL byte follows it in the arena, so its start alone gives it back.
  std::string_view store(std::string_view text);
  void clear();

 private:
  static constexpr std::size_t kFirstBlockSize = 1 << 14;
  static constexpr std::size_t kBlockSize = 1 << 20;
  std::vector<std::unique_ptr<char[]>> blocks_;
  std::size_t block_capacity_ = 0;
  std::size_t used_ = 0;
};

}  // namespace zentrik
