#include "plot/Calculation.h"

#include <map>

#include "data/DataFile.h"
#include "formula/Evaluator.h"
#include "formula/PreparedFormula.h"

namespace zentrik {
namespace {

constexpr int kProgressEvery = 1000;  // lines between progress texts and cancel checks

// Fresh points for a formula of `size` lines: a Y formula with an X expression keeps
// X values of its own, the others read the X formula's values.
std::shared_ptr<PointColumns> new_points(std::size_t size, bool own_x) {
  auto points = std::make_shared<PointColumns>(size);
  if (own_x) points->keep_own_x();
  return points;
}

// The points of the lines before `from` kept, those after cleared, as many as size.
void grow_points(Formula& formula, std::size_t size, int32_t from) {
  if (formula.points_borrowed()) formula.points = std::make_shared<PointColumns>(*formula.points);
  formula.points->grow(size, static_cast<std::size_t>(from));
}

bool uses_sequence_or_first_line(const std::string& text) {
  std::string rest;
  for (char c : text)
    if (c != ' ' && c != '\t') rest += c;
  for (const char* word : {"SIN", "COS", "ABS"})
    for (std::size_t at; (at = rest.find(word)) != std::string::npos;) rest.erase(at, 3);
  return rest.find('S') != std::string::npos || rest.find('F') != std::string::npos;
}

class Calculator {
 public:
  Calculator(PlotWindow& window, CalculationEnvironment& env)
      : window_(window), data_(*window.data), env_(env), ui_(env.ui), formulas_(window.definition.formulas) {
    const PlotDefinition& definition = window.definition;
    for (std::size_t f = 0; f < formulas_.size(); ++f) {
      Formula& formula = formulas_[f];
      runs_.push_back({&formula, formula.points.get(), PreparedFormula::prepare(formula.condition_text()),
                       PreparedFormula::prepare(formula.suffix_text()),
                       PreparedFormula::prepare(formula.expression_text()), !formula.condition_text().empty(),
                       !formula.suffix_text().empty(), (f > 0 ? definition.log_y : definition.log_x) == 1});
    }
  }

  CalculationOutcome run() {
    CalculationOutcome outcome = calculate();
    window_.points_lines = outcome == CalculationOutcome::Done ? data_.line_changes() : 0;
    window_.append_from = 0;
    remembered_.clear();
    if (excluded_any_) tell_other_windows();
    ui_.setWaitCursor(false);
    if (progress_shown_) ui_.progressHide();
    return outcome;
  }

 private:
  enum class Step { Next, Restart, Finished, Stop };
  // What the pass over the lines needs of one formula, looked up once: its points,
  // its three texts read once where they are plain arithmetic, and its axis.
  struct FormulaRun {
    Formula* formula;
    PointColumns* points;
    std::optional<PreparedFormula> condition, suffix, expression;
    bool has_condition, has_suffix, logarithmic;
  };

  CalculationOutcome calculate() {
    if (data_.included_count() < 2 && !reinclude_everything()) return CalculationOutcome::NotEnoughData;
    if (window_.cancelled) return CalculationOutcome::WindowClosed;
    show_progress("\nCalculating . . .");
    ui_.setWaitCursor(true);
    for (;;) {
      const DataLine* first = data_.first_included();
      if (!first) return CalculationOutcome::Done;
      context_.set_first_line(first->text());
      const DataLine* start = window_.append_from > 0 ? first_included_from(window_.append_from) : first;
      if (!start) return CalculationOutcome::Done;
      Step step = walk_lines(start, start == first ? 0 : included_before(*start));
      if (step == Step::Restart) continue;
      return step == Step::Stop ? stop_outcome_ : CalculationOutcome::Done;
    }
  }

  const DataLine* first_included_from(int32_t position) const {
    if (position > data_.loaded_count()) return nullptr;
    const DataLine& line = data_.line(position);
    return line.included() ? &line : data_.next_included(&line);
  }

  // The sequence number of the included line before `line`.
  int32_t included_before(const DataLine& line) const {
    if (data_.included_count() == data_.loaded_count()) return line.position() - 1;
    int32_t from_line = 0;
    for (const DataLine* rest = &line; rest; rest = data_.next_included(rest)) ++from_line;
    return data_.included_count() - from_line;
  }

  // One pass over the included lines from `first`, whose sequence numbers follow
  // `sequence`; Restart when the first line was excluded.
  Step walk_lines(const DataLine* first, int32_t sequence) {
    int countdown = kProgressEvery - 1;
    for (const DataLine* line = first; line;) {
      context_.set_line(line->text());
      context_.line_number = line->number;
      context_.sequence_number = ++sequence;
      if (env_.show_progress && --countdown < 0) {
        countdown = kProgressEvery - 1;
        if (!progress_step(*line)) return Step::Stop;
      }
      int32_t position = line->position();
      Step step = compute_line(*line);
      if (step == Step::Stop || step == Step::Finished) return step;
      if (step == Step::Restart) {
        if (line == first) return Step::Restart;
        --sequence;  // the next line takes the excluded line's sequence number
      }
      line = data_.next_included(&data_.line(position));
    }
    return Step::Finished;
  }

  // Progress text and the cancel check; false when the user confirmed the cancel.
  bool progress_step(const DataLine& line) {
    if (!progress_shown_) return true;
    ui_.progressSetText("\nCalculating . . .\n\nLine " + std::to_string(line.number) + " of " +
                        std::to_string(data_.loaded_count()));
    ui_.progressSetFraction(static_cast<double>(line.number) / data_.loaded_count());
    while (ui_.progressCancelled()) {
      ui_.progressHide();
      ui_.setWaitCursor(false);
      progress_shown_ = false;
      Answer answer = ui_.message(
          "Canceling this operation will destroy the plot window.  Do you really want to cancel?",
          "Really cancel?", Buttons::YesNo);
      if (answer == Answer::Yes) {
        window_.cancelled = true;
        stop_outcome_ = CalculationOutcome::WindowClosed;
        return false;
      }
      show_progress("\nCalculating . . .");
      ui_.setWaitCursor(true);
    }
    return true;
  }

  // Every formula on one line. Restart: the line was excluded.
  Step compute_line(const DataLine& line) {
    std::size_t i = static_cast<std::size_t>(line.position());
    const PointColumns& x_points = *runs_[0].points;
    bool x_recomputed = runs_[0].formula->needs_recalc != 0;
    bool x_valid = true;
    for (std::size_t f = 0; f < runs_.size(); ++f) {
      const FormulaRun& run = runs_[f];
      const Formula& formula = *run.formula;
      PointColumns& points = *run.points;
      bool is_y = f > 0;
      if (is_y && (!formula.enabled || !formula.needs_recalc)) {
        // Without an X expression it reads the X formula's values, new already; a
        // disabled one loses its points where the X formula has none.
        if (x_recomputed && !run.has_suffix && !formula.enabled)
          points.set_valid(i, points.valid(i) && x_points.valid(i));
        continue;
      }
      if (!is_y && !formula.needs_recalc) {  // the X points stand: nothing is evaluated
        x_valid = points.valid(i);
        continue;
      }
      if (is_y && !x_valid) {
        points.set_value(i, 0);
        points.set_valid(i, false);
        continue;
      }
      Step step = evaluate_formula(run, is_y, line, i, x_points);
      if (step != Step::Next) return step;
      if (!is_y) x_valid = points.valid(i);
    }
    return Step::Next;
  }

  // The condition, the X expression and the value of one formula on one line.
  Step evaluate_formula(const FormulaRun& run, bool is_y, const DataLine& line, std::size_t i,
                        const PointColumns& x_points) {
    Formula& formula = *run.formula;
    bool valid = true;
    double x = 0;
    if (run.has_condition) {
      double condition = evaluate_part(formula.condition_text(), run.condition, formula);
      if (condition == ERROR_VALUE) return error_in_part(run, line, i, x);
      valid = !context_.missing && condition != 0;
    }
    if (!run.has_suffix) {
      x = x_points.value(i);
    } else {
      x = evaluate_part(formula.suffix_text(), run.suffix, formula);
      if (context_.missing)
        valid = false;
      else if (x == ERROR_VALUE && valid)
        return error_in_part(run, line, i, x);
    }
    double value = evaluate_part(formula.expression_text(), run.expression, formula);
    if (value == AVG_PENDING || context_.missing) valid = false;
    if (valid && (value == ERROR_VALUE || (run.logarithmic && value <= 0))) {
      if (value != ERROR_VALUE) message_ = "Log of a number <= 0";
      Step step = handle_error(formula, line, valid);
      if (step != Step::Next) return step;
    }
    PointColumns& points = *run.points;
    points.set_value(i, value);
    if (is_y && run.has_suffix) points.set_x(i, x);
    points.set_valid(i, valid);
    return Step::Next;
  }

  // A failed condition or X expression ends the formula's evaluation on this line.
  Step error_in_part(const FormulaRun& run, const DataLine& line, std::size_t i, double x) {
    bool valid = true;
    Step step = handle_error(*run.formula, line, valid);
    PointColumns& points = *run.points;
    points.set_value(i, ERROR_VALUE);
    if (points.has_own_x()) points.set_x(i, x);
    points.set_valid(i, false);
    return step;
  }

  double evaluate_part(const std::string& text, const std::optional<PreparedFormula>& prepared, Formula& formula) {
    double value = 0;
    if (prepared && prepared->evaluate(context_, value)) return value;
    std::size_t pos = 0;
    return evaluate(text, pos, context_, message_, &formula);
  }

  // Asks (or remembers) what to do about the error in message_; Next carries on with
  // the line (the point made invalid when ignored).
  Step handle_error(const Formula& formula, const DataLine& line, bool& valid) {
    CalculationAction action;
    auto known = remembered_.find(message_);
    if (known != remembered_.end()) {
      action = known->second;
    } else {
      action = ask(formula, line);
    }
    switch (action) {
      case CalculationAction::IgnorePoint:
        valid = false;
        processing();
        return Step::Next;
      case CalculationAction::ExcludeLine: {
        exclude(line.position());
        processing();
        return Step::Restart;
      }
      case CalculationAction::PlotToHere: {
        for (const DataLine* rest = &line; rest;) {
          int32_t position = rest->position();
          exclude(position);
          rest = data_.next_included(&data_.line(position));
        }
        return Step::Finished;
      }
      case CalculationAction::ReturnToSetup:
        stop_outcome_ = CalculationOutcome::BackToSetup;
        return Step::Stop;
      default:
        stop_outcome_ = CalculationOutcome::WindowClosed;
        return Step::Stop;
    }
  }

  CalculationAction ask(const Formula& formula, const DataLine& line) {
    ui_.setWaitCursor(false);
    if (progress_shown_) ui_.progressHide();
    progress_shown_ = false;
    if (ui_.errorBeep()) ui_.errorSound();
    CalculationErrorRequest request;
    request.message_text = "Error:  " + message_ + "\n\nFile:  " + data_.path() + "\n\nLine Number:  " +
                           std::to_string(line.number) + "\n\nFormula:  " + formula.text();
    request.offending_line = std::string(line.text());
    const DataLine* first = data_.first_included();
    const DataLine& stored_first = data_.line(1);
    request.plot_to_here_disabled =
        &line == first || (stored_first.included() && &line == data_.next_included(&stored_first));
    request.action = window_.last_error_action;
    request.view_file = env_.view_file;
    ui_.calculationError(request);
    if (request.plot_to_here_disabled && request.action == CalculationAction::PlotToHere)
      request.action = CalculationAction::ExcludeLine;  // a greyed choice cannot be taken
    window_.last_error_action = request.action;
    if (request.same_action) remembered_.emplace(message_, request.action);
    return request.action;
  }

  void processing() {
    show_progress("\nProcessing . . .");
    ui_.setWaitCursor(true);
  }

  void exclude(int32_t position) {
    data_.set_included(position, false);
    excluded_any_ = true;
    if (!window_.object_path.empty()) window_.object_modified = true;
  }

  void show_progress(const std::string& text) {
    if (!env_.show_progress) return;
    if (progress_shown_) {
      ui_.progressSetText(text);
      return;
    }
    ui_.progressShow(text, true);
    progress_shown_ = true;
  }

  // Not enough data: the user may include every line again.
  bool reinclude_everything() {
    if (ui_.errorBeep()) ui_.errorSound();
    Answer answer = ui_.message(
        "Not enough data remains included for a valid plot.  The window must be destroyed unless all "
        "data is re-included.  Do you wish to re-include the data?",
        "Not Enough Data!", Buttons::YesNo);
    if (answer != Answer::Yes) return false;
    data_.include_all();
    if (data_.included_count() < 2) return false;
    for (Formula& formula : formulas_) formula.needs_recalc = 1;
    excluded_any_ = true;  // the other windows recompute as after an exclusion
    for (PlotWindow* other : env_.other_windows)
      for (Formula& formula : other->definition.formulas) formula.needs_recalc = 1;
    return true;
  }

  void tell_other_windows() {
    for (PlotWindow* other : env_.other_windows) {
      mark_for_exclusions(*other);
      if (env_.recalculate) env_.recalculate(*other);
    }
  }

  PlotWindow& window_;
  DataFile& data_;
  CalculationEnvironment& env_;
  Ui& ui_;
  FormulaList& formulas_;
  std::vector<FormulaRun> runs_;  // one per formula, in list order
  EvalContext context_;
  std::string message_;
  std::map<std::string, CalculationAction> remembered_;  // for this calculation only
  bool excluded_any_ = false;
  bool progress_shown_ = false;
  CalculationOutcome stop_outcome_ = CalculationOutcome::Done;
};

}  // namespace

void prepare_calculation(PlotWindow& window) {
  FormulaList& formulas = window.definition.formulas;
  std::size_t size = static_cast<std::size_t>(window.data->loaded_count()) + 1;
  for (std::size_t f = 0; f < formulas.size(); ++f) {
    Formula& formula = formulas[f];
    const bool own_x = f > 0 && !formula.suffix_text().empty();
    if (window.append_from > 0) {
      grow_points(formula, size, window.append_from);
    } else if (!formula.points || formula.points->size() != size || formula.points->has_own_x() != own_x) {
      formula.points = new_points(size, own_x);
      formula.needs_recalc = formula.changed = 1;
    } else if (formula.points_borrowed() && formula.needs_recalc) {
      formula.points = std::make_shared<PointColumns>(*formula.points);  // its own copy to write
    }
    if (formula.text().find("AVG") != std::string::npos) formula.needs_recalc = 1;
    if (formula.needs_recalc) {
      for (Formula& other : formulas) other.changed = 1;
      formula.reset_avg();
      formula.statistics.ignored = 0;
    }
    formula.statistics.reset();
    if (window.showstats || window.regress) formula.changed = 1;
  }
  share_x_values(formulas);
}

CalculationOutcome calculatePoints(PlotWindow& window, CalculationEnvironment& env) {
  return Calculator(window, env).run();
}

namespace {

// The first new line when the window's points can be kept through its data set's
// last reload, else 0.
int32_t first_appended_line(const PlotWindow& window) {
  const DataFile& data = *window.data;
  int32_t from = 0;
  if (!data.appended_since(window.points_lines, from)) return 0;
  const DataLine* first = data.first_included();
  const bool first_line_new = !first || first->position() >= from;
  const bool lines_excluded = data.included_count() < data.loaded_count();
  const FormulaList& formulas = window.definition.formulas;
  for (std::size_t f = 0; f < formulas.size(); ++f) {
    const Formula& formula = formulas[f];
    if (!formula.points || formula.points->size() < static_cast<std::size_t>(from)) return 0;
    if (f > 0 && !formula.enabled) continue;  // not computed
    if (formula.needs_recalc || formula.text().find("AVG") != std::string::npos) return 0;
    if ((first_line_new || lines_excluded) && uses_sequence_or_first_line(formula.text())) return 0;
  }
  return from;
}

}  // namespace

void prepare_for_reload(PlotWindow& window) {
  window.append_from = first_appended_line(window);
  for (Formula& formula : window.definition.formulas) {
    if (window.append_from == 0) formula.points.reset();
    formula.needs_recalc = formula.changed = 1;
  }
}

void mark_for_exclusions(PlotWindow& window) {
  for (Formula& formula : window.definition.formulas) {
    if (uses_sequence_or_first_line(formula.text()))
      formula.needs_recalc = 1;
    else
      formula.changed = 1;
  }
}

}  // namespace zentrik
