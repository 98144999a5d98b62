// What QtSurface knows of the pixels it has drawn on a raster picture: per column of
// device pixels, one run of rows that holds a single colour for certain. A curve of
// millions of noisy points paints the same pixels over and over; a line or a
// character that would only repaint such pixels in their own colour is left out.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

namespace zentrik {

class SolidColumns {
 public:
  // Forgets everything; the runs to come are of this colour, over columns 0 .. width - 1.
  void reset(int width, uint32_t color) {
    color_ = color;
    runs_.assign(width > 0 ? static_cast<std::size_t>(width) : 0, Run{});
  }
  uint32_t color() const { return color_; }

  // Whether rows top .. bottom of column x all hold the colour.
  bool holds(int x, int top, int bottom) const {
    if (!inside(x)) return false;
    const Run& run = runs_[static_cast<std::size_t>(x)];
    return run.top <= top && bottom <= run.bottom;
  }

  // Rows top .. bottom of column x now hold the colour. A run that touches or
  // overlaps the known one joins it; otherwise the longer of the two is kept.
  void add(int x, int top, int bottom) {
    if (!inside(x) || top > bottom) return;
    Run& run = runs_[static_cast<std::size_t>(x)];
    if (run.top > run.bottom || (top <= run.bottom + 1 && run.top <= bottom + 1)) {
      if (run.top > run.bottom) run = {top, bottom};
      run.top = std::min(run.top, top);
      run.bottom = std::max(run.bottom, bottom);
    } else if (bottom - top > run.bottom - run.top) {
      run = {top, bottom};
    }
  }

  // Rows top .. bottom of column x may have changed: the longer part of the run
  // outside them stays known.
  void cut(int x, int top, int bottom) {
    if (!inside(x) || top > bottom) return;
    Run& run = runs_[static_cast<std::size_t>(x)];
    if (bottom < run.top || run.bottom < top) return;
    const Run above{run.top, top - 1}, below{bottom + 1, run.bottom};
    run = above.bottom - above.top >= below.bottom - below.top ? above : below;
  }

 private:
  struct Run {
    int top = 1, bottom = 0;  // empty while top > bottom
  };
  bool inside(int x) const { return x >= 0 && static_cast<std::size_t>(x) < runs_.size(); }

  uint32_t color_ = 0;
  std::vector<Run> runs_;
};

}  // namespace zentrik
