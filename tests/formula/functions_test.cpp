#include <gtest/gtest.h>

#include "formula/EvalHelpers.h"
#include "formula/Functions.h"
#include "plot/Formula.h"

namespace zentrik {
namespace {

using testing::eval;

TEST(Functions, OneArgumentFunctionsCompute) {
  struct Case {
    const char* formula;
    double value;
  } cases[] = {
      {"LOG 1000", 3},  {"LOG(100)", 2},   {"LOGC2", 2},    {"LOG C2*2", 4},  {"L O G 100", 2},
      {"NLG 1", 0},     {"COS 0", 1},      {"INT 2.9", 2},  {"INT -2.9", -2}, {"ABS -3", 3},
      {"ABS C1", 4},    {"ABS(0-C1)", 4},  {"INT 1e20", 2147483647}, {"INT -1e20", -2147483648.0},
      {"ABS ABS -2", 2}, {"2*LOG 100", 4},
  };
  for (const Case& c : cases) {
    auto r = eval(c.formula, "-4 100");
    EXPECT_DOUBLE_EQ(r.value, c.value) << c.formula << ": " << r.message;
  }
  // angles in degrees through the constant 57.2957796
  EXPECT_NEAR(eval("SIN 30", "").value, 0.5, 1e-8);
  EXPECT_NEAR(eval("TAN 45", "").value, 1.0, 1e-8);
  EXPECT_NEAR(eval("COS 60", "").value, 0.5, 1e-8);
  EXPECT_DOUBLE_EQ(eval("SIN 30", "").value, std::sin(30 / 57.2957796));
  EXPECT_GT(eval("TAN 90", "").value, 1e8);  // not an error
}

TEST(Functions, ErrorsOfOneArgumentFunctions) {
  struct Case {
    const char* formula;
    const char* message;
  } cases[] = {
      {"LOG 0", "Log of number <= 0"},
      {"LOG -1", "Log of number <= 0"},
      {"NLG 0", "Natural log of a number <= 0"},
      {"LOG", "Missing function argument"},
      {"LOG   ", "Missing function argument"},
      {"LOX", "Unknown function"},
      {"CO", "Unknown function"},
      {"LOG Q", "Illegal or misplaced character:  \"Q\""},
      {"LOG(1/0)", "Divide by zero"},  // a failed argument keeps its message
  };
  for (const Case& c : cases) {
    auto r = eval(c.formula, "");
    EXPECT_EQ(r.value, ERROR_VALUE) << c.formula;
    EXPECT_EQ(r.message, c.message) << c.formula;
  }
}

// Every name in the table is recognised letter by letter, and a wrong last letter
// is an unknown function.
TEST(Functions, EveryTableEntryIsRecognisedByItsName) {
  ASSERT_FALSE(builtin_functions().empty());
  for (const BuiltinFunction& f : builtin_functions()) {
    std::string name(f.name);
    EXPECT_EQ(find_builtin(name[0], name[1]), &f) << name;
    std::string wrong = name.substr(0, name.size() - 1) + "Q";
    if (f.form != ArgumentForm::TimeDate) {
      EXPECT_EQ(eval(wrong + "(1)", "").message, "Unknown function") << wrong;
      auto missing = eval(name, "");
      EXPECT_EQ(missing.message, "Missing function argument") << name;
    }
    if (f.form == ArgumentForm::OnePrimary) {
      auto r = eval(name + " 1", "");
      EXPECT_NE(r.value, ERROR_VALUE) << name << ": " << r.message;
    }
  }
}

TEST(Functions, AvgAveragesBlocksOfEvaluations) {
  Formula holder;
  const double expected[] = {AVG_PENDING, AVG_PENDING, 2, AVG_PENDING, AVG_PENDING, 5, AVG_PENDING};
  for (int i = 1; i <= 7; ++i) {
    std::string line = std::to_string(i);
    auto r = eval("AVG(C1, 3)", testing::Line{line}, &holder);
    EXPECT_EQ(r.value, expected[i - 1]) << "line " << i;
  }
  EXPECT_EQ(holder.avg_count, 1);  // the incomplete block ends with the data
  EXPECT_EQ(holder.avg_sum, 7);

  Formula every_line;
  EXPECT_EQ(eval("AVG(C1, 1)", testing::Line{"4"}, &every_line).value, 4);
  EXPECT_EQ(eval("AVG(C1, 0)", testing::Line{"6"}, &every_line).value, 6);
  EXPECT_EQ(every_line.avg_count, 0);
  EXPECT_EQ(every_line.avg_sum, 0);

  Formula comparisons;  // arguments are whole expressions
  eval("AVG(C1 > 2 & 1, 2)", testing::Line{"3"}, &comparisons);
  EXPECT_EQ(eval("AVG(C1 > 2 & 1, 2)", testing::Line{"1"}, &comparisons).value, 0.5);
}

TEST(Functions, AvgErrors) {
  Formula holder;
  struct Case {
    const char* formula;
    const char* message;
  } cases[] = {
      {"AVG(C1)", "Incorrect number of function parameters"},
      {"AVG(C1, 2", "Incorrect number of function parameters"},
      {"AVG(C1, 2, 3)", "Incorrect number of function parameters"},
      {"AVG C1", "Missing function argument"},
      {"AVG(AVG(C1, 2), 2)", "Inappropriate use of AVG()"},
      {"AVG(C9, 2)", "Invalid column number:  9"},
  };
  for (const Case& c : cases) {
    auto r = eval(c.formula, testing::Line{"1"}, &holder);
    EXPECT_EQ(r.value, ERROR_VALUE) << c.formula;
    EXPECT_EQ(r.message, c.message) << c.formula;
  }
  auto no_holder = eval("AVG(C1, 2)", "1");  // as in a load condition
  EXPECT_EQ(no_holder.message, "Inappropriate use of AVG()");
}

}  // namespace
}  // namespace zentrik
