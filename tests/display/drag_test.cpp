#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DrawnPlot.h"
#include "data/DataFile.h"
#include "display/Drag.h"
#include "plot/Calculation.h"
#include "plot/Scaling.h"

namespace zentrik {
namespace {

using testing::DrawnPlot;
using Action = DragOutcome::Action;

// One pixel is one unit: X = px - 42, Y = 358 - py (see DrawnPlot.h).
constexpr const char* kSquare = "0 0\n448 348\n";
int px(double x) { return 42 + static_cast<int>(x); }
int py(double y) { return 358 - static_cast<int>(y); }

class Drag : public ::testing::Test {
 protected:
  PressResult press(DrawnPlot& plot, int x, int y, bool shift, bool ctrl, bool busy = false) {
    return drag.press(plot.window, plot.drawn, x, y, shift, ctrl, busy, plot.ui);
  }
  // A whole drag from (x0, y0) to (x1, y1).
  DragOutcome sweep(DrawnPlot& plot, int x0, int y0, int x1, int y1, bool shift, bool ctrl) {
    EXPECT_EQ(press(plot, x0, y0, shift, ctrl), PressResult::Started);
    drag.move(x1, y1);
    return drag.release(x1, y1, false);
  }

  RectangleDrag drag;
};

// --- the status bar readouts -------------------------------------------------------------

TEST_F(Drag, ReadsOutEveryModeInTheStatusBar) {
  DrawnPlot plot(kSquare);
  plot.compute_and_draw();
  struct Case {
    bool shift, ctrl;
    std::string pressed, moved;
  } cases[] = {
      {true, false, "Zooming from 100, 200", "Zooming from 100, 200 to 150, 250"},
      {false, true, "Excluding from 100, 200", "Excluding from 100, 200 to 150, 250"},
      {true, true, "Ignoring from 100, 200", "Ignoring from 100, 200 to 150, 250"},
      {false, false, "Pos = 100, 200  Delta X = 0, Y = 0", "Pos = 100, 200   Delta X = 50, Y = 50"},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(press(plot, px(100), py(200), c.shift, c.ctrl), PressResult::Started);
    EXPECT_EQ(drag.status_text(), c.pressed);
    EXPECT_FALSE(drag.rectangle());
    std::optional<std::string> moved = drag.move(px(150), py(250));
    EXPECT_EQ(moved, c.moved) << c.pressed;
    EXPECT_EQ(drag.rectangle(), (Rect{px(100), py(250), px(150), py(200)}));
    // The readout goes back to the plot's own text when the button comes up.
    EXPECT_EQ(drag.release(px(150), py(250), false).status_text, plot_status_text(plot.window));
  }
  EXPECT_TRUE(plot.ui.messages().empty());

  // Without a status bar there is nothing to read out.
  plot.window.status_bar = 0;
  ASSERT_EQ(press(plot, px(100), py(200), false, false), PressResult::Started);
  EXPECT_FALSE(drag.status_text());
  EXPECT_FALSE(drag.move(px(150), py(250)));
  EXPECT_TRUE(drag.rectangle());
  EXPECT_FALSE(drag.release(px(150), py(250), false).status_text);
}

TEST_F(Drag, WritesDateDifferencesInUnitsOfTheirSize) {
  EXPECT_EQ(date_difference_text(0), "0 secs");
  EXPECT_EQ(date_difference_text(45.7), "45 secs");
  EXPECT_EQ(date_difference_text(-60), "-60 secs");
  EXPECT_EQ(date_difference_text(90), "1.50 mins");
  EXPECT_EQ(date_difference_text(3600), "60.00 mins");
  EXPECT_EQ(date_difference_text(-5400), "-1.50 hrs");
  EXPECT_EQ(date_difference_text(86400), "24.00 hrs");
  EXPECT_EQ(date_difference_text(86401), "1.00 days");
  EXPECT_EQ(date_difference_text(31536000), "365.00 days");
  EXPECT_EQ(date_difference_text(3 * 31536000.0 + 40000000), "4.27 yrs");

  // On a date axis of 448 minutes (one pixel a minute) the position reads as a time.
  DrawnPlot plot("1000000000 0\n1000026880 348\n");  // 2001-09-09 01:46:40 UTC onward
  plot.definition().log_x = 2;
  plot.compute_and_draw();
  ASSERT_EQ(press(plot, px(10), py(100), false, false), PressResult::Started);
  EXPECT_EQ(drag.status_text(), "Pos = 01:56, 100  Delta X = 0, Y = 0");
  EXPECT_EQ(drag.move(px(100), py(100)), "Pos = 01:56, 100   Delta X = 1.50 hrs, Y = 0");
  EXPECT_EQ(drag.move(px(9), py(99)), "Pos = 01:56, 100   Delta X = -60 secs, Y = -1");
  drag.release(px(9), py(99), false);
}

TEST_F(Drag, ReadsOutQuantityAndValueOnHistograms) {
  // Values 0 .. 448 across; two bins, the larger holding 3: one unit of quantity is 116 pixels.
  DrawnPlot plot("0 0\n1 448\n2 400\n3 300\n");
  plot.definition().xy_or_histo = 1;
  plot.y().bin_count = 2;
  plot.compute_and_draw();
  ASSERT_EQ(plot.window.largest_bin_count, 3);
  ASSERT_EQ(press(plot, px(100), 358 - 116, false, false), PressResult::Started);
  EXPECT_EQ(drag.status_text(), "Qty = 1, Val = 100  Delta Qty = 0, Val = 0");
  EXPECT_EQ(drag.move(px(40), 358 - 3 * 116), "Qty = 1, Val = 100  Delta Qty = 2, Val = -60");
  drag.release(px(40), 10, false);

  ASSERT_EQ(press(plot, px(100), 358 - 116, false, true), PressResult::Started);
  EXPECT_EQ(drag.status_text(), "Excluding from 100, 1");
  drag.cancel();
}

// --- what a press refuses -------------------------------------------------------------------

TEST_F(Drag, RefusesWhatCannotBeDoneAndHoldsUpdatesOnlyWhileDragging) {
  DrawnPlot plot(kSquare);
  plot.compute_and_draw();
  std::atomic<int32_t>& hold = plot.data().update_hold;

  EXPECT_EQ(press(plot, 100, 100, true, false, /*busy=*/true), PressResult::Ignored);
  EXPECT_FALSE(drag.dragging());
  ASSERT_EQ(press(plot, 100, 100, true, false), PressResult::Started);
  EXPECT_EQ(hold, 1);
  EXPECT_EQ(drag.mode(), DragMode::Zoom);
  drag.move(130, 130);
  drag.release(130, 130, /*busy=*/true);  // busy meanwhile: only the clean-up
  EXPECT_EQ(hold, 0);
  EXPECT_FALSE(drag.dragging());

  // Cancelled (window closed, focus lost) and destroyed drags let go of the hold too.
  ASSERT_EQ(press(plot, 100, 100, false, true), PressResult::Started);
  drag.cancel();
  EXPECT_EQ(hold, 0);
  {
    RectangleDrag other;
    ASSERT_EQ(other.press(plot.window, plot.drawn, 100, 100, false, false, false, plot.ui), PressResult::Started);
    EXPECT_EQ(hold, 1);
  }
  EXPECT_EQ(hold, 0);

  // An un-zoomed zoom window's frame goes to its tracker.
  plot.window.unzoomed = true;
  EXPECT_EQ(drag.press(plot.window, plot.drawn, 100, 100, true, false, false, plot.ui, true), PressResult::TrackFrame);
  plot.window.unzoomed = false;

  // Fewer than two lines: the calculation must ask its question first.
  plot.data().set_included(1, false);
  EXPECT_EQ(press(plot, 100, 100, true, false), PressResult::NotEnoughData);
  plot.data().set_included(1, true);
  EXPECT_EQ(hold, 0);
  EXPECT_TRUE(plot.ui.messages().empty());
  EXPECT_EQ(plot.ui.sounds(), 0);

  // Nothing on the plot: no zoom, exclude or ignore, though the readout works.
  DrawnPlot empty(kSquare);
  empty.definition().auto_y = 0;
  empty.definition().y_from = 1000;
  empty.definition().y_to = 2000;
  empty.window.legend = empty.window.showstats = 0;
  prepare_calculation(empty.window);
  CalculationEnvironment calculation{empty.ui};
  ASSERT_EQ(calculatePoints(empty.window, calculation), CalculationOutcome::Done);
  ScalingEnvironment scaling{empty.ui, empty.defaults};
  ASSERT_EQ(scale(empty.window, true, scaling), ScaleResult::NoPoints);
  empty.draw();
  for (auto [shift, ctrl] : {std::pair{true, false}, {false, true}, {true, true}})
    EXPECT_EQ(press(empty, 100, 100, shift, ctrl), PressResult::Refused);
  ASSERT_EQ(empty.ui.messages().size(), 3u);
  EXPECT_EQ(empty.ui.lastMessage().text,
            "There were no points on the plot!  No zooming, excluding or ignoring is possible.");
  EXPECT_EQ(empty.ui.lastMessage().caption, "Sorry.");
  EXPECT_EQ(empty.ui.sounds(), 3);
  EXPECT_EQ(press(empty, 100, 100, false, false), PressResult::Started);
  drag.cancel();

  // A single point (here twice on the same spot) cannot be zoomed into, but can be excluded.
  DrawnPlot single("5 7\n5 7\n");
  single.compute_and_draw();
  EXPECT_EQ(press(single, 100, 100, true, false), PressResult::Refused);
  EXPECT_EQ(single.ui.lastMessage().text, "There was only one point on the plot at 5, 7.  No zooming is possible.");
  EXPECT_EQ(single.ui.lastMessage().caption, "Sorry.");
  EXPECT_EQ(single.ui.sounds(), 1);
  EXPECT_EQ(press(single, 100, 100, false, true), PressResult::Started);
  drag.cancel();

  // Histograms are not zoomed (no error sound), but their lines can be excluded.
  DrawnPlot histogram("1 2\n2 3\n3 3\n");
  histogram.definition().xy_or_histo = 1;
  histogram.compute_and_draw();
  histogram.ui.setErrorBeep(true);
  EXPECT_EQ(press(histogram, 100, 100, true, false), PressResult::Refused);
  EXPECT_EQ(histogram.ui.lastMessage().text, "Zooming not supported on histograms.");
  EXPECT_EQ(histogram.ui.lastMessage().caption, "Sorry.");
  EXPECT_EQ(histogram.ui.sounds(), 0);
  EXPECT_EQ(press(histogram, 100, 100, false, true), PressResult::Started);
  drag.cancel();
  EXPECT_EQ(histogram.data().update_hold, 0);
  EXPECT_EQ(single.data().update_hold, 0);
  EXPECT_EQ(empty.data().update_hold, 0);
}

// --- what a release gives -------------------------------------------------------------------

TEST_F(Drag, ReleasesOnlyRectanglesLargeEnoughAndClipsThemToThePlot) {
  DrawnPlot plot(kSquare);
  plot.compute_and_draw();
  struct Case {
    int width, height;
    bool acts;
  } cases[] = {{5, 5, false}, {20, 1, false}, {1, 20, false}, {7, 7, false},
               {20, 5, true}, {5, 20, true},  {8, 2, true},   {-20, -5, true}};
  for (const Case& c : cases) {
    DragOutcome zoom = sweep(plot, px(100), py(100), px(100) + c.width, py(100) - c.height, true, false);
    EXPECT_EQ(zoom.action, c.acts ? Action::Zoom : Action::Nothing) << c.width << "x" << c.height;
    EXPECT_EQ(plot.data().update_hold, 0);
  }

  // X low and high from the left and right edges, Y low from the bottom, Y high from the top.
  DragOutcome zoom = sweep(plot, px(150), py(40), px(100), py(200), true, false);
  EXPECT_EQ(zoom.action, Action::Zoom);
  EXPECT_EQ(zoom.box.x_lo, 100);
  EXPECT_EQ(zoom.box.x_hi, 150);
  EXPECT_EQ(zoom.box.y_lo, 40);
  EXPECT_EQ(zoom.box.y_hi, 200);
  EXPECT_EQ(sweep(plot, px(100), py(100), px(150), py(200), false, true).action, Action::Exclude);
  EXPECT_EQ(sweep(plot, px(100), py(100), px(150), py(200), true, true).action, Action::Ignore);
  EXPECT_EQ(sweep(plot, px(100), py(100), px(150), py(200), false, false).action, Action::Nothing);

  // Partly outside: cut at the axes (x 32 .. 500, y 0 .. 368) before the values are taken.
  zoom = sweep(plot, 10, 390, px(100), py(100), true, false);
  EXPECT_EQ(zoom.box.x_lo, -10);  // x = 32, in the left margin
  EXPECT_EQ(zoom.box.y_lo, -10);  // y = 368
  zoom = sweep(plot, px(400), py(300), 640, -30, true, false);
  EXPECT_EQ(zoom.box.x_hi, 458);  // x = 500
  EXPECT_EQ(zoom.box.y_hi, 358);  // y = 0
  // Wholly beside the plot: nothing to take.
  EXPECT_EQ(sweep(plot, 0, 100, 25, 150, false, true).action, Action::Nothing);
  EXPECT_EQ(plot.data().update_hold, 0);
}

// --- exclude and ignore ----------------------------------------------------------------------

TEST_F(Drag, ExcludesEachLineOnceAndCountsBoundsAsInside) {
  // Two Y formulas; line 2 has both points inside, line 3 one of them (on the edge),
  // line 4 only an X inside, line 5 is already excluded.
  DrawnPlot plot("0 0 0\n100 50 60\n200 300 150\n150 300 300\n120 50 50\n448 348 348\n", {"C2", "C3"});
  plot.compute_and_draw();
  plot.data().set_included(5, false);
  const int32_t before = plot.data().included_count();
  plot.window.object_path = "/data/run.zko";

  DragOutcome out = sweep(plot, px(100), py(150), px(200), py(50), false, true);
  ASSERT_EQ(out.action, Action::Exclude);
  ASSERT_EQ(out.box.x_lo, 100);
  ASSERT_EQ(out.box.y_hi, 150);
  BoxPassEnvironment env{plot.ui, false};
  BoxPassResult result = exclude_in_box(plot.window, out.box, env);
  EXPECT_EQ(result.lines_excluded, 2);
  EXPECT_EQ(plot.data().included_count(), before - 2);
  EXPECT_FALSE(plot.data().line(2).included());
  EXPECT_FALSE(plot.data().line(3).included());
  EXPECT_TRUE(plot.data().line(4).included());
  EXPECT_TRUE(plot.window.object_modified);
  EXPECT_FALSE(result.cancelled);

  // Formulas that read the sequence number or the first line are computed again.
  DrawnPlot sequence("0 0\n1 1\n2 2\n3 3\n", {"C2", "S*2"});
  sequence.compute_and_draw();
  BoxPassEnvironment quiet{sequence.ui, false, false};
  sequence.window.object_path = "/data/run.zko";
  result = exclude_in_box(sequence.window, ZoomBox{1, 2, 1, 2}, quiet);
  EXPECT_EQ(result.lines_excluded, 2);
  EXPECT_FALSE(sequence.window.object_modified);  // the object keeps no exclude list
  EXPECT_EQ(sequence.y(1).needs_recalc, 0);
  EXPECT_EQ(sequence.y(1).changed, 1);
  EXPECT_EQ(sequence.y(2).needs_recalc, 1);
}

TEST_F(Drag, IgnoresPointsPerFormulaUntilTheyAreComputedAgain) {
  DrawnPlot plot("0 0 0\n100 50 60\n200 300 150\n150 100 340\n448 348 348\n", {"C2", "C3"});
  plot.compute_and_draw();
  DragOutcome out = sweep(plot, px(100), py(150), px(200), py(50), true, true);
  ASSERT_EQ(out.action, Action::Ignore);
  BoxPassEnvironment env{plot.ui, false};
  BoxPassResult result = ignore_in_box(plot.window, out.box, env);
  EXPECT_EQ(result.points_ignored, 4);
  EXPECT_EQ(result.ignored, (std::vector<int32_t>{0, 2, 2}));
  EXPECT_EQ(plot.y(1).statistics.ignored, 2);
  EXPECT_EQ(plot.y(2).statistics.ignored, 2);
  EXPECT_FALSE(plot.y(1).points->valid(2));
  EXPECT_TRUE(plot.y(1).points->valid(3));  // (200, 300): above the box
  EXPECT_FALSE(plot.y(1).points->valid(4));
  EXPECT_FALSE(plot.y(2).points->valid(3));  // (200, 150): on its corner
  EXPECT_TRUE(plot.y(2).points->valid(4));
  EXPECT_EQ(plot.data().included_count(), 5);
  for (const Formula& formula : plot.definition().formulas) EXPECT_EQ(formula.changed, 1);

  // The recalculation keeps them ignored (the points are not computed again) and counts the rest.
  prepare_calculation(plot.window);
  CalculationEnvironment calculation{plot.ui};
  ASSERT_EQ(calculatePoints(plot.window, calculation), CalculationOutcome::Done);
  ScalingEnvironment scaling{plot.ui, plot.defaults};
  ASSERT_EQ(scale(plot.window, true, scaling), ScaleResult::Done);
  EXPECT_EQ(plot.y(1).statistics.ignored, 2);
  EXPECT_EQ(plot.y(1).statistics.quantity, 3);
  EXPECT_EQ(plot.y(2).statistics.quantity, 3);
}

TEST_F(Drag, ExcludesValuesUnderAHistogramRectangle) {
  DrawnPlot plot("1 0\n2 448\n3 100\n4 120\n5 300\n");
  plot.definition().xy_or_histo = 1;
  plot.compute_and_draw();
  // Only the horizontal edges count; the rectangle's height does not.
  DragOutcome out = sweep(plot, px(90), 300, px(130), 310, false, true);
  ASSERT_EQ(out.action, Action::Exclude);
  EXPECT_EQ(out.box.y_lo, 90);
  EXPECT_EQ(out.box.y_hi, 130);
  EXPECT_EQ(out.box.x_lo, plot.window.plot_x_min);
  EXPECT_EQ(out.box.x_hi, plot.window.plot_x_max);
  BoxPassEnvironment env{plot.ui, false};
  EXPECT_EQ(exclude_in_box(plot.window, out.box, env).lines_excluded, 2);
  EXPECT_FALSE(plot.data().line(3).included());
  EXPECT_FALSE(plot.data().line(4).included());
  EXPECT_EQ(plot.data().included_count(), 3);
}

TEST_F(Drag, ShowsProgressAndStopsAtCancelKeepingWhatWasDone) {
  std::string lines;
  for (int i = 1; i <= 2500; ++i) lines += std::to_string(i) + " " + std::to_string(i % 10) + "\n";
  DrawnPlot plot(lines);
  plot.compute_and_draw();
  plot.ui.reset();
  BoxPassEnvironment env{plot.ui};
  BoxPassResult result = exclude_in_box(plot.window, ZoomBox{0, 3000, 4, 4}, env);
  EXPECT_EQ(result.lines_excluded, 250);
  EXPECT_EQ(plot.ui.progressLog(),
            (std::vector<std::string>{"wait: on", "show: \nExcluding lines. . .",
                                      "text: \nExcluding lines. . .\n\nLine 1000 of 2500", "fraction: 0.400000",
                                      "text: \nExcluding lines. . .\n\nLine 2000 of 2500", "fraction: 0.800000",
                                      "wait: off", "hide"}));

  // The steps count included lines but name the line's own number. Cancel at the second
  // step, the 2000th included line (line 2222): the points before it stay ignored.
  plot.ui.reset();
  plot.ui.cancelAtCheck(2);
  result = ignore_in_box(plot.window, ZoomBox{0, 3000, 5, 5}, env);
  EXPECT_TRUE(result.cancelled);
  EXPECT_EQ(plot.ui.progressLog().at(1), "show: \nIgnoring points. . .");
  EXPECT_EQ(plot.ui.progressLog().at(4), "text: \nIgnoring points. . .\n\nLine 2222 of 2500");
  EXPECT_EQ(result.points_ignored, 222);  // lines 5, 15, ... 2215
  EXPECT_EQ(plot.y().statistics.ignored, 222);
  EXPECT_FALSE(plot.y().points->valid(2215));
  EXPECT_TRUE(plot.y().points->valid(2225));
  EXPECT_EQ(plot.ui.progressLog().back(), "hide");
}

}  // namespace
}  // namespace zentrik
