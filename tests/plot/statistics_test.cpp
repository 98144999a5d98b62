#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "TimeZone.h"
#include "data/DataFile.h"
#include "plot/Statistics.h"

namespace zentrik {
namespace {

// A plot over a data set of `lines` lines, with Y formulas whose points are set by
// hand and whose sums are collected as the scaling pass collects them.
class Plot {
 public:
  explicit Plot(int lines) : data_("test.dat") {
    std::string text;
    for (int k = 1; k <= lines; ++k) text += std::to_string(k) + "\n";
    data_.store_text(text);
    window.data = &data_;
    window.definition.formulas.emplace_back("L");
  }

  // A Y formula with a valid point (x, y) on each of the first lines; returns its
  // position in the formula list.
  std::size_t add_y(const std::vector<std::pair<double, double>>& points,
                    std::string text = "C2") {
    Formula formula(std::move(text));
    formula.points = std::make_shared<PointColumns>(data_.loaded_count() + 1);
    formula.points->keep_own_x();
    for (std::size_t k = 0; k < points.size(); ++k) {
      formula.points->set_x(k + 1, points[k].first);
      formula.points->set_value(k + 1, points[k].second);
      formula.points->set_valid(k + 1, true);
    }
    window.definition.formulas.push_back(std::move(formula));
    return window.definition.formulas.size() - 1;
  }
  // Values on the first lines, each at X = its line number.
  std::size_t add_values(const std::vector<double>& values, std::string text = "C2") {
    std::vector<std::pair<double, double>> points;
    for (std::size_t k = 0; k < values.size(); ++k) points.emplace_back(double(k + 1), values[k]);
    return add_y(points, std::move(text));
  }

  Formula& formula(std::size_t position) { return window.definition.formulas[position]; }
  PointColumns& points(std::size_t position) { return *formula(position).points; }
  void exclude(int line) { data_.set_included(line, false); }

  // What the scaling pass does for the statistics: on-plot flags inside [y_lo, y_hi],
  // the points of included lines counted, then the means.
  void scale() {
    const bool regress = window.regress != 0;
    for (std::size_t f = 1; f < window.definition.formulas.size(); ++f) {
      Formula& y = formula(f);
      if (!y.enabled) continue;
      FormulaStatistics& s = y.statistics;
      s.reset();
      for (int line = 1; line <= data_.loaded_count(); ++line) {
        if (!data_.line(line).included()) continue;
        PointColumns& p = *y.points;
        const auto i = static_cast<std::size_t>(line);
        p.set_in_range(i, p.valid(i) && p.value(i) >= y_lo && p.value(i) <= y_hi);
        if (p.in_range(i)) count_point(s, p.x(i), p.value(i), regress);
      }
      form_mean(s);
      y.changed = 1;
    }
  }

  PlotWindow window;
  double y_lo = -1e300, y_hi = 1e300;

 private:
  DataFile data_;
};

// Seven pixels per character.
int seven_per_char(std::string_view text) { return 7 * static_cast<int>(text.size()); }

std::vector<std::string> headers(const StatisticsBox& box) {
  std::vector<std::string> result;
  for (const StatisticsColumn& column : box.columns) result.push_back(column.header);
  return result;
}

// --- the deviation ---

TEST(FinishStatistics, GivesThePopulationStandardDeviation) {
  struct Case {
    std::vector<double> values;
    double mean, deviation;
  } cases[] = {
      {{2, 4, 4, 4, 5, 5, 7, 9}, 5, 2},  // not the sample form's 2.138
      {{3}, 3, 0},
      {{1, 3}, 2, 1},
      {{-1e10, 1e10}, 0, 1e10},
  };
  for (const auto& c : cases) {
    Plot plot(10);
    std::size_t f = plot.add_values(c.values);
    plot.scale();
    finish_statistics(plot.window);
    const FormulaStatistics& s = plot.formula(f).statistics;
    EXPECT_DOUBLE_EQ(s.y_sum, c.mean) << c.values.size();
    EXPECT_DOUBLE_EQ(s.deviation, c.deviation) << c.values.size();
    EXPECT_EQ(plot.formula(f).changed, 0);
  }
}

TEST(FinishStatistics, CountsOnlyValidOnPlotPointsOfIncludedLines) {
  Plot plot(12);
  std::size_t f = plot.add_values({2, 4, 4, 4, 5, 5, 7, 9, 100, 200, -50});
  plot.y_hi = 150;
  plot.exclude(9);                   // 100, inside the range
  plot.points(f).set_valid(10, false);   // 200: an error or an ignored point
  plot.points(f).set_value(11, 1000);    // off the plot
  plot.scale();
  plot.points(f).set_in_range(9, true);  // a stale flag: scaling does not visit excluded lines
  plot.points(f).set_in_range(10, true);
  finish_statistics(plot.window);
  // line 12 has no valid point, so lines 1 to 8 remain
  const FormulaStatistics& s = plot.formula(f).statistics;
  ASSERT_EQ(s.quantity, 8);
  EXPECT_DOUBLE_EQ(s.deviation, 2);
  EXPECT_EQ(s.first_x, 1);
  EXPECT_EQ(s.first_y, 2);
}

TEST(FinishStatistics, RecordsTheFirstCountedPoint) {
  Plot plot(5);
  std::size_t f = plot.add_y({{10, 1}, {20, 2}, {30, 3}});
  plot.exclude(1);
  plot.points(f).set_valid(2, false);
  plot.scale();
  finish_statistics(plot.window);
  EXPECT_EQ(plot.formula(f).statistics.first_x, 30);
  EXPECT_EQ(plot.formula(f).statistics.first_y, 3);
}

TEST(FinishStatistics, LeavesFormulasAloneThatNeedNothing) {
  Plot plot(5);
  std::size_t unchanged = plot.add_values({1, 3});
  std::size_t disabled = plot.add_values({1, 3});
  std::size_t too_big = plot.add_values({1, 2e150, 3});
  plot.scale();
  plot.formula(unchanged).changed = 0;
  plot.formula(disabled).enabled = 0;
  plot.formula(disabled).changed = 1;
  ASSERT_TRUE(plot.formula(too_big).statistics.too_big);
  finish_statistics(plot.window);
  EXPECT_EQ(plot.formula(unchanged).statistics.deviation, 0);
  EXPECT_EQ(plot.formula(disabled).statistics.deviation, 0);
  EXPECT_EQ(plot.formula(disabled).changed, 1);
  EXPECT_EQ(plot.formula(too_big).statistics.deviation, 0);
  EXPECT_EQ(plot.formula(too_big).changed, 0);
}

TEST(FinishStatistics, WithoutStatisticsShownOnlyTheRegressionIsFinished) {
  Plot plot(5);
  plot.window.showstats = 0;
  plot.window.regress = 1;
  std::size_t f = plot.add_y({{1, 2}, {2, 4}, {3, 6}});
  plot.scale();
  finish_statistics(plot.window);
  EXPECT_EQ(plot.formula(f).statistics.deviation, 0);
  EXPECT_DOUBLE_EQ(plot.formula(f).statistics.slope, 2);
  EXPECT_EQ(plot.formula(f).changed, 0);
}

// --- the regression ---

TEST(Regression, FitsALeastSquaresLineThroughTheMeans) {
  struct Case {
    std::vector<std::pair<double, double>> points;
    double mean_x, mean_y, slope;
  } cases[] = {
      {{{1, 2}, {2, 4}, {3, 6}}, 2, 4, 2},
      {{{0, 1}, {1, 1}, {2, 1}}, 1, 1, 0},
      {{{1, 3}, {2, 2}, {3, 1}}, 2, 2, -1},
      {{{0, 0}, {1, 1}, {2, 1}, {3, 3}}, 1.5, 1.25, 0.9},
      {{{5, 7}, {6, 9}}, 5.5, 8, 2},
  };
  for (const auto& c : cases) {
    Plot plot(6);
    plot.window.regress = 1;
    std::size_t f = plot.add_y(c.points);
    plot.scale();
    finish_statistics(plot.window);
    const FormulaStatistics& s = plot.formula(f).statistics;
    EXPECT_DOUBLE_EQ(s.mean_x, c.mean_x) << c.points.size();
    EXPECT_DOUBLE_EQ(s.mean_y, c.mean_y) << c.points.size();
    EXPECT_NEAR(s.slope, c.slope, 1e-12) << c.points.size();
    auto line = regression_line_y(plot.window, plot.formula(f), c.mean_x, c.mean_x + 2);
    ASSERT_TRUE(line) << c.points.size();
    EXPECT_NEAR(line->first, c.mean_y, 1e-12);
    EXPECT_NEAR(line->second, c.mean_y + 2 * c.slope, 1e-12);
  }
}

TEST(Regression, TheMeanOfYComesFromTheRegressionSum) {
  // The Y sum of the statistics is already a mean; the regression keeps its own.
  Plot plot(4);
  plot.window.regress = 1;
  std::size_t f = plot.add_y({{1, 2}, {2, 4}, {3, 6}});
  plot.scale();
  ASSERT_DOUBLE_EQ(plot.formula(f).statistics.regression_y_sum, 12);
  finish_statistics(plot.window);
  auto line = regression_line_y(plot.window, plot.formula(f), 1, 3);
  ASSERT_TRUE(line);
  EXPECT_DOUBLE_EQ(line->first, 2);
  EXPECT_DOUBLE_EQ(line->second, 6);
}

TEST(Regression, PointsOnOneVerticalHaveAnInfiniteSlopeAndNoLine) {
  Plot plot(4);
  plot.window.regress = 1;
  std::size_t f = plot.add_y({{2, 1}, {2, 5}, {2, 9}});
  plot.scale();
  finish_statistics(plot.window);
  EXPECT_EQ(plot.formula(f).statistics.slope, kInfiniteSlope);
  EXPECT_FALSE(regression_line_y(plot.window, plot.formula(f), 0, 10));
  StatisticsBox box = build_statistics_box(plot.window, 5, seven_per_char);
  EXPECT_EQ(box.rows[0].cells[4], "INF");
}

TEST(Regression, NeedsTwoPoints) {
  Plot plot(4);
  plot.window.regress = 1;
  std::size_t f = plot.add_y({{2, 1}});
  plot.formula(f).statistics.slope = 7;  // left from before
  plot.scale();
  finish_statistics(plot.window);
  EXPECT_EQ(plot.formula(f).statistics.slope, 0);  // reset by the scaling pass, not computed
  EXPECT_FALSE(regression_line_y(plot.window, plot.formula(f), 0, 10));
  StatisticsBox box = build_statistics_box(plot.window, 5, seven_per_char);
  EXPECT_EQ(box.rows[0].cells[4], "NA");
}

TEST(Regression, AppliesToXYPlotsWithoutLogarithmicAxes) {
  struct Case {
    int xy_or_histo, regress, log_x, log_y;
    bool applies;
  } cases[] = {
      {0, 1, 0, 0, true},  {0, 1, 2, 0, true},  // a date X axis is fine
      {0, 0, 0, 0, false}, {1, 1, 0, 0, false}, {0, 1, 1, 0, false},
      {0, 1, 0, 1, false}, {0, 1, 2, 1, false},
  };
  for (const auto& c : cases) {
    Plot plot(4);
    plot.window.definition.xy_or_histo = c.xy_or_histo;
    plot.window.regress = c.regress;
    plot.window.definition.log_x = c.log_x;
    plot.window.definition.log_y = c.log_y;
    std::size_t f = plot.add_y({{1, 2}, {2, 4}, {3, 6}});
    plot.scale();
    finish_statistics(plot.window);
    std::string label = std::to_string(c.xy_or_histo) + std::to_string(c.regress) +
                        std::to_string(c.log_x) + std::to_string(c.log_y);
    EXPECT_EQ(regression_applies(plot.window), c.applies) << label;
    EXPECT_EQ(plot.formula(f).statistics.slope, c.applies ? 2 : 0) << label;
    EXPECT_EQ(regression_line_y(plot.window, plot.formula(f), 0, 1).has_value(), c.applies)
        << label;
    StatisticsBox box = build_statistics_box(plot.window, 5, seven_per_char);
    std::vector<std::string> expected = {"Min", "Mean", "Max", "Std Dev", "Qty"};
    if (c.applies) expected.insert(expected.begin() + 4, "Slope");
    EXPECT_EQ(headers(box), expected) << label;
    EXPECT_EQ(box.rows[0].cells.size(), expected.size()) << label;
  }
}

TEST(Regression, TheLineRunsFromBorderToBorderOfThePlotArea) {
  Plot plot(1);
  plot.window.plot_x_min = 0;
  plot.window.plot_x_max = 10;
  plot.window.definition.x_margin = 10;
  auto ends = regression_line_x_ends(plot.window, 5);  // 5 pixels per unit: 2 units of margin
  EXPECT_DOUBLE_EQ(ends.first, -2);
  EXPECT_DOUBLE_EQ(ends.second, 12);
  plot.window.definition.x_margin = 0;
  ends = regression_line_x_ends(plot.window, 5);
  EXPECT_DOUBLE_EQ(ends.first, 0);
  EXPECT_DOUBLE_EQ(ends.second, 10);
}

TEST(Regression, AValueTooBigEndsThePointsTheLineIsFittedTo) {
  // The scaling pass stops counting at 1e200; the line through the first two points stays.
  Plot plot(5);
  plot.window.regress = 1;
  std::size_t f = plot.add_y({{1, 1}, {2, 2}, {3, 1e200}, {4, 10}});
  plot.scale();
  finish_statistics(plot.window);
  EXPECT_DOUBLE_EQ(plot.formula(f).statistics.slope, 1);
  EXPECT_EQ(plot.formula(f).statistics.deviation, 0);  // not shown: "Values too big"
}

// --- exactness far from zero ---

// Deterministic numbers in [0, 1): the output of mt19937_64 is fixed by the standard.
class Noise {
 public:
  explicit Noise(unsigned seed) : engine_(seed) {}
  double next() { return static_cast<double>(engine_() >> 11) * 0x1p-53; }

 private:
  std::mt19937_64 engine_;
};

using Points = std::vector<std::pair<double, double>>;

struct Fit {
  long double slope, deviation;
};

// One axis as integers: value k is (integers[k] + base) * 2^-exponent, with integers[0]
// = 0. Holds for binary fractions with fewer than 45 significant bits between them.
struct ScaledAxis {
  std::vector<__int128> integers;
  int exponent = 0;
};

ScaledAxis scaled_axis(const std::vector<double>& values) {
  ScaledAxis axis;
  for (double v : values)
    while (std::ldexp(v, axis.exponent) != std::trunc(std::ldexp(v, axis.exponent))) ++axis.exponent;
  const auto base = static_cast<__int128>(std::ldexp(values.at(0), axis.exponent));
  for (double v : values) axis.integers.push_back(static_cast<__int128>(std::ldexp(v, axis.exponent)) - base);
  return axis;
}

// The least-squares slope and the population standard deviation of Y in exact integer
// arithmetic. With fewer than 2^16 points whose integers stay below 2^44, every sum and
// product below stays under 2^120: __int128 holds them all.
Fit exact_fit(const Points& points) {
  std::vector<double> xs, ys;
  for (const auto& [x, y] : points) xs.push_back(x), ys.push_back(y);
  const ScaledAxis x = scaled_axis(xs), y = scaled_axis(ys);
  const __int128 limit = static_cast<__int128>(1) << 44;
  const auto n = static_cast<__int128>(points.size());
  EXPECT_LT(n, 1 << 16);
  __int128 sx = 0, sy = 0, sxx = 0, sxy = 0, syy = 0;
  for (std::size_t k = 0; k < points.size(); ++k) {
    const __int128 a = x.integers[k], b = y.integers[k];
    EXPECT_TRUE(a < limit && -a < limit && b < limit && -b < limit) << "too wide for __int128 at " << k;
    sx += a, sy += b, sxx += a * a, sxy += a * b, syy += b * b;
  }
  const auto numerator = static_cast<long double>(n * sxy - sx * sy);
  const auto denominator = static_cast<long double>(n * sxx - sx * sx);
  const auto variance_n2 = static_cast<long double>(n * syy - sy * sy);
  return {std::ldexp(numerator / denominator, x.exponent - y.exponent),
          std::ldexp(std::sqrt(variance_n2) / static_cast<long double>(n), -y.exponent)};
}

// What the statistics make of the points, with regression lines on or off.
Fit computed_fit(const Points& points, bool regress = true) {
  Plot plot(static_cast<int>(points.size()));
  plot.window.regress = regress;
  std::size_t f = plot.add_y(points);
  plot.scale();
  finish_statistics(plot.window);
  return {plot.formula(f).statistics.slope, plot.formula(f).statistics.deviation};
}

// The slope and deviation as plain sums gave them before: n sum xy - sum x sum y over
// n sum x^2 - (sum x)^2, and the root mean square around the mean of the plain sum.
Fit plain_sums_fit(const Points& points) {
  double n = 0, sx = 0, sy = 0, sxy = 0, sxx = 0;
  for (const auto& [x, y] : points) n += 1, sx += x, sy += y, sxy += x * y, sxx += x * x;
  double squares = 0;
  for (const auto& point : points) squares += (point.second - sy / n) * (point.second - sy / n);
  return {(n * sxy - sx * sy) / (n * sxx - sx * sx), std::sqrt(squares / n)};
}

double relative_error(long double value, long double exact) {
  return static_cast<double>(std::fabs(value - exact) / std::fabs(exact));
}

// Dates (seconds since 1970) over about four hours at irregular steps, with a Y that
// has a large offset, a trend and noise.
Points dates_over_hours(Noise& noise, int count) {
  Points points;
  double t = 0;
  for (int k = 0; k < count; ++k) {
    t += 2 + 14 * noise.next();
    points.emplace_back(1.7e9 + t, 9e6 + 0.37 * t + 40 * (noise.next() - 0.5));
  }
  return points;
}

// Readings near 1e9 that differ only in their last digits, at one X per line.
Points readings_near(double offset, Noise& noise, int count) {
  Points points;
  for (int k = 1; k <= count; ++k) points.emplace_back(k, offset + (noise.next() - 0.5) - 1e-3 * k);
  return points;
}

// Binary fractions of an ordinary size around zero.
Points ordinary(Noise& noise, int count) {
  Points points;
  for (int k = 0; k < count; ++k) {
    double x = (k - count / 3) + std::floor(noise.next() * 1024) / 1024;
    points.emplace_back(x, 3 - 0.25 * x + std::floor(noise.next() * 0x1p20) / 0x1p16);
  }
  return points;
}

TEST(Exactness, SlopeAndDeviationKeepTheirDigitsFarFromZero) {
  Noise noise(20240611);
  struct Case {
    const char* name;
    Points points;
  } cases[] = {
      {"dates", dates_over_hours(noise, 1600)},
      {"few dates", dates_over_hours(noise, 3)},
      {"offset readings", readings_near(1e9, noise, 2000)},
      {"ordinary", ordinary(noise, 500)},
  };
  for (const auto& c : cases) {
    const Fit exact = exact_fit(c.points);
    const Fit fit = computed_fit(c.points);
    EXPECT_LT(relative_error(fit.slope, exact.slope), 1e-12) << c.name;
    EXPECT_LT(relative_error(fit.deviation, exact.deviation), 1e-12) << c.name;
    EXPECT_EQ(computed_fit(c.points, false).deviation, fit.deviation) << c.name;
  }
}

TEST(Exactness, OrdinaryDataGivesWhatPlainSumsGave) {
  Noise noise(7);
  Points decimals, integers, mixed;
  for (int k = 1; k <= 300; ++k) decimals.emplace_back(0.1 * k, 2.5 + 0.3 * k + noise.next());
  for (int k = 1; k <= 200; ++k) integers.emplace_back(k, (k * 37) % 101);
  for (int k = -200; k <= 200; ++k) mixed.emplace_back(0.25 * k, -2 * k + 10 * noise.next() - 5);
  const Points cases[] = {decimals, integers, mixed, {{1, 2}, {2, 4}, {4, 5}}, {{-3, 0.5}, {7, -1.5}}};
  for (const Points& points : cases) {
    const Fit plain = plain_sums_fit(points);
    const Fit fit = computed_fit(points);
    EXPECT_LT(relative_error(fit.slope, plain.slope), 1e-13) << points.size();
    EXPECT_LT(relative_error(fit.deviation, plain.deviation), 1e-13) << points.size();
  }
}

// --- the statistics box: texts ---

TEST(StatisticsBox, RowsShowTheStatisticsAtTheYPrecision) {
  Plot plot(10);
  plot.window.regress = 1;
  plot.add_values({2, 4, 4, 4, 5, 5, 7, 9});
  plot.add_y({{1, 2}, {2, 4}, {3, 6}}, "C3");
  std::size_t fine = plot.add_values({1.23456, 2.5});
  plot.scale();
  finish_statistics(plot.window);
  StatisticsBox box = build_statistics_box(plot.window, 5, seven_per_char);
  ASSERT_TRUE(box.statistics_shown);
  ASSERT_EQ(box.rows.size(), 3u);
  EXPECT_EQ(box.rows[0].cells, (std::vector<std::string>{"2", "5", "9", "2", "0.80952", "8"}));
  EXPECT_EQ(box.rows[1].cells, (std::vector<std::string>{"2", "4", "6", "1.633", "2", "3"}));
  EXPECT_EQ(box.rows[2].cells,
            (std::vector<std::string>{"1.2346", "1.8673", "2.5", "0.63272", "1.2654", "2"}));

  plot.window.definition.y_tickprec = 2;
  plot.formula(fine).statistics.quantity = 123456;  // the quantity takes the precision too
  box = build_statistics_box(plot.window, 5, seven_per_char);
  EXPECT_EQ(box.rows[2].cells,
            (std::vector<std::string>{"1.2", "1.9", "2.5", "0.63", "1.3", "1.2E+05"}));  // printf's exponent
}

TEST(StatisticsBox, TheQuantityCellNamesASinglePointAndIgnoredPoints) {
  testing::ScopedTimeZone utc("UTC");
  struct Case {
    int log_x;
    int x_tickprec, y_tickprec;
    double x, y;
    int ignored;
    const char* cell;
  } cases[] = {
      {0, 5, 5, 3, 7, 0, "1 (3, 7)"},
      {0, 3, 4, 1.23456, 9.87654, 0, "1 (1.23, 9.877)"},
      {1, 5, 5, 1000, 2e-5, 0, "1 (1000, 2E-5)"},
      {2, 5, 5, 86400 * 365, 4, 0, "1 (1971-01-01, 4)"},
      {0, 5, 5, 3, 7, 1, "1 (3, 7) (1 ignored)"},
  };
  for (const auto& c : cases) {
    Plot plot(3);
    plot.window.definition.log_x = c.log_x;
    plot.window.definition.date_format = "%Y-%m-%d";
    plot.window.definition.x_tickprec = c.x_tickprec;
    plot.window.definition.y_tickprec = c.y_tickprec;
    std::size_t f = plot.add_y({{c.x, c.y}});
    plot.scale();
    plot.formula(f).statistics.ignored = c.ignored;
    finish_statistics(plot.window);
    StatisticsBox box = build_statistics_box(plot.window, 5, seven_per_char);
    EXPECT_EQ(box.rows[0].cells.back(), c.cell);
  }

  Plot several(5);
  std::size_t f = several.add_values({1, 2, 3});
  several.scale();
  several.formula(f).statistics.ignored = 12;
  finish_statistics(several.window);
  EXPECT_EQ(build_statistics_box(several.window, 5, seven_per_char).rows[0].cells.back(),
            "3 (12 ignored)");
}

TEST(StatisticsBox, ADateSinglePointIsLabelledWithThePlotsXRange) {
  testing::ScopedTimeZone utc("UTC");
  Plot plot(3);
  plot.window.definition.log_x = 2;  // no date format: the form follows the X range
  const double noon = 86400 * 10 + 43200;
  std::size_t f = plot.add_y({{noon, 1}});
  plot.scale();
  finish_statistics(plot.window);
  plot.window.plot_x_min = noon - 3600;
  plot.window.plot_x_max = noon + 3600;
  EXPECT_EQ(build_statistics_box(plot.window, 5, seven_per_char).rows[0].cells.back(),
            "1 (12:00, 1)");
  plot.window.plot_x_max = noon + 86400 * 5;
  EXPECT_EQ(build_statistics_box(plot.window, 5, seven_per_char).rows[0].cells.back(),
            "1 (11/1/70, 1)");
  (void)f;
}

TEST(StatisticsBox, FormulasWithoutStatisticsShowOneText) {
  Plot plot(5);
  plot.window.regress = 1;
  std::size_t disabled = plot.add_values({1, 2, 3});
  std::size_t too_big = plot.add_values({1, 2e150, 3});
  std::size_t off_plot = plot.add_values({-500, -600});
  std::size_t disabled_too_big = plot.add_values({2e150});
  plot.y_lo = -100;
  plot.scale();
  plot.formula(disabled).enabled = 0;
  plot.formula(disabled_too_big).enabled = 0;
  plot.formula(disabled_too_big).statistics.too_big = true;
  finish_statistics(plot.window);
  StatisticsBox box = build_statistics_box(plot.window, 5, seven_per_char);
  const char* expected[] = {"DISABLED", "Values too big", "No points on plot", "DISABLED"};
  ASSERT_EQ(box.rows.size(), 4u);
  for (std::size_t r = 0; r < 4; ++r) {
    EXPECT_EQ(box.rows[r].cells,
              (std::vector<std::string>{expected[r], "", "", "", "", ""}))
        << r;
  }
  (void)too_big;
  (void)off_plot;
}

TEST(StatisticsBox, TheQuantityHeaderCountsExcludedLines) {
  struct Case {
    std::vector<int> excluded;
    const char* header;
  } cases[] = {
      {{}, "Qty"},
      {{2}, "Qty   (1 Line Excluded)"},
      {{1, 3}, "Qty   (2 Lines Excluded)"},
      {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, "Qty   (11 Lines Excluded)"},
  };
  for (const auto& c : cases) {
    Plot plot(12);
    plot.add_values({1, 2});
    for (int line : c.excluded) plot.exclude(line);
    plot.scale();
    finish_statistics(plot.window);
    StatisticsBox box = build_statistics_box(plot.window, 5, seven_per_char);
    EXPECT_EQ(box.columns.back().header, c.header);
  }
  EXPECT_EQ(quantity_header(0), "Qty");
}

TEST(StatisticsBox, LegendsUseTheDescriptionOrTheText) {
  struct Case {
    int xy_or_histo, draw_lines, draw_points;
    bool line, points;
  } cases[] = {
      {0, 1, 0, true, false}, {0, 0, 1, false, true}, {0, 1, 1, true, true},
      {0, 0, 0, false, false}, {1, 0, 1, true, false},  // a histogram shows its pen, no points
  };
  for (const auto& c : cases) {
    Plot plot(3);
    plot.window.definition.xy_or_histo = c.xy_or_histo;
    std::size_t plain = plot.add_values({1}, "C2");
    std::size_t described = plot.add_y({{1, 1}}, "C3 * 2");
    plot.formula(described).description = "Doubled";
    for (std::size_t f : {plain, described}) {
      plot.formula(f).draw_lines = c.draw_lines;
      plot.formula(f).draw_points = c.draw_points;
    }
    StatisticsBox box = build_statistics_box(plot.window, 5, seven_per_char);
    EXPECT_EQ(box.rows[0].legend, " = C2");
    EXPECT_EQ(box.rows[1].legend, " = Doubled");
    EXPECT_EQ(box.rows[0].legend_line, c.line);
    EXPECT_EQ(box.rows[0].legend_points, c.points);
  }
}

// --- the statistics box: layout ---

TEST(StatisticsBox, ColumnsAreAsWideAsTheirWidestTextAndFollowTheLegend) {
  Plot plot(12);
  plot.window.regress = 1;
  std::size_t wide = plot.add_values({1.23456, 2.55}, "C2");
  plot.formula(wide).description = "Pressure";               // " = Pressure": 11 characters
  plot.add_values({}, "C3");                                  // "No points on plot": 17
  plot.exclude(12);
  plot.scale();
  finish_statistics(plot.window);
  const int u = 6;
  StatisticsBox box = build_statistics_box(plot.window, u, seven_per_char);
  EXPECT_EQ(box.legend_text_x, 30);
  EXPECT_EQ(box.legend_width, 77);
  struct Expected {
    const char* header;
    int width, start;
  } expected[] = {
      {"Min", 119, 127},                       // 30 + 20 + 77; "No points on plot"
      {"Mean", 42, 266},                       // "1.8923"
      {"Max", 28, 328},                        // "2.55"
      {"Std Dev", 49, 376},                    // "Std Dev" and "0.65772" alike
      {"Slope", 42, 445},                      // "1.3154"
      {"Qty   (1 Line Excluded)", 161, 507},   // the header is the widest
  };
  ASSERT_EQ(box.columns.size(), std::size(expected));
  for (std::size_t c = 0; c < box.columns.size(); ++c) {
    EXPECT_EQ(box.columns[c].header, expected[c].header);
    EXPECT_EQ(box.columns[c].width, expected[c].width) << expected[c].header;
    EXPECT_EQ(box.columns[c].start, expected[c].start) << expected[c].header;
  }
}

TEST(StatisticsBox, WithoutStatisticsOnlyTheLegendIsLaidOut) {
  Plot plot(3);
  plot.window.showstats = 0;
  plot.add_values({1, 2}, "C2 + 100");
  plot.add_values({1, 2}, "C3");
  plot.scale();
  finish_statistics(plot.window);
  StatisticsBox box = build_statistics_box(plot.window, 4, seven_per_char);
  EXPECT_FALSE(box.statistics_shown);
  EXPECT_TRUE(box.columns.empty());
  ASSERT_EQ(box.rows.size(), 2u);
  EXPECT_TRUE(box.rows[0].cells.empty());
  EXPECT_EQ(box.legend_text_x, 20);
  EXPECT_EQ(box.legend_width, 77);  // " = C2 + 100"
}

TEST(StatisticsBox, RowsStandOneRowHeightApartBelowTheAxisLabel) {
  // B 200, A 12, S 10: the band starts at 226.
  const BandMetrics odd{200, 12, 10, 15};
  const BandMetrics even{200, 12, 10, 16};
  struct Case {
    BandMetrics band;
    int row;
    bool statistics;
    int line;
  } cases[] = {
      {odd, 0, true, 233},   // the header: half a row down
      {odd, 1, true, 249},   // 226 + 2 * 15 - 7
      {odd, 2, true, 264},
      {odd, 1, false, 234},  // no header: the first formula takes its place
      {odd, 3, false, 264},
      {even, 0, true, 234},
      {even, 1, true, 250},
      {even, 1, false, 234},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(row_line_y(c.band, c.row, c.statistics), c.line) << c.row << c.statistics;
    EXPECT_EQ(row_text_bottom(c.band, c.row, c.statistics), c.line + 5) << c.row;
  }
}

}  // namespace
}  // namespace zentrik
