// Where values lie on an axis of the plot area and back: the range is spread over
// the area inside a margin (a histogram's count axis has its margin only at the
// top), positions truncated toward zero, logarithmic axes computed in base-10
// logarithms. The renderer, the scale marks and the zoom rectangle use it.
#pragma once

namespace zentrik {

class AxisScale {
 public:
  enum class Direction { Horizontal, Vertical, HistogramCounts };

  // The range min..max (of values; logarithms are taken here on a log axis) over the
  // pixels origin .. origin + extent (left and width, or top and height).
  AxisScale(double min, double max, int origin, int extent, int margin, Direction direction,
            bool logarithmic = false);

  int to_pixel(double value) const;
  double from_pixel(int pixel) const;
  // Whether a pixel lies on the plot area, its edges included.
  bool on_area(int pixel) const { return pixel >= origin_ && pixel <= origin_ + extent_; }

 private:
  double min_, max_;  // logarithms on a log axis
  int origin_, extent_, margin_;
  Direction direction_;
  bool logarithmic_;
  double scale_;  // pixels per unit of value
};

}  // namespace zentrik
