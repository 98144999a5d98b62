#include "app/batch/Report.h"

#include <cmath>
#include <nlohmann/json.hpp>

#include "data/DataFile.h"
#include "formula/Values.h"

namespace zentrik {
namespace {

using json = nlohmann::ordered_json;  // keys in the order the report lists them

json range_end(double value) {
  if (value <= RANGE_UNSET_LOW || value >= RANGE_UNSET_HIGH) return nullptr;
  return value;
}

// The marks as drawn; on a logarithmic axis they stand at logarithms of the values.
json marks(const std::vector<MarkLabel>& drawn, bool logarithmic) {
  json list = json::array();
  for (const MarkLabel& mark : drawn)
    list.push_back({{"value", logarithmic ? std::pow(10.0, mark.value) : mark.value},
                    {"label", mark.text},
                    {"label_shown", mark.fate == MarkLabel::Fate::Drawn}});
  return list;
}

json axis(double min, double max, const std::vector<MarkLabel>& drawn, bool logarithmic) {
  return {{"min", range_end(min)}, {"max", range_end(max)}, {"marks", marks(drawn, logarithmic)}};
}

json data_part(const DataFile& data) {
  json excluded = json::array();
  for (int32_t position = 1; position <= data.loaded_count(); ++position)
    if (!data.line(position).included()) excluded.push_back(position);
  return {{"path", data.url.empty() ? data.path() : data.url},
          {"loaded", data.loaded_count()},
          {"included", data.included_count()},
          {"excluded", excluded}};
}

json slope(const PlotWindow& window, const FormulaStatistics& stats) {
  if (!regression_applies(window) || stats.quantity <= 1) return nullptr;
  if (stats.slope == kInfiniteSlope) return "INF";
  return stats.slope;
}

json formula_part(const PlotWindow& window, const Formula& formula, const StatisticsRow* row) {
  const FormulaStatistics& stats = formula.statistics;
  const bool counted = formula.enabled && stats.quantity > 0 && !stats.too_big;
  auto when_counted = [&](double value) -> json { return counted ? json(value) : json(nullptr); };
  json bins = json::array();
  for (int b = 0; b < formula.bins_in_use && b < static_cast<int>(formula.bins.size()); ++b)
    bins.push_back({{"upper", formula.bins[static_cast<std::size_t>(b)].upper},
                    {"count", formula.bins[static_cast<std::size_t>(b)].count}});
  return {{"text", formula.text()},
          {"description", formula.description},
          {"enabled", formula.enabled != 0},
          {"quantity", static_cast<int64_t>(stats.quantity)},
          {"min", when_counted(stats.y_min)},
          {"mean", when_counted(stats.y_sum)},
          {"max", when_counted(stats.y_max)},
          {"std_dev", when_counted(stats.deviation)},
          {"slope", counted ? slope(window, stats) : json(nullptr)},
          {"ignored", stats.ignored},
          {"too_big", stats.too_big},
          {"cells", row ? json(row->cells) : json::array()},
          {"bins", bins}};
}

std::string qty_header(const PlotWindow& window, const std::optional<StatisticsBox>& statistics) {
  if (statistics)
    for (const StatisticsColumn& column : statistics->columns)
      if (column.header.rfind("Qty", 0) == 0) return column.header;
  return quantity_header(window.data->loaded_count() - window.data->included_count());
}

}  // namespace

std::string report_json(const PlotWindow& window, const RenderResult& drawn,
                        const std::optional<StatisticsBox>& statistics) {
  const PlotDefinition& definition = window.definition;
  const bool histogram = definition.xy_or_histo != 0;
  json report;
  report["data"] = data_part(*window.data);
  report["histogram"] = histogram;
  if (histogram) {
    // the values lie along the horizontal axis, the counts up the vertical one
    report["x_axis"] = axis(0, window.largest_bin_count, drawn.vertical_marks, false);
    report["y_axis"] = axis(window.plot_y_min, window.plot_y_max, drawn.horizontal_marks, false);
  } else {
    report["x_axis"] = axis(window.plot_x_min, window.plot_x_max, drawn.horizontal_marks, definition.log_x == 1);
    report["y_axis"] = axis(window.plot_y_min, window.plot_y_max, drawn.vertical_marks, definition.log_y == 1);
  }
  report["largest_bin_count"] = window.largest_bin_count;
  report["qty_header"] = qty_header(window, statistics);
  json formulas = json::array();
  for (std::size_t f = 1; f < definition.formulas.size(); ++f) {
    const StatisticsRow* row = nullptr;
    if (statistics && statistics->statistics_shown && f - 1 < statistics->rows.size()) row = &statistics->rows[f - 1];
    formulas.push_back(formula_part(window, definition.formulas[f], row));
  }
  report["formulas"] = formulas;
  // File names and descriptions need not be UTF-8: such bytes become U+FFFD.
  return report.dump(2, ' ', false, json::error_handler_t::replace);
}

}  // namespace zentrik
