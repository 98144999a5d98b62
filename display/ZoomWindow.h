// Zoom windows: the copy of a plot that a zoom rectangle opens, and the Un-Zoom /
// Re-Zoom pair that lets such a window show its whole data with the zoom as a
// movable frame, then zoom to wherever the frame went. The plot window widget and
// the shell use it after a released zoom rectangle and for the "Un-&Zoom" command.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "display/AxisMapping.h"
#include "display/Render.h"
#include "plot/PlotWindow.h"
#include "ui/Ui.h"

namespace zentrik {

// The title of a zoom window made from a window titled `title`: " (Zoom)" is added
// to a title that is set and does not hold it yet.
std::string zoom_window_title(const std::string& title);

// The zoom window of source for box (values): the same data set, definition and
// switches, at source's place; both axes automatic; its own copy of every point
// (nothing is computed again, though it can recompute on its own later); the box as
// view limits and plot ranges. The progress window shows "\nCopying plot points . . ."
// meanwhile when show_progress is set. The caller adds it to the open plots, scales
// it (no point calculation) and shows it; source is unchanged. Nothing, after the
// message "There is not enough memory to copy the plot points for the zoom window."
// ("Sorry."), when the copies do not fit in memory.
std::optional<PlotWindow> make_zoom_window(const PlotWindow& source, const ZoomBox& box, Ui& ui,
                                           bool show_progress = true);

// Whether Un-Zoom / Re-Zoom applies: a zoom window on an X-Y plot.
bool can_toggle_zoom(const PlotWindow& window);

// "Un-&Zoom": the zoom window keeps its zoom as the saved zoom and shows its whole
// data. "Re-&Zoom": it shows the saved zoom (as the frame left it) again. Both mark
// every formula changed and run scale_and_draw (scaling with rescale, then a paint)
// while the data set's update hold is raised. False, changing nothing, when the
// window is not a zoom window in the right state or shows a histogram. After an
// un-zoom the zoom frame stands at zoom_frame_rect(); after a re-zoom it is gone.
bool unzoom(PlotWindow& window, const std::function<void()>& scale_and_draw = {});
bool rezoom(PlotWindow& window, const std::function<void()>& scale_and_draw = {});

// The zoom a window shows now, as Un-Zoom keeps it: its view limits and plot ranges.
SavedZoom current_zoom(const PlotWindow& window);
// The saved zoom as the box it shows.
ZoomBox saved_zoom_box(const PlotWindow& window);
// The box for RenderOptions::zoom_box: the saved zoom while the window is un-zoomed.
std::optional<ZoomBox> remembered_zoom_box(const PlotWindow& window);

// The zoom frame in pixels of the plot as mapping lays it out.
Rect zoom_frame_rect(const PlotWindow& window, const AxisMapping& mapping);
// The frame was moved or resized to frame (pixels): its corners become the saved
// zoom. False, keeping the saved zoom, when the frame has no area left.
bool move_zoom_frame(PlotWindow& window, const AxisMapping& mapping, const Rect& frame);

}  // namespace zentrik
