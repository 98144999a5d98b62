#include "formula/PreparedFormula.h"

#include <cmath>

#include "data/fields/Chars.h"
#include "data/fields/NumberText.h"
#include "formula/Functions.h"
#include "formula/Values.h"

namespace zentrik {

// Reads a text the way the evaluator does and writes its steps; gives up at the
// first construct that is not plain arithmetic.
class FormulaPreparer {
 public:
  explicit FormulaPreparer(std::string_view text) : text_(text) {}

  std::optional<PreparedFormula> run() {
    if (!sum()) return std::nullopt;
    skip_blanks();
    if (pos_ != text_.size()) return std::nullopt;  // relations, "&", "|" or trailing text
    if (deepest_ > PreparedFormula::kMaxStack) return std::nullopt;
    return std::move(prepared_);
  }

 private:
  using Op = PreparedFormula::Op;

  bool sum() {
    if (!product()) return false;
    for (;;) {
      skip_blanks();
      if (!at('+') && !at('-')) return true;
      Op op = text_[pos_++] == '+' ? Op::Add : Op::Subtract;
      if (!product()) return false;
      emit(op);
    }
  }

  bool product() {
    if (!primary()) return false;
    for (;;) {
      skip_blanks();
      Op op;
      if (at('*'))
        op = Op::Multiply;
      else if (at('/'))
        op = Op::Divide;
      else if (at('^'))
        op = Op::Power;
      else
        return !at('%');  // the remainder works on integers: left to the evaluator
      ++pos_;
      if (!primary()) return false;
      emit(op);
    }
  }

  bool primary() {
    if (++depth_ > PreparedFormula::kMaxStack) return false;
    skip_blanks();
    bool prepared = primary_at_cursor();
    --depth_;
    return prepared;
  }

  bool primary_at_cursor() {
    if (pos_ >= text_.size()) return false;
    char c = text_[pos_];
    if (number_starts_at(text_, pos_)) {
      double value = 0;
      pos_ = read_number(text_, pos_, value);
      emit(Op::Number, 0, value);
      return true;
    }
    if (c == '(') {
      ++pos_;
      if (!sum()) return false;
      skip_blanks();
      if (!at(')')) return false;
      ++pos_;
      return true;
    }
    if (c == 'X') {
      ++pos_;
      emit(Op::FieldCount);
      return true;
    }
    if (c != 'C' && c != 'L' && c != 'S') return false;
    ++pos_;
    skip_blanks();
    if (pos_ < text_.size() && find_builtin(c, text_[pos_])) return false;  // a function name
    if (c == 'L') {
      emit(Op::LineNumber);
      return true;
    }
    if (c == 'S') {
      emit(Op::Sequence);
      return true;
    }
    return column();
  }

  // C followed by a number literal; other operands are left to the evaluator.
  bool column() {
    skip_blanks();
    if (!number_starts_at(text_, pos_)) return false;
    double operand = 0;
    pos_ = read_number(text_, pos_, operand);
    int32_t n = to_int32(operand);
    if (n < 1 || n > 32767) return false;
    emit(Op::Column, n);
    return true;
  }

  // Values push one on the stack, operators take two and push one.
  void emit(Op op, int32_t column = 0, double number = 0) {
    prepared_.steps_.push_back({op, column, number});
    bool is_value = op == Op::Number || op == Op::Column || op == Op::FieldCount || op == Op::LineNumber ||
                    op == Op::Sequence;
    stack_depth_ += is_value ? 1 : -1;
    if (stack_depth_ > deepest_) deepest_ = stack_depth_;
  }

  bool at(char c) const { return pos_ < text_.size() && text_[pos_] == c; }
  void skip_blanks() {
    while (pos_ < text_.size() && is_blank(text_[pos_])) ++pos_;
  }

  std::string_view text_;
  std::size_t pos_ = 0;
  int depth_ = 0;        // nesting of primaries
  int stack_depth_ = 0;  // values the steps so far leave on the stack
  int deepest_ = 0;
  PreparedFormula prepared_;
};

std::optional<PreparedFormula> PreparedFormula::prepare(std::string_view text) {
  return FormulaPreparer(text).run();
}

bool PreparedFormula::evaluate(EvalContext& context, double& value) const {
  if (steps_.size() == 1 && steps_[0].op == Op::Column) {  // the common formula: one column
    double v;
    if (!context.field(steps_[0].column, v) || v == ERROR_VALUE) return false;
    context.missing = false;
    value = v;
    return true;
  }
  double stack[kMaxStack];  // prepare() refuses formulas that would need more
  int top = -1;
  for (const Step& step : steps_) {
    double v;
    switch (step.op) {
      case Op::Number:
        v = step.number;
        break;
      case Op::Column:
        if (!context.field(step.column, v)) return false;
        break;
      case Op::FieldCount:
        v = context.field_count();
        break;
      case Op::LineNumber:
        v = context.line_number;
        break;
      case Op::Sequence:
        v = context.sequence_number;
        break;
      default: {
        double right = stack[top--];
        double left = stack[top--];
        switch (step.op) {
          case Op::Add:
            v = left + right;
            break;
          case Op::Subtract:
            v = left - right;
            break;
          case Op::Multiply:
            v = left * right;
            break;
          case Op::Divide:
            if (right == 0) return false;
            v = left / right;
            break;
          default:
            v = std::pow(left, right);
            break;
        }
      }
    }
    if (v == ERROR_VALUE) return false;
    stack[++top] = v;
  }
  context.missing = false;
  value = stack[0];
  return true;
}

}  // namespace zentrik
