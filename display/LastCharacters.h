// Which point characters of a curve are the last to land on their anchor. A curve of
// many more points than the picture has pixels puts its character on the same anchor
// again and again, and each one covers exactly the pixels of those before it there:
// only the last is drawn, so the picture differs only on pixels drawn more than once.
// The renderer walks the curve from its end before it draws it, noting where each
// point's character lands; the first seen on an anchor is the last drawn there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zentrik {

// A set of anchors, one bit per pixel of a width x height picture; anchors off the
// picture are never in it.
class AnchorSet {
 public:
  AnchorSet(int width, int height)
      : width_(width > 0 ? width : 0),
        height_(height > 0 ? height : 0),
        bits_((static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_) + 63) / 64) {}

  bool on_picture(int x, int y) const {
    return static_cast<unsigned>(x) < static_cast<unsigned>(width_) &&
           static_cast<unsigned>(y) < static_cast<unsigned>(height_);
  }
  // Adds an anchor on the picture; whether it was not in the set before.
  bool insert(int x, int y) {
    // column by column: a curve's neighbouring points mostly share or neighbour a column
    const std::size_t anchor = static_cast<std::size_t>(x) * static_cast<std::size_t>(height_) +
                               static_cast<std::size_t>(y);
    uint64_t& word = bits_[anchor / 64];
    const uint64_t bit = uint64_t{1} << (anchor % 64);
    if (word & bit) return false;
    word |= bit;
    return true;
  }

 private:
  int width_, height_;
  std::vector<uint64_t> bits_;
};

class LastCharacters {
 public:
  // Anchors on a width x height picture are followed; a character anchored off it
  // counts as the last wherever it stands. Points are numbered 0 .. points - 1.
  LastCharacters(int width, int height, std::size_t points) : taken_(width, height), last_((points + 63) / 64) {}

  // Walking the curve from its end: the character of point `point` lands on (x, y).
  void note_from_end(std::size_t point, int x, int y) {
    if (taken_.on_picture(x, y) && !taken_.insert(x, y)) return;  // a later character covers it
    last_[point / 64] |= uint64_t{1} << (point % 64);
  }
  // After the walk: whether no later character of the curve lands where the point's does.
  bool is_last(std::size_t point) const { return (last_[point / 64] >> (point % 64)) & 1; }

 private:
  AnchorSet taken_;             // the anchors a later character lands on
  std::vector<uint64_t> last_;  // per point
};

}  // namespace zentrik
