// What QtSurface knows of the lines of a curve it holds back, not drawn yet: per
// column of device pixels, the rows that thin vertical lines still to come will
// paint over, and from which step on. A character blended on pixels that a later
// line paints over anyway leaves no trace in the picture, so QtSurface leaves it
// out; a noisy curve of millions of points mostly draws such characters.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

namespace zentrik {

class LinesAhead {
 public:
  // Forgets every line, over device columns 0 .. width - 1.
  void reset(int width) {
    columns_.assign(width > 0 ? static_cast<std::size_t>(width) : 0, Column{});
    noted_ = false;
  }
  bool empty() const { return !noted_; }
  // Counts the times a column's run gave up rows for a longer one.
  uint64_t losses() const { return losses_; }

  // Step `step` of the curve (steps count up) paints rows top .. bottom of the
  // column; every step before `drawn` has been drawn. Runs that touch or overlap
  // join; of two apart the longer is kept.
  void note(int64_t step, int column, int top, int bottom, int64_t drawn) {
    if (!inside(column) || top > bottom) return;
    noted_ = true;
    Column& known = columns_[static_cast<std::size_t>(column)];
    if (known.last < drawn) known = {step, step, top, bottom};  // the lines known there are drawn already
    known.last = step;
    if (top <= known.bottom + 1 && known.top <= bottom + 1) {
      known.top = std::min(known.top, top);
      known.bottom = std::max(known.bottom, bottom);
    } else if (bottom - top > known.bottom - known.top) {
      ++losses_;
      known.top = top;
      known.bottom = bottom;
    }
  }

  // Whether lines after step `step` paint over rows top .. bottom of the column.
  // Only a column whose every known line comes after the step is trusted.
  bool paints_over(int column, int top, int bottom, int64_t step) const {
    if (!inside(column)) return false;
    const Column& known = columns_[static_cast<std::size_t>(column)];
    return known.first > step && known.top <= top && bottom <= known.bottom;
  }
  // The step of the first line known in the column.
  int64_t first(int column) const { return inside(column) ? columns_[static_cast<std::size_t>(column)].first : -1; }

 private:
  struct Column {
    int64_t first = -1, last = -1;  // the first and last step of the lines known
    int top = 1, bottom = 0;        // the rows they paint for certain
  };
  bool inside(int column) const { return column >= 0 && static_cast<std::size_t>(column) < columns_.size(); }

  std::vector<Column> columns_;
  bool noted_ = false;
  uint64_t losses_ = 0;
};

}  // namespace zentrik
