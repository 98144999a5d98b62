#include <gtest/gtest.h>

#include "persist/ConfigReader.h"
#include "persist/FormulaListText.h"

namespace zentrik {
namespace {

TEST(FormulaLine, IsWrittenFieldByField) {
  Formula formula("C2*2");
  formula.point_char = '+';
  formula.draw_points = 1;
  formula.draw_lines = 0;
  formula.color = 255;
  formula.line_type = LineType::Dot;
  formula.line_width = 1;
  formula.black_points = 1;
  formula.bin_all = 1;
  formula.bin_count = 29;
  formula.reserved_flag = 0;
  formula.description = "twice";
  EXPECT_EQ(formula_line(formula), "+ 1 0 255 2 1 3 29 0 C2*2~twice\n");
  formula.black_points = 0;
  formula.bin_all = 0;
  formula.description.clear();
  EXPECT_EQ(formula_line(formula), "+ 1 0 255 2 1 0 29 0 C2*2~\n");
  formula.description = "twice\n~end_plot_info~";  // a description cannot end the list
  EXPECT_EQ(formula_line(formula), "+ 1 0 255 2 1 0 29 0 C2*2~twice\n");
}

TEST(FormulaList, WritingThenReadingKeepsEveryStoredField) {
  FormulaList formulas;
  for (int i = 0; i < 4; ++i) {
    Formula f(i == 0 ? "L" : "C" + std::to_string(i) + " \\ C9 ? X > 3");
    f.point_char = static_cast<char>('0' + i);
    f.draw_points = i % 2;
    f.draw_lines = 1 - i % 2;
    f.color = 0x123456u * static_cast<uint32_t>(i);
    f.line_type = static_cast<LineType>(i);
    f.line_width = i + 1;
    f.black_points = i % 2;
    f.bin_all = i / 2;
    f.bin_count = 10 * i;
    f.reserved_flag = i;
    f.description = i == 2 ? "" : "formula " + std::to_string(i);
    f.enabled = i == 3 ? 0 : 1;
    formulas.push_back(f);
  }
  std::string text = "other 1\n";
  write_formula_list(text, "plot_info", "~end_plot_info~", formulas);
  text += "after 2\n";
  ConfigReader reader = ConfigReader::from_text(text);
  FormulaList read = read_formula_list(reader, "plot_info", "~end_plot_info~");
  ASSERT_EQ(read.size(), formulas.size());
  for (std::size_t i = 0; i < read.size(); ++i) {
    EXPECT_EQ(formula_line(read[i]), formula_line(formulas[i]));
    EXPECT_EQ(read[i].text(), formulas[i].text());
    EXPECT_EQ(read[i].suffix_text(), formulas[i].suffix_text());
    EXPECT_EQ(read[i].enabled, 1);  // a disabled formula comes back enabled
  }
  EXPECT_EQ(reader.read_int("after", 0), 2);

  std::string empty;
  write_formula_list(empty, "plot_info", "~end_plot_info~", {});
  EXPECT_EQ(empty, "");
}

TEST(FormulaList, MissingFieldsTakeTheirDefaults) {
  std::string text = "default_plot\n";
  for (int i = 0; i < 10; ++i) text += "1 1 0 xxxxxx\n";  // the point character is a number too
  text += "* 1 0 255 C12 5\n";                           // fields taken from the formula's digits
  text += "short\n";                                      // fewer than 9 characters
  text += "abc def ghi 1 2\n";                            // fewer than 3 numbers
  text += "~end_default_plot~\n* 1 1 1 1 1 1 1 1 C1\n";
  ConfigReader reader = ConfigReader::from_text(text);
  FormulaList read = read_formula_list(reader, "default_plot", "~end_default_plot~");
  ASSERT_EQ(read.size(), 11u);
  for (std::size_t i = 0; i < 10; ++i) {
    EXPECT_EQ(read[i].point_char, '1');
    EXPECT_EQ(read[i].color, DefaultColorTable[i % 9]) << i;
    EXPECT_EQ(read[i].line_type, LineType::Solid);
    EXPECT_EQ(read[i].line_width, 1);
    EXPECT_EQ(read[i].black_points, 1);
    EXPECT_EQ(read[i].bin_all, 0);
    EXPECT_EQ(read[i].bin_count, 1);
    EXPECT_EQ(read[i].reserved_flag, 1);
    EXPECT_EQ(read[i].text(), "xxxxxx");
  }
  const Formula& digits = read[10];
  EXPECT_EQ(digits.color, 255u);
  EXPECT_EQ(digits.line_width, 5);  // after 12 (no line type: solid) comes 5
  EXPECT_EQ(digits.line_type, LineType::Solid);
  EXPECT_EQ(digits.text(), "");

  ConfigReader no_key = ConfigReader::from_text("plot_info_x\n");
  EXPECT_TRUE(read_formula_list(no_key, "default_plot", "~end_default_plot~").empty());
}

}  // namespace
}  // namespace zentrik
