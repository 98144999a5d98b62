#include <gtest/gtest.h>
#include <pthread.h>

#include <string>

#include "formula/EvalHelpers.h"

namespace zentrik {
namespace {

using testing::eval;

std::string repeated(std::string_view piece, int times) {
  std::string text;
  text.reserve(piece.size() * static_cast<std::size_t>(times));
  for (int i = 0; i < times; ++i) text += piece;
  return text;
}

TEST(Robustness, DeepNestingIsTooComplexNotAStackOverflow) {
  const std::string cases[] = {
      repeated("(", 100000),
      repeated("(", 100000) + "1" + repeated(")", 100000),
      repeated("C", 100000) + "1",
      repeated("LOG ", 100000) + "10",
      repeated("AVG(", 50000) + "1,1" + repeated(")", 50000),
      repeated("TD(", 50000),
      repeated("V1:", 100000) + "1",
  };
  for (const std::string& formula : cases) {
    auto r = eval(formula, "1 2 3");
    EXPECT_EQ(r.value, ERROR_VALUE) << formula.substr(0, 10);
    EXPECT_EQ(r.message, "Formula too complex") << formula.substr(0, 10);
  }
}

TEST(Robustness, NestingUpToTheLimitEvaluates) {
  int inner = kMaxFormulaNesting - 1;
  auto r = eval(repeated("(", inner) + "7" + repeated(")", inner), "");
  EXPECT_EQ(r.value, 7) << r.message;
}

TEST(Robustness, LongFlatExpressionsAreLinearAndExact) {
  auto sum = eval("1" + repeated("+1", 199999), "");
  EXPECT_EQ(sum.value, 200000);
  auto negations = eval(repeated("!", 1000001) + "1", "");
  EXPECT_EQ(negations.value, 0);
  auto conjunction = eval("1" + repeated(" & 1", 100000), "");
  EXPECT_EQ(conjunction.value, 1);
}

// A worker thread with a small stack meets the nesting limit before its stack ends.
TEST(Robustness, NestingLimitHoldsOnASmallStack) {
  struct Job {
    std::string formula = repeated("(", 100000);
    testing::Evaluation result;
  } job;
  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  ASSERT_EQ(pthread_attr_setstacksize(&attributes, 256 * 1024), 0);
  pthread_t thread;
  auto run = [](void* arg) -> void* {
    auto* j = static_cast<Job*>(arg);
    j->result = eval(j->formula, "1");
    return nullptr;
  };
  ASSERT_EQ(pthread_create(&thread, &attributes, run, &job), 0);
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&attributes);
  EXPECT_EQ(job.result.message, "Formula too complex");
}

TEST(Robustness, ExtremeOperandsStayValues) {
  EXPECT_EQ(eval("1e308*10", "").value, HUGE_VAL);
  EXPECT_EQ(eval("1e999", "").value, HUGE_VAL);
  EXPECT_EQ(eval("1e-999", "").value, 0);
  EXPECT_EQ(eval("2147483648 % 5", "").value, 2147483647 % 5);  // operands saturate
  EXPECT_EQ(eval("(0-2147483648) % (0-1)", "").value, 0);
  EXPECT_TRUE(std::isnan(eval("(0-1)^0.5", "").value));
  EXPECT_EQ(eval("C1E99999", "1").message, "Illegal column number");
  EXPECT_EQ(eval("V2147483648", "1").message, "Illegal value number");
}

// The error value written out or read from the data is still an error with a message.
TEST(Robustness, TheReservedErrorValueNeverFailsSilently) {
  EXPECT_EQ(eval("-9.9e307", "").message, "Illegal value (-9.9e+307)");
  EXPECT_EQ(eval("C1", "-9.9e307").message, "Illegal value (-9.9e+307)");
  EXPECT_EQ(eval("C1 + 1", "-9.9e307").value, ERROR_VALUE);
}

}  // namespace
}  // namespace zentrik
