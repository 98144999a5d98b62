#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DrawnPlot.h"
#include "data/DataFile.h"
#include "display/Drag.h"
#include "display/ZoomWindow.h"
#include "plot/Scaling.h"

namespace zentrik {
namespace {

using testing::DrawnPlot;

// The corners and a few points inside; one pixel is one unit (see DrawnPlot.h).
constexpr const char* kPoints = "0 0\n448 348\n100 40\n120 100\n150 200\n151 100\n300 300\n";

ScaleResult rescale(PlotWindow& window, ScriptedUi& ui, const DefaultPlot& defaults) {
  ScalingEnvironment env{ui, defaults, false};
  return scale(window, true, env);
}

TEST(ZoomWindow, CopiesThePlotIntoAWindowOfItsOwn) {
  DrawnPlot plot(kPoints);
  plot.definition().auto_x = 0;  // a fixed X range: the zoom window's axes are automatic all the same
  plot.definition().x_from = 0;
  plot.definition().x_to = 448;
  plot.compute_and_draw();
  plot.window.title = "Run 5";
  plot.window.regress = 1;
  plot.window.status_bar = 0;
  plot.window.rect = {30, 40, 530, 530};

  // A Shift-drag from (100, 40) to (150, 200) in values.
  RectangleDrag drag;
  ASSERT_EQ(drag.press(plot.window, plot.drawn, 142, 318, true, false, false, plot.ui), PressResult::Started);
  DragOutcome out = drag.release(192, 158, false);
  ASSERT_EQ(out.action, DragOutcome::Action::Zoom);
  plot.ui.reset();
  std::optional<PlotWindow> made = make_zoom_window(plot.window, out.box, plot.ui);
  ASSERT_TRUE(made);
  PlotWindow& zoom = *made;
  EXPECT_EQ(plot.ui.progressLog(), (std::vector<std::string>{"wait: on", "show: \nCopying plot points . . . (no cancel)",
                                                             "wait: off", "hide"}));

  EXPECT_EQ(zoom.title, "Run 5 (Zoom)");
  EXPECT_EQ(zoom.data, plot.window.data);
  EXPECT_EQ(zoom.rect.left, 30);
  EXPECT_EQ(zoom.rect.top, 40);
  EXPECT_EQ(zoom.regress, 1);
  EXPECT_EQ(zoom.status_bar, 0);
  EXPECT_EQ(zoom.legend, 0);
  EXPECT_TRUE(zoom.is_zoom_window);
  EXPECT_TRUE(zoom.zoomed);
  EXPECT_FALSE(zoom.auto_scaled);
  EXPECT_FALSE(zoom.unzoomed);
  EXPECT_EQ(zoom.definition.auto_x, 1);
  EXPECT_EQ(zoom.definition.auto_y, 1);
  EXPECT_EQ(zoom.view_x_lo, 100);
  EXPECT_EQ(zoom.view_x_hi, 150);
  EXPECT_EQ(zoom.view_y_lo, 40);
  EXPECT_EQ(zoom.view_y_hi, 200);
  ASSERT_EQ(zoom.definition.formulas.size(), 2u);
  for (std::size_t f = 0; f < 2; ++f) {
    const Formula& copy = zoom.definition.formulas[f];
    const Formula& original = plot.definition().formulas[f];
    EXPECT_EQ(copy.changed, 1);
    EXPECT_EQ(copy.needs_recalc, 0);
    ASSERT_TRUE(copy.points);
    EXPECT_NE(copy.points.get(), original.points.get());  // its own points, not shared
    EXPECT_EQ(copy.points->size(), original.points->size());
    EXPECT_EQ(copy.points->value(5), original.points->value(5));
  }

  // Scaled without computing again: the box is the range, and only its points count.
  ASSERT_EQ(rescale(zoom, plot.ui, plot.defaults), ScaleResult::Done);
  EXPECT_EQ(zoom.plot_x_min, 100);
  EXPECT_EQ(zoom.plot_x_max, 150);
  EXPECT_EQ(zoom.plot_y_min, 40);
  EXPECT_EQ(zoom.plot_y_max, 200);
  EXPECT_EQ(zoom.definition.formulas[1].statistics.quantity, 3);  // (100, 40), (120, 100), (150, 200)

  // Ignoring in the zoom leaves the original plot alone.
  BoxPassEnvironment env{plot.ui, false};
  EXPECT_EQ(ignore_in_box(zoom, ZoomBox{100, 150, 40, 200}, env).points_ignored, 3);
  EXPECT_TRUE(plot.y().points->valid(3));
  EXPECT_EQ(plot.y().statistics.ignored, 0);

  // A zoom of the zoom keeps a single " (Zoom)"; an untitled plot stays untitled (its
  // caption adds the word to the data file's name).
  std::optional<PlotWindow> again = make_zoom_window(zoom, ZoomBox{110, 140, 50, 150}, plot.ui, false);
  ASSERT_TRUE(again);
  EXPECT_EQ(again->title, "Run 5 (Zoom)");
  EXPECT_EQ(zoom_window_title(""), "");
  EXPECT_EQ(zoom_window_title("Run (Zoom) 2"), "Run (Zoom) 2");
  // The source window keeps its state.
  EXPECT_EQ(plot.window.title, "Run 5");
  EXPECT_TRUE(plot.window.auto_scaled);
  EXPECT_FALSE(plot.window.is_zoom_window);
  EXPECT_EQ(plot.definition().auto_x, 0);
}

TEST(ZoomWindow, UnzoomsMovesTheFrameAndZoomsToWhereItWent) {
  DrawnPlot plot(kPoints);
  plot.compute_and_draw();
  std::optional<PlotWindow> made = make_zoom_window(plot.window, ZoomBox{100, 150, 40, 200}, plot.ui, false);
  ASSERT_TRUE(made);
  DrawnPlot& view = plot;  // the zoom window is drawn on the same surface
  PlotWindow& zoom = *made;
  ASSERT_EQ(rescale(zoom, plot.ui, plot.defaults), ScaleResult::Done);
  EXPECT_FALSE(rezoom(zoom));  // it shows its zoom already
  EXPECT_FALSE(remembered_zoom_box(zoom));

  // Un-Zoom: the zoom is kept, the whole data shown, with the update hold raised meanwhile.
  RenderResult drawn;
  int hold_while_drawing = -1;
  auto scale_and_draw = [&] {
    hold_while_drawing = plot.data().update_hold;
    ASSERT_EQ(rescale(zoom, plot.ui, plot.defaults), ScaleResult::Done);
    for (Formula& formula : zoom.definition.formulas) EXPECT_EQ(formula.changed, 1);
    RenderOptions options;
    options.histogram_quantities = false;
    options.zoom_box = remembered_zoom_box(zoom);
    drawn = render(view.surface, 500, 400, zoom, options, view.memory);
  };
  ASSERT_TRUE(unzoom(zoom, scale_and_draw));
  EXPECT_EQ(hold_while_drawing, 1);
  EXPECT_EQ(plot.data().update_hold, 0);
  EXPECT_TRUE(zoom.unzoomed);
  EXPECT_FALSE(zoom.zoomed);
  EXPECT_TRUE(zoom.auto_scaled);
  EXPECT_EQ(zoom.view_x_lo, RANGE_UNSET_LOW);
  EXPECT_EQ(zoom.view_y_hi, RANGE_UNSET_HIGH);
  EXPECT_EQ(zoom.plot_x_min, 0);
  EXPECT_EQ(zoom.plot_x_max, 448);
  EXPECT_EQ(zoom.plot_y_max, 348);
  EXPECT_EQ(zoom.saved_zoom.view_x_lo, 100);
  EXPECT_EQ(zoom.saved_zoom.plot_y_max, 200);
  EXPECT_FALSE(unzoom(zoom));

  // The frame stands where the renderer drew the remembered box.
  const AxisMapping mapping(drawn.layout, zoom);
  const Rect frame = zoom_frame_rect(zoom, mapping);
  EXPECT_EQ(frame, (Rect{142, 158, 192, 318}));
  ASSERT_TRUE(drawn.zoom_box);
  EXPECT_EQ(*drawn.zoom_box, frame);

  // A press on the frame goes to its tracker; the frame is moved 20 right and made 30 taller.
  RectangleDrag drag;
  EXPECT_EQ(drag.press(zoom, drawn, 150, 158, false, false, false, plot.ui, true), PressResult::TrackFrame);
  ASSERT_TRUE(move_zoom_frame(zoom, mapping, Rect{162, 128, 212, 318}));
  EXPECT_EQ(saved_zoom_box(zoom).x_lo, 120);
  EXPECT_EQ(saved_zoom_box(zoom).x_hi, 170);
  EXPECT_EQ(saved_zoom_box(zoom).y_lo, 40);
  EXPECT_EQ(saved_zoom_box(zoom).y_hi, 230);
  EXPECT_FALSE(move_zoom_frame(zoom, mapping, Rect{162, 128, 162, 318}));  // no width left: kept
  EXPECT_EQ(saved_zoom_box(zoom).x_hi, 170);

  // Re-Zoom shows the moved frame.
  ASSERT_TRUE(rezoom(zoom, [&] { ASSERT_EQ(rescale(zoom, plot.ui, plot.defaults), ScaleResult::Done); }));
  EXPECT_FALSE(zoom.unzoomed);
  EXPECT_TRUE(zoom.zoomed);
  EXPECT_FALSE(zoom.auto_scaled);
  EXPECT_EQ(zoom.view_x_lo, 120);
  EXPECT_EQ(zoom.view_y_hi, 230);
  EXPECT_EQ(zoom.plot_x_min, 120);
  EXPECT_EQ(zoom.plot_x_max, 170);
  EXPECT_EQ(zoom.plot_y_min, 40);
  EXPECT_EQ(zoom.plot_y_max, 230);
  EXPECT_EQ(zoom.definition.formulas[1].statistics.quantity, 3);  // (120, 100), (150, 200), (151, 100)
  EXPECT_EQ(plot.data().update_hold, 0);

  // Only zoom windows of X-Y plots un-zoom.
  EXPECT_FALSE(unzoom(plot.window));
  zoom.definition.xy_or_histo = 1;
  EXPECT_FALSE(unzoom(zoom));
}

}  // namespace
}  // namespace zentrik
