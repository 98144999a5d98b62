#include "plot/Formula.h"

#include "data/fields/Chars.h"
#include "data/fields/NumberText.h"

namespace zentrik {
namespace {

std::string_view trim_start(std::string_view text) {
  while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
  return text;
}

std::string_view trim_end(std::string_view text) {
  while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace

void Formula::set_text(std::string text) {
  text_ = std::move(text);
  std::string_view rest = text_;
  condition_text_.clear();
  suffix_text_.clear();
  if (std::size_t question = rest.find('?'); question != std::string_view::npos) {
    condition_text_ = trim_start(rest.substr(question + 1));
    rest = trim_end(rest.substr(0, question));
  }
  if (std::size_t backslash = rest.find('\\'); backslash != std::string_view::npos) {
    suffix_text_ = trim_end(trim_start(rest.substr(backslash + 1)));
    rest = rest.substr(0, backslash);
  }
  expression_text_ = trim_end(rest);
}

void share_x_values(FormulaList& formulas) {
  if (formulas.empty() || !formulas[0].points) return;
  const PointColumns& x_points = *formulas[0].points;
  for (std::size_t f = 1; f < formulas.size(); ++f) {
    Formula& formula = formulas[f];
    if (!formula.points || formula.points->has_own_x() || formula.points->size() != x_points.size() ||
        formula.points->reads_x_from(x_points))
      continue;
    if (formula.points_borrowed()) formula.points = std::make_shared<PointColumns>(*formula.points);
    formula.points->read_x_from(x_points);
  }
}

LineStyle automatic_line_style(const FormulaList& formulas) {
  for (uint32_t type = 0; type <= 3; ++type) {
    for (uint32_t color : DefaultColorTable) {
      bool taken = false;
      for (std::size_t i = 1; i < formulas.size() && !taken; ++i)
        taken = formulas[i].color == color &&
                (type == 0 || static_cast<uint32_t>(formulas[i].line_type) == type);
      if (!taken) return {color, static_cast<LineType>(type)};
    }
  }
  return {0x000000, LineType::Solid};
}

AttributeRefusal check_line_attributes(const LineAttributes& attributes) {
  double width = 0;
  std::size_t pos = 0;
  while (pos < attributes.line_width.size() && is_blank(attributes.line_width[pos])) ++pos;
  if (number_starts_at(attributes.line_width, pos)) read_number(attributes.line_width, pos, width);
  int line_width = static_cast<int>(width);
  if (line_width < 1 || line_width > 10)
    return {AttributeRefusal::LineWidth, "Width must be between 1 and 10!", "Error!"};
  if (attributes.point_char.size() != 1)
    return {AttributeRefusal::PointChar, "Plot character must be exactly one character!", "Error!"};
  if (attributes.line_type != LineType::Solid && line_width >= 2)
    return {AttributeRefusal::LineWidth, "Broken lines are only possible with a line width of 1!", "Sorry!"};
  if (attributes.description.size() > 100)
    return {AttributeRefusal::Description, "Descriptions may not be more than 100 characters.", "Sorry!"};
  AttributeRefusal accepted;
  accepted.line_width = line_width;
  return accepted;
}

}  // namespace zentrik
