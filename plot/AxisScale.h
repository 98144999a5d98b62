// Where values lie on an axis of the plot area and back: the range is spread over
// the area inside a margin (a histogram's count axis has its margin only at the
// top), positions truncated toward zero, logarithmic axes computed in base-10
// logarithms. The renderer, the scale marks and the zoom rectangle use it.
#pragma once

#include <cmath>

namespace zentrik {

class AxisScale {
 public:
  enum class Direction { Horizontal, Vertical, HistogramCounts };

  // The range min..max (of values; logarithms are taken here on a log axis) over the
  // pixels origin .. origin + extent (left and width, or top and height).
  AxisScale(double min, double max, int origin, int extent, int margin, Direction direction,
            bool logarithmic = false);

  // Inline: a curve of millions of points maps each of them.
  int to_pixel(double value) const {
    const double v = logarithmic_ ? std::log10(value) : value;
    const double units = direction_ == Direction::Horizontal ? v - min_ : max_ - v;
    return origin_ + margin_ + truncated(units * scale_);
  }
  // to_pixel held within -limit .. limit. A position well inside takes one test
  // (a NaN fails it): a value p above the integer -limit - base truncates to at
  // least that, one below limit - base to at most that.
  int to_pixel_within(double value, int limit) const {
    const double v = logarithmic_ ? std::log10(value) : value;
    const double product = (direction_ == Direction::Horizontal ? v - min_ : max_ - v) * scale_;
    const int base = origin_ + margin_;
    if (product > -limit - base && product < limit - base) return base + static_cast<int>(product);
    const int pixel = base + truncated(product);
    return pixel < -limit ? -limit : pixel > limit ? limit : pixel;
  }
  double from_pixel(int pixel) const;
  // Whether a pixel lies on the plot area, its edges included.
  bool on_area(int pixel) const { return pixel >= origin_ && pixel <= origin_ + extent_; }

 private:
  // Products beyond the int range are clamped: the position is off the area anyway.
  static int truncated(double product) {
    if (std::isnan(product)) return 0;
    if (product >= 2e9) return 2000000000;
    if (product <= -2e9) return -2000000000;
    return static_cast<int>(product);
  }

  double min_, max_;  // logarithms on a log axis
  int origin_, extent_, margin_;
  Direction direction_;
  bool logarithmic_;
  double scale_;  // pixels per unit of value
};

}  // namespace zentrik
