#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "DrawnPlot.h"
#include "display/AxisMapping.h"

namespace zentrik {
namespace {

using testing::DrawnPlot;

struct AxisCase {
  std::string name;
  std::string lines;
  int log_x = 0, log_y = 0, histogram = 0;
};

// Every kind of axis: pixels come back from their values, and the scale marks lie
// where the values of their labels map to.
class AxisMappingKinds : public ::testing::TestWithParam<AxisCase> {};

TEST_P(AxisMappingKinds, PixelsAndMarksRoundTrip) {
  const AxisCase& c = GetParam();
  DrawnPlot plot(c.lines);
  plot.definition().log_x = c.log_x;
  plot.definition().log_y = c.log_y;
  plot.definition().xy_or_histo = c.histogram;
  plot.definition().x_margin = 7;
  plot.definition().y_margin = 13;
  const RenderResult r = plot.compute_and_draw();
  ASSERT_TRUE(r.drawn);
  const AxisMapping mapping(r.layout, plot.window);
  const RenderLayout& l = r.layout;

  for (int px = l.left - 30; px <= l.width + 30; ++px) EXPECT_EQ(mapping.x_of(mapping.value_at_x(px)), px) << px;
  for (int py = l.top - 30; py <= l.bottom + 30; ++py) EXPECT_EQ(mapping.y_of(mapping.value_at_y(py)), py) << py;

  // Ticks: on a log axis the mark is the logarithm of the value.
  const bool log_across = !c.histogram && c.log_x == 1, log_down = !c.histogram && c.log_y == 1;
  ASSERT_FALSE(r.horizontal_marks.empty());
  ASSERT_FALSE(r.vertical_marks.empty());
  for (const MarkLabel& mark : r.horizontal_marks)
    EXPECT_EQ(mapping.x_of(log_across ? std::pow(10.0, mark.value) : mark.value), mark.position) << mark.text;
  for (const MarkLabel& mark : r.vertical_marks)
    EXPECT_EQ(mapping.y_of(log_down ? std::pow(10.0, mark.value) : mark.value), mark.position) << mark.text;

  // The plot area is the rectangle inside the axes.
  EXPECT_EQ(mapping.plot_area(), (Rect{l.left, l.top, l.width, l.bottom}));
}

INSTANTIATE_TEST_SUITE_P(
    AllAxes, AxisMappingKinds,
    ::testing::Values(AxisCase{"Linear", "-3.5 0.25\n17.25 1.75\n4 1\n"},
                      AxisCase{"LogX", "0.02 5\n300 9\n7 1\n", 1},
                      AxisCase{"LogY", "1 0.003\n2 4000\n3 17\n", 0, 1},
                      AxisCase{"LogBoth", "0.5 0.5\n5000 80\n", 1, 1},
                      AxisCase{"DateX", "1000000000 3\n1000090000 8\n1000030000 5\n", 2},
                      AxisCase{"Histogram", "1 2\n2 2.5\n3 2.5\n4 7\n5 9.75\n", 0, 0, 1}),
    [](const ::testing::TestParamInfo<AxisCase>& info) { return info.param.name; });

// The inverse of the drawing: the values at the margins' inner edges are the range
// ends, and on a log axis the pixels step through the logarithm.
TEST(AxisMapping, InvertsTheRendererFormulas) {
  DrawnPlot linear("0 0\n448 348\n");
  RenderResult r = linear.compute_and_draw();
  AxisMapping mapping(r.layout, linear.window);
  EXPECT_EQ(mapping.value_at_x(42), 0);  // left 32 + margin 10
  EXPECT_EQ(mapping.value_at_x(142), 100);
  EXPECT_EQ(mapping.value_at_x(490), 448);
  EXPECT_EQ(mapping.value_at_y(10), 348);  // top 0 + margin 10
  EXPECT_EQ(mapping.value_at_y(358), 0);
  EXPECT_EQ(mapping.value_at_y(400), -42);  // below the axis, outside the plot
  EXPECT_EQ(mapping.x_of(1e30), 16000);     // far-off values stop where the renderer stops them
  EXPECT_EQ(mapping.y_of(1e30), -16000);

  DrawnPlot logarithmic("1 1\n10000 1000\n");
  logarithmic.definition().log_x = 1;
  logarithmic.definition().log_y = 1;
  r = logarithmic.compute_and_draw();
  mapping = AxisMapping(r.layout, logarithmic.window);
  EXPECT_DOUBLE_EQ(mapping.value_at_x(42), 1);
  EXPECT_DOUBLE_EQ(mapping.value_at_x(42 + 448 / 2), 100);  // half way across four decades
  EXPECT_DOUBLE_EQ(mapping.value_at_y(10), 1000);
  EXPECT_NEAR(mapping.value_at_y(10 + 348 / 3), 100, 1e-9);
  EXPECT_EQ(mapping.x_of(0), -16000);  // nothing at or below 0 has a place on a log axis
  EXPECT_EQ(mapping.y_of(-5), 16000);

  // A histogram: the values across (its Y range and margin), the quantity up from 0 at the axis.
  DrawnPlot histogram("0 0\n0 448\n");
  histogram.definition().xy_or_histo = 1;
  histogram.definition().formulas[1].bin_count = 2;
  r = histogram.compute_and_draw();
  ASSERT_EQ(histogram.window.largest_bin_count, 1);
  mapping = AxisMapping(r.layout, histogram.window);
  EXPECT_TRUE(mapping.histogram());
  EXPECT_EQ(mapping.value_at_x(42), 0);
  EXPECT_EQ(mapping.value_at_x(490), 448);
  EXPECT_EQ(mapping.value_at_y(r.layout.bottom), 0);
  EXPECT_EQ(mapping.value_at_y(10), 1);  // the largest count at the top margin
}

}  // namespace
}  // namespace zentrik
