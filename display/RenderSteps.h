// Inside render(): the Renderer walks the drawing steps in their order, one member
// function per step. Render.cpp holds the layout, background, axes and clipping;
// RenderMarks.cpp the scale marks, label crowding and axis labels; RenderBand.cpp
// the legend and statistics band; RenderFormulas.cpp the points, lines, histogram
// outlines, regression lines, quantities and zoom box. Nothing here is for callers
// of render().
#pragma once

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "display/LastCharacters.h"
#include "display/Render.h"
#include "plot/AxisScale.h"

namespace zentrik::render_steps {

// Far-off positions stop here so that they stay within the surface's coordinates.
inline constexpr int kPositionLimit = 16000;

// One axis as drawn: its range (in logarithms on a log axis) over its pixels.
class AxisMap {
 public:
  AxisMap() = default;
  // lo and hi are values; on a log axis their logarithms are taken here.
  AxisMap(double lo, double hi, bool logarithmic, int origin, int extent, int margin,
          AxisScale::Direction direction);

  double lo() const { return lo_; }
  double hi() const { return hi_; }
  bool logarithmic() const { return logarithmic_; }
  // Whether the range can be drawn: finite, with lo below hi.
  bool usable() const;
  // The pixel of a data value, clamped to -16000 .. 16000. Inline: a curve of
  // millions of points maps each of them.
  int value_position(double value) const {
    // a value of 0 or below cannot reach a log axis; should one come, it lies far off
    const double mark = logarithmic_ ? (value > 0 ? std::log10(value) : -HUGE_VAL) : value;
    return scale_.to_pixel_within(mark, kPositionLimit);
  }
  // The pixel of a scale mark (a logarithm on a log axis).
  int mark_position(double mark) const;

 private:
  double lo_ = 0, hi_ = 0;
  bool logarithmic_ = false;
  AxisScale scale_{0, 1, 0, 1, 0, AxisScale::Direction::Horizontal};
};

Pen formula_pen(const Formula& formula);
// The colour of a formula's point characters.
uint32_t point_color(const Formula& formula);

class Renderer {
 public:
  Renderer(Surface& surface, int width, int height, PlotWindow& window, const RenderOptions& options,
           PaintMemory& memory);
  RenderResult run();

 private:
  bool histogram() const { return definition_.xy_or_histo != 0; }
  bool screen() const { return options_.mode == OutputMode::Screen; }
  bool zoomed() const { return !window_.auto_scaled; }
  const Formula& x_formula() const { return definition_.formulas.front(); }
  const Formula& first_y_formula() const { return definition_.formulas[1]; }

  // Render.cpp
  std::string title_text() const;
  std::string horizontal_axis_label() const;
  std::string vertical_axis_label() const;
  void measure();
  int quantity_band();
  void draw_title();
  void set_scales();
  void fill_background();
  void draw_axes();
  void clip_to_plot_area();

  // RenderMarks.cpp
  void draw_vertical_marks();
  void draw_horizontal_marks();
  std::string vertical_label(double mark) const;
  std::string horizontal_label(double mark) const;
  void draw_axis_labels();

  // RenderBand.cpp
  void draw_band();
  void draw_band_row(const StatisticsBox& box, std::size_t row);

  // RenderFormulas.cpp
  void count_points();
  void draw_formulas();
  void draw_xy_formula(const Formula& formula);
  bool characters_repeat(const Formula& formula) const;
  std::optional<LastCharacters> last_characters(const Formula& formula) const;
  void draw_histogram_bins(const Formula& formula);
  void draw_regression_line(const Formula& formula);
  void draw_quantities();
  void draw_zoom_box();

  Surface& surface_;
  PlotWindow& window_;
  PlotDefinition& definition_;
  const RenderOptions& options_;
  PaintMemory& memory_;
  RenderResult result_;
  RenderLayout& layout_;
  AxisMap horizontal_, vertical_;
  bool drawable_ = false;  // both ranges usable: marks and formulas are drawn
  bool keep_first_label_clear_ = false;  // the vertical labels reach below the horizontal axis
  std::vector<unsigned long> quantities_;
};

}  // namespace zentrik::render_steps
