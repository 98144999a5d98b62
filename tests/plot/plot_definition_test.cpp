#include <gtest/gtest.h>

#include "plot/PlotWindow.h"

namespace zentrik {
namespace {

TEST(NewPlot, StartsFromTheDefaultsOrBuildsItsOwnFormulas) {
  DefaultPlot defaults;
  defaults.new_points = 0;
  defaults.new_lines = 1;
  std::string from;
  PlotDefinition internal = new_plot_definition(defaults, from);
  EXPECT_EQ(from, "Setup From:  Internal Defaults");
  ASSERT_EQ(internal.formulas.size(), 2u);
  EXPECT_EQ(internal.formulas[0].text(), "L");
  EXPECT_EQ(internal.formulas[0].point_char, '0');
  EXPECT_EQ(internal.formulas[0].draw_lines, 0);
  EXPECT_EQ(internal.formulas[1].text(), "C1");
  EXPECT_EQ(internal.formulas[1].point_char, '*');
  EXPECT_EQ(internal.formulas[1].draw_points, 0);
  EXPECT_EQ(internal.formulas[1].draw_lines, 1);
  EXPECT_EQ(internal.formulas[1].color, DefaultColorTable[0]);
  EXPECT_EQ(internal.x_margin, 15);
  EXPECT_EQ(internal.date_format, "%#d-%b-%y %#H:%M");

  defaults.definition.formulas = {Formula("C1"), Formula("C2"), Formula("C3")};
  defaults.definition.xlab = "time";
  PlotDefinition loaded = new_plot_definition(defaults, from);
  EXPECT_EQ(from, "Setup From:  Loaded Defaults");
  EXPECT_EQ(loaded.formulas.size(), 3u);
  EXPECT_EQ(loaded.xlab, "time");

  defaults.definition.formulas = {Formula("C1")};  // an X formula alone gets a Y formula
  EXPECT_EQ(new_plot_definition(defaults, from).formulas.size(), 2u);
  EXPECT_EQ(from, "Setup From:  Internal Defaults");
}

TEST(NewPlot, AddedYFormulasTakeTheirCharacterAndStyle) {
  DefaultPlot defaults;
  defaults.def_blackpoints = 0;
  defaults.def_num_cats = 12;
  FormulaList formulas{Formula("L")};
  Formula first = new_y_formula("C1", formulas, defaults);
  EXPECT_EQ(first.point_char, '*');
  EXPECT_EQ(first.color, DefaultColorTable[0]);
  EXPECT_EQ(first.bin_count, 12);
  EXPECT_EQ(first.black_points, 0);
  formulas.push_back(first);
  formulas.push_back(new_y_formula("C2", formulas, defaults));
  Formula third = new_y_formula("C3", formulas, defaults);
  EXPECT_EQ(third.point_char, '2');
  EXPECT_EQ(third.color, DefaultColorTable[2]);
}

TEST(NewPlot, WindowsTakeTheirSwitchesFromTheDefaults) {
  DefaultPlot defaults;
  defaults.new_stats = 0;
  defaults.new_legend = 1;
  defaults.new_stat_bar = 0;
  PlotWindow window = new_plot_window(nullptr, defaults, {30, 30, 530, 520});
  EXPECT_EQ(window.showstats, 0);
  EXPECT_EQ(window.legend, 1);
  EXPECT_EQ(window.status_bar, 0);
  EXPECT_EQ(window.regress, 0);
  EXPECT_EQ(window.title, "");
  EXPECT_TRUE(window.auto_scaled);
  EXPECT_EQ(window.setup_from, "Setup From:  Internal Defaults");
}

TEST(WindowCascade, StepsDownAndRestartsAtTheScreenEdge) {
  WindowCascade cascade;
  WindowRect first = cascade.next(500, 490, 1024, 768);
  EXPECT_EQ(first.left, 30);
  EXPECT_EQ(first.top, 30);
  EXPECT_EQ(first.right, 530);
  EXPECT_EQ(first.bottom, 520);
  WindowRect second = cascade.next(500, 490, 1024, 768);
  EXPECT_EQ(second.left, 60);
  WindowRect tenth;
  for (int i = 3; i <= 10; ++i) tenth = cascade.next(500, 490, 1024, 768);
  EXPECT_EQ(tenth.left, 300);
  EXPECT_EQ(tenth.top, 90);  // 300 + 490 would pass the screen's 768
  WindowRect r;
  for (int i = 11; i <= 18; ++i) r = cascade.next(500, 490, 1024, 768);
  EXPECT_EQ(r.left, 90);  // 540 + 500 would pass the screen's 1024
  EXPECT_EQ(r.top, 120);  // restarted at the 17th window too
}

}  // namespace
}  // namespace zentrik
