#include <gtest/gtest.h>

#include <cmath>

#include "plot/AxisScale.h"
#include "plot/ScaleMarks.h"

namespace zentrik {
namespace {

const auto kEverywhere = [](double) { return true; };

TEST(ChooseMarks, PicksARoundIntervalByTheMantissa) {
  struct Case {
    double lo, hi;
    double start, interval;
  } cases[] = {
      {0, 37, 0, 5},        {0, 1.5, 0, 0.25},   {0, 3, 0, 0.5},     {0, 5, 0, 1},
      {0, 7, 0, 1.5},       {0, 8.5, 0, 2},      {0, 9.5, 0, 2.5},   {0, 100, 0, 25},
      {1000, 1001, 1000, 0.25}, {-20, 20, 0, 10}, {0, 0.037, 0, 0.005}, {5e7, 5e7 + 3, 5e7, 0.5},
      {0.85e-50, 1.7e-50, 0, 2e-51},
  };
  for (const auto& c : cases) {
    MarkSpacing spacing = choose_marks(c.lo, c.hi, {});
    EXPECT_NEAR(spacing.interval, c.interval, 1e-12 * c.interval) << c.lo << ".." << c.hi;
    EXPECT_DOUBLE_EQ(spacing.start, c.start) << c.lo << ".." << c.hi;
  }
  MarkSpacing kept = choose_marks(4, 4, {3, 7});  // a range without width changes nothing
  EXPECT_EQ(kept.start, 3);
  EXPECT_EQ(kept.interval, 7);
}

TEST(ScaleMarks, FollowTheUserOrTheAutomaticChoice) {
  struct Case {
    double lo, hi;
    MarkSpacing spacing;
    bool automatic;
    std::vector<double> marks;
  } cases[] = {
      // automatic over 0..37: from one interval below lo, and no further than hi
      {0, 37, {0, 0}, true, {-5, 0, 5, 10, 15, 20, 25, 30, 35}},
      // a user interval may reach one interval beyond hi
      {0, 10, {0, 2}, false, {-2, 0, 2, 4, 6, 8, 10, 12}},
      // the user's start is moved to the range in whole intervals
      {3, 9, {0.5, 1}, false, {2.5, 3.5, 4.5, 5.5, 6.5, 7.5, 8.5, 9.5}},
      // an interval over half the range: automatic marks
      {0, 10, {0, 6}, false, {-2.5, 0, 2.5, 5, 7.5, 10}},
      // more than 30 marks: automatic marks
      {0, 100, {0, 1}, false, {-25, 0, 25, 50, 75, 100}},
      // automatic marks in spite of a user interval
      {0, 10, {0, 2}, true, {-2.5, 0, 2.5, 5, 7.5, 10}},
      // a start far from the range is no reason to take long
      {1e12, 1e12 + 10, {0, 2}, false, {1e12 - 2, 1e12, 1e12 + 2, 1e12 + 4, 1e12 + 6, 1e12 + 8, 1e12 + 10, 1e12 + 12}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(scale_marks(c.lo, c.hi, c.spacing, c.automatic, kEverywhere), c.marks) << c.lo << ".." << c.hi;
}

TEST(ScaleMarks, ValuesNearZeroAreZeroAndMarksOffTheAreaAreSkipped) {
  std::vector<double> marks = scale_marks(-0.3 + 1e-9, 0.3, {0.1 + 1e-9, 0.1}, false, kEverywhere);
  ASSERT_GE(marks.size(), 4u);
  EXPECT_EQ(std::count(marks.begin(), marks.end(), 0.0), 1);

  AxisScale axis(0, 37, 100, 400, 10, AxisScale::Direction::Horizontal);
  std::vector<double> on_area = scale_marks(0, 37, {}, true, [&](double v) { return axis.on_area(axis.to_pixel(v)); });
  EXPECT_EQ(on_area, (std::vector<double>{0, 5, 10, 15, 20, 25, 30, 35}));  // -5 lies left of the area

  // an interval that vanishes in the values ends the walk
  EXPECT_LE(scale_marks(1e20, 1e20 + 16384, {}, true, kEverywhere).size(), 1000u);
  EXPECT_TRUE(scale_marks(5, 5, {}, true, kEverywhere).empty());
}

TEST(AxisScale, MapsValuesInsideTheMarginAndBack) {
  AxisScale horizontal(0, 100, 50, 420, 10, AxisScale::Direction::Horizontal);
  EXPECT_EQ(horizontal.to_pixel(0), 60);
  EXPECT_EQ(horizontal.to_pixel(100), 460);
  EXPECT_EQ(horizontal.to_pixel(33.3), 60 + 133);  // 33.3 * 4 = 133.2, truncated
  EXPECT_DOUBLE_EQ(horizontal.from_pixel(260), 50);

  AxisScale vertical(-1, 1, 20, 220, 10, AxisScale::Direction::Vertical);
  EXPECT_EQ(vertical.to_pixel(1), 30);
  EXPECT_EQ(vertical.to_pixel(-1), 230);
  EXPECT_EQ(vertical.to_pixel(0), 130);
  EXPECT_DOUBLE_EQ(vertical.from_pixel(130), 0);

  AxisScale counts(0, 8, 0, 210, 10, AxisScale::Direction::HistogramCounts);  // margin at the top only
  EXPECT_EQ(counts.to_pixel(8), 10);
  EXPECT_EQ(counts.to_pixel(0), 210);
  EXPECT_EQ(counts.to_pixel(2), 160);

  AxisScale logarithmic(1, 1000, 0, 320, 10, AxisScale::Direction::Horizontal, true);
  EXPECT_EQ(logarithmic.to_pixel(10), 110);
  EXPECT_EQ(logarithmic.to_pixel(1000), 310);
  EXPECT_NEAR(logarithmic.from_pixel(210), 100, 1e-9);
  EXPECT_FALSE(logarithmic.on_area(logarithmic.to_pixel(1e9)));
}

}  // namespace
}  // namespace zentrik
