// Pixels of a drawn plot and the values under them, both ways: the inverse of the
// renderer's mapping, taken from the layout of the last paint and the window's
// ranges. Linear, logarithmic and date X; linear and logarithmic Y; on a histogram
// the horizontal axis carries the formula values and the vertical axis the
// quantity. The rectangle drag, the zoom frame and the status readouts use it.
#pragma once

#include "display/Render.h"
#include "display/Surface.h"
#include "plot/AxisScale.h"
#include "plot/PlotWindow.h"

namespace zentrik {

class AxisMapping {
 public:
  AxisMapping() = default;
  // The axes as render() laid them out in layout for window.
  AxisMapping(const RenderLayout& layout, const PlotWindow& window);

  bool histogram() const { return histogram_; }
  bool date_x() const { return date_x_; }

  // The value under a pixel column: X on an X-Y plot, the formula value on a histogram.
  double value_at_x(int px) const;
  // The value under a pixel row: Y on an X-Y plot, the quantity on a histogram.
  double value_at_y(int py) const;
  // Where render() puts a value (a point's position, clamped to -16000 .. 16000).
  int x_of(double value) const;
  int y_of(double value) const;

  // The plot area inside the axes: left .. width across, top .. bottom down (the
  // axes themselves belong to it).
  Rect plot_area() const { return area_; }

 private:
  // A value under a pixel that gives that pixel back: the inverse formula, moved a
  // tiny part of the pixel inward where rounding would put it on the pixel beside.
  static double invert(const AxisScale& scale, int pixel);

  bool histogram_ = false;
  bool date_x_ = false;
  bool log_x_ = false, log_y_ = false;
  AxisScale horizontal_{0, 1, 0, 1, 0, AxisScale::Direction::Horizontal};
  AxisScale vertical_{0, 1, 0, 1, 0, AxisScale::Direction::Vertical};
  Rect area_;
};

}  // namespace zentrik
