// Any formula text against any line text: the evaluator, the date fields and the
// formula check must end with a value or a message, never crash or read out of bounds.
// Input: the formula, a line feed, the line (the line is also the first line).
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "formula/EvalContext.h"
#include "formula/Evaluator.h"
#include "formula/Format.h"
#include "formula/FormulaCheck.h"
#include "formula/PreparedFormula.h"
#include "ui/ScriptedUi.h"

using namespace zentrik;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  std::size_t cut = input.find('\n');
  std::string_view formula = input.substr(0, cut);
  std::string_view line = cut == std::string_view::npos ? std::string_view() : input.substr(cut + 1);

  EvalContext context;
  context.set_line(line);
  context.line_number = 3;
  context.sequence_number = 2;
  context.set_first_line(line);
  AvgState holder;
  std::string message;
  for (int round = 0; round < 3; ++round) {  // AVG keeps state across evaluations
    std::size_t pos = 0;
    double value = evaluate(formula, pos, context, message, &holder);
    if (pos > formula.size()) std::abort();
    if (value == ERROR_VALUE && message.empty()) std::abort();
    if (value == ERROR_VALUE && context.missing) std::abort();
  }

  // The prepared form of plain arithmetic gives the evaluator's value wherever it gives one.
  if (auto prepared = PreparedFormula::prepare(formula)) {
    double fast = 0;
    if (prepared->evaluate(context, fast)) {
      std::size_t pos = 0;
      double expected = evaluate(formula, pos, context, message, nullptr);
      if (std::memcmp(&fast, &expected, sizeof fast) != 0) std::abort();
    }
  }

  ScriptedUi ui;
  std::string accumulator;
  checkFormula(normalizeFormulaText(formula), "Y formula 1", &accumulator, {line, 1}, ui);
  checkCondition(formula, line, line, ui);
  std::string field_message;
  readField(formula, FieldMode::Date, field_message);
  parseInterval(formula, field_message);
  return 0;
}
