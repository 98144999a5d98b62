// The band under the plot: one row per Y formula with its legend (a line sample,
// point characters, its description) and, with statistics shown, a header row and
// the statistics columns.
#include "display/RenderSteps.h"

namespace zentrik::render_steps {
namespace {

constexpr TextAlign kCellAlign{HAlign::Left, VAlign::Bottom};

}  // namespace

void Renderer::draw_band() {
  const int u = layout_.P / 2;
  surface_.setFont(options_.fonts.scale_marks);
  // The screen lays the band out anew; the picture and the printer show what the
  // screen showed last.
  std::optional<StatisticsBox> fresh;
  if (screen() || !memory_.statistics) {
    auto width = [&](std::string_view text) { return surface_.textExtent(text).width; };
    fresh = build_statistics_box(window_, u, width);
    if (screen()) memory_.statistics = *fresh;
  }
  const StatisticsBox& box = fresh ? *fresh : *memory_.statistics;
  const BandMetrics band{layout_.bottom, layout_.A, layout_.S, layout_.L};
  if (box.statistics_shown) {
    const int text_bottom = row_text_bottom(band, 0, true);
    for (const StatisticsColumn& column : box.columns) {
      surface_.setTextColor(kBlack);
      surface_.setFont(options_.fonts.scale_marks);
      surface_.drawText(column.start, text_bottom, column.header, kCellAlign);
      surface_.setPen(Pen{});
      surface_.line(column.start, text_bottom - 1, column.start + column.width, text_bottom - 1);
    }
  }
  for (std::size_t row = 0; row < box.rows.size(); ++row) draw_band_row(box, row);
}

void Renderer::draw_band_row(const StatisticsBox& box, std::size_t row) {
  const std::size_t formula_index = row + 1;
  if (formula_index >= definition_.formulas.size()) return;  // the band of an earlier paint
  const Formula& formula = definition_.formulas[formula_index];
  const StatisticsRow& cells = box.rows[row];
  const BandMetrics band{layout_.bottom, layout_.A, layout_.S, layout_.L};
  const int r = static_cast<int>(formula_index);
  const int y = row_line_y(band, r, box.statistics_shown);
  const int text_bottom = row_text_bottom(band, r, box.statistics_shown);
  const int u = layout_.P / 2;
  if (cells.legend_line) {
    surface_.setPen(formula_pen(formula));
    surface_.line(u, y, 4 * u, y);
  }
  if (cells.legend_points) {
    const std::string point(1, formula.point_char);
    surface_.setFont(options_.fonts.plot_points);
    surface_.setTextColor(point_color(formula));
    surface_.drawText(u, y + u, point, {HAlign::Centre, VAlign::Bottom});
    surface_.drawText(4 * u, y + u, point, {HAlign::Centre, VAlign::Bottom});
  }
  surface_.setFont(options_.fonts.scale_marks);
  surface_.setTextColor(kBlack);
  surface_.drawText(box.legend_text_x, text_bottom, cells.legend, kCellAlign);
  for (std::size_t c = 0; c < cells.cells.size() && c < box.columns.size(); ++c)
    if (!cells.cells[c].empty()) surface_.drawText(box.columns[c].start, text_bottom, cells.cells[c], kCellAlign);
}

}  // namespace zentrik::render_steps
