#include <gtest/gtest.h>

#include "plot/Formula.h"

namespace zentrik {
namespace {

TEST(Formula, TheTextIsCutIntoItsThreeParts) {
  struct Case {
    const char* text;
    const char* expression;
    const char* suffix;
    const char* condition;
  } cases[] = {
      {"C2 \\ C1 ? C3 > 0", "C2", "C1", "C3 > 0"},
      {"C1", "C1", "", ""},
      {"C1\\C2", "C1", "C2", ""},
      {"C1 ?C2>0", "C1", "", "C2>0"},
      {"C1 ? 'a\\b'", "C1", "", "'a\\b'"},  // a backslash after the question mark is not cut
      {"'x?y'", "'x", "", "y'"},            // the cuts do not look at quotes
      {"  C1  \\  C2  ", "  C1", "C2", ""},
      {"", "", "", ""},
  };
  for (const auto& c : cases) {
    Formula formula(c.text);
    EXPECT_EQ(formula.expression_text(), c.expression) << c.text;
    EXPECT_EQ(formula.suffix_text(), c.suffix) << c.text;
    EXPECT_EQ(formula.condition_text(), c.condition) << c.text;
  }
  Formula edited("C1 ? C2");
  edited.set_text("C3");
  EXPECT_EQ(edited.condition_text(), "");
}

FormulaList with_y_styles(const std::vector<LineStyle>& styles) {
  FormulaList formulas{Formula("L")};
  formulas[0].color = DefaultColorTable[0];  // the X formula's attributes do not count
  for (const LineStyle& style : styles) {
    Formula y("C1");
    y.color = style.color;
    y.line_type = style.line_type;
    formulas.push_back(y);
  }
  return formulas;
}

TEST(AutomaticLineStyle, TakesTheFirstFreeColourAndLineType) {
  LineStyle first = automatic_line_style(with_y_styles({}));
  EXPECT_EQ(first.color, 0xFF0000u);
  EXPECT_EQ(first.line_type, LineType::Solid);

  std::vector<LineStyle> nine;
  for (uint32_t color : DefaultColorTable) nine.push_back({color, LineType::Solid});
  LineStyle tenth = automatic_line_style(with_y_styles(nine));
  EXPECT_EQ(tenth.color, 0xFF0000u);  // blue dashed
  EXPECT_EQ(tenth.line_type, LineType::Dash);

  // a dotted red formula takes red for solid lines too
  LineStyle after_dotted = automatic_line_style(with_y_styles({{0xFF0000, LineType::Solid}, {0x0000FF, LineType::Dot}}));
  EXPECT_EQ(after_dotted.color, 0x00FF00u);

  std::vector<LineStyle> all;
  for (uint32_t type = 1; type <= 3; ++type)
    for (uint32_t color : DefaultColorTable) all.push_back({color, static_cast<LineType>(type)});
  LineStyle none_left = automatic_line_style(with_y_styles(all));  // 27 broken and so 36 pairs taken
  EXPECT_EQ(none_left.color, 0u);
  EXPECT_EQ(none_left.line_type, LineType::Solid);
}

TEST(LineAttributes, RefusalsComeInTheirOrder) {
  struct Case {
    LineAttributes attributes;
    const char* text;  // "" when accepted
    const char* caption;
  } cases[] = {
      {{"*", "1", LineType::Solid, ""}, "", ""},
      {{"*", "10", LineType::Solid, std::string(100, 'd')}, "", ""},
      {{"*", "0", LineType::Solid, ""}, "Width must be between 1 and 10!", "Error!"},
      {{"*", "11", LineType::Solid, ""}, "Width must be between 1 and 10!", "Error!"},
      {{"*", "", LineType::Solid, ""}, "Width must be between 1 and 10!", "Error!"},
      {{"**", "0", LineType::Dot, std::string(101, 'd')}, "Width must be between 1 and 10!", "Error!"},
      {{"**", "2", LineType::Dot, ""}, "Plot character must be exactly one character!", "Error!"},
      {{"", "1", LineType::Solid, ""}, "Plot character must be exactly one character!", "Error!"},
      {{"x", "2", LineType::Dot, std::string(101, 'd')},
       "Broken lines are only possible with a line width of 1!", "Sorry!"},
      {{"x", "1", LineType::Dot, std::string(101, 'd')}, "Descriptions may not be more than 100 characters.",
       "Sorry!"},
  };
  for (const auto& c : cases) {
    AttributeRefusal refusal = check_line_attributes(c.attributes);
    EXPECT_EQ(refusal.text, c.text) << c.attributes.line_width << " " << c.attributes.point_char;
    EXPECT_EQ(refusal.caption, c.caption);
  }
}

TEST(Formula, CopiesShareTheirPoints) {
  Formula formula("C1");
  EXPECT_FALSE(formula.points_borrowed());
  formula.points = std::make_shared<PointColumns>(5);
  Formula copy = formula;
  EXPECT_TRUE(copy.points_borrowed());
  EXPECT_EQ(copy.points, formula.points);
}

}  // namespace
}  // namespace zentrik
