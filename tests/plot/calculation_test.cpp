#include <gtest/gtest.h>

#include "data/DataFile.h"
#include "plot/Calculation.h"
#include "ui/ScriptedUi.h"

namespace zentrik {
namespace {

class Calculating : public ::testing::Test {
 protected:
  // A plot of the given lines with the X formula and Y formulas given.
  void plot(std::string_view text, std::vector<std::string> formulas) {
    data = std::make_unique<DataFile>("/d/run.dat");
    data->store_text(text);
    window.data = data.get();
    window.definition.formulas.clear();
    for (std::string& f : formulas) window.definition.formulas.emplace_back(std::move(f));
  }
  CalculationOutcome calculate() {
    prepare_calculation(window);
    return calculatePoints(window, env);
  }
  struct PointRead {
    double value, x;
    bool valid;
  };
  PointRead point(std::size_t formula, int line) {
    const PointColumns& points = *window.definition.formulas[formula].points;
    const auto i = static_cast<std::size_t>(line);
    return {points.value(i), points.x(i), points.valid(i)};
  }
  std::vector<int> valid_lines(std::size_t formula) {
    std::vector<int> lines;
    for (int i = 1; i <= data->loaded_count(); ++i)
      if (data->line(i).included() && point(formula, i).valid) lines.push_back(i);
    return lines;
  }

  std::unique_ptr<DataFile> data;
  PlotWindow window;
  ScriptedUi ui;
  CalculationEnvironment env{ui};
};

TEST_F(Calculating, EveryIncludedLineGetsAPointPerFormula) {
  plot("1 10\n2 20\n3 30\n", {"C1", "C2", "C2 \\ C1*2 ? C1 > 1"});
  data->set_included(2, false);
  EXPECT_EQ(calculate(), CalculationOutcome::Done);
  EXPECT_EQ(point(1, 3).value, 30);
  EXPECT_EQ(point(1, 3).x, 3);
  EXPECT_TRUE(point(1, 3).valid);
  EXPECT_EQ(point(0, 1).x, 1);
  EXPECT_EQ(valid_lines(2), (std::vector<int>{3}));  // the condition
  EXPECT_EQ(point(2, 3).x, 6);                       // its own X expression
  EXPECT_TRUE(ui.calculationErrors().empty());
}

TEST_F(Calculating, IgnoringWithTheSameActionSilencesTheSameError) {
  plot("1 2 3\n1 2 3\n1 2 3\n1 2 3\n1 2\n1 2 3\n1 2 3\n1 2 3\n1 2\n", {"L", "C3"});
  ui.queueCalculationChoice(CalculationAction::IgnorePoint, true);
  EXPECT_EQ(calculate(), CalculationOutcome::Done);
  auto errors = ui.calculationErrors();
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].message_text,
            "Error:  Invalid column number:  3\n\nFile:  /d/run.dat\n\nLine Number:  5\n\nFormula:  C3");
  EXPECT_EQ(errors[0].offending_line, "1 2");
  EXPECT_FALSE(errors[0].plot_to_here_disabled);
  EXPECT_EQ(valid_lines(1), (std::vector<int>{1, 2, 3, 4, 6, 7, 8}));
  EXPECT_EQ(ui.sounds(), 1);

  // the memory lasts one calculation: the next one asks again
  ui.queueCalculationChoice(CalculationAction::IgnorePoint, false);
  ui.queueCalculationChoice(CalculationAction::IgnorePoint, false);
  window.definition.formulas[1].needs_recalc = 1;
  EXPECT_EQ(calculate(), CalculationOutcome::Done);
  EXPECT_EQ(ui.calculationErrors().size(), 3u);
  EXPECT_EQ(ui.calculationErrors()[1].action, CalculationAction::IgnorePoint);  // the last choice preselected
}

TEST_F(Calculating, ExcludingTheFirstLineRestartsFromTheNextOne) {
  plot("1\n2 20\n3 30\n", {"C1", "C2", "S*100 + F1"});
  ui.queueCalculationChoice(CalculationAction::ExcludeLine);
  EXPECT_EQ(calculate(), CalculationOutcome::Done);
  EXPECT_EQ(data->line(1).number, -1);
  EXPECT_EQ(data->included_count(), 2);
  EXPECT_EQ(point(2, 2).value, 102);  // S counts from 1 again and F reads the new first line
  EXPECT_EQ(point(2, 3).value, 202);
  EXPECT_TRUE(ui.calculationErrors()[0].plot_to_here_disabled);
}

TEST_F(Calculating, ExcludingALaterLineKeepsTheSequence) {
  plot("1 10\n2\n3 30\n4 40\n", {"C1", "C2", "S"});
  window.object_path = "/d/run.zko";
  ui.queueCalculationChoice(CalculationAction::ExcludeLine);
  EXPECT_EQ(calculate(), CalculationOutcome::Done);
  EXPECT_EQ(data->line(2).number, -2);
  EXPECT_EQ(point(2, 3).value, 2);  // the next line takes the excluded line's number
  EXPECT_EQ(point(2, 4).value, 3);
  EXPECT_TRUE(window.object_modified);
  EXPECT_TRUE(ui.calculationErrors()[0].plot_to_here_disabled);  // the second included line
}

TEST_F(Calculating, PlotToHereExcludesTheRest) {
  plot("1 10\n2 20\n3\n4 40\n5 50\n", {"C1", "C2"});
  ui.queueCalculationChoice(CalculationAction::PlotToHere);
  EXPECT_EQ(calculate(), CalculationOutcome::Done);
  EXPECT_FALSE(ui.calculationErrors()[0].plot_to_here_disabled);
  EXPECT_EQ(data->included_count(), 2);
  for (int i = 3; i <= 5; ++i) EXPECT_FALSE(data->line(i).included());
}

TEST_F(Calculating, TheOtherChoicesEndTheCalculation) {
  const std::pair<CalculationAction, CalculationOutcome> cases[] = {
      {CalculationAction::ReturnToSetup, CalculationOutcome::BackToSetup},
      {CalculationAction::CancelAndClose, CalculationOutcome::WindowClosed},
  };
  for (const auto& [action, outcome] : cases) {
    plot("1 10\n2\n3 30\n", {"C1", "C2"});
    ui.queueCalculationChoice(action);
    EXPECT_EQ(calculate(), outcome);
    EXPECT_EQ(data->included_count(), 3);
  }
}

TEST_F(Calculating, ConditionsAndInvalidXValuesHideErrors) {
  plot("3\n7 70\n9 90\n", {"C1", "C2 ? C1 > 5"});
  EXPECT_EQ(calculate(), CalculationOutcome::Done);  // no dialog for C2 on the first line
  EXPECT_EQ(valid_lines(1), (std::vector<int>{2, 3}));

  plot("3\n7 70\n9 90\n", {"C1 ? C1 > 5", "C2"});
  EXPECT_EQ(calculate(), CalculationOutcome::Done);  // no Y formula where X is invalid
  EXPECT_EQ(valid_lines(1), (std::vector<int>{2, 3}));
  EXPECT_EQ(point(1, 1).value, 0);
}

TEST_F(Calculating, AvgYieldsAPointPerBlock) {
  std::string lines;
  for (int i = 1; i <= 10; ++i) lines += std::to_string(i) + " " + std::to_string(i * 10) + "\n";
  plot(lines, {"L", "AVG(C2, 4)"});
  EXPECT_EQ(calculate(), CalculationOutcome::Done);
  EXPECT_EQ(valid_lines(1), (std::vector<int>{4, 8}));
  EXPECT_EQ(point(1, 4).value, 25);
  EXPECT_EQ(point(1, 8).value, 65);
  EXPECT_EQ(calculate(), CalculationOutcome::Done);  // AVG is always recomputed from a clean block
  EXPECT_EQ(point(1, 4).value, 25);
}

TEST_F(Calculating, LogarithmicAxesRefuseValuesAtOrBelowZero) {
  plot("1 5\n2 0\n3 7\n", {"C1", "C2"});
  EXPECT_EQ(calculate(), CalculationOutcome::Done);  // linear: an ordinary point
  window.definition.log_y = 1;
  window.definition.formulas[1].needs_recalc = 1;
  ui.queueCalculationChoice(CalculationAction::IgnorePoint);
  EXPECT_EQ(calculate(), CalculationOutcome::Done);
  ASSERT_EQ(ui.calculationErrors().size(), 1u);
  EXPECT_EQ(ui.calculationErrors()[0].message_text.substr(0, 29), "Error:  Log of a number <= 0\n");
  EXPECT_EQ(valid_lines(1), (std::vector<int>{1, 3}));
}

TEST_F(Calculating, CancelAsksFirst) {
  plot(std::string(2500, '\n').replace(0, 0, ""), {"L", "L*2"});
  for (Answer answer : {Answer::No, Answer::Yes}) {
    ui.reset();
    window.cancelled = false;
    ui.cancelAtCheck(1);
    ui.queueAnswer(answer);
    CalculationOutcome outcome = calculate();
    EXPECT_EQ(ui.lastMessage().text,
              "Canceling this operation will destroy the plot window.  Do you really want to cancel?");
    EXPECT_EQ(ui.lastMessage().caption, "Really cancel?");
    if (answer == Answer::No) {
      EXPECT_EQ(outcome, CalculationOutcome::Done);
      EXPECT_EQ(point(1, 2500).value, 5000);
    } else {
      EXPECT_EQ(outcome, CalculationOutcome::WindowClosed);
      EXPECT_TRUE(window.cancelled);
    }
  }
}

TEST_F(Calculating, TooFewLinesAskToIncludeEverythingAgain) {
  plot("1 10\n2 20\n3 30\n", {"C1", "C2"});
  data->set_included(1, false);
  data->set_included(2, false);
  ui.queueAnswer(Answer::No);
  EXPECT_EQ(calculate(), CalculationOutcome::NotEnoughData);
  EXPECT_EQ(ui.lastMessage().caption, "Not Enough Data!");
  ui.queueAnswer(Answer::Yes);
  EXPECT_EQ(calculate(), CalculationOutcome::Done);
  EXPECT_EQ(data->included_count(), 3);
  EXPECT_EQ(valid_lines(1), (std::vector<int>{1, 2, 3}));
}

TEST_F(Calculating, ExclusionsReachTheOtherPlotsOfTheDataSet) {
  plot("1 10\n2\n3 30\n", {"C1", "C2"});
  PlotWindow other;
  other.data = data.get();
  other.definition.formulas = {Formula("C1"), Formula("SIN(C1) + ABS C2"), Formula("S + 1"), Formula("TDF(1, 4)")};
  for (Formula& f : other.definition.formulas) f.needs_recalc = f.changed = 0;
  int recalculated = 0;
  env.other_windows = {&other};
  env.recalculate = [&](PlotWindow& w) { recalculated += &w == &other; };
  ui.queueCalculationChoice(CalculationAction::ExcludeLine);
  EXPECT_EQ(calculate(), CalculationOutcome::Done);
  EXPECT_EQ(recalculated, 1);
  const FormulaList& marked = other.definition.formulas;
  EXPECT_EQ(marked[1].needs_recalc, 0);
  EXPECT_EQ(marked[1].changed, 1);
  EXPECT_EQ(marked[2].needs_recalc, 1);
  EXPECT_EQ(marked[3].needs_recalc, 1);
}

TEST_F(Calculating, FormulasThatNeedNoRecalculationTakeNewXValues) {
  plot("1 10\n2 20\n", {"C1", "C2", "C2*2"});
  EXPECT_EQ(calculate(), CalculationOutcome::Done);
  for (Formula& f : window.definition.formulas) f.needs_recalc = 0;
  window.definition.formulas[0].set_text("C1*100");
  window.definition.formulas[0].needs_recalc = 1;
  window.definition.formulas[2].enabled = 0;
  EXPECT_EQ(calculate(), CalculationOutcome::Done);
  EXPECT_EQ(point(1, 2).x, 200);
  EXPECT_EQ(point(1, 2).value, 20);
  EXPECT_EQ(point(2, 2).x, 200);  // disabled: its X follows too
}

// An X formula that needs no recalculation keeps its points and asks nothing again.
TEST_F(Calculating, AnUnchangedXFormulaIsNotEvaluatedAgain) {
  plot("1 10\n2\n3 30\n4 40\n", {"C2", "C1", "C1*2"});
  ui.queueCalculationChoice(CalculationAction::IgnorePoint);
  EXPECT_EQ(calculate(), CalculationOutcome::Done);
  for (Formula& f : window.definition.formulas) f.needs_recalc = 0;
  window.definition.formulas[2].needs_recalc = 1;
  EXPECT_EQ(calculate(), CalculationOutcome::Done);
  EXPECT_EQ(ui.calculationErrors().size(), 1u);
  EXPECT_EQ(valid_lines(2), (std::vector<int>{1, 3, 4}));  // no Y point where X was ignored
}

}  // namespace
}  // namespace zentrik
