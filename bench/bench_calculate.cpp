// The point calculation and the scaling pass over a ten-million-line logger file:
// X = C1, Y = C2 and C3*2+1, one thread. Prints the time and the memory the points add.
//   build/bench/bench_calculate [lines]     (uses the file bench_load writes)
#include <sys/resource.h>

#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "LoggerFile.h"
#include "data/DataFile.h"
#include "plot/Calculation.h"
#include "plot/Scaling.h"
#include "ui/ScriptedUi.h"

using namespace zentrik;
using Clock = std::chrono::steady_clock;
using bench::logger_file;
using bench::seconds_since;

namespace {

double resident_mb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024.0;
}

}  // namespace

int main(int argc, char** argv) {
  long lines = argc > 1 ? std::atol(argv[1]) : 10'000'000;
  ScriptedUi ui;
  LoadEnvironment load{ui};
  DataFile data(logger_file(lines), load);
  double loaded_mb = resident_mb();

  PlotWindow window;
  window.data = &data;
  window.definition.formulas = {Formula("C1"), Formula("C2"), Formula("C3*2+1")};
  window.showstats = 0;
  CalculationEnvironment calc{ui};
  calc.show_progress = false;
  DefaultPlot defaults;
  ScalingEnvironment scaling{ui, defaults, false};

  std::clock_t cpu_start = std::clock();
  auto start = Clock::now();
  prepare_calculation(window);
  CalculationOutcome outcome = calculatePoints(window, calc);
  double calculate_seconds = seconds_since(start);
  start = Clock::now();
  ScaleResult scaled = scale(window, true, scaling);
  double scale_seconds = seconds_since(start);
  double cpu_seconds = static_cast<double>(std::clock() - cpu_start) / CLOCKS_PER_SEC;
  double added_mb = resident_mb() - loaded_mb;

  std::printf("%d lines, 3 formulas\n", data.loaded_count());
  std::printf("calculatePoints: %.3f s, scale: %.3f s, together %.3f s\n", calculate_seconds, scale_seconds,
              calculate_seconds + scale_seconds);
  std::printf("processor time of both: %.3f s (the wall time above includes waiting for the processor)\n",
              cpu_seconds);
  std::printf("memory added: %.1f MB, %.1f bytes per line per formula\n", added_mb,
              added_mb * 1048576.0 / data.loaded_count() / 3);
  std::printf("X range %g .. %g, Y range %g .. %g\n", window.plot_x_min, window.plot_x_max, window.plot_y_min,
              window.plot_y_max);
  return outcome == CalculationOutcome::Done && scaled == ScaleResult::Done ? 0 : 1;
}
