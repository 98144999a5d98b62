#include "formula/PreparedFormula.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "formula/Evaluator.h"
#include "formula/Values.h"

namespace zentrik {
namespace {

TEST(PreparedFormula, OnlyPlainArithmeticIsPrepared) {
  for (const char* text : {"C1", "C3*2+1", "(C1+C2)/2", " C 2 ", "X", "L*2", "S-1", "1e3*C1", "C1^2-C2",
                           "2*-1", "C1.9", "((((C1))))", "-.5+C2"})
    EXPECT_TRUE(PreparedFormula::prepare(text)) << text;
  // functions, relations, booleans, the remainder, value numbers, first-line columns,
  // quoted texts, computed column numbers, trailing text and empty formulas
  for (const char* text : {"SIN(C1)", "COS 1", "C1>2", "C1 & C2", "!C1", "C1 % 2", "V1", "V1:0", "F1", "N",
                           "'ab'", "C(1)", "CC1", "C0", "C40000", "C1 C2", "", "  ", "C1)", "(C1", "AVG(C1,2)",
                           "TD(1,1)", "LOG(C1)", "SQRT(C1)", "-C1", "C"})
    EXPECT_FALSE(PreparedFormula::prepare(text)) << text;
  // nesting deeper than the prepared form keeps is left to the evaluator
  EXPECT_FALSE(PreparedFormula::prepare(std::string(40, '(') + "1" + std::string(40, ')')));
}

// A random formula of the prepared kind, with blanks, literals and columns that
// may be missing on the line.
std::string random_formula(std::mt19937& random, int depth = 0) {
  auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  auto primary = [&]() -> std::string {
    switch (depth > 3 ? pick(4) : pick(6)) {
      case 0: return "C" + std::to_string(1 + pick(5));
      case 1: return std::to_string(pick(12));
      case 2: return std::vector<std::string>{"0.5", "-2", "1e3", "2.5e-1", "+4", ".25"}[pick(6)];
      case 3: return std::vector<std::string>{"X", "L", "S"}[pick(3)];
      default: return "(" + random_formula(random, depth + 1) + ")";
    }
  };
  std::string text = primary();
  for (int terms = pick(4); terms > 0; --terms) {
    text += std::string(pick(2), ' ') + "+-*/^"[pick(5)] + std::string(pick(2), ' ');
    text += primary();
  }
  return text;
}

// Wherever the prepared form gives a value, it is the evaluator's value bit for bit;
// where a line needs the evaluator's messages (missing columns, division by zero,
// the reserved value in the data) it steps aside.
TEST(PreparedFormula, AgreesWithTheEvaluatorOnEveryLine) {
  const char* lines[] = {"1 2 3 4 5", "7.5 0 -3", "0 0 0 0 0", "12 -9.9e307 4", "", "a b c", "2.5e300 1e10 -1e-300 3 9"};
  std::mt19937 random(424242);
  int prepared_values = 0, evaluator_lines = 0;
  for (int round = 0; round < 4000; ++round) {
    std::string text = random_formula(random);
    auto prepared = PreparedFormula::prepare(text);
    ASSERT_TRUE(prepared) << text;
    for (const char* line : lines) {
      EvalContext context;
      context.set_line(line);
      context.line_number = 17;
      context.sequence_number = 4;
      context.missing = true;  // both must clear it
      double fast = 0;
      bool taken = prepared->evaluate(context, fast);
      bool fast_missing = context.missing;

      EvalContext reference;
      reference.set_line(line);
      reference.line_number = 17;
      reference.sequence_number = 4;
      std::string message;
      std::size_t pos = 0;
      double expected = evaluate(text, pos, reference, message, nullptr);
      if (!taken) {
        ++evaluator_lines;
        continue;
      }
      ++prepared_values;
      ASSERT_NE(expected, ERROR_VALUE) << text << " on \"" << line << "\": " << message;
      ASSERT_EQ(std::memcmp(&fast, &expected, sizeof fast), 0) << text << " on \"" << line << "\"";
      ASSERT_FALSE(fast_missing);
    }
  }
  // both roads are taken often
  EXPECT_GT(prepared_values, 8000);
  EXPECT_GT(evaluator_lines, 4000);
}

TEST(PreparedFormula, LinesThatNeedAMessageAreLeftToTheEvaluator) {
  auto check_declines = [](const char* text, const char* line) {
    auto prepared = PreparedFormula::prepare(text);
    ASSERT_TRUE(prepared);
    EvalContext context;
    context.set_line(line);
    double value = 0;
    EXPECT_FALSE(prepared->evaluate(context, value)) << text << " on " << line;
  };
  check_declines("C4", "1 2 3");               // "Invalid column number:  4"
  check_declines("C1/C2", "1 0");              // "Divide by zero"
  check_declines("C1/(C2-C2)", "1 5");
  check_declines("C2", "1 -9.9e307");          // the reserved value in the data
  check_declines("C1*1", "-9.9e307");
}

}  // namespace
}  // namespace zentrik
