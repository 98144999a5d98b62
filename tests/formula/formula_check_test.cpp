#include <gtest/gtest.h>

#include "formula/FormulaCheck.h"
#include "ui/ScriptedUi.h"

namespace zentrik {
namespace {

const SampleLine kFirst{"1 2 3", 4};

TEST(NormalizeFormulaText, TrimsAndUpperCasesOutsideQuotes) {
  EXPECT_EQ(normalizeFormulaText("  c1+c2 \t"), "C1+C2");
  EXPECT_EQ(normalizeFormulaText("c1 ? 'abc' & \"x\" & y"), "C1 ? 'abc' & \"x\" & Y");
  EXPECT_EQ(normalizeFormulaText("'it\"s' x"), "'it\"s' X");
  EXPECT_EQ(normalizeFormulaText("x 'open quote"), "X 'open quote");
  EXPECT_EQ(normalizeFormulaText("   "), "");
}

struct CheckCase {
  const char* formula;
  const char* message;  // "" when the check passes
};

TEST(CheckFormula, ReportsEachProblemWithItsText) {
  const CheckCase cases[] = {
      {"C1+C2", ""},
      {"C2 \\ C1 ? C3 > 0", ""},
      {"AVG(C1, 3)", ""},
      {"'$$' & C1", ""},
      {"C1 C2", "Unprocessed characters: \"C2\""},
      {"C1 \\ C2 C3", "Unprocessed characters: \"C3\""},
      {"C1 ? C2 C3", "Unprocessed characters: \"C3\""},
      {"C1 $ 2", "Illegal character in X formula: \"$\""},
      {"c1", "Illegal character in X formula: \"c\""},
      {"'abc", "Missing closing quote in X formula: \"'\""},
      {"C9", "Error in X formula:\nInvalid column number:  9"},
      {"LOG 0 + 5", "Error in X formula just before \" + 5\":\nLog of number <= 0"},
      {"C2 \\ C9", "Error in X formula:\nInvalid column number:  9"},
      {"C1 ? C9 > 0", "Error in X formula just before \" > 0\":\nInvalid column number:  9"},
      {"C1 \\", "Error in X formula:\nIllegal or misplaced character:  \"\\\""},
      {"L = 4 & S = 1", ""},  // evaluated on the first included line as line 1 of the run
  };
  for (const CheckCase& c : cases) {
    ScriptedUi ui;
    bool ok = checkFormula(c.formula, "X formula", nullptr, kFirst, ui);
    EXPECT_EQ(ok, c.message[0] == 0) << c.formula;
    if (c.message[0] == 0) {
      EXPECT_TRUE(ui.messages().empty()) << c.formula;
      continue;
    }
    ASSERT_EQ(ui.messages().size(), 1u) << c.formula;
    EXPECT_EQ(ui.lastMessage().text, c.message) << c.formula;
    EXPECT_EQ(ui.lastMessage().caption, "Error!");
    EXPECT_EQ(ui.sounds(), 1);
  }
}

TEST(CheckFormula, TypedTextIsNormalisedFirst) {
  ScriptedUi ui;
  std::string stored = normalizeFormulaText(" c1+c2 ");
  EXPECT_EQ(stored, "C1+C2");
  EXPECT_TRUE(checkFormula(stored, "new Y formula", nullptr, kFirst, ui));
}

TEST(CheckFormula, AnAccumulatorCollectsMessagesSilently) {
  ScriptedUi ui;
  std::string accumulator;
  EXPECT_FALSE(checkFormula("", "Y formula 1", &accumulator, kFirst, ui));
  EXPECT_FALSE(checkFormula("C9", "Y formula 2", &accumulator, kFirst, ui));
  EXPECT_EQ(accumulator, "\nZero-length formula\nError in Y formula 2:\nInvalid column number:  9");
  EXPECT_TRUE(ui.messages().empty());
  EXPECT_EQ(ui.sounds(), 0);
}

TEST(CheckFormula, TheErrorSoundFollowsTheSetting) {
  ScriptedUi ui;
  ui.setErrorBeep(false);
  EXPECT_FALSE(checkFormula("C9", "Y formula #1", nullptr, kFirst, ui));
  EXPECT_EQ(ui.sounds(), 0);
  EXPECT_EQ(ui.messages().size(), 1u);
}

TEST(CheckCondition, ReportsErrorsAndLeftovers) {
  const CheckCase cases[] = {
      {"", ""},
      {"c1 > 2", ""},
      {"V9 > 0", ""},  // a missing value number is no error
      {"F1 = 1 & N = 3", ""},
      {"C9 > 1", "Error in conditional formula:\n\nInvalid column number:  9"},
      {"AVG(C1, 2)", "Error in conditional formula:\n\nInappropriate use of AVG()"},
      {"c1 c2", "Unprocessed characters in conditional formula:\n\n\"C2\""},
  };
  for (const CheckCase& c : cases) {
    ScriptedUi ui;
    bool ok = checkCondition(c.formula, "5 6", "1 2 3", ui);
    EXPECT_EQ(ok, c.message[0] == 0) << c.formula;
    if (c.message[0] == 0) {
      EXPECT_TRUE(ui.messages().empty()) << c.formula;
      continue;
    }
    ASSERT_EQ(ui.messages().size(), 1u) << c.formula;
    EXPECT_EQ(ui.lastMessage().text, c.message) << c.formula;
    EXPECT_EQ(ui.lastMessage().caption, "Error!");
  }
}

}  // namespace
}  // namespace zentrik
