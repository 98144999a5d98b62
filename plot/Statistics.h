// The statistics of a plot's Y formulas once the scaling pass has collected their
// sums: the standard deviation, the least-squares regression line of Y on X, and
// the legend and statistics table under the plot laid out as data for the renderer.
#pragma once

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "plot/Formula.h"
#include "plot/PlotWindow.h"

namespace zentrik {

// Beyond this size a Y value stops its formula's statistics: the squares could only
// overflow.
inline constexpr double kTooBig = 1.5e150;

// The slope of a formula whose counted points all share one X; shown as "INF".
inline constexpr double kInfiniteSlope = 1.11e300;

// Whether the plot has regression lines and a slope column: an X-Y plot with
// regression lines switched on, an X axis that is not logarithmic (dates are
// fine) and a linear Y axis.
bool regression_applies(const PlotWindow& window);

// Counts one on-plot point of a formula in the scaling pass: its Y into the range and
// the sum, and with regression lines its X and Y into the regression sums. A Y beyond
// 1.5e150 stops the formula's statistics.
inline void count_point(FormulaStatistics& stats, double x, double y, bool regression) {
  if (stats.too_big) return;
  if (std::fabs(y) > kTooBig) {
    stats.too_big = true;
    return;
  }
  if (stats.quantity == 0) {
    stats.first_x = x;
    stats.first_y = y;
  }
  stats.y_max = std::max(stats.y_max, y);
  stats.y_min = std::min(stats.y_min, y);
  stats.y_sum += y;
  stats.quantity += 1;
  if (!regression) return;
  stats.x_sum += x;
  stats.regression_y_sum += y;
  stats.x_min = std::min(stats.x_min, x);
  stats.x_max = std::max(stats.x_max, x);
}
// The end of the scaling pass: the sum of Y becomes the mean.
void form_mean(FormulaStatistics& stats);

// Finishes every enabled Y formula whose `changed` flag is set, then clears the flag:
// with statistics shown (or deviations asked for), the standard deviation; where
// regression applies and more than one point counts, the means of X and Y and the
// slope. Expects the scaling pass to have run: the sums collected, and y_sum already
// turned into the mean wherever the quantity is above 0 and the values not too big.
// Both are taken from the counted points' deviations from those means, so that values
// far from zero (dates near 1.7e9 seconds, readings with a large offset) keep their
// digits.
void finish_statistics(PlotWindow& window);
void finish_statistics(PlotWindow& window, bool deviations);

// The X values at the left and right borders of the plot area: the plot's X range
// widened by the X margin, with horizontal_scale in pixels per unit of X.
std::pair<double, double> regression_line_x_ends(const PlotWindow& window,
                                                 double horizontal_scale);

// Y of the formula's regression line at x_from and x_to, when the line is drawn:
// regression applies, more than one point counts and their X values differ.
std::optional<std::pair<double, double>> regression_line_y(const PlotWindow& window,
                                                           const Formula& formula,
                                                           double x_from, double x_to);

// One column of the statistics table: its header and where it stands.
struct StatisticsColumn {
  std::string header;
  int width = 0;  // the widest of its header and cells
  int start = 0;  // x of its left edge
};

// One row of the legend and statistics band, for one Y formula.
struct StatisticsRow {
  std::string legend;          // " = " and the description, or the text without one
  bool legend_line = false;    // a line sample in the formula's pen
  bool legend_points = false;  // the point character at both ends of the sample
  std::vector<std::string> cells;  // one per column; "" where nothing is shown
};

// The band under the plot: rows in the order of the Y formulas (row i belongs to
// the formula at list position i + 1), disabled ones included. Without statistics
// shown there are no columns and the rows carry no cells.
struct StatisticsBox {
  bool statistics_shown = false;  // a header row and the columns come first
  int legend_text_x = 0;          // 5u: where the legend texts start
  int legend_width = 0;           // the widest legend text
  std::vector<StatisticsColumn> columns;
  std::vector<StatisticsRow> rows;
};

// Lays out the band. u is half the height of "AZaq^&%p*" in the plot points font;
// text_width measures a text in the scale marks font.
StatisticsBox build_statistics_box(const PlotWindow& window, int u,
                                   const std::function<int(std::string_view)>& text_width);

// The header of the quantity column: "Qty", then the number of excluded data lines
// when there are any, as in "Qty   (2 Lines Excluded)".
std::string quantity_header(int excluded_lines);

// The measures that place the rows of the band, in pixels.
struct BandMetrics {
  int plot_bottom = 0;        // B: y of the horizontal axis
  int axis_label_height = 0;  // A: height of the X axis label text
  int scale_mark_height = 0;  // S: height of "09E+" in the scale marks font
  int row_height = 0;         // L: the larger of S and the plot points font's height
};

// The y of a row's line: row 0 is the header, row r the r-th Y formula.
int row_line_y(const BandMetrics& band, int row, bool statistics_shown);
// The bottom of a row's texts: half a scale-mark height below its line.
int row_text_bottom(const BandMetrics& band, int row, bool statistics_shown);

}  // namespace zentrik
