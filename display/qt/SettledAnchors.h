// What QtSurface knows of one point character on a raster picture: the anchors
// (logical pixels) where drawing it again would change no pixel. A curve of millions
// of points lands on the same anchors again and again, and after a few blends the
// pixels there stop changing; from then on such a character is left out. A bit
// stays set only while nothing has changed a pixel the character covers there:
// whoever changes pixels unsettles the anchors around them.
#pragma once

#include <QRect>
#include <algorithm>
#include <bit>
#include <cstdint>
#include <vector>

namespace zentrik {

class SettledAnchors {
 public:
  // Forgets everything; from now on the anchors within `area` are followed (none
  // when the area is too large to be worth a bit each).
  void follow(const QRect& area) {
    area_ = static_cast<qint64>(area.width()) * area.height() <= kMaxAnchors ? area : QRect();
    words_per_row_ = area_.isEmpty() ? 0 : (area_.width() + 63) / 64;
    bits_.assign(static_cast<std::size_t>(words_per_row_) * std::max(area_.height(), 0), 0);
    row_bits_.assign(static_cast<std::size_t>(std::max(area_.height(), 0)), 0);
    lines_keep_ = true;
  }
  // Follows nothing: every character is drawn.
  void clear() { follow(QRect()); }

  // Whether drawing the character at the anchor is known to change nothing.
  bool holds(int x, int y) const {
    if (!area_.contains(x, y)) return false;
    const int column = x - area_.left();
    return (word(y, column) >> (column & 63)) & 1;
  }
  void add(int x, int y) {
    if (!area_.contains(x, y)) return;
    const int column = x - area_.left();
    uint64_t& word = bits_[index(y, column)];
    const uint64_t bit = uint64_t{1} << (column & 63);
    if (word & bit) return;
    word |= bit;
    ++row_bits_[static_cast<std::size_t>(y - area_.top())];
  }
  // The anchors within the logical rectangle may change pixels again.
  void unsettle(const QRect& anchors) {
    const QRect cut = anchors & area_;
    if (cut.isEmpty()) return;
    const int first = cut.left() - area_.left(), last = cut.right() - area_.left();
    for (int y = cut.top() - area_.top(); y <= cut.bottom() - area_.top(); ++y) {
      int& count = row_bits_[static_cast<std::size_t>(y)];
      if (count == 0) continue;  // most rows hold no settled anchor at all
      uint64_t* row = bits_.data() + static_cast<std::size_t>(y) * words_per_row_;
      for (int w = first / 64; w <= last / 64; ++w) {
        const int from = std::max(first - w * 64, 0), to = std::min(last - w * 64, 63);
        const uint64_t span = (to == 63 ? ~uint64_t{0} : (uint64_t{1} << (to + 1)) - 1) & ~((uint64_t{1} << from) - 1);
        count -= std::popcount(row[w] & span);
        row[w] &= ~span;
      }
    }
  }

  // Lines in the character's colour turn pixels into that colour, which every blend
  // of the character leaves alone, unless a mask of it does not keep its own colour.
  bool lines_keep() const { return lines_keep_; }
  void note_mask(bool keeps_own_colour) { lines_keep_ = lines_keep_ && keeps_own_colour; }

 private:
  static constexpr qint64 kMaxAnchors = qint64{1} << 26;
  std::size_t index(int y, int column) const {
    return static_cast<std::size_t>(y - area_.top()) * words_per_row_ + column / 64;
  }
  uint64_t word(int y, int column) const { return bits_[index(y, column)]; }

  QRect area_;
  int words_per_row_ = 0;
  std::vector<uint64_t> bits_;
  std::vector<int> row_bits_;  // the bits set in each row
  bool lines_keep_ = true;
};

}  // namespace zentrik
