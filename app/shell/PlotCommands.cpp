#include "app/shell/PlotCommands.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <system_error>

#include "data/Updates.h"
#include "display/ZoomWindow.h"
#include "data/fields/NumberText.h"
#include "plot/Histogram.h"

namespace zentrik {
namespace {

constexpr int kWidestWindow = 32000;  // far beyond any screen, well within the toolkit's limits

void mark_changed(Plot& plot) {
  if (plot.object) plot.window.object_modified = plot.object->modified = true;
}

// A command that arrives while the plot is computing (its progress window lets
// events through) or after it was closed only beeps.
bool refused(Shell& shell, const Plot& plot) {
  if (!plot.closed && !plot.calculating && plot.window.data) return false;
  shell.ui().beep();
  return true;
}

CommandResult compute(Shell& shell, Plot& plot, bool rescale) {
  if (shell.recalculate(plot, rescale) == Recalculation::Closed) return {WindowAction::Closed};
  return {WindowAction::Redraw};
}

// Holds the data set's reloads back while a command waits for the user, so that no
// reload recomputes (and perhaps closes) the plot under it.
class HoldUpdates {
 public:
  explicit HoldUpdates(DataFile& data) : data_(data) { ++data_.update_hold; }
  ~HoldUpdates() { --data_.update_hold; }
  HoldUpdates(const HoldUpdates&) = delete;
  HoldUpdates& operator=(const HoldUpdates&) = delete;

 private:
  DataFile& data_;
};

std::string_view trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") + 1 - first);
}

// One line of a file: a control character (a pasted line feed) would split it.
std::string one_line(std::string_view text) {
  std::string line(trimmed(text));
  for (char& c : line)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = ' ';
  return std::string(trimmed(line));
}

// The whole of what was entered as one number; nothing when it is not one.
std::optional<double> entered_number(std::string_view entered) {
  const std::string_view text = trimmed(entered);
  if (!number_starts_at(text, 0) || number_end(text, 0) != text.size()) return std::nullopt;
  double value = 0;
  read_number(text, 0, value);
  return value;
}

void widen_zero_width(double& lo, double& hi) {
  if (hi - lo != 0) return;
  const double v = hi;
  if (v == 0) {
    lo = -1;
    hi = 1;
  } else {
    lo = v < 0 ? v * 1.1 : v * 0.9;
    hi = v < 0 ? v * 0.9 : v * 1.1;
  }
}

// Rescale in a zoom window: the zoom shrinks to the extent of its own points.
CommandResult rescale_zoom(Shell& shell, Plot& plot, bool recomputed) {
  PlotWindow& window = plot.window;
  const DataFile& data = *window.data;
  double x_lo = std::numeric_limits<double>::infinity(), x_hi = -x_lo;
  double y_lo = x_lo, y_hi = -x_lo;
  for (const DataLine* line = data.first_included(); line; line = data.next_included(line)) {
    const auto i = static_cast<std::size_t>(line->position());
    for (std::size_t f = 1; f < window.definition.formulas.size(); ++f) {
      const Formula& formula = window.definition.formulas[f];
      if (!formula.enabled || !formula.points || i >= formula.points->size()) continue;
      const PointColumns& points = *formula.points;
      if (!points.valid(i)) continue;
      const double x = points.x(i), value = points.value(i);
      if (x < window.view_x_lo || x > window.view_x_hi || value < window.view_y_lo || value > window.view_y_hi)
        continue;
      x_lo = std::min(x_lo, x);
      x_hi = std::max(x_hi, x);
      y_lo = std::min(y_lo, value);
      y_hi = std::max(y_hi, value);
    }
  }
  if (x_lo > x_hi) {  // the zoom holds no point to take an extent from
    shell.ui().beep();
    return {recomputed ? WindowAction::Redraw : WindowAction::None};
  }
  widen_zero_width(x_lo, x_hi);
  widen_zero_width(y_lo, y_hi);
  window.view_x_lo = x_lo;
  window.view_x_hi = x_hi;
  window.view_y_lo = y_lo;
  window.view_y_hi = y_hi;
  return compute(shell, plot, true);
}

// Binning all on the entire plot or each formula on its own: the bins are counted
// again when any formula changed.
CommandResult rebin(Shell& shell, Plot& plot, bool all) {
  const DataCheck check = ensure_enough_data(shell, plot);
  if (check == DataCheck::Closed) return {WindowAction::Closed};
  PlotDefinition& definition = plot.window.definition;
  if (!(all ? bin_all_on_entire_plot(definition) : bin_each_individually(definition)))
    return {check == DataCheck::Recomputed ? WindowAction::Redraw : WindowAction::None};
  mark_changed(plot);
  return compute(shell, plot, false);
}

CommandResult toggle_shown(Shell& shell, Plot& plot, int PlotWindow::*flag) {
  if (refused(shell, plot)) return {};
  if (ensure_enough_data(shell, plot) == DataCheck::Closed) return {WindowAction::Closed};
  int& shown = plot.window.*flag;
  shown = shown ? 0 : 1;
  mark_changed(plot);
  if (!shown) return {WindowAction::Redraw};
  return compute(shell, plot, false);
}

bool same_file(const std::string& a, const std::string& b) {
  namespace fs = std::filesystem;
  std::error_code error;
  if (fs::equivalent(a, b, error)) return true;
  const fs::path first = fs::absolute(a, error);
  if (error) return false;
  const fs::path second = fs::absolute(b, error);
  return !error && first.lexically_normal() == second.lexically_normal();
}

bool write_object(Shell& shell, Plot& plot, const std::string& path) {
  const DataFile& data = *plot.window.data;
  for (int i = 1; i <= data.source_count(); ++i) {
    if (!same_file(path, data.source(i)->path)) continue;
    shell.ui().showError("The plot object would be written over its own data file " + path +
                             ".  Choose another name.",
                         "Error!");
    return false;
  }
  return WritePlotObject(path, plot.window, plot.object, shell.approval(), shell.ui());
}

}  // namespace

bool in_zoom_window(const PlotWindow& window) {
  return window.is_zoom_window || window.zoomed || !window.auto_scaled;
}

DataCheck ensure_enough_data(Shell& shell, Plot& plot) {
  if (plot.window.data && plot.window.data->included_count() >= 2) return DataCheck::Enough;
  // The calculation asks whether to include everything again and closes the plot on No.
  if (shell.recalculate(plot, plot.window.auto_scaled) == Recalculation::Closed) return DataCheck::Closed;
  return DataCheck::Recomputed;
}

// --- Show / Hide ---

CommandResult toggle_statistics(Shell& shell, Plot& plot) { return toggle_shown(shell, plot, &PlotWindow::showstats); }
CommandResult toggle_legend(Shell& shell, Plot& plot) { return toggle_shown(shell, plot, &PlotWindow::legend); }
CommandResult toggle_regression(Shell& shell, Plot& plot) { return toggle_shown(shell, plot, &PlotWindow::regress); }

CommandResult toggle_status_bar(Shell& shell, Plot& plot) {
  if (refused(shell, plot)) return {};
  plot.window.status_bar = plot.window.status_bar ? 0 : 1;
  mark_changed(plot);
  return {WindowAction::Relayout};
}

CommandResult switch_histogram(Shell& shell, Plot& plot) {
  if (refused(shell, plot)) return {};
  if (ensure_enough_data(shell, plot) == DataCheck::Closed) return {WindowAction::Closed};
  PlotDefinition& definition = plot.window.definition;
  definition.xy_or_histo = definition.xy_or_histo ? 0 : 1;
  mark_changed(plot);
  if (!definition.xy_or_histo) return {WindowAction::Redraw};
  return compute(shell, plot, false);
}

CommandResult rescale(Shell& shell, Plot& plot) {
  if (refused(shell, plot)) return {};
  if (plot.window.definition.xy_or_histo) return rebin(shell, plot, true);
  const DataCheck check = ensure_enough_data(shell, plot);
  if (check == DataCheck::Closed) return {WindowAction::Closed};
  if (!plot.window.auto_scaled) return rescale_zoom(shell, plot, check == DataCheck::Recomputed);
  PlotDefinition& definition = plot.window.definition;
  if (!definition.auto_x || !definition.auto_y) {
    Answer answer;
    {
      HoldUpdates hold(*plot.window.data);
      answer = shell.ui().message(std::string(kAutoScaleQuestion), std::string(kAutoScaleCaption), Buttons::YesNo);
    }
    if (answer != Answer::Yes) return {check == DataCheck::Recomputed ? WindowAction::Redraw : WindowAction::None};
    definition.auto_x = definition.auto_y = 1;
    mark_changed(plot);
  }
  return compute(shell, plot, true);
}

// --- aspect ratio ---

int aspect_ratio_width(double ratio, const AspectGeometry& geometry) {
  const int h = geometry.height - geometry.bottom_reserve - geometry.status_bar_height;
  const double width = std::trunc(std::max(h, 0) * ratio) + geometry.left;
  return static_cast<int>(std::clamp(width, geometry.left + 1.0, static_cast<double>(kWidestWindow)));
}

std::string aspect_ratio_shown(const AspectGeometry& geometry) {
  const int h = geometry.height - geometry.bottom_reserve - geometry.status_bar_height;
  const int w = geometry.width - geometry.left;
  if (h <= 0 || w <= 0) return "1";
  return format_g(std::clamp(static_cast<double>(w) / h, 0.1, 10.0), 3);
}

CommandResult aspect_ratio(Shell& shell, Plot& plot, const AspectGeometry& geometry, const TextPrompt& prompt) {
  if (refused(shell, plot)) return {};
  if (plot.window.definition.xy_or_histo) return rebin(shell, plot, false);
  std::optional<std::string> entered;
  {
    HoldUpdates hold(*plot.window.data);
    entered = prompt(std::string(kAspectRatioCaption), std::string(kAspectRatioLabel), aspect_ratio_shown(geometry));
  }
  if (!entered) return {};
  const std::optional<double> ratio = entered_number(*entered);
  if (!ratio || *ratio < 0.1 || *ratio > 10) {
    shell.ui().showError(std::string(kAspectRatioRefusal), std::string(kIllegalValueCaption));
    return {};
  }
  return {WindowAction::Resize, aspect_ratio_width(*ratio, geometry)};
}

// --- title ---

CommandResult set_title(Shell& shell, Plot& plot, const TextPrompt& prompt) {
  if (refused(shell, plot)) return {};
  std::optional<std::string> entered;
  {
    HoldUpdates hold(*plot.window.data);
    entered = prompt(std::string(kTitleCaption), std::string(kTitleLabel), plot.window.title);
  }
  if (!entered) return {};
  std::string title = one_line(*entered);
  if (title == plot.window.title) return {};
  plot.window.title = std::move(title);
  mark_changed(plot);
  return {WindowAction::Redraw};
}

// --- the plot object ---

bool can_save_object_as(const Plot& plot) {
  return !plot.closed && plot.window.data && !in_zoom_window(plot.window);
}

bool can_save_object(const Plot& plot) { return plot.object.has_value() && can_save_object_as(plot); }

std::string save_object_label(const Plot& plot) {
  if (!plot.object) return "Save Object";
  return plot.window.object_modified ? "Save (Needed)" : "Save Object (Not Needed)";
}

bool save_object(Shell& shell, Plot& plot) {
  if (plot.calculating || !can_save_object(plot)) {
    shell.ui().beep();
    return false;
  }
  return write_object(shell, plot, plot.object->object_file);
}

FileDialogRequest save_object_as_request(Shell& shell, const Plot& plot) {
  FileDialogRequest request = save_object_dialog(plot.window, shell.config().objdir);
  request.default_extension = "zko";  // a name typed without one is still known as an object
  std::error_code error;
  if (!std::filesystem::is_directory(request.folder, error)) {
    const char* home = std::getenv("HOME");
    request.folder = home ? home : "/";
  }
  return request;
}

bool save_object_as(Shell& shell, Plot& plot, const SaveFileChooser& choose) {
  if (plot.calculating || !can_save_object_as(plot)) {
    shell.ui().beep();
    return false;
  }
  std::optional<std::string> chosen;
  {
    HoldUpdates hold(*plot.window.data);
    chosen = choose(save_object_as_request(shell, plot));
  }
  if (!chosen || chosen->empty()) return false;
  Configuration& config = shell.config();
  follow_chosen_folder(config.objdir, *chosen, config.freeze_dirs != 0);
  return write_object(shell, plot, *chosen);
}

// --- automatic updates ---

bool can_update(const Plot& plot) {
  return !plot.closed && plot.window.data && plot.window.data->source_count() == 1;
}

void update_now(Shell& shell, Plot& plot, const std::function<void()>& close_view_window) {
  if (plot.calculating || !can_update(plot)) {
    shell.ui().beep();
    return;
  }
  DataFile& data = *plot.window.data;
  if (data.view_window_open) {
    Answer answer;
    {
      HoldUpdates hold(data);
      answer = shell.ui().message(std::string(kCloseViewQuestion), std::string(kCloseViewCaption), Buttons::YesNo);
    }
    if (answer != Answer::Yes) return;
    if (close_view_window) close_view_window();
    if (data.view_window_open) {  // it would not close
      shell.ui().beep();
      return;
    }
  }
  if (data.reloading()) {  // the update thread is reloading it right now, or its windows are told
    shell.ui().beep();
    return;
  }
  // The windows recompute when the reload ends and may close this plot; should the
  // last of them close, the data set must outlive the reload that is still using it.
  // It counts one window more meanwhile and is freed with the next closing.
  ++data.plot_count;
  reload(data, shell.ui());
  --data.plot_count;
}

std::string update_interval_shown(double seconds) { return format_g(seconds, 10); }

bool enter_update_interval(std::string_view entered, Plot& plot, Ui& ui) {
  const std::optional<double> seconds = entered_number(entered);
  if (!seconds || !(*seconds >= 0) || std::isinf(*seconds) || !plot.window.data) {
    ui.showError(std::string(kUpdateIntervalRefusal), std::string(kIllegalValueCaption));
    return false;
  }
  const double interval = *seconds == 0 ? 0.0 : *seconds;  // no "-0"
  plot.window.data->set_update_interval(interval, ui);
  plot.window.update_interval = interval;
  return true;
}

// --- the object's attributes and the data files ---

bool apply_object_attributes(Plot& plot, std::string_view command, bool exclude_lines) {
  if (!plot.object) return false;
  ObjectRecord& record = *plot.object;
  bool changed = false;
  std::string entered = one_line(command);
  if (entered != record.sys_command) {
    record.sys_command = std::move(entered);
    record.command_approved = !record.sys_command.empty();
    changed = true;
  }
  const int exclude = exclude_lines ? 1 : 0;
  if (exclude != record.exclude_lines) {
    record.exclude_lines = exclude;
    changed = true;
  }
  if (changed) mark_changed(plot);
  return changed;
}

std::vector<std::string> data_file_names(const DataFile& data) {
  std::vector<std::string> names;
  for (int i = 1; i <= data.source_count(); ++i) {
    const DataSource& source = *data.source(i);
    std::string entry = source.path;
    if (source.how_added == kConcatenateFiles)
      entry += "  (lines " + std::to_string(source.first_line) + "-" + std::to_string(source.last_line) + ")";
    names.push_back(std::move(entry));
  }
  return names;
}

// --- moving a zoom with the keyboard ---

namespace {

// A range moved or stretched in the axis's own terms: on a logarithmic axis the
// logarithms move, and the ends are powers of ten again.
struct AxisRange {
  bool logarithmic;
  double lo, hi;

  static AxisRange of(double lo, double hi, bool logarithmic) {
    return logarithmic ? AxisRange{true, std::log10(lo), std::log10(hi)} : AxisRange{false, lo, hi};
  }
  double value(double v) const { return logarithmic ? std::pow(10.0, v) : v; }
};

}  // namespace

CommandResult pan_zoom(Shell& shell, Plot& plot, PanKey key) {
  PlotWindow& window = plot.window;
  if (plot.closed || plot.calculating || !window.is_zoom_window || window.unzoomed || window.auto_scaled ||
      window.definition.xy_or_histo != 0)
    return {};
  const bool horizontal = key == PanKey::Left || key == PanKey::Right || key == PanKey::Widen || key == PanKey::Narrow;
  const bool logarithmic = horizontal ? window.definition.log_x == 1 : window.definition.log_y == 1;
  double& lo = horizontal ? window.plot_x_min : window.plot_y_min;
  double& hi = horizontal ? window.plot_x_max : window.plot_y_max;
  if (logarithmic && (lo <= 0 || hi <= 0)) return {};
  AxisRange range = AxisRange::of(lo, hi, logarithmic);
  const double extent = range.hi - range.lo;
  const double step = (key == PanKey::Widen || key == PanKey::Narrow) ? extent / 16 : extent / 4;
  switch (key) {
    case PanKey::Left:
    case PanKey::Down:
      range.lo -= step;
      range.hi -= step;
      break;
    case PanKey::Right:
    case PanKey::Up:
      range.lo += step;
      range.hi += step;
      break;
    case PanKey::Widen:
      range.lo -= step;
      range.hi += step;
      break;
    case PanKey::Narrow:
      range.lo += step;
      range.hi -= step;
      break;
  }
  if (!(range.hi > range.lo) || !std::isfinite(range.lo) || !std::isfinite(range.hi)) return {};
  lo = range.value(range.lo);
  hi = range.value(range.hi);
  (horizontal ? window.view_x_lo : window.view_y_lo) = lo;
  (horizontal ? window.view_x_hi : window.view_y_hi) = hi;
  window.saved_zoom = current_zoom(window);
  for (Formula& formula : window.definition.formulas) formula.changed = 1;
  if (shell.recalculate(plot, true) == Recalculation::Closed) return {WindowAction::Closed};
  return {WindowAction::Redraw};
}

}  // namespace zentrik
