#include <gtest/gtest.h>

#include "plot/PlotSetup.h"
#include "ui/ScriptedUi.h"

namespace zentrik {
namespace {

class Setup : public ::testing::Test {
 protected:
  Setup() {
    committed.formulas = {Formula("L"), Formula("C1"), Formula("C2")};
    committed.formulas[1].description = "first";
    for (Formula& f : committed.formulas) f.points = std::make_shared<PointColumns>(4);
  }
  PlotSetup open() { return PlotSetup(committed, "Setup From:  Loaded Defaults", defaults, {"1 2 3", 1}, ui); }
  void expect_message(const std::string& text, const std::string& caption = "Error!") {
    ASSERT_FALSE(ui.messages().empty());
    EXPECT_EQ(ui.lastMessage().text, text);
    EXPECT_EQ(ui.lastMessage().caption, caption);
  }

  PlotDefinition committed;
  DefaultPlot defaults;
  ScriptedUi ui;
};

TEST_F(Setup, AddChecksAndAppendsNewFormulas) {
  PlotSetup setup = open();
  setup.entry = "  c3*2 ";
  ASSERT_TRUE(setup.add());
  EXPECT_EQ(setup.list_items(), (std::vector<std::string>{"C1", "C2", "C3*2"}));
  const Formula& added = setup.working().formulas[3];
  EXPECT_EQ(added.point_char, '2');  // "0" plus the two formulas listed before
  EXPECT_EQ(added.color, DefaultColorTable[0]);  // the listed formulas are black
  EXPECT_EQ(setup.entry, "");

  setup.entry = "";
  EXPECT_FALSE(setup.add());
  expect_message("Zero-length formula!");
  setup.entry = "C9";
  EXPECT_FALSE(setup.add());
  expect_message("Error in new Y formula:\nInvalid column number:  9");
  EXPECT_EQ(setup.list_items().size(), 3u);
}

TEST_F(Setup, EditingReplacesTheTextAndKeepsTheAttributes) {
  PlotSetup setup = open();
  setup.edit(0);
  EXPECT_EQ(setup.entry, "C1");
  setup.entry = "";
  EXPECT_FALSE(setup.add());
  expect_message("The formula being edited is zero length.  Use the DELETE button to remove a formula.");
  setup.entry = "C9";
  EXPECT_FALSE(setup.add());
  expect_message("Error in Y formula #1:\nInvalid column number:  9");
  setup.entry = "c3";
  ASSERT_TRUE(setup.add());
  EXPECT_FALSE(setup.editing());
  EXPECT_EQ(setup.working().formulas[1].text(), "C3");
  EXPECT_EQ(setup.working().formulas[1].description, "first");
  EXPECT_EQ(setup.list_items().size(), 2u);
}

TEST_F(Setup, DuplicateHandsItsAttributesToTheNextAdd) {
  committed.formulas[2].line_type = LineType::Dot;
  committed.formulas[2].bin_count = 7;
  committed.formulas[2].description = "second";
  PlotSetup setup = open();
  setup.duplicate(1);
  EXPECT_EQ(setup.entry_label(), "New Y Formula (copy of formula #2):");
  EXPECT_EQ(setup.entry, "C2");
  ASSERT_TRUE(setup.add());
  const Formula& copy = setup.working().formulas[3];
  EXPECT_EQ(copy.description, "second (copy)");
  EXPECT_EQ(copy.line_type, LineType::Dot);
  EXPECT_EQ(copy.bin_count, 7);
  EXPECT_EQ(copy.point_char, '2');
  EXPECT_EQ(setup.entry_label(), "New Y Formula:");

  setup.duplicate(2);  // a description holding "(copy)" is not extended
  ASSERT_TRUE(setup.add());
  EXPECT_EQ(setup.working().formulas[4].description, "second (copy)");
}

TEST_F(Setup, MovingDeletingAndDisabling) {
  PlotSetup setup = open();
  EXPECT_FALSE(setup.move_up(0));
  EXPECT_EQ(ui.beeps(), 1);
  EXPECT_FALSE(setup.move_down(1));
  EXPECT_TRUE(setup.move_down(0));
  EXPECT_EQ(setup.list_items(), (std::vector<std::string>{"C2", "C1"}));
  EXPECT_TRUE(setup.move_up(1));
  setup.selected = {1};
  EXPECT_EQ(setup.enable_button_label(), "Disa&ble");
  setup.toggle_enabled();
  EXPECT_EQ(setup.list_items(), (std::vector<std::string>{"C1", "DISABLED  C2"}));
  EXPECT_EQ(setup.enable_button_label(), "Ena&ble");
  setup.selected = {0, 1};
  setup.remove_selected();
  EXPECT_TRUE(setup.list_items().empty());
  EXPECT_EQ(setup.working().formulas.size(), 1u);  // the X formula stays
}

TEST_F(Setup, AttributesAreCheckedThenSet) {
  PlotSetup setup = open();
  AttributesEntry entry{{"+", "3", LineType::Solid, "wide"}, 1, 1, 0x0000FF, 1, 10, 0};
  EXPECT_FALSE(setup.set_attributes(entry));
  expect_message("You must first select a single formula to set its attributes.", "No Formula!");
  EXPECT_EQ(setup.description_label(), "Description:  No formula selected . . .");

  setup.selected = {0};
  EXPECT_EQ(setup.description_label(), "Description:  first");
  AttributesEntry broken = entry;
  broken.fields.line_type = LineType::Dash;
  EXPECT_FALSE(setup.set_attributes(broken));
  expect_message("Broken lines are only possible with a line width of 1!", "Sorry!");

  Formula& formula = setup.working().formulas[1];
  formula.needs_recalc = 0;
  ASSERT_TRUE(setup.set_attributes(entry));
  EXPECT_EQ(formula.point_char, '+');
  EXPECT_EQ(formula.line_width, 3);
  EXPECT_EQ(formula.color, 0x0000FFu);
  EXPECT_EQ(formula.bin_count, 10);
  EXPECT_EQ(formula.needs_recalc, 1);  // the bins changed
  EXPECT_EQ(setup.description_label(), "Description:  wide");
  entry.fields.description.clear();
  formula.needs_recalc = 0;
  ASSERT_TRUE(setup.set_attributes(entry));
  EXPECT_EQ(formula.needs_recalc, 0);
  EXPECT_EQ(setup.description_label(), "Description:  none");
}

TEST_F(Setup, OkRefusesIncompletePlots) {
  PlotSetup setup = open();
  setup.x_formula = "  ";
  PlotDefinition target;
  EXPECT_FALSE(setup.ok(target));
  expect_message("There must be an X formula!");
  setup.x_formula = "l";
  setup.selected = {0, 1};
  setup.remove_selected();
  EXPECT_FALSE(setup.ok(target));
  expect_message("There must be at least one Y formula!");
  setup.entry = "c9";
  EXPECT_FALSE(setup.ok(target));  // the formula in the field is added first, and fails
  setup.entry = "c2";
  ASSERT_TRUE(setup.ok(target));
  EXPECT_EQ(target.formulas.size(), 2u);
  EXPECT_EQ(target.formulas[1].text(), "C2");
}

TEST_F(Setup, OkKeepsThePointsOfAnUnchangedList) {
  PlotSetup unchanged = open();
  PlotDefinition target;
  ASSERT_TRUE(unchanged.ok(target));
  EXPECT_EQ(target.formulas[1].points, committed.formulas[1].points);
  EXPECT_TRUE(ui.progressLog().empty());

  PlotSetup changed = open();
  changed.entry = "C3";
  ASSERT_TRUE(changed.ok(target));
  for (const Formula& formula : target.formulas) {
    EXPECT_EQ(formula.points, nullptr);
    EXPECT_EQ(formula.needs_recalc, 1);
  }
  EXPECT_EQ(ui.progressLog().front(), "show: \nDeleting Old\nPoint Data . . . (no cancel)");
}

TEST_F(Setup, DefaultsAreSetAndLoaded) {
  PlotSetup setup = open();
  setup.working().xlab = "hours";
  setup.set_defaults();
  EXPECT_EQ(defaults.definition.xlab, "hours");
  EXPECT_EQ(defaults.definition.formulas.size(), 3u);
  setup.working().xlab = "other";
  setup.load_defaults();
  EXPECT_EQ(setup.working().xlab, "hours");
  EXPECT_EQ(setup.setup_from(), "Setup From:  Loaded Defaults");
  defaults.definition.formulas.clear();
  setup.load_defaults();
  EXPECT_EQ(setup.setup_from(), "Setup From:  Internal Defaults");
  EXPECT_EQ(setup.list_items(), (std::vector<std::string>{"C1"}));
  EXPECT_EQ(setup.x_formula, "L");
}

}  // namespace
}  // namespace zentrik
