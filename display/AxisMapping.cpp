#include "display/AxisMapping.h"

#include <algorithm>
#include <cmath>

#include "display/RenderSteps.h"

namespace zentrik {
namespace {

using Direction = AxisScale::Direction;

int clamped(int position) {
  return std::clamp(position, -render_steps::kPositionLimit, render_steps::kPositionLimit);
}

// Parts of a pixel's width by which a value is moved into its pixel: from a few
// rounding errors up to a sixteenth of the pixel.
constexpr double kPixelParts[] = {0x1p-40, 0x1p-30, 0x1p-20, 0x1p-10, 0x1p-4};

}  // namespace

AxisMapping::AxisMapping(const RenderLayout& layout, const PlotWindow& window) {
  const PlotDefinition& definition = window.definition;
  histogram_ = definition.xy_or_histo != 0;
  date_x_ = !histogram_ && definition.log_x == 2;
  log_x_ = !histogram_ && definition.log_x == 1;
  log_y_ = !histogram_ && definition.log_y == 1;
  const int plot_width = layout.width - layout.left;
  // The same axes as the renderer's, built from the same numbers, so that every
  // position computed here is the one it drew.
  if (histogram_) {
    horizontal_ = AxisScale(window.plot_y_min, window.plot_y_max, layout.left, plot_width, layout.x_margin,
                            Direction::Horizontal);
    const int counts_height = layout.height - layout.bottom_reserve - layout.Q - layout.top;
    vertical_ = AxisScale(0, std::max(window.largest_bin_count, 1), layout.top, counts_height, layout.y_margin,
                          Direction::HistogramCounts);
  } else {
    horizontal_ = AxisScale(window.plot_x_min, window.plot_x_max, layout.left, plot_width, layout.x_margin,
                            Direction::Horizontal, log_x_);
    const int plot_height = layout.height - layout.bottom_reserve - layout.top;
    vertical_ = AxisScale(window.plot_y_min, window.plot_y_max, layout.top, plot_height, layout.y_margin,
                          Direction::Vertical, log_y_);
  }
  area_ = {layout.left, layout.top, layout.width, layout.bottom};
}

double AxisMapping::invert(const AxisScale& scale, int pixel) {
  const double value = scale.from_pixel(pixel);
  if (!std::isfinite(value) || scale.to_pixel(value) == pixel) return value;
  // The formula gives the pixel's edge, which rounding may leave on the pixel beside
  // it: step into the pixel by ever larger parts of its width until it is reached.
  const double width = std::fabs(scale.from_pixel(pixel + 1) - value);
  for (double part : kPixelParts)
    for (double sign : {1.0, -1.0}) {
      const double moved = value + sign * part * width;
      if (std::isfinite(moved) && scale.to_pixel(moved) == pixel) return moved;
    }
  return value;  // the range is too fine for this pixel to have a value of its own
}

double AxisMapping::value_at_x(int px) const { return invert(horizontal_, px); }

double AxisMapping::value_at_y(int py) const { return invert(vertical_, py); }

// A value of 0 or below has no place on a log axis; like the renderer, it lies far
// off at the low end.
int AxisMapping::x_of(double value) const {
  if (log_x_ && !(value > 0)) return -render_steps::kPositionLimit;
  return clamped(horizontal_.to_pixel(value));
}

int AxisMapping::y_of(double value) const {
  if (log_y_ && !(value > 0)) return render_steps::kPositionLimit;
  return clamped(vertical_.to_pixel(value));
}

}  // namespace zentrik
