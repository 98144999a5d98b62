#include "plot/Statistics.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <span>

#include "data/DataFile.h"
#include "data/fields/NumberText.h"
#include "formula/Format.h"

namespace zentrik {
namespace {

constexpr int kColumnGap = 20;  // pixels between the legend and the columns, and between columns

// The Y formulas of the plot: every formula after the X formula.
std::span<Formula> y_formulas(PlotDefinition& definition) {
  std::span<Formula> all = definition.formulas;
  return all.empty() ? all : all.subspan(1);
}
std::span<const Formula> y_formulas(const PlotDefinition& definition) {
  std::span<const Formula> all = definition.formulas;
  return all.empty() ? all : all.subspan(1);
}

// Calls visit(x, value) for each point of the formula that the scaling pass counted,
// in line order: up to the first value that was too big. The in-range flags of
// excluded lines are stale (scaling skips those lines), so the line's own state decides.
template <typename Visit>
void for_each_counted_point(const DataFile* data, const Formula& formula, Visit visit) {
  if (!data || !formula.points) return;
  const std::size_t size = formula.points->size();
  const PointColumns::View points = formula.points->view();
  data->for_each_included([&](std::size_t position) {
    if (position >= size) return false;  // lines come in position order
    if (!points.valid(position) || !points.in_range(position)) return true;
    if (std::fabs(points.value(position)) > kTooBig) return false;
    visit(points.x(position), points.value(position));
    return true;
  });
}

// A sum that carries its rounding error along (Neumaier's form of Kahan summation), so
// that its error does not grow with the number of terms.
class CompensatedSum {
 public:
  void add(double term) {
    const double total = sum_ + term;
    error_ += std::fabs(sum_) >= std::fabs(term) ? (sum_ - total) + term : (term - total) + sum_;
    sum_ = total;
  }
  double value() const { return sum_ + error_; }

 private:
  double sum_ = 0;
  double error_ = 0;
};

// The second moments of points around their means, taken from their deviations from a
// centre near the means. A value near the centre differs from it exactly, so no digit
// is lost to how far the values lie from zero; and the centre's own error cancels out,
// as sum (a - c)(b - d) - sum (a - c) * sum (b - d) / n equals
// sum (a - mean a)(b - mean b) for every c and d.
class Moments {
 public:
  Moments(double centre_x, double centre_y) : centre_x_(centre_x), centre_y_(centre_y) {}

  void add(double x, double y) {
    const double dx = x - centre_x_;
    const double dy = y - centre_y_;
    count_ += 1;
    x_.add(dx);
    y_.add(dy);
    xx_.add(dx * dx);
    xy_.add(dx * dy);
    yy_.add(dy * dy);
  }

  // The same for y alone, where no slope is wanted: yy() holds, xx() and xy() are 0.
  void add_y(double y) {
    const double dy = y - centre_y_;
    count_ += 1;
    y_.add(dy);
    yy_.add(dy * dy);
  }

  // The sums of (x - mean x)^2, (x - mean x)(y - mean y) and (y - mean y)^2.
  double xx() const { return comoment(xx_, x_, x_); }
  double xy() const { return comoment(xy_, x_, y_); }
  double yy() const { return comoment(yy_, y_, y_); }

 private:
  double comoment(const CompensatedSum& ab, const CompensatedSum& a, const CompensatedSum& b) const {
    if (count_ == 0) return 0;
    return ab.value() - a.value() * b.value() / count_;
  }

  double centre_x_, centre_y_;
  double count_ = 0;
  CompensatedSum x_, y_, xx_, xy_, yy_;
};

// The population standard deviation and, where asked, the means and the slope, from
// one walk over the counted points. The deviation needs values that are not too big.
void finish_formula(const DataFile* data, Formula& formula, bool deviation, bool regression) {
  FormulaStatistics& stats = formula.statistics;
  const double n = stats.quantity;
  deviation = deviation && !stats.too_big && n > 0;
  regression = regression && n > 1;
  if (!deviation && !regression) return;
  if (regression) {
    stats.mean_x = stats.x_sum / n;
    stats.mean_y = stats.regression_y_sum / n;
  }
  // y_sum is already the mean wherever the deviation is wanted.
  Moments moments(stats.mean_x, regression ? stats.mean_y : stats.y_sum);
  if (regression)
    for_each_counted_point(data, formula, [&](double x, double value) { moments.add(x, value); });
  else
    for_each_counted_point(data, formula, [&](double, double value) { moments.add_y(value); });
  if (deviation) stats.deviation = std::sqrt(std::max(0.0, moments.yy()) / n);
  if (!regression) return;
  if (stats.x_max == stats.x_min)
    stats.slope = kInfiniteSlope;
  else if (const double xx = moments.xx(); xx > 0)
    stats.slope = moments.xy() / xx;
}

bool line_drawn(const FormulaStatistics& stats) {
  return stats.quantity > 1 && stats.x_min != stats.x_max;
}

int excluded_line_count(const DataFile* data) {
  return data ? data->loaded_count() - data->included_count() : 0;
}

std::string legend_text(const Formula& formula) {
  return " = " + (formula.description.empty() ? formula.text() : formula.description);
}

// A table value: "%G" with the Y scale-mark precision, exponent as printf writes it.
std::string y_text(const PlotDefinition& definition, double value) {
  return format_g(value, definition.y_tickprec, true);
}

// The single point's Y in the quantity cell, written as a scale-mark label.
std::string y_label_text(const PlotDefinition& definition, double value) {
  return formatValue(value, definition.y_tickprec, false, 0, 0, "");
}

// An X value as the X axis labels it: a date on a date axis.
std::string x_text(const PlotWindow& window, double value) {
  const PlotDefinition& definition = window.definition;
  return formatValue(value, definition.x_tickprec, definition.log_x == 2, window.plot_x_min,
                     window.plot_x_max, definition.date_format);
}

std::string slope_text(const PlotDefinition& definition, const FormulaStatistics& stats) {
  if (stats.quantity <= 1) return "NA";
  if (stats.slope == kInfiniteSlope) return "INF";
  return y_text(definition, stats.slope);
}

std::string quantity_text(const PlotWindow& window, const FormulaStatistics& stats) {
  std::string text = y_text(window.definition, stats.quantity);
  if (stats.quantity == 1)
    text += " (" + x_text(window, stats.first_x) + ", " + y_label_text(window.definition, stats.first_y) +
            ")";
  if (stats.ignored != 0) {
    char ignored[48];
    std::snprintf(ignored, sizeof ignored, " (%ld ignored)", static_cast<long>(stats.ignored));
    text += ignored;
  }
  return text;
}

// The one text shown instead of a formula's statistics, or "" when they can be given.
std::string unavailable_text(const Formula& formula) {
  if (!formula.enabled) return "DISABLED";
  if (formula.statistics.too_big) return "Values too big";
  if (formula.statistics.quantity == 0) return "No points on plot";
  return "";
}

std::vector<std::string> statistics_cells(const PlotWindow& window, const Formula& formula,
                                          bool with_slope) {
  std::size_t column_count = with_slope ? 6 : 5;
  std::string unavailable = unavailable_text(formula);
  if (!unavailable.empty()) {
    std::vector<std::string> cells(column_count);
    cells[0] = std::move(unavailable);
    return cells;
  }
  const PlotDefinition& definition = window.definition;
  const FormulaStatistics& stats = formula.statistics;
  std::vector<std::string> cells = {y_text(definition, stats.y_min), y_text(definition, stats.y_sum),
                                    y_text(definition, stats.y_max),
                                    y_text(definition, stats.deviation)};
  if (with_slope) cells.push_back(slope_text(definition, stats));
  cells.push_back(quantity_text(window, stats));
  return cells;
}

std::vector<StatisticsColumn> statistics_columns(const PlotWindow& window, bool with_slope) {
  std::vector<StatisticsColumn> columns = {{"Min"}, {"Mean"}, {"Max"}, {"Std Dev"}};
  if (with_slope) columns.push_back({"Slope"});
  columns.push_back({quantity_header(excluded_line_count(window.data))});
  return columns;
}

// Widths from the headers and cells; column 1 after the legend, each further one a
// gap after the one before.
void place_columns(StatisticsBox& box, const std::function<int(std::string_view)>& text_width) {
  for (std::size_t c = 0; c < box.columns.size(); ++c) {
    StatisticsColumn& column = box.columns[c];
    column.width = text_width(column.header);
    for (const StatisticsRow& row : box.rows) column.width = std::max(column.width, text_width(row.cells[c]));
  }
  int start = box.legend_text_x + kColumnGap + box.legend_width;
  for (StatisticsColumn& column : box.columns) {
    column.start = start;
    start += column.width + kColumnGap;
  }
}

}  // namespace

bool regression_applies(const PlotWindow& window) {
  const PlotDefinition& definition = window.definition;
  return definition.xy_or_histo == 0 && window.regress && definition.log_x != 1 &&
         definition.log_y == 0;
}

void finish_statistics(PlotWindow& window) { finish_statistics(window, window.showstats != 0); }

void form_mean(FormulaStatistics& stats) {
  if (stats.quantity > 0 && !stats.too_big) stats.y_sum /= stats.quantity;
}

void finish_statistics(PlotWindow& window, bool deviations) {
  const bool regression = regression_applies(window);
  for (Formula& formula : y_formulas(window.definition)) {
    if (!formula.enabled || !formula.changed) continue;
    finish_formula(window.data, formula, deviations, regression);
    formula.changed = 0;
  }
}

std::pair<double, double> regression_line_x_ends(const PlotWindow& window,
                                                 double horizontal_scale) {
  double margin = window.definition.x_margin / horizontal_scale;
  return {window.plot_x_min - margin, window.plot_x_max + margin};
}

std::optional<std::pair<double, double>> regression_line_y(const PlotWindow& window,
                                                           const Formula& formula,
                                                           double x_from, double x_to) {
  const FormulaStatistics& stats = formula.statistics;
  if (!regression_applies(window) || !line_drawn(stats)) return std::nullopt;
  auto y_at = [&](double x) { return (x - stats.mean_x) * stats.slope + stats.mean_y; };
  return std::pair{y_at(x_from), y_at(x_to)};
}

std::string quantity_header(int excluded_lines) {
  if (excluded_lines <= 0) return "Qty";
  return "Qty   (" + std::to_string(excluded_lines) + (excluded_lines == 1 ? " Line" : " Lines") +
         " Excluded)";
}

StatisticsBox build_statistics_box(const PlotWindow& window, int u,
                                   const std::function<int(std::string_view)>& text_width) {
  const PlotDefinition& definition = window.definition;
  const bool histogram = definition.xy_or_histo != 0;
  const bool with_slope = regression_applies(window);
  StatisticsBox box;
  box.statistics_shown = window.showstats != 0;
  box.legend_text_x = 5 * u;
  for (const Formula& formula : y_formulas(definition)) {
    StatisticsRow row;
    row.legend = legend_text(formula);
    row.legend_line = formula.draw_lines || histogram;
    row.legend_points = formula.draw_points && !histogram;
    if (box.statistics_shown) row.cells = statistics_cells(window, formula, with_slope);
    box.legend_width = std::max(box.legend_width, text_width(row.legend));
    box.rows.push_back(std::move(row));
  }
  if (box.statistics_shown) {
    box.columns = statistics_columns(window, with_slope);
    place_columns(box, text_width);
  }
  return box;
}

int row_line_y(const BandMetrics& band, int row, bool statistics_shown) {
  const int top = band.plot_bottom + 4 + band.axis_label_height + band.scale_mark_height;
  const int L = band.row_height;
  if (row == 0) return top + L / 2;
  const int h = statistics_shown ? 1 : 0;
  return top + (row + h) * L - L / 2;
}

int row_text_bottom(const BandMetrics& band, int row, bool statistics_shown) {
  return row_line_y(band, row, statistics_shown) + band.scale_mark_height / 2;
}

}  // namespace zentrik
