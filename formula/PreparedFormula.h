// A formula read once into a short list of steps, for the point calculation that
// evaluates the same text on millions of lines. Only plain arithmetic is prepared:
// number literals, columns with a literal number (C3), X, L and S, parentheses and
// + - * / ^ with the evaluator's binding (+ and - loosest, the rest left to right).
// A text with anything else is not prepared, and a line on which a step would fail
// (a missing column, a division by zero, the reserved error value) is left to the
// evaluator, so results and messages are the evaluator's own on every line.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "formula/EvalContext.h"

namespace zentrik {

class PreparedFormula {
 public:
  // The prepared form of text, or nothing when text holds more than plain arithmetic.
  static std::optional<PreparedFormula> prepare(std::string_view text);

  // The formula's value on the context's line, as evaluate() gives it (the missing
  // mark cleared); false when this line needs the evaluator.
  bool evaluate(EvalContext& context, double& value) const;

 private:
  enum class Op : uint8_t { Number, Column, FieldCount, LineNumber, Sequence, Add, Subtract, Multiply, Divide, Power };
  struct Step {
    Op op;
    int32_t column;  // for Column
    double number;   // for Number
  };
  static constexpr int kMaxStack = 32;

  friend class FormulaPreparer;
  std::vector<Step> steps_;
};

}  // namespace zentrik
