#include <gtest/gtest.h>

#include "data/DataFile.h"
#include "plot/Calculation.h"
#include "plot/Scaling.h"
#include "ui/ScriptedUi.h"

namespace zentrik {
namespace {

class Scaling : public ::testing::Test {
 protected:
  // Calculates a plot of the lines with X = C1 and the Y formulas given.
  void plot(std::string_view text, std::vector<std::string> y_formulas = {"C2"}) {
    data = std::make_unique<DataFile>("d");
    data->store_text(text);
    window.data = data.get();
    window.definition.formulas = {Formula("C1")};
    for (std::string& f : y_formulas) window.definition.formulas.emplace_back(std::move(f));
    prepare_calculation(window);
    CalculationEnvironment calc{ui};
    ASSERT_EQ(calculatePoints(window, calc), CalculationOutcome::Done);
  }
  ScaleResult run(bool rescale = true) { return scale(window, rescale, env); }
  const FormulaStatistics& stats(std::size_t f = 1) { return window.definition.formulas[f].statistics; }

  std::unique_ptr<DataFile> data;
  PlotWindow window;
  ScriptedUi ui;
  DefaultPlot defaults;
  ScalingEnvironment env{ui, defaults};
};

TEST_F(Scaling, RangesWithoutWidthAreWidened) {
  plot("5 0\n6 1\n", {"C2 ? L = 1"});  // one point on the plot
  ASSERT_EQ(run(), ScaleResult::Done);
  EXPECT_EQ(window.plot_x_min, 4.5);
  EXPECT_EQ(window.plot_x_max, 5.5);
  EXPECT_EQ(window.plot_y_min, -1);
  EXPECT_EQ(window.plot_y_max, 1);

  plot("1 -2\n2 -2\n3 -2\n");
  ASSERT_EQ(run(), ScaleResult::Done);
  EXPECT_DOUBLE_EQ(window.plot_y_min, -2.2);
  EXPECT_DOUBLE_EQ(window.plot_y_max, -1.8);
  EXPECT_EQ(window.plot_x_min, 1);
  EXPECT_EQ(window.plot_x_max, 3);
}

TEST_F(Scaling, SumsCountTheOnPlotPointsOnly) {
  plot("1 2\n2 4\n3 4\n4 4\n5 5\n6 5\n7 7\n8 9\n9 50\n");
  window.definition.auto_y = 0;
  window.definition.y_from = 0;
  window.definition.y_to = 10;
  ASSERT_EQ(run(), ScaleResult::Done);
  EXPECT_EQ(stats().quantity, 8);
  EXPECT_EQ(stats().y_sum, 5);  // now the mean
  EXPECT_EQ(stats().y_min, 2);
  EXPECT_EQ(stats().y_max, 9);
  EXPECT_EQ(stats().first_x, 1);
  EXPECT_EQ(stats().x_sum, 0);  // regression sums only with regression lines
  EXPECT_FALSE(window.definition.formulas[1].points->in_range(9));
  EXPECT_EQ(window.plot_y_min, 0);  // the fixed range
  EXPECT_EQ(window.plot_y_max, 10);
  EXPECT_EQ(window.plot_x_max, 8);  // the X extent of the points on the plot

  window.regress = 1;
  ASSERT_EQ(run(false), ScaleResult::Done);
  EXPECT_EQ(stats().x_sum, 36);
  EXPECT_EQ(stats().regression_y_sum, 40);
  EXPECT_EQ(stats().x_min, 1);
  EXPECT_EQ(stats().x_max, 8);
}

TEST_F(Scaling, AZoomShowsAndCountsItsRectangle) {
  plot("1 1\n2 2\n3 3\n4 4\n5 5\n");
  window.auto_scaled = false;
  window.view_x_lo = 2;
  window.view_x_hi = 4;
  window.view_y_lo = 0;
  window.view_y_hi = 3.5;
  ASSERT_EQ(run(), ScaleResult::Done);
  EXPECT_EQ(window.plot_x_min, 2);
  EXPECT_EQ(window.plot_x_max, 4);
  EXPECT_EQ(window.plot_y_max, 3.5);
  EXPECT_EQ(stats().quantity, 2);  // (2, 2) and (3, 3)
}

TEST_F(Scaling, NothingOnThePlot) {
  plot("1 20\n2 30\n");
  window.definition.auto_y = 0;
  window.definition.y_from = 0;
  window.definition.y_to = 10;
  window.definition.auto_x = 1;
  EXPECT_EQ(run(), ScaleResult::NoPoints);
  EXPECT_TRUE(window.no_points);
}

TEST_F(Scaling, HugeValuesStopTheStatisticsButNotTheRange) {
  plot("1 1\n2 1e200\n3 3\n");
  ASSERT_EQ(run(), ScaleResult::Done);
  EXPECT_TRUE(stats().too_big);
  EXPECT_EQ(stats().quantity, 1);
  EXPECT_EQ(window.plot_y_max, 1e200);
}

TEST_F(Scaling, ClearsRecalculationOfTheComputedFormulas) {
  plot("1 2\n2 3\n", {"C2", "C2*2"});
  window.definition.formulas[2].enabled = 0;
  for (Formula& f : window.definition.formulas) f.needs_recalc = 1;
  ASSERT_EQ(run(), ScaleResult::Done);
  EXPECT_EQ(window.definition.formulas[0].needs_recalc, 0);
  EXPECT_EQ(window.definition.formulas[1].needs_recalc, 0);
  EXPECT_EQ(window.definition.formulas[2].needs_recalc, 1);  // computed when enabled again
  EXPECT_EQ(window.definition.formulas[1].changed, 1);
}

TEST_F(Scaling, AHistogramIsBinnedInThePass) {
  plot("1 0\n2 1\n3 2\n4 3\n5 4\n");
  window.definition.xy_or_histo = 1;
  window.definition.formulas[1].bin_count = 4;
  window.definition.formulas[1].bin_all = 0;
  ASSERT_EQ(run(), ScaleResult::Done);
  const std::vector<Bin>& bins = window.definition.formulas[1].bins;
  ASSERT_EQ(bins.size(), 4u);
  EXPECT_EQ(bins[3].upper, 4);
  EXPECT_EQ(bins[0].count + bins[1].count + bins[2].count, 3);
  EXPECT_EQ(bins[3].count, 2);
  EXPECT_EQ(window.largest_bin_count, 2);
}

}  // namespace
}  // namespace zentrik
