// The passes behind an exclude or ignore rectangle over ten million lines with one
// Y formula: every point is tested against the box. Prints the time of each pass.
//   build/bench/bench_drag [lines]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "data/DataFile.h"
#include "display/Drag.h"
#include "ui/ScriptedUi.h"

using namespace zentrik;
using Clock = std::chrono::steady_clock;

namespace {

double seconds_since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  const long lines = argc > 1 ? std::atol(argv[1]) : 10'000'000;
  if (lines < 2) {
    std::fprintf(stderr, "bench_drag: give at least 2 lines\n");
    return 1;
  }
  DataFile data("bench.dat");
  data.reserve_lines(static_cast<std::size_t>(lines), static_cast<std::size_t>(lines));
  for (long i = 0; i < lines; ++i) data.store_line("1 2");

  // Points on a diagonal, all valid and on the plot, as a scaling pass leaves them.
  PlotWindow window;
  window.data = &data;
  window.definition.formulas = {Formula("C1"), Formula("C2")};
  for (Formula& formula : window.definition.formulas) {
    formula.points = std::make_shared<PointColumns>(static_cast<std::size_t>(lines) + 1);
    for (long i = 1; i <= lines; ++i) {
      const auto position = static_cast<std::size_t>(i);
      formula.points->set_value(position, static_cast<double>(i));
      formula.points->set_valid(position, true);
      formula.points->set_in_range(position, true);
    }
  }
  share_x_values(window.definition.formulas);  // the Y formula's X values are the X formula's

  ScriptedUi ui;
  BoxPassEnvironment env{ui};
  const double n = static_cast<double>(lines);
  struct Pass {
    const char* name;
    ZoomBox box;
    bool exclude;
  } passes[] = {
      {"exclude, box missing every point", {-10, -1, -10, -1}, true},
      {"exclude, box over the last 1%", {n * 0.99, n, n * 0.99, n}, true},
      {"ignore, box over the first 1%", {1, n * 0.01, 1, n * 0.01}, false},
  };
  for (const Pass& pass : passes) {
    ui.reset();
    const Clock::time_point start = Clock::now();
    BoxPassResult result =
        pass.exclude ? exclude_in_box(window, pass.box, env) : ignore_in_box(window, pass.box, env);
    std::printf("%-36s %8.3f s  (%ld lines excluded, %ld points ignored)\n", pass.name, seconds_since(start),
                static_cast<long>(result.lines_excluded), static_cast<long>(result.points_ignored));
  }
  return 0;
}
