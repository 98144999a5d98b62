#include <gtest/gtest.h>

#include <cstring>

#include "formula/EvalHelpers.h"

namespace zentrik {
namespace {

using testing::eval;
using testing::Line;

constexpr std::string_view kLine = "a=1.5 b=-2 c=3e2";

TEST(Sentinels, HaveTheirExactBits) {
  uint64_t bits;
  std::memcpy(&bits, &ERROR_VALUE, sizeof bits);
  EXPECT_EQ(bits, 0xFFE19F61BA578180ull);
  EXPECT_EQ(MISSING_VALUE, -9.87e307);
  EXPECT_EQ(AVG_PENDING, -9.91e307);
}

struct ValueCase {
  const char* formula;
  double value;
};

// Precedence, associativity, relations and the boolean level, on a line without fields.
TEST(Evaluator, OperatorsBindAsTheGrammarSays) {
  const ValueCase cases[] = {
      {"2*3^2", 36},   {"2^3^2", 64},    {"1+2>2", 1},    {"7%3", 1},      {"-7%3", -1},
      {"7.9%2", 1},    {"2 * 3 * 4", 24}, {"10-2-3", 5},   {"8/2/2", 2},    {"3*-2", -6},
      {"1 - -2", 3},   {"1e3", 1000},    {".5+1", 1.5},   {"+.5", 0.5},    {"1 <= 2", 1},
      {"2 <= 1", 0},   {"1 <> 2", 1},    {"2 #= 2", 0},   {"2 # 3", 1},    {"3 >= 3", 1},
      {"3 > 3", 0},    {"2 < 1", 0},     {"2 = 2", 1},    {"!5", 0},       {"!!1", 1},
      {"! ! 1", 1},    {"!0", 1},        {"1 & 0", 0},    {"1 | 0", 1},    {"0 | 0", 0},
      {"3 & 2", 1},    {"5", 5},         {"!1 | 1", 1},   {"1 & 1 | 0", 1}, {"(1+2)*3", 9},
      {" ( 2 ) ", 2},  {"2 ^ 0.5 * 2 ^ 0.5", 1.6817928305074292},
  };
  for (const ValueCase& c : cases) {
    auto r = eval(c.formula, "");
    EXPECT_DOUBLE_EQ(r.value, c.value) << c.formula << ": " << r.message;
  }
}

TEST(Evaluator, StopsBeforeASecondRelation) {
  auto r = eval("1<2<3", "");
  EXPECT_EQ(r.value, 1);
  EXPECT_EQ(r.pos, 3u);
}

TEST(Evaluator, ColumnsValueNumbersAndQuotedTextReadTheLine) {
  const ValueCase cases[] = {
      {"C1", 1.5},    {"C2", -2},     {"C3", 300},    {"X", 3},       {"C 3", 300},
      {"C(2+1)", 300}, {"CX", 300},   {"CC1", 1.5},   {"C2.7", -2},   {"C1E0", 1.5},
      {"V4:0", 0},    {"V2:0", -2},   {"'b='", 1},    {"\"b=\"", 1},  {"''", 0},
      {"'zz'", 0},    {"!C1>2", 1},   {"C1*2+C3", 303},
  };
  for (const ValueCase& c : cases) {
    auto r = eval(c.formula, kLine);
    EXPECT_DOUBLE_EQ(r.value, c.value) << c.formula << ": " << r.message;
    EXPECT_FALSE(r.missing) << c.formula;
  }
  EXPECT_EQ(eval("''", "").value, 1);  // an empty quoted string matches an empty line
}

TEST(Evaluator, CountsAndNumbersOfTheContext) {
  Line line{"5 6", "10 20 30", 7, 3};
  EXPECT_EQ(eval("L", line).value, 7);
  EXPECT_EQ(eval("S", line).value, 3);
  EXPECT_EQ(eval("N", line).value, 3);
  EXPECT_EQ(eval("F2", line).value, 20);
  EXPECT_EQ(eval("FN", line).value, 30);
  EXPECT_EQ(eval("X", line).value, 2);
  EXPECT_EQ(eval("L*100+S", line).value, 703);
}

TEST(Evaluator, MissingValueNumberSetsTheMissingMark) {
  auto missing = eval("V4", kLine);
  EXPECT_EQ(missing.value, MISSING_VALUE);
  EXPECT_TRUE(missing.missing);
  EXPECT_EQ(missing.message, "");

  auto in_sum = eval("V4 + 1", kLine);  // MISSING_VALUE enters the arithmetic unchecked
  EXPECT_EQ(in_sum.value, MISSING_VALUE + 1);
  EXPECT_TRUE(in_sum.missing);

  auto with_default = eval("V4:0", kLine);
  EXPECT_FALSE(with_default.missing);

  auto failed_later = eval("V4 + C9", kLine);  // cleared when the result is an error
  EXPECT_EQ(failed_later.value, ERROR_VALUE);
  EXPECT_FALSE(failed_later.missing);
}

TEST(Evaluator, ShortCutSkipsADecidedParenthesisedOperand) {
  auto r = eval("0 & (C9>1)", kLine);
  EXPECT_EQ(r.value, 0);
  EXPECT_EQ(r.message, "");
  EXPECT_EQ(r.pos, 10u);

  EXPECT_EQ(eval("1 | (C9>1)", kLine).value, 1);
  EXPECT_EQ(eval("X>4 & (C5>0)", kLine).value, 0);
  // the short cut ends the whole level: what follows is not evaluated
  EXPECT_EQ(eval("0 & (C9>1) | 1", kLine).value, 0);
  // undecided outcomes evaluate the operand
  EXPECT_EQ(eval("1 & (C9>1)", kLine).message, "Invalid column number:  9");
  EXPECT_EQ(eval("0 | (C3>1)", kLine).value, 1);
  // a negated operand is not parenthesised: it is evaluated
  EXPECT_EQ(eval("0 & !(C9>1)", kLine).message, "Invalid column number:  9");
}

struct ErrorCase {
  const char* formula;
  const char* message;
};

TEST(Evaluator, ErrorsGiveErrorValueWithTheirMessage) {
  const ErrorCase cases[] = {
      {"1/0", "Divide by zero"},
      {"5%0.5", "Divide by zero"},
      {"C4", "Invalid column number:  4"},
      {"C0", "Illegal column number"},
      {"C-1", "Illegal column number"},
      {"C40000", "Illegal column number"},
      {"V0", "Illegal value number"},
      {"V40000:1", "Illegal value number"},
      {"V9:(1/0)", "Invalid value number:  9"},
      {"V9:C9", "Invalid value number:  9"},
      {"F0", "Illegal first-line column number"},
      {"F4", "Invalid first-line column number:  4"},
      {"-C1", "Illegal or misplaced character:  \"-\""},
      {"C1+", "Illegal or misplaced character:  \"+\""},
      {"", "Illegal or misplaced character:  \"\""},
      {"Q", "Illegal or misplaced character:  \"Q\""},
      {"c1", "Illegal or misplaced character:  \"c\""},
      {"1 < = 2", "Illegal or misplaced character:  \"=\""},
      {"(1+2", "Unbalanced parenthesis (missing close)"},
      {"1 | (2", "Unbalanced parenthesis"},
      {"'abc", "Missing closing quote"},
      {"AX", "Unknown function"},
      {"IX", "Unknown function"},
      {"TX", "Unknown function"},
      {"C(1/0)", "Divide by zero"},            // a failed operand keeps its own message
      {"C9 + 1/0", "Invalid column number:  9"},  // the first error is the one reported
  };
  for (const ErrorCase& c : cases) {
    auto r = eval(c.formula, Line{kLine, "1 2 3"});
    EXPECT_EQ(r.value, ERROR_VALUE) << c.formula;
    EXPECT_EQ(r.message, c.message) << c.formula;
  }
}

TEST(Evaluator, LeavesTheCursorBehindTheLastCharacterConsumed) {
  EXPECT_EQ(eval("C1 C2", kLine).pos, 3u);  // blanks before an operator are consumed
  EXPECT_EQ(eval("C1)", kLine).pos, 2u);
  EXPECT_EQ(eval("1+2", kLine).pos, 3u);
}

}  // namespace
}  // namespace zentrik
