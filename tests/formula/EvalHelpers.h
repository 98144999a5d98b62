// Test helpers: evaluate a formula text on one line and look at everything the
// evaluation leaves behind.
#pragma once

#include <string>
#include <string_view>

#include "formula/EvalContext.h"
#include "formula/Evaluator.h"

namespace zentrik::testing {

struct Evaluation {
  double value = 0;
  std::string message;
  bool missing = false;
  std::size_t pos = 0;  // where the evaluation stopped
};

struct Line {
  std::string_view text;
  std::string_view first_line = {};  // defaults to text
  int32_t number = 1;
  int32_t sequence = 1;
};

inline Evaluation eval(std::string_view formula, Line line = {}, AvgState* holder = nullptr) {
  EvalContext context;
  context.set_line(line.text);
  context.line_number = line.number;
  context.sequence_number = line.sequence;
  context.set_first_line(line.first_line.data() ? line.first_line : line.text);
  Evaluation result;
  result.value = evaluate(formula, result.pos, context, result.message, holder);
  result.missing = context.missing;
  return result;
}

inline Evaluation eval(std::string_view formula, std::string_view line_text) {
  return eval(formula, Line{line_text});
}

}  // namespace zentrik::testing
