#include "display/ZoomWindow.h"

#include <algorithm>
#include <memory>
#include <new>
#include <vector>

#include "display/Drag.h"

namespace zentrik {
namespace {

constexpr std::string_view kZoomSuffix = " (Zoom)";

void mark_changed(PlotWindow& window) {
  for (Formula& formula : window.definition.formulas) formula.changed = 1;
}

void show_box(PlotWindow& window, double x_lo, double x_hi, double y_lo, double y_hi) {
  window.plot_x_min = x_lo;
  window.plot_x_max = x_hi;
  window.plot_y_min = y_lo;
  window.plot_y_max = y_hi;
}

}  // namespace

std::string zoom_window_title(const std::string& title) {
  if (title.empty() || title.find(kZoomSuffix) != std::string::npos) return title;
  return title + std::string(kZoomSuffix);
}

std::optional<PlotWindow> make_zoom_window(const PlotWindow& source, const ZoomBox& box, Ui& ui,
                                           bool show_progress) {
  PlotWindow zoom;
  zoom.data = source.data;
  zoom.setup_from = source.setup_from;
  zoom.title = zoom_window_title(source.title);
  zoom.showstats = source.showstats;
  zoom.legend = source.legend;
  zoom.regress = source.regress;
  zoom.status_bar = source.status_bar;
  zoom.rect = source.rect;
  zoom.largest_bin_count = source.largest_bin_count;
  zoom.update_interval = source.update_interval;
  zoom.last_error_action = source.last_error_action;
  zoom.points_lines = source.points_lines;  // its copied points hold for the same lines

  ui.setWaitCursor(true);
  if (show_progress) ui.progressShow("\nCopying plot points . . .", false);
  try {
    zoom.definition = source.definition;
    for (Formula& formula : zoom.definition.formulas) {
      // A copy of its own: the zoom window recomputes, ignores and rescales alone.
      if (formula.points) formula.points = std::make_shared<PointColumns>(*formula.points);
      formula.changed = 1;
      formula.needs_recalc = 0;
    }
    share_x_values(zoom.definition.formulas);  // the copied X values, not the source window's
  } catch (const std::bad_alloc&) {
    ui.setWaitCursor(false);
    if (show_progress) ui.progressHide();
    ui.showError("There is not enough memory to copy the plot points for the zoom window.", "Sorry.");
    return std::nullopt;
  }
  ui.setWaitCursor(false);
  if (show_progress) ui.progressHide();

  zoom.definition.auto_x = zoom.definition.auto_y = 1;
  zoom.view_x_lo = box.x_lo;
  zoom.view_x_hi = box.x_hi;
  zoom.view_y_lo = box.y_lo;
  zoom.view_y_hi = box.y_hi;
  show_box(zoom, box.x_lo, box.x_hi, box.y_lo, box.y_hi);
  zoom.zoomed = true;
  zoom.auto_scaled = false;
  zoom.is_zoom_window = true;
  zoom.unzoomed = false;
  return zoom;
}

SavedZoom current_zoom(const PlotWindow& window) {
  return SavedZoom{window.view_x_lo,  window.view_x_hi,  window.view_y_lo,  window.view_y_hi,
                   window.plot_x_min, window.plot_x_max, window.plot_y_min, window.plot_y_max};
}

bool can_toggle_zoom(const PlotWindow& window) {
  return window.is_zoom_window && window.definition.xy_or_histo == 0;
}

bool unzoom(PlotWindow& window, const std::function<void()>& scale_and_draw) {
  if (!can_toggle_zoom(window) || window.unzoomed) return false;
  UpdateHold hold(window.data);
  window.saved_zoom = current_zoom(window);
  window.view_x_lo = window.view_y_lo = RANGE_UNSET_LOW;
  window.view_x_hi = window.view_y_hi = RANGE_UNSET_HIGH;
  window.unzoomed = true;
  window.zoomed = false;
  window.auto_scaled = true;
  mark_changed(window);
  if (scale_and_draw) scale_and_draw();
  return true;
}

bool rezoom(PlotWindow& window, const std::function<void()>& scale_and_draw) {
  if (!can_toggle_zoom(window) || !window.unzoomed) return false;
  UpdateHold hold(window.data);
  const SavedZoom& saved = window.saved_zoom;
  window.view_x_lo = saved.view_x_lo;
  window.view_x_hi = saved.view_x_hi;
  window.view_y_lo = saved.view_y_lo;
  window.view_y_hi = saved.view_y_hi;
  show_box(window, saved.plot_x_min, saved.plot_x_max, saved.plot_y_min, saved.plot_y_max);
  window.unzoomed = false;
  window.zoomed = true;
  window.auto_scaled = false;
  mark_changed(window);
  if (scale_and_draw) scale_and_draw();
  return true;
}

ZoomBox saved_zoom_box(const PlotWindow& window) {
  const SavedZoom& saved = window.saved_zoom;
  return {saved.plot_x_min, saved.plot_x_max, saved.plot_y_min, saved.plot_y_max};
}

std::optional<ZoomBox> remembered_zoom_box(const PlotWindow& window) {
  if (!window.unzoomed) return std::nullopt;
  return saved_zoom_box(window);
}

Rect zoom_frame_rect(const PlotWindow& window, const AxisMapping& mapping) {
  const ZoomBox box = saved_zoom_box(window);
  return {mapping.x_of(box.x_lo), mapping.y_of(box.y_hi), mapping.x_of(box.x_hi), mapping.y_of(box.y_lo)};
}

bool move_zoom_frame(PlotWindow& window, const AxisMapping& mapping, const Rect& frame) {
  const Rect r{std::min(frame.left, frame.right), std::min(frame.top, frame.bottom),
               std::max(frame.left, frame.right), std::max(frame.top, frame.bottom)};
  const double x_lo = mapping.value_at_x(r.left), x_hi = mapping.value_at_x(r.right);
  const double y_lo = mapping.value_at_y(r.bottom), y_hi = mapping.value_at_y(r.top);
  if (!(x_lo < x_hi) || !(y_lo < y_hi)) return false;
  SavedZoom& saved = window.saved_zoom;
  saved.view_x_lo = saved.plot_x_min = x_lo;
  saved.view_x_hi = saved.plot_x_max = x_hi;
  saved.view_y_lo = saved.plot_y_min = y_lo;
  saved.view_y_hi = saved.plot_y_max = y_hi;
  return true;
}

}  // namespace zentrik
