// Nanoseconds per line for typical formulas on a 3-field logger line, one thread;
// TD() on a date-stamped logger line with TZ unset (as on a desktop) and with TZ=UTC.
//   build/bench/bench_evaluate
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "formula/EvalContext.h"
#include "formula/Evaluator.h"
#include "TimeZone.h"

using namespace zentrik;

namespace {

// Lines as a logger writes them: a time stamp, a reading and a temperature.
std::vector<std::string> logger_lines() {
  std::vector<std::string> lines;
  for (int i = 0; i < 1024; ++i)
    lines.push_back(std::to_string(1000 + i) + "\t" + std::to_string(12.5 + i * 0.013) + "\t" +
                    std::to_string(21.0 + (i % 50) * 0.1));
  return lines;
}

// Lines of a logger that stamps each reading with its local date and time, 7 s apart,
// starting on a winter day: "01/15/2001 10:30:07\t12.513".
std::vector<std::string> dated_lines() {
  std::vector<std::string> lines;
  for (int i = 0; i < 1024; ++i) {
    int seconds = 10 * 3600 + 30 * 60 + 7 * i;
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "01/15/2001 %02d:%02d:%02d", seconds / 3600, seconds / 60 % 60,
                  seconds % 60);
    lines.push_back(std::string(stamp) + "\t" + std::to_string(12.5 + i * 0.013));
  }
  return lines;
}


void evaluate_lines(benchmark::State& state, std::string_view formula, const std::vector<std::string>& lines) {
  EvalContext context;
  context.set_first_line(lines[0]);
  AvgState holder;
  std::string message;
  message.reserve(128);
  std::size_t i = 0;
  for (auto _ : state) {
    const std::string& line = lines[i++ & 1023];
    context.set_line(line);
    context.line_number = static_cast<int32_t>(i);
    context.sequence_number = static_cast<int32_t>(i);
    std::size_t pos = 0;
    double value = evaluate(formula, pos, context, message, &holder);
    benchmark::DoNotOptimize(value);
  }
  state.SetItemsProcessed(state.iterations());
}

void evaluate_per_line(benchmark::State& state, std::string_view formula) {
  evaluate_lines(state, formula, logger_lines());
}

void read_dates_per_line(benchmark::State& state, const char* zone) {
  testing::ScopedTimeZone scoped(zone);
  evaluate_lines(state, "TD(1, 4)", dated_lines());
}

}  // namespace

BENCHMARK_CAPTURE(evaluate_per_line, C2, "C2");
BENCHMARK_CAPTURE(evaluate_per_line, C1_times_2_plus_C3, "C1*2+C3");
BENCHMARK_CAPTURE(evaluate_per_line, LOG_C2_plus_SIN_C3, "LOG(C2)+SIN(C3)");
BENCHMARK_CAPTURE(read_dates_per_line, TD_TZ_unset, nullptr);
BENCHMARK_CAPTURE(read_dates_per_line, TD_TZ_UTC, "UTC");

BENCHMARK_MAIN();
