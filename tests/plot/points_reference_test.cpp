// The points of a plot, computed and recomputed as the program does, against a
// reference evaluated line by line straight through the evaluator.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "data/DataFile.h"
#include "display/ZoomWindow.h"
#include "formula/Evaluator.h"
#include "plot/Calculation.h"
#include "plot/Scaling.h"
#include "ui/ScriptedUi.h"

namespace zentrik {
namespace {

struct Expected {
  double value = 0;
  double x = 0;
  bool valid = false;
};
using Table = std::vector<std::vector<Expected>>;  // by formula, then by line position

double evaluate_text(const std::string& text, EvalContext& context) {
  std::size_t pos = 0;
  std::string message;
  AvgState avg;
  return evaluate(text, pos, context, message, &avg);
}

// One formula on the context's line with the X formula's value x_value; an error
// (the user ignores every one) leaves the point invalid.
Expected evaluate_point(const Formula& formula, bool is_y, double x_value, EvalContext& context) {
  Expected point{0, x_value, true};
  if (!formula.condition_text().empty()) {
    const double condition = evaluate_text(formula.condition_text(), context);
    if (condition == ERROR_VALUE) return {ERROR_VALUE, x_value, false};
    point.valid = condition != 0;
  }
  if (is_y && !formula.suffix_text().empty()) {
    point.x = evaluate_text(formula.suffix_text(), context);
    if (point.x == ERROR_VALUE) return {ERROR_VALUE, point.x, false};
  }
  point.value = evaluate_text(formula.expression_text(), context);
  if (point.value == ERROR_VALUE) point.valid = false;
  if (!is_y) point.x = point.value;
  return point;
}

// What one calculation leaves: the formulas marked are evaluated on every included
// line (a Y formula's point is invalid where the X formula's is); an unmarked Y
// formula keeps its values, reads the X formula's new X values unless it has an X
// expression, and when disabled loses its points where X has none.
void compute_reference(const DataFile& data, const FormulaList& formulas, const std::vector<bool>& marked,
                       Table& table) {
  EvalContext context;
  context.set_first_line(data.first_included()->text());
  int32_t sequence = 0;
  for (const DataLine* line = data.first_included(); line; line = data.next_included(line)) {
    const auto i = static_cast<std::size_t>(line->position());
    context.set_line(line->text());
    context.line_number = line->number;
    context.sequence_number = ++sequence;
    Expected& x = table[0][i];
    if (marked[0]) x = evaluate_point(formulas[0], false, 0, context);
    for (std::size_t f = 1; f < formulas.size(); ++f) {
      const Formula& formula = formulas[f];
      Expected& y = table[f][i];
      const bool own_x = !formula.suffix_text().empty();
      if (!marked[f] || !formula.enabled) {
        if (!own_x) y.x = x.value;
        if (marked[0] && !formula.enabled && !own_x) y.valid = y.valid && x.valid;
      } else if (!x.valid) {
        y.value = 0;
        y.valid = false;
      } else {
        y = evaluate_point(formula, true, x.value, context);
      }
    }
  }
}

// Every included line's point of every formula as the reference has it; the X value
// where the point is valid (no one reads it elsewhere), the in-range flag as a fixed
// range of 0 to 12 in X and 0 to 10 in Y makes it.
void expect_points(const PlotWindow& window, const Table& table, const std::string& pass) {
  const DataFile& data = *window.data;
  const FormulaList& formulas = window.definition.formulas;
  for (std::size_t f = 0; f < formulas.size(); ++f) {
    const PointColumns& points = *formulas[f].points;
    for (const DataLine* line = data.first_included(); line; line = data.next_included(line)) {
      const auto i = static_cast<std::size_t>(line->position());
      const Expected& expected = table[f][i];
      SCOPED_TRACE(pass + ", formula " + std::to_string(f) + ", line " + std::to_string(i));
      EXPECT_EQ(points.valid(i), expected.valid);
      EXPECT_EQ(points.value(i), expected.value);
      if (expected.valid) {
        EXPECT_EQ(points.x(i), expected.x);
      }
      if (f > 0 && formulas[f].enabled) {
        const bool in_range = expected.valid && expected.value >= 0 && expected.value <= 10 &&
                              expected.x >= 0 && expected.x <= 12;
        EXPECT_EQ(points.in_range(i), in_range);
      }
    }
  }
}

class PointsAgainstReference : public ::testing::Test {
 protected:
  PointsAgainstReference() {
    data.store_text(
        "1 2 3 1\n2 5 1 0\n3 4 6 2\n4 1 2 4\n5 7 3 0\n6 3 9 5\n-1 8 4 1\n8 6 5 2\n9 2 7 8\n10 9 1 3\n");
    window.data = &data;
    PlotDefinition& definition = window.definition;
    definition.formulas = {Formula("C1+S ? C1 > 0 & S <> 5"), Formula("C2*2"), Formula("C3 \\ C2+C1 ? C2 > 3"),
                           Formula("C2+C3"),         Formula("1/C4"), Formula("C3-S")};
    definition.auto_x = definition.auto_y = 0;
    definition.x_from = 0;
    definition.x_to = 12;
    definition.y_from = 0;
    definition.y_to = 10;
    table.assign(definition.formulas.size(), std::vector<Expected>(data.loaded_count() + 1));
    ui.queueCalculationChoice(CalculationAction::IgnorePoint, true);  // every "Divide by zero"
  }

  // The program's calculation and scaling beside the reference's.
  void compute(const std::vector<bool>& marked) {
    prepare_calculation(window);
    for (std::size_t f = 0; f < marked.size(); ++f)
      ASSERT_EQ(window.definition.formulas[f].needs_recalc != 0, marked[f]) << f;
    compute_reference(data, window.definition.formulas, marked, table);
    CalculationEnvironment calculation{ui};
    calculation.show_progress = false;
    ASSERT_EQ(calculatePoints(window, calculation), CalculationOutcome::Done);
    ScalingEnvironment scaling{ui, defaults, false};
    ASSERT_EQ(scale(window, true, scaling), ScaleResult::Done);
  }

  DataFile data{"/d/run.dat"};
  PlotWindow window;
  ScriptedUi ui;
  DefaultPlot defaults;
  Table table;
};

TEST_F(PointsAgainstReference, ThroughRecalculationsCopiesAndAZoomWindow) {
  compute({true, true, true, true, true, true});
  expect_points(window, table, "first");
  ASSERT_EQ(ui.calculationErrors().size(), 1u);  // the same error ignored again without asking
  const Table first = table;

  // An exclusion recomputes what uses S (X and the last Y); the others keep their
  // points. The committed copy shares every point until one is written.
  PlotWindow committed;
  committed.data = &data;
  committed.definition = window.definition;
  window.definition.formulas[3].enabled = 0;
  data.set_included(4, false);
  mark_for_exclusions(window);
  compute({true, false, false, false, false, true});
  expect_points(window, table, "after an exclusion");
  for (std::size_t f = 0; f < first.size(); ++f) {
    const PointColumns& points = *committed.definition.formulas[f].points;
    for (std::size_t i = 1; i < first[f].size(); ++i) {
      SCOPED_TRACE("committed copy, formula " + std::to_string(f) + ", line " + std::to_string(i));
      EXPECT_EQ(points.value(i), first[f][i].value);
      EXPECT_EQ(points.valid(i), first[f][i].valid);
      if (first[f][i].valid) {
        EXPECT_EQ(points.x(i), first[f][i].x);
      }
    }
  }
  EXPECT_EQ(window.definition.formulas[2].points, committed.definition.formulas[2].points);  // untouched

  // A zoom window keeps its own copy while the plot it came from is recomputed.
  std::optional<PlotWindow> zoom = make_zoom_window(window, ZoomBox{0, 12, 0, 10}, ui, false);
  ASSERT_TRUE(zoom);
  zoom->definition.auto_x = zoom->definition.auto_y = 0;
  const Table second = table;
  data.set_included(6, false);
  mark_for_exclusions(window);
  compute({true, false, false, false, false, true});
  expect_points(window, table, "after a second exclusion");
  data.set_included(6, true);  // the zoom window's lines as they were when copied
  ScalingEnvironment scaling{ui, defaults, false};
  zoom->auto_scaled = true;
  ASSERT_EQ(scale(*zoom, true, scaling), ScaleResult::Done);
  expect_points(*zoom, second, "zoom window");
}

}  // namespace
}  // namespace zentrik
