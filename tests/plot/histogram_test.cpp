#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <optional>

#include "data/DataFile.h"
#include "plot/Histogram.h"
#include "ui/ScriptedUi.h"

namespace zentrik {
namespace {

using Values = std::vector<std::optional<double>>;  // by line from 1; nullopt: no valid point
constexpr std::optional<double> kNone;
const char* const kTooMany =
    "The scale mark settings result in more than 300 histogram bins.  The bins will not be tied to the scale marks.";

// A histogram plot over a data set of plain lines, with formulas whose points are
// given by hand.
struct Plot {
  Plot() {
    window.data = &data;
    window.definition.xy_or_histo = 1;
    window.definition.formulas = {Formula("L")};
  }
  Formula& y(int i) { return window.definition.formulas[static_cast<std::size_t>(i)]; }
  int add(const Values& values, int bin_count, int bin_all = 0) {
    while (data.loaded_count() < static_cast<int>(values.size())) data.store_line("1");
    Formula& formula = window.definition.formulas.emplace_back("C1");
    formula.bin_count = bin_count;
    formula.bin_all = bin_all;
    formula.points = std::make_shared<PointColumns>(values.size() + 1);
    for (std::size_t k = 0; k < values.size(); ++k)
      if (values[k]) {
        formula.points->set_value(k + 1, *values[k]);
        formula.points->set_valid(k + 1, true);
      }
    return static_cast<int>(window.definition.formulas.size()) - 1;
  }
  // What the scaling pass leaves with the Y filter window lo..hi on an automatic axis:
  // on-plot flags of included lines, each formula's own extremes, the plot's Y range.
  void scale(double lo = RANGE_UNSET_LOW, double hi = RANGE_UNSET_HIGH) {
    window.plot_y_min = RANGE_UNSET_HIGH;
    window.plot_y_max = RANGE_UNSET_LOW;
    for (std::size_t i = 1; i < window.definition.formulas.size(); ++i) {
      Formula& formula = window.definition.formulas[i];
      FormulaStatistics& s = formula.statistics;
      s.reset();
      if (!formula.enabled) continue;
      for (const DataLine& line : data.lines()) {
        if (!line.included()) continue;
        PointColumns& points = *formula.points;
        const auto i = static_cast<std::size_t>(line.position());
        points.set_in_range(i, points.valid(i) && points.value(i) >= lo && points.value(i) <= hi);
        if (!points.in_range(i)) continue;
        const double value = points.value(i);
        if (std::fabs(value) > 1.5e150) s.too_big = true;
        if (!s.too_big) s.y_min = std::min(s.y_min, value), s.y_max = std::max(s.y_max, value);
        window.plot_y_min = std::min(window.plot_y_min, value);
        window.plot_y_max = std::max(window.plot_y_max, value);
      }
    }
  }
  void bin() { bin_histogram(window, defaults, ui); }
  std::vector<double> uppers(int i) {
    std::vector<double> result;
    for (const Bin& bin : y(i).bins) result.push_back(bin.upper);
    return result;
  }
  std::vector<int> counts(int i) {
    std::vector<int> result;
    for (const Bin& bin : y(i).bins) result.push_back(bin.count);
    return result;
  }
  // Tied to marks from start every interval.
  void tie(double start, double interval) {
    window.definition.binscale = 1;
    window.definition.y_lotick = start;
    window.definition.y_bytick = interval;
  }

  DataFile data{"x"};
  PlotWindow window;
  DefaultPlot defaults;
  ScriptedUi ui;
};

TEST(Binning, BinsSpanTheFormulaOrTheWholePlot) {
  struct Case {
    const char* what;
    Values values;
    int bin_count, bin_all;
    Values other;                 // a second formula, binned on the entire plot in 2 bins
    std::vector<double> uppers;  // empty: not compared
    std::vector<int> counts;
  } cases[] = {
      {"own values", {0, 1, 2, 3, 4}, 4, 0, {}, {1, 2, 3, 4}, {1, 1, 1, 2}},
      {"values on a bound go up", {0, 1, 1, 2.5, 4}, 4, 0, {}, {1, 2, 3, 4}, {1, 2, 1, 1}},
      // the sixth bound is 0.1 added six times, exactly 0.6, so 0.6 goes into the seventh bin
      {"bounds are added up", {0, 0.6, 1}, 10, 0, {}, {}, {1, 0, 0, 0, 0, 0, 1, 0, 0, 1}},
      {"entire plot", {2, 3}, 5, 1, {0, 10}, {2, 4, 6, 8, 10}, {0, 2, 0, 0, 0}},
      {"own values among others", {2, 3}, 5, 0, {0, 10}, {}, {1, 0, 0, 0, 1}},
      {"equal values", {5, 5, 5}, 3, 0, {}, {5, 5, 5}, {0, 0, 3}},
      {"no values on the plot", {kNone, kNone}, 2, 0, {0, 1}, {}, {0, 0}},
  };
  for (const Case& c : cases) {
    Plot plot;
    int f = plot.add(c.values, c.bin_count, c.bin_all);
    if (!c.other.empty()) plot.add(c.other, 2, 1);
    plot.scale();
    plot.bin();
    EXPECT_EQ(plot.y(f).bins_in_use, static_cast<int>(c.counts.size())) << c.what;
    if (!c.uppers.empty()) {
      EXPECT_EQ(plot.uppers(f), c.uppers) << c.what;
    }
    EXPECT_EQ(plot.counts(f), c.counts) << c.what;
    for (const Bin& bin : plot.y(f).bins) EXPECT_EQ(bin.last, &bin == &plot.y(f).bins.back()) << c.what;
  }
}

TEST(Binning, CountsValidOnPlotPointsOfIncludedLinesOnly) {
  Plot plot;
  int f = plot.add({0, 1, 2, 3, 4, 9, kNone}, 4);
  plot.scale();
  plot.data.set_included(2, false);  // its point stays valid and on the plot from before
  plot.scale(RANGE_UNSET_LOW, 5);    // 9 is off the plot
  plot.window.largest_bin_count = 50;
  plot.bin();
  EXPECT_EQ(plot.counts(f), (std::vector<int>{1, 0, 1, 2}));
  EXPECT_EQ(plot.window.largest_bin_count, 2);

  int g = plot.add({4, 4, 4, 4, 4, 4, 4}, 2, 1);
  plot.y(f).enabled = 0;
  plot.scale(RANGE_UNSET_LOW, 5);
  plot.bin();
  EXPECT_EQ(plot.counts(g), (std::vector<int>{0, 6}));  // a range without width: the last bin
  EXPECT_EQ(plot.window.largest_bin_count, 6);

  plot.scale(100, 200);  // a fixed range kept without rescaling, with nothing in it
  plot.window.plot_y_min = 100;
  plot.window.plot_y_max = 200;
  plot.bin();
  EXPECT_EQ(plot.window.largest_bin_count, 1);
}

TEST(Binning, AbsentOrAbsurdBinCounts) {
  struct Case {
    int bin_count, def_num_cats;
    int stored, in_use;
  } cases[] = {{0, 5, 5, 5}, {-3, 5, 5, 5}, {0, 0, 2, 2}, {1, 29, 1, 1}, {INT_MAX, 29, INT_MAX, kMaxBins}};
  for (const Case& c : cases) {
    Plot plot;
    int f = plot.add({0, 1, 2, 3, 4}, c.bin_count);
    plot.defaults.def_num_cats = c.def_num_cats;
    plot.scale();
    plot.bin();
    const Formula& formula = plot.y(f);
    EXPECT_EQ(formula.bin_count, c.stored) << c.bin_count;
    ASSERT_EQ(formula.bins_in_use, c.in_use) << c.bin_count;
    EXPECT_DOUBLE_EQ(formula.bin_width, 4.0 / c.in_use) << c.bin_count;
    int total = 0;
    for (const Bin& bin : formula.bins) total += bin.count;
    EXPECT_EQ(total, 5) << c.bin_count;
  }
}

TEST(TiedBins, WidenTheRangeToWholeMarks) {
  struct Case {
    double start, interval;
    Values values;
    double lo, hi;
    int bins;
    std::vector<int> counts;  // empty: not compared
  } cases[] = {
      {0, 10, {3, 15, 27}, 0, 30, 3, {1, 1, 1}},
      {5, 10, {3, 27}, -5, 35, 4, {1, 0, 0, 1}},
      {0, 10, {10, 20}, 10, 30, 2, {1, 1}},  // 20 is a mark: the range goes on to the next
      {-1e9, 0.5, {0.2, 1.1}, 0, 1.5, 3, {1, 0, 1}},  // a far start is rounded to the values
      {1e6 + 0.5, 1, {3, 27}, 2.5, 27.5, 25, {}},
  };
  for (const Case& c : cases) {
    Plot plot;
    int f = plot.add(c.values, 7, 0);
    plot.tie(c.start, c.interval);
    plot.scale();
    plot.bin();
    EXPECT_EQ(plot.window.plot_y_min, c.lo) << c.start;
    EXPECT_EQ(plot.window.plot_y_max, c.hi) << c.start;
    EXPECT_EQ(plot.y(f).bin_width, c.interval);
    EXPECT_EQ(plot.y(f).bins_in_use, c.bins) << c.start;
    if (!c.counts.empty()) {
      EXPECT_EQ(plot.counts(f), c.counts) << c.start;
    }
    EXPECT_EQ(plot.window.definition.binscale, 1);
    EXPECT_TRUE(plot.ui.messages().empty());
  }
}

TEST(TiedBins, MoreThan300MarksAreNotTied) {
  struct Case {
    Values values;
    double interval;
    bool tied;
  } cases[] = {{{0, 300}, 1, true}, {{0, 300.5}, 1, false}, {{0, 1}, 0, false}, {{0, 1}, -0.5, false}};
  for (const Case& c : cases) {
    Plot plot;
    int f = plot.add(c.values, 4, 1);
    plot.tie(0, c.interval);
    plot.scale();
    plot.bin();
    EXPECT_EQ(plot.window.definition.binscale, c.tied ? 1 : 0) << c.interval;
    EXPECT_EQ(plot.y(f).bins_in_use, c.tied ? 301 : 4) << c.interval;
    if (c.tied) {
      EXPECT_TRUE(plot.ui.messages().empty());
      continue;
    }
    ASSERT_EQ(plot.ui.messages().size(), 1u);
    EXPECT_EQ(plot.ui.lastMessage().text, kTooMany);
    EXPECT_EQ(plot.ui.lastMessage().caption, "Too many bins!");
    EXPECT_EQ(plot.window.plot_y_max, *c.values[1]);  // the range stays untied
  }

  // A range kept from before (no rescale) that the values have outgrown
  Plot plot;
  int f = plot.add({0, 1e9}, 4, 1);
  plot.tie(0, 10);
  plot.scale();
  plot.window.plot_y_max = 30;
  plot.bin();
  EXPECT_EQ(plot.ui.lastMessage().caption, "Too many bins!");
  EXPECT_EQ(plot.window.definition.binscale, 0);
  EXPECT_EQ(plot.counts(f), (std::vector<int>{1, 0, 0, 1}));
}

TEST(TiedBins, WalksEndFarFromTheStartAndWhereTheIntervalVanishes) {
  Plot far;
  int f = far.add({0.5, 0.75}, 4);
  far.tie(1e25, 1e-3);  // rounding leaves the start some 2e12 intervals away
  far.scale();
  far.bin();
  EXPECT_LE(far.window.plot_y_min, 0.5);
  EXPECT_GT(far.window.plot_y_min, 0.5 - 1.001e-3);
  EXPECT_GT(far.window.plot_y_max, 0.75);
  EXPECT_LE(far.window.plot_y_max, 0.75 + 1.001e-3);
  EXPECT_NEAR(far.y(f).bins_in_use, 250, 1);

  Plot huge;
  int g = huge.add({1e20, 1e20}, 4);
  huge.tie(0, 1);  // adding 1 does not change 1e20
  huge.scale();
  huge.bin();
  EXPECT_EQ(huge.window.plot_y_max, 1e20);
  EXPECT_EQ(huge.counts(g), (std::vector<int>{2}));

  Plot edge;
  int h = edge.add({-1e300, -0.99e300}, 4);  // too big for the statistics: no own extremes
  edge.tie(DBL_MAX, 1e298);  // its distance from the values overflows: the marks start at the minimum
  edge.scale();
  edge.bin();
  EXPECT_TRUE(edge.ui.messages().empty());
  EXPECT_EQ(edge.window.plot_y_min, -1e300);
  EXPECT_EQ(edge.y(h).bins_in_use, 2);
}

TEST(Quantities, SumTheBinsOfComparableFormulas) {
  Plot plot;
  int a = plot.add({0, 1, 2, 3, 4}, 4, 1);
  int b = plot.add({0, 4, 4, kNone, kNone}, 4, 1);
  plot.scale();
  plot.bin();
  EXPECT_EQ(histogram_quantities(plot.window.definition), (std::vector<unsigned long>{2, 1, 1, 4}));

  plot.y(b).bin_count = 3;
  plot.bin();
  EXPECT_TRUE(histogram_quantities(plot.window.definition).empty());  // different bin numbers
  plot.y(b).bin_count = 4;
  plot.y(b).bin_all = 0;
  plot.bin();
  EXPECT_TRUE(histogram_quantities(plot.window.definition).empty());
  plot.y(a).enabled = 0;
  EXPECT_EQ(histogram_quantities(plot.window.definition), (std::vector<unsigned long>{1, 0, 0, 2}));
  plot.window.definition.xy_or_histo = 0;
  EXPECT_TRUE(histogram_quantities(plot.window.definition).empty());
  plot.window.definition.xy_or_histo = 1;
  plot.y(b).enabled = 0;
  EXPECT_TRUE(histogram_quantities(plot.window.definition).empty());
}

TEST(DefaultBins, TwoOrMoreAreAccepted) {
  struct Case {
    const char* entered;
    int result;  // 0: refused
  } cases[] = {{"2", 2},  {" 29 ", 29}, {"2.9", 2}, {"1e3", 1000}, {"1", 0},
               {"0", 0},  {"-3", 0},    {"", 0},    {"abc", 0},   {"12abc", 0}};
  for (const Case& c : cases) {
    ScriptedUi ui;
    int bins = 17;
    EXPECT_EQ(enter_default_bins(c.entered, bins, ui), c.result != 0) << c.entered;
    EXPECT_EQ(bins, c.result ? c.result : 17) << c.entered;
    EXPECT_EQ(ui.messages().size(), c.result ? 0u : 1u) << c.entered;
    if (!c.result) {
      EXPECT_EQ(ui.lastMessage().text, "There must be at least two bins to make a histogram.");
      EXPECT_EQ(ui.lastMessage().caption, "Error!");
    }
  }
  EXPECT_EQ(default_bins_shown(29), 29);
  EXPECT_EQ(default_bins_shown(2), 2);
  EXPECT_EQ(default_bins_shown(1), 2);
  EXPECT_EQ(default_bins_shown(-4), 2);
}

TEST(BinCommands, SetEveryYFormulaAndTellWhetherAnyChanged) {
  PlotDefinition definition;
  definition.formulas = {Formula("L"), Formula("C1"), Formula("C2"), Formula("C3")};
  definition.formulas[0].bin_all = 0;  // the X formula's flag means nothing
  definition.formulas[2].bin_all = 0;
  definition.formulas[3].enabled = 0;
  EXPECT_TRUE(bin_all_on_entire_plot(definition));
  EXPECT_FALSE(bin_all_on_entire_plot(definition));
  EXPECT_TRUE(bin_each_individually(definition));
  for (const Formula& formula : definition.formulas) EXPECT_EQ(formula.bin_all, 0);
  EXPECT_FALSE(bin_each_individually(definition));
  definition.formulas[3].bin_all = 1;
  EXPECT_TRUE(bin_all_on_entire_plot(definition));
  EXPECT_EQ(definition.formulas[0].bin_all, 0);
  EXPECT_EQ(definition.formulas[2].bin_all, 1);
}

}  // namespace
}  // namespace zentrik
