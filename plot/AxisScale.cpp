#include "plot/AxisScale.h"

#include <cmath>

namespace zentrik {

AxisScale::AxisScale(double min, double max, int origin, int extent, int margin, Direction direction,
                     bool logarithmic)
    : min_(logarithmic ? std::log10(min) : min), max_(logarithmic ? std::log10(max) : max),
      origin_(origin), extent_(extent), margin_(margin), direction_(direction), logarithmic_(logarithmic) {
  if (direction_ == Direction::HistogramCounts) {
    min_ = 0;
    scale_ = (extent_ - margin_) / max_;
  } else {
    scale_ = (extent_ - 2.0 * margin_) / (max_ - min_);
  }
}

double AxisScale::from_pixel(int pixel) const {
  double offset = (pixel - origin_ - margin_) / scale_;
  double v = direction_ == Direction::Horizontal ? min_ + offset : max_ - offset;
  return logarithmic_ ? std::pow(10.0, v) : v;
}

}  // namespace zentrik
