#include "display/Drag.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "data/DataFile.h"
#include "formula/Format.h"
#include "plot/Calculation.h"

namespace zentrik {
namespace {

// A rectangle narrower and lower than this is a slip of the hand, not a choice.
constexpr int kSmallestSide = 8;
constexpr long kProgressEvery = 1000;  // lines between progress texts and cancel checks

std::string printed(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

// A histogram quantity under the mouse, as the whole count nearest to it.
int whole_quantity(double quantity) {
  if (!std::isfinite(quantity)) return 0;
  return static_cast<int>(std::lround(std::clamp(quantity, -2e9, 2e9)));
}

Rect normalised(int x0, int y0, int x1, int y1) {
  return {std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1)};
}

}  // namespace

DragMode drag_mode(bool shift, bool ctrl) {
  if (shift && ctrl) return DragMode::Ignore;
  if (shift) return DragMode::Zoom;
  if (ctrl) return DragMode::Exclude;
  return DragMode::None;
}

UpdateHold::UpdateHold(DataFile* data) : data_(data) {
  if (data_) ++data_->update_hold;
}

UpdateHold::~UpdateHold() {
  if (data_) --data_->update_hold;
}

std::string date_difference_text(double seconds) {
  const double size = std::fabs(seconds);
  if (size <= 60) {
    char text[32];
    std::snprintf(text, sizeof text, "%ld secs", static_cast<long>(seconds));
    return text;
  }
  if (size <= kSecondsPerHour) return printed("%1.2f", seconds / kSecondsPerMinute) + " mins";
  if (size <= kSecondsPerDay) return printed("%1.2f", seconds / kSecondsPerHour) + " hrs";
  if (size <= kSecondsPerYear) return printed("%1.2f", seconds / kSecondsPerDay) + " days";
  return printed("%1.2f", seconds / kSecondsPerYear) + " yrs";
}

// --- RectangleDrag ----------------------------------------------------------------

RectangleDrag::~RectangleDrag() { cancel(); }

PressResult RectangleDrag::press(PlotWindow& window, const RenderResult& drawn, int x, int y, bool shift, bool ctrl,
                                 bool busy, Ui& ui, bool on_zoom_frame) {
  if (dragging_) cancel();  // a release that never came
  mode_ = DragMode::None;
  if (busy || !drawn.drawn || !window.data) return PressResult::Ignored;
  if (window.data->included_count() < 2) return PressResult::NotEnoughData;
  if (window.unzoomed && on_zoom_frame) return PressResult::TrackFrame;

  const PlotDefinition& definition = window.definition;
  const bool histogram = definition.xy_or_histo != 0;
  const DragMode mode = drag_mode(shift, ctrl);
  window_ = &window;
  mapping_ = AxisMapping(drawn.layout, window);
  if (mode != DragMode::None) {
    if (drawn.no_counted_point || window.no_points)
      return refuse(ui,
                    "There were no points on the plot!  No zooming, excluding or ignoring is possible.", true);
    if (mode == DragMode::Zoom && histogram) return refuse(ui, "Zooming not supported on histograms.", false);
    if (mode == DragMode::Zoom && drawn.fewer_than_two_distinct) {
      std::optional<CountedPoint> point;
      for (const std::optional<CountedPoint>& first : drawn.first_counted)
        if (first) {
          point = first;
          break;
        }
      if (point)
        return refuse(ui,
                      "There was only one point on the plot at " + x_label(point->x) + ", " + y_label(point->y) +
                          ".  No zooming is possible.",
                      true);
    }
  }

  mode_ = mode;
  dragging_ = true;
  held_data_ = window.data;
  ++held_data_->update_hold;
  holding_ = true;
  start_px_ = x;
  start_py_ = y;
  rectangle_.reset();
  start_x_ = mapping_.value_at_x(x);
  start_y_ = mapping_.value_at_y(y);
  status_text_.reset();
  if (window.status_bar) status_text_ = start_text();
  return PressResult::Started;
}

PressResult RectangleDrag::refuse(Ui& ui, const std::string& text, bool sound) {
  if (sound && ui.errorBeep()) ui.errorSound();
  ui.message(text, "Sorry.", Buttons::Ok);
  window_ = nullptr;
  return PressResult::Refused;
}

std::optional<std::string> RectangleDrag::move(int x, int y) {
  if (!dragging_) return std::nullopt;
  rectangle_ = normalised(start_px_, start_py_, x, y);
  if (window_->status_bar) status_text_ = move_text(x, y);
  return status_text_;
}

DragOutcome RectangleDrag::release(int x, int y, bool busy) {
  DragOutcome outcome;
  if (!dragging_ || busy) {
    clean_up();
    return outcome;
  }
  PlotWindow& window = *window_;
  if (window.status_bar) outcome.status_text = plot_status_text(window);
  const bool histogram = mapping_.histogram();
  const DragMode mode = mode_;
  const Rect r = normalised(start_px_, start_py_, x, y);
  clean_up();

  if (mode == DragMode::None || (mode == DragMode::Zoom && histogram)) return outcome;
  const int width = r.right - r.left, height = r.bottom - r.top;
  if ((width < kSmallestSide && height < kSmallestSide) || width <= 1 || height <= 1) return outcome;

  const Rect area = mapping_.plot_area();
  const Rect clipped{std::max(r.left, area.left), std::max(r.top, area.top), std::min(r.right, area.right),
                     std::min(r.bottom, area.bottom)};
  if (clipped.right <= clipped.left || clipped.bottom <= clipped.top) return outcome;  // beside the plot

  if (histogram) {
    outcome.box = {window.plot_x_min, window.plot_x_max, mapping_.value_at_x(clipped.left),
                   mapping_.value_at_x(clipped.right)};
  } else {
    outcome.box = {mapping_.value_at_x(clipped.left), mapping_.value_at_x(clipped.right),
                   mapping_.value_at_y(clipped.bottom), mapping_.value_at_y(clipped.top)};
  }
  outcome.action = mode == DragMode::Zoom      ? DragOutcome::Action::Zoom
                   : mode == DragMode::Exclude ? DragOutcome::Action::Exclude
                                               : DragOutcome::Action::Ignore;
  return outcome;
}

void RectangleDrag::cancel() { clean_up(); }

void RectangleDrag::clean_up() {
  if (holding_ && held_data_) --held_data_->update_hold;
  holding_ = false;
  held_data_ = nullptr;
  dragging_ = false;
  mode_ = DragMode::None;
  rectangle_.reset();
}

std::string RectangleDrag::x_label(double x) const {
  const PlotDefinition& definition = window_->definition;
  if (mapping_.histogram()) return formatValue(x, definition.y_tickprec, false, 0, 0, "");
  return formatValue(x, definition.x_tickprec, mapping_.date_x(), window_->plot_x_min, window_->plot_x_max,
                     definition.date_format);
}

std::string RectangleDrag::y_label(double y) const {
  if (mapping_.histogram()) return std::to_string(whole_quantity(y));
  return formatValue(y, window_->definition.y_tickprec, false, 0, 0, "");
}

std::string RectangleDrag::x_difference(double d) const {
  if (mapping_.date_x()) return date_difference_text(d);
  const PlotDefinition& definition = window_->definition;
  const int precision = mapping_.histogram() ? definition.y_tickprec : definition.x_tickprec;
  return formatValue(d, precision, false, 0, 0, "");
}

std::string RectangleDrag::start_text() const {
  const std::string from = x_label(start_x_) + ", " + y_label(start_y_);
  switch (mode_) {
    case DragMode::Zoom:
      return "Zooming from " + from;
    case DragMode::Exclude:
      return "Excluding from " + from;
    case DragMode::Ignore:
      return "Ignoring from " + from;
    case DragMode::None:
      break;
  }
  if (mapping_.histogram())
    return "Qty = " + y_label(start_y_) + ", Val = " + x_label(start_x_) + "  Delta Qty = 0, Val = 0";
  return "Pos = " + from + "  Delta X = 0, Y = 0";
}

std::string RectangleDrag::move_text(int x, int y) const {
  const double x_value = mapping_.value_at_x(x), y_value = mapping_.value_at_y(y);
  const std::string span =
      x_label(start_x_) + ", " + y_label(start_y_) + " to " + x_label(x_value) + ", " + y_label(y_value);
  switch (mode_) {
    case DragMode::Zoom:
      return "Zooming from " + span;
    case DragMode::Exclude:
      return "Excluding from " + span;
    case DragMode::Ignore:
      return "Ignoring from " + span;
    case DragMode::None:
      break;
  }
  if (mapping_.histogram()) {
    const int quantity = whole_quantity(start_y_);
    return "Qty = " + std::to_string(quantity) + ", Val = " + x_label(start_x_) +
           "  Delta Qty = " + std::to_string(whole_quantity(y_value) - quantity) +
           ", Val = " + x_difference(x_value - start_x_);
  }
  return "Pos = " + x_label(start_x_) + ", " + y_label(start_y_) + "   Delta X = " + x_difference(x_value - start_x_) +
         ", Y = " + formatValue(y_value - start_y_, window_->definition.y_tickprec, false, 0, 0, "");
}

// --- the passes -------------------------------------------------------------------

namespace {

struct BoxPass {
  enum class Kind { Exclude, Ignore };

  BoxPassResult run(PlotWindow& window, const ZoomBox& box, BoxPassEnvironment& env, Kind kind) {
    BoxPassResult result;
    FormulaList& formulas = window.definition.formulas;
    result.ignored.assign(formulas.size(), 0);
    if (!window.data) return result;
    DataFile& data = *window.data;
    const std::size_t size = static_cast<std::size_t>(data.loaded_count()) + 1;

    // The enabled Y formulas with points for this data set, looked up once.
    struct Tested {
      PointColumns* points;
      PointColumns::View view;
      std::size_t formula;
    };
    std::vector<Tested> tested;
    for (std::size_t f = 1; f < formulas.size(); ++f) {
      Formula& formula = formulas[f];
      if (formula.enabled && formula.points && formula.points->size() == size)
        tested.push_back({formula.points.get(), formula.points->view(), f});
    }

    const std::string action = kind == Kind::Exclude ? "\nExcluding lines. . ." : "\nIgnoring points. . .";
    env.ui.setWaitCursor(true);
    if (env.show_progress) env.ui.progressShow(action, true);
    const bool keeps = env.object_keeps_exclude_list && !window.object_path.empty();
    const long loaded = data.loaded_count();
    long visited = 0;
    const std::span<const DataLine> lines = data.lines();
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (lines[i].number <= 0) continue;
      const int32_t position = lines[i].number;
      if (env.show_progress && ++visited % kProgressEvery == 0) {
        char progress[64];
        std::snprintf(progress, sizeof progress, "\n\nLine %ld of %ld", static_cast<long>(position), loaded);
        env.ui.progressSetText(action + progress);
        env.ui.progressSetFraction(static_cast<double>(position) / static_cast<double>(loaded));
        if (env.ui.progressCancelled()) {
          result.cancelled = true;
          break;
        }
      }
      for (const Tested& t : tested) {
        const PointColumns::View& points = t.view;
        const auto i = static_cast<std::size_t>(position);
        if (!points.valid(i) || !points.in_range(i)) continue;
        const double x = points.x(i), value = points.value(i);
        if (x < box.x_lo || x > box.x_hi || value < box.y_lo || value > box.y_hi) continue;
        if (kind == Kind::Exclude) {
          data.set_included(position, false);
          ++result.lines_excluded;
          if (keeps) window.object_modified = true;
          break;  // the line is gone: its other points need no test
        }
        t.points->set_valid(i, false);
        t.points->set_in_range(i, false);
        ++formulas[t.formula].statistics.ignored;
        ++result.ignored[t.formula];
        ++result.points_ignored;
      }
    }
    env.ui.setWaitCursor(false);
    if (env.show_progress) env.ui.progressHide();

    if (kind == Kind::Exclude)
      mark_for_exclusions(window);
    else
      for (Formula& formula : formulas) formula.changed = 1;
    return result;
  }
};

}  // namespace

BoxPassResult exclude_in_box(PlotWindow& window, const ZoomBox& box, BoxPassEnvironment& env) {
  return BoxPass().run(window, box, env, BoxPass::Kind::Exclude);
}

BoxPassResult ignore_in_box(PlotWindow& window, const ZoomBox& box, BoxPassEnvironment& env) {
  return BoxPass().run(window, box, env, BoxPass::Kind::Ignore);
}

}  // namespace zentrik
