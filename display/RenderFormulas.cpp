// Inside the plot area: the points and lines of each formula or its histogram
// outline, regression lines, the histogram quantities, and the remembered zoom box.
#include <cstdio>
#include <span>

#include "data/DataFile.h"
#include "display/LastCharacters.h"
#include "display/RenderSteps.h"
#include "plot/Statistics.h"

namespace zentrik::render_steps {
namespace {

constexpr TextAlign kPointAlign{HAlign::Centre, VAlign::Bottom};

// The steps of a curve go to the surface this many at a time.
constexpr std::size_t kCurveBatch = 4096;

// A curve of this many lines or more draws only the last character on each anchor
// of a picture of at most kMaxFollowedPixels pixels.
constexpr std::size_t kManyCharacters = std::size_t{1} << 16;
constexpr long long kMaxFollowedPixels = 1LL << 24;
// The first points of such a curve tell whether its characters repeat their
// anchors: when one in kWorthwhileRepeats of them does.
constexpr std::size_t kCharacterSample = std::size_t{1} << 16;
constexpr std::size_t kWorthwhileRepeats = 8;

// Calls visit(points, position) for each point of an included line, in line order,
// while it returns true.
template <typename Visit>
void for_each_included_point(const DataFile* data, const Formula& formula, Visit visit) {
  if (!data || !formula.points) return;
  const std::size_t size = formula.points->size();
  const PointColumns::View points = formula.points->view();
  data->for_each_included([&](std::size_t position) { return position < size && visit(points, position); });
}

}  // namespace

// The points the statistics counted: for each formula its first, and for the plot
// whether there is none and whether there are two different ones (the zoom needs both).
void Renderer::count_points() {
  std::optional<CountedPoint> plot_first;
  for (std::size_t i = 1; i < definition_.formulas.size(); ++i) {
    const Formula& formula = definition_.formulas[i];
    std::optional<CountedPoint> first;
    if (formula.enabled)
      for_each_included_point(window_.data, formula, [&](const PointColumns::View& points, std::size_t i) {
        if (!points.valid(i) || !points.in_range(i)) return true;
        CountedPoint counted{points.x(i), points.value(i)};
        if (!first) first = counted;
        if (!plot_first)
          plot_first = counted;
        else if (counted.x != plot_first->x || counted.y != plot_first->y)
          result_.fewer_than_two_distinct = false;
        // with this formula's first point and two different ones there is nothing more to learn
        return result_.fewer_than_two_distinct;
      });
    result_.first_counted.push_back(first);
  }
  result_.no_counted_point = !plot_first.has_value();
}

void Renderer::draw_formulas() {
  for (std::size_t i = 1; i < definition_.formulas.size(); ++i) {
    const Formula& formula = definition_.formulas[i];
    if (!formula.enabled || !formula.points) continue;
    surface_.setPen(formula_pen(formula));
    surface_.setTextColor(point_color(formula));
    surface_.setFont(options_.fonts.plot_points);
    if (histogram()) {
      draw_histogram_bins(formula);
    } else {
      draw_xy_formula(formula);
      draw_regression_line(formula);
    }
  }
}

// A line through the valid points in line order, and the point character on each.
// A point's character is drawn after the line that leaves it, so lines never cross
// it. The last valid point always shows its character (so does a single one), with
// or without points. A line to the pixel the pen stands on covers no pixel, and a
// character on the pixel of the one drawn just before it, with no line drawn in
// between, covers the same pixels again: neither is sent (a curve of millions of
// points mostly repeats pixels). On a curve of many points a character that a later
// one covers on the same pixel is not sent either.
void Renderer::draw_xy_formula(const Formula& formula) {
  const std::string character(1, formula.point_char);
  const int half = layout_.P / 2;
  const std::optional<LastCharacters> last = last_characters(formula);
  std::vector<CurveStep> steps(kCurveBatch);
  std::size_t held = 0;
  auto step = [&](CurveStep next) {
    steps[held++] = next;
    if (held < kCurveBatch) return;
    surface_.drawCurve(steps, character, kPointAlign);
    held = 0;
  };
  long count = 0;
  int last_x = 0, last_y = 0;
  bool character_shown = false;  // the last character drawn is still untouched at shown_x, shown_y
  int shown_x = 0, shown_y = 0;
  std::size_t last_point = 0;
  auto draw_character = [&](int x, int y, std::size_t point) {
    if (character_shown && x == shown_x && y == shown_y) return;
    if (last && !last->is_last(point)) return;
    step({x, y + half, true});
    character_shown = true;
    shown_x = x;
    shown_y = y;
  };
  const std::size_t size = formula.points->size();
  const PointColumns::View points = formula.points->view();
  if (window_.data) window_.data->for_each_included_run([&](std::size_t first, std::size_t end) {
    for (std::size_t i = first; i < std::min(end, size); ++i) {
      if (!points.valid(i)) continue;
      const int x = horizontal_.value_position(points.x(i));
      const int y = vertical_.value_position(points.value(i));
      if (count == 0) {
        surface_.moveTo(x, y);
      } else {
        if (formula.draw_lines && (x != last_x || y != last_y)) {
          step({x, y, false});
          character_shown = false;
        }
        if (formula.draw_points) draw_character(last_x, last_y, last_point);
      }
      last_x = x;
      last_y = y;
      last_point = i;
      ++count;
    }
    return end < size;
  });
  if (count > 0) draw_character(last_x, last_y, last_point);
  surface_.drawCurve(std::span<const CurveStep>(steps).first(held), character, kPointAlign);
}

// Whether the characters of a curve of many points land on the same anchors again
// and again, as its first points show: when a fair share of the characters the
// drawing would send repeat an anchor, finding the last ones pays.
bool Renderer::characters_repeat(const Formula& formula) const {
  AnchorSet seen(layout_.width, layout_.height);
  std::size_t sample = 0, repeats = 0;
  int last_x = 0, last_y = 0;
  for_each_included_point(window_.data, formula, [&](const PointColumns::View& points, std::size_t i) {
    if (!points.valid(i)) return true;
    const int x = horizontal_.value_position(points.x(i));
    const int y = vertical_.value_position(points.value(i));
    // a character on the pixel of the one before is not sent again
    if ((sample == 0 || x != last_x || y != last_y) && seen.on_picture(x, y) && !seen.insert(x, y)) ++repeats;
    last_x = x;
    last_y = y;
    return ++sample < kCharacterSample;
  });
  return repeats * kWorthwhileRepeats >= sample;
}

// For a curve of many characters on a picture of a size worth following, whose
// characters repeat their anchors: where the last character on each pixel stands.
std::optional<LastCharacters> Renderer::last_characters(const Formula& formula) const {
  const std::size_t size = formula.points->size();
  if (!formula.draw_points || size < kManyCharacters || !window_.data ||
      static_cast<long long>(layout_.width) * layout_.height > kMaxFollowedPixels || !characters_repeat(formula))
    return std::nullopt;
  std::optional<LastCharacters> last(std::in_place, layout_.width, layout_.height, size);
  const PointColumns::View points = formula.points->view();
  window_.data->for_each_included_run_backward([&](std::size_t first, std::size_t end) {
    for (std::size_t i = std::min(end, size); i-- > first;)
      if (points.valid(i))
        last->note_from_end(i, horizontal_.value_position(points.x(i)), vertical_.value_position(points.value(i)));
    return true;
  });
  return last;
}

// Each bar an outline whose left side it shares with the bar before: a bar taller
// than its left neighbour draws the rise from that neighbour's top, a lower one
// starts at its own top-left corner. Empty bins draw nothing.
void Renderer::draw_histogram_bins(const Formula& formula) {
  if (formula.bins.empty()) return;
  int x0 = horizontal_.value_position(formula.bins.front().upper - formula.bin_width);
  int previous_count = 0, previous_top = 0;
  for (const Bin& bin : formula.bins) {
    const int x1 = horizontal_.value_position(bin.upper) + 1;
    const int y0 = vertical_.value_position(bin.count);
    int y1 = vertical_.value_position(0);
    if (y1 == y0) ++y1;
    if (bin.count > 0) {
      if (bin.count > previous_count) {
        surface_.moveTo(x0, previous_count > 0 ? previous_top : y1);
        surface_.lineTo(x0, y0);
      } else {
        surface_.moveTo(x0, y0);
      }
      surface_.lineTo(x1, y0);
      surface_.lineTo(x1, y1);
      surface_.lineTo(x0, y1);
    }
    previous_count = bin.count;
    previous_top = y0;
    x0 = x1;
  }
}

// From the left border of the plot area to the right one, one pixel wider than the
// formula's lines.
void Renderer::draw_regression_line(const Formula& formula) {
  auto [x_from, x_to] = regression_line_x_ends(window_, layout_.horizontal_scale);
  auto y = regression_line_y(window_, formula, x_from, x_to);
  if (!y) return;
  Pen pen = formula_pen(formula);
  pen.width = formula.line_width + 1;
  surface_.setPen(pen);
  surface_.line(horizontal_.value_position(x_from), vertical_.value_position(y->first),
                horizontal_.value_position(x_to), vertical_.value_position(y->second));
}

// The totals per bin, reading upward from just under the bars, each centred on its
// bin.
void Renderer::draw_quantities() {
  if (quantities_.empty()) return;
  const Formula* first = nullptr;
  for (std::size_t i = 1; i < definition_.formulas.size() && !first; ++i)
    if (definition_.formulas[i].enabled) first = &definition_.formulas[i];
  if (!first) return;
  surface_.setFont(options_.fonts.scale_marks);
  surface_.setTextColor(kBlack);
  const int y = vertical_.value_position(0) + 2;
  for (std::size_t i = 0; i < quantities_.size() && i < first->bins.size(); ++i) {
    char text[32];
    std::snprintf(text, sizeof text, "%lu", quantities_[i]);
    const int middle = horizontal_.value_position(first->bins[i].upper - first->bin_width / 2);
    const int x = middle + surface_.textExtent(text).height / 2;
    surface_.drawText(x, y, text, {HAlign::Right, VAlign::Bottom}, true);
  }
}

// A zoom window showing its whole data marks where its zoom lies, as a dotted frame.
void Renderer::draw_zoom_box() {
  if (!screen() || histogram() || zoomed() || !options_.zoom_box) return;
  const ZoomBox& zoom = *options_.zoom_box;
  Rect box{horizontal_.value_position(zoom.x_lo), vertical_.value_position(zoom.y_hi),
           horizontal_.value_position(zoom.x_hi), vertical_.value_position(zoom.y_lo)};
  surface_.setPen({PenStyle::Dot, 1, kBlack});
  surface_.moveTo(box.left, box.top);
  surface_.lineTo(box.right, box.top);
  surface_.lineTo(box.right, box.bottom);
  surface_.lineTo(box.left, box.bottom);
  surface_.lineTo(box.left, box.top);
  result_.zoom_box = box;
}

}  // namespace zentrik::render_steps
