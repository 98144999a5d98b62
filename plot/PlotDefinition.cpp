#include "plot/PlotDefinition.h"

#include "data/fields/NumberText.h"

namespace zentrik {

int default_x_automark(std::string_view x_bytick) { return leading_integer(x_bytick).value_or(0) == 0 ? 1 : 0; }

PlotDefinition new_plot_definition(const DefaultPlot& defaults, std::string& setup_from) {
  PlotDefinition definition = defaults.definition;
  setup_from = "Setup From:  Loaded Defaults";
  if (definition.formulas.empty()) {
    Formula x("L");
    x.point_char = '0';
    x.draw_points = 0;
    x.draw_lines = 0;
    x.color = 0;
    x.line_type = LineType::Solid;
    x.line_width = 1;
    definition.formulas.push_back(x);
  }
  if (definition.formulas.size() < 2) {
    Formula y("C1");
    y.point_char = '*';
    y.draw_points = defaults.new_points;
    y.draw_lines = defaults.new_lines;
    y.color = DefaultColorTable[0];
    y.line_type = LineType::Solid;
    y.line_width = 1;
    definition.formulas.push_back(y);
    setup_from = "Setup From:  Internal Defaults";
  }
  return definition;
}

Formula new_y_formula(std::string text, const FormulaList& formulas, const DefaultPlot& defaults) {
  Formula formula(std::move(text));
  std::size_t listed = formulas.empty() ? 0 : formulas.size() - 1;  // the Y formulas
  formula.point_char = listed == 0 ? '*' : static_cast<char>('0' + listed);
  formula.draw_points = defaults.new_points;
  formula.draw_lines = defaults.new_lines;
  LineStyle style = automatic_line_style(formulas);
  formula.color = style.color;
  formula.line_type = style.line_type;
  formula.line_width = 1;
  formula.black_points = defaults.def_blackpoints;
  formula.bin_count = defaults.def_num_cats;
  formula.bin_all = defaults.def_bin_all;
  formula.reserved_flag = 0;
  return formula;
}

}  // namespace zentrik
