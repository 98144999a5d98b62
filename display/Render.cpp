#include "display/Render.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "data/DataFile.h"
#include "display/RenderSteps.h"
#include "formula/Format.h"
#include "plot/Histogram.h"
#include "ui/Ui.h"

namespace zentrik {
namespace render_steps {
namespace {

constexpr std::string_view kScaleMarkSample = "09E+";
constexpr std::string_view kPlotPointSample = "AZaq^&%p*";

// The wait cursor, shown while the plot is drawn.
class WaitCursor {
 public:
  explicit WaitCursor(Ui* ui) : ui_(ui) {
    if (ui_) ui_->setWaitCursor(true);
  }
  ~WaitCursor() {
    if (ui_) ui_->setWaitCursor(false);
  }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  Ui* ui_;
};

}  // namespace

AxisMap::AxisMap(double lo, double hi, bool logarithmic, int origin, int extent, int margin,
                 AxisScale::Direction direction)
    : lo_(logarithmic ? std::log10(lo) : lo),
      hi_(logarithmic ? std::log10(hi) : hi),
      logarithmic_(logarithmic),
      scale_(lo_, hi_, origin, extent, margin, direction) {}

bool AxisMap::usable() const { return std::isfinite(lo_) && std::isfinite(hi_) && lo_ < hi_; }

int AxisMap::mark_position(double mark) const { return scale_.to_pixel(mark); }

Pen formula_pen(const Formula& formula) {
  auto type = static_cast<uint32_t>(formula.line_type);
  PenStyle style = type <= static_cast<uint32_t>(PenStyle::DashDotDot) ? static_cast<PenStyle>(type) : PenStyle::Solid;
  return {style, std::max(formula.line_width, 1), formula.color};
}

uint32_t point_color(const Formula& formula) { return formula.black_points ? kBlack : formula.color; }

Renderer::Renderer(Surface& surface, int width, int height, PlotWindow& window, const RenderOptions& options,
                   PaintMemory& memory)
    : surface_(surface),
      window_(window),
      definition_(window.definition),
      options_(options),
      memory_(memory),
      layout_(result_.layout) {
  layout_.width = width;
  layout_.height = height;
}

RenderResult Renderer::run() {
  if (definition_.formulas.size() < 2) return result_;  // no Y formula: left blank
  WaitCursor wait(options_.ui);
  result_.drawn = true;
  result_.title = title_text();
  surface_.setPen(Pen{});
  surface_.setTextColor(kBlack);
  surface_.setBackgroundOpaque(true);
  measure();
  if (!screen()) draw_title();
  set_scales();
  finish_statistics(window_);
  fill_background();
  draw_axes();
  if (drawable_) {
    draw_vertical_marks();
    draw_horizontal_marks();
  }
  draw_axis_labels();
  if (window_.legend || window_.showstats) draw_band();
  clip_to_plot_area();
  count_points();
  if (drawable_) {
    if (!options_.layout_only) draw_formulas();
    draw_quantities();
  }
  surface_.restore();
  if (drawable_) draw_zoom_box();
  return result_;
}

std::string Renderer::title_text() const {
  if (!window_.title.empty()) return window_.title;
  std::string title = window_.data ? window_.data->path() : std::string();
  if (zoomed()) title += " (Zoom)";
  return title;
}

std::string Renderer::horizontal_axis_label() const {
  if (histogram()) return definition_.ylab.empty() ? first_y_formula().text() : definition_.ylab;
  return definition_.xlab.empty() ? x_formula().text() : definition_.xlab;
}

std::string Renderer::vertical_axis_label() const {
  if (histogram()) return "Quantity";
  return definition_.ylab.empty() ? first_y_formula().text() : definition_.ylab;
}

void Renderer::measure() {
  surface_.setFont(options_.fonts.plot_points);
  layout_.P = surface_.textExtent(kPlotPointSample).height;
  surface_.setFont(options_.fonts.scale_marks);
  layout_.S = surface_.textExtent(kScaleMarkSample).height;
  layout_.Q = quantity_band();
  surface_.setFont(options_.fonts.axis_labels);
  layout_.A = surface_.textExtent(horizontal_axis_label()).height;
  layout_.L = std::max(layout_.S, layout_.P);
  layout_.left = layout_.S + 6 + layout_.A;
  const int y_formulas = static_cast<int>(definition_.formulas.size()) - 1;
  layout_.bottom_reserve = layout_.S + 6 + layout_.A;
  if (window_.legend || window_.showstats)
    layout_.bottom_reserve += (y_formulas + (window_.showstats ? 1 : 0)) * layout_.L;
  if (!screen()) {
    surface_.setFont(options_.fonts.title);
    layout_.T = surface_.textExtent(result_.title).height;
    layout_.top = layout_.T + 4;
  }
  layout_.bottom = layout_.height - layout_.bottom_reserve;
}

// The room under the histogram bars for the quantities: the widest total + 4. The
// picture keeps the band of the last screen or printer paint.
int Renderer::quantity_band() {
  if (options_.histogram_quantities && histogram()) quantities_ = histogram_quantities(definition_);
  if (options_.mode == OutputMode::Picture) return memory_.quantity_band;
  int widest = 0;
  for (unsigned long quantity : quantities_) {
    char text[32];
    std::snprintf(text, sizeof text, "%lu", quantity);
    widest = std::max(widest, surface_.textExtent(text).width);
  }
  int band = quantities_.empty() ? 0 : widest + 4;
  memory_.quantity_band = band;
  return band;
}

void Renderer::draw_title() {
  if (options_.mode == OutputMode::Picture) surface_.setLogicalWindow(0, 0, layout_.width + 2, layout_.height);
  surface_.setFont(options_.fonts.title);
  surface_.drawText(layout_.left + (layout_.width - layout_.left) / 2, layout_.T + 2, result_.title,
                    {HAlign::Centre, VAlign::Bottom});
}

void Renderer::set_scales() {
  using Direction = AxisScale::Direction;
  RenderLayout& l = layout_;
  l.y_margin = definition_.y_margin;
  l.x_margin = histogram() ? definition_.y_margin : definition_.x_margin;
  const int plot_width = l.width - l.left;
  if (histogram()) {
    horizontal_ = AxisMap(window_.plot_y_min, window_.plot_y_max, false, l.left, plot_width, l.x_margin,
                          Direction::Horizontal);
    const int counts_height = l.height - l.bottom_reserve - l.Q - l.top;
    vertical_ = AxisMap(0, std::max(window_.largest_bin_count, 1), false, l.top, counts_height, l.y_margin,
                        Direction::HistogramCounts);
    l.vertical_scale = static_cast<double>(counts_height - l.y_margin) / vertical_.hi();
  } else {
    horizontal_ = AxisMap(window_.plot_x_min, window_.plot_x_max, definition_.log_x == 1, l.left, plot_width,
                          l.x_margin, Direction::Horizontal);
    const int plot_height = l.height - l.bottom_reserve - l.top;
    vertical_ = AxisMap(window_.plot_y_min, window_.plot_y_max, definition_.log_y == 1, l.top, plot_height,
                        l.y_margin, Direction::Vertical);
    l.vertical_scale = (plot_height - 2.0 * l.y_margin) / (vertical_.hi() - vertical_.lo());
  }
  l.horizontal_scale = (plot_width - 2.0 * l.x_margin) / (horizontal_.hi() - horizontal_.lo());
  drawable_ = horizontal_.usable() && vertical_.usable();
}

void Renderer::fill_background() {
  if (!screen()) return;
  const RenderLayout& l = layout_;
  surface_.fillRect({0, 0, l.width, l.height}, kWhite);
  if (!(zoomed() && options_.gray_margins)) return;
  surface_.fillRect({l.left, l.top - 1, l.width + 1, l.bottom}, kGray);
  const int inner_bottom = histogram() ? l.bottom : l.bottom - l.y_margin;
  surface_.fillRect({l.left + l.x_margin, l.top - 1 + l.y_margin, l.width + 1 - l.x_margin, inner_bottom}, kWhite);
}

void Renderer::draw_axes() {
  const RenderLayout& l = layout_;
  surface_.setPen(Pen{});
  surface_.setBackgroundOpaque(true);
  surface_.moveTo(l.left, l.top);
  surface_.lineTo(l.left, l.bottom);
  surface_.lineTo(l.width, l.bottom);
  if (screen()) return;
  surface_.lineTo(l.width, l.top);  // the closed frame of printed pages and pictures
  surface_.lineTo(l.left, l.top);
}

// Nothing drawn from here on leaves the plot area: the axes and the frame stay clean.
void Renderer::clip_to_plot_area() {
  const RenderLayout& l = layout_;
  const int right = l.width + 2;  // the picture's logical window reaches this far
  surface_.save();
  surface_.excludeClip({0, 0, l.left + 1, l.height});
  surface_.excludeClip({0, l.bottom, right, l.height});
  surface_.excludeClip({0, 0, right, l.top});
  surface_.excludeClip({l.width - 1, 0, right, l.height});
  surface_.setBackgroundOpaque(false);
}

}  // namespace render_steps

RenderResult render(Surface& surface, int width, int height, PlotWindow& window, const RenderOptions& options,
                    PaintMemory& memory) {
  return render_steps::Renderer(surface, width, height, window, options, memory).run();
}

std::string plot_status_text(const PlotWindow& window) {
  const PlotDefinition& definition = window.definition;
  auto x_text = [&](double x) {
    return formatValue(x, definition.x_tickprec, definition.log_x == 2, window.plot_x_min, window.plot_x_max,
                       definition.date_format);
  };
  auto y_text = [&](double y) { return formatValue(y, definition.y_tickprec, false, 0, 0, ""); };
  return window.title + ": " + x_text(window.plot_x_min) + ", " + y_text(window.plot_y_min) + " to " +
         x_text(window.plot_x_max) + ", " + y_text(window.plot_y_max);
}

std::optional<WindowPaint> paint_plot_window(Surface& surface, int client_width, int client_height,
                                             int status_bar_height, PlotWindow& window, bool busy_or_unready,
                                             const RenderOptions& options, PaintMemory& memory) {
  if (busy_or_unready) {
    memory.pending = true;
    return std::nullopt;
  }
  WindowPaint paint;
  int height = client_height;
  if (window.status_bar) {
    paint.status_text = plot_status_text(window);
    height -= status_bar_height;
  }
  RenderOptions screen = options;
  screen.mode = OutputMode::Screen;
  paint.render = render(surface, client_width, height, window, screen, memory);
  return paint;
}

bool take_pending_paint(PaintMemory& memory) {
  bool pending = memory.pending;
  memory.pending = false;
  return pending;
}

}  // namespace zentrik
