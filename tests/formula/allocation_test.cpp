// Evaluation runs once per line and formula: apart from building a message on an
// error it must not allocate. Counts every operator new of this program.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "formula/EvalContext.h"
#include "formula/Evaluator.h"
#include "plot/Formula.h"

namespace {
std::atomic<long> allocations{0};
}

void* operator new(std::size_t size) {
  ++allocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace zentrik {
namespace {

TEST(Allocation, EvaluatingALineAllocatesNothing) {
  const char* formulas[] = {"C2",        "C1*2+C3",         "LOG(C2)+SIN(C3)", "V9:0 + X + L + S",
                            "'12' & F1", "TD(4, 4) - TDF(4, 4)", "AVG(C2, 3)",  "0 & (C9 > 1)",
                            "ABS INT NLG C1 ^ 2 % 7 # 3"};
  EvalContext context;
  const std::string first = "1000 12.5 21.0 01/15/01 10:30:00";
  const std::string line = "1001 12.513 21.1 01/16/01 11:45:00";
  context.set_first_line(first);
  context.set_line(line);
  Formula holder;
  std::string message;
  for (const char* formula : formulas) {
    long before = allocations.load();
    for (int i = 0; i < 10; ++i) {
      std::size_t pos = 0;
      double value = evaluate(formula, pos, context, message, &holder);
      EXPECT_NE(value, ERROR_VALUE) << formula << ": " << message;
    }
    EXPECT_EQ(allocations.load() - before, 0) << formula;
  }
}

}  // namespace
}  // namespace zentrik
