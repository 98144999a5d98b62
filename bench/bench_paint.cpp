// The screen paint of a large plot: render() onto a 500x490 picture through the
// QPainter surface, as a plot window draws its cached picture. X = L against two Y
// formulas over the logger file: C1 (a slow sawtooth: long runs on one pixel) and
// SIN(L*L) (noise: every point jumps), each drawn with points only, lines only and
// both. Prints the processor and wall time of each paint; the first paint of a plot
// also finishes its statistics and is shown apart.
//   build/bench/bench_paint [lines...] [--runs N]     (default 1,000,000 and 10,000,000 lines, 3 runs)
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "LoggerFile.h"
#include "data/DataFile.h"
#include "display/Render.h"
#include "display/qt/QtSurface.h"
#include "plot/Calculation.h"
#include "plot/Scaling.h"
#include "ui/ScriptedUi.h"

using namespace zentrik;
using Clock = std::chrono::steady_clock;
using bench::logger_file;
using bench::seconds_since;

namespace {

constexpr int kWidth = 500, kHeight = 490;

struct Timing {
  double cpu = 0, wall = 0;
};

// One screen paint as the plot window makes it: a fresh white picture, then render().
Timing paint(PlotWindow& window, QImage& image) {
  image.fill(Qt::white);
  std::clock_t cpu_start = std::clock();
  auto start = Clock::now();
  {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QtSurface surface(painter);
    RenderOptions options;
    PaintMemory memory;
    render(surface, kWidth, kHeight, window, options, memory);
  }
  return {static_cast<double>(std::clock() - cpu_start) / CLOCKS_PER_SEC, seconds_since(start)};
}

bool compute(PlotWindow& window, ScriptedUi& ui) {
  prepare_calculation(window);
  CalculationEnvironment calc{ui};
  calc.show_progress = false;
  DefaultPlot defaults;
  ScalingEnvironment scaling{ui, defaults, false};
  return calculatePoints(window, calc) == CalculationOutcome::Done && scale(window, true, scaling) == ScaleResult::Done;
}

bool run(long lines, int runs) {
  ScriptedUi ui;
  LoadEnvironment load{ui};
  std::printf("loading %ld lines ...\n", lines);
  std::fflush(stdout);
  DataFile data(logger_file(lines), load);
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  bool good = true;
  for (const char* y : {"C1", "SIN(L*L)"}) {
    PlotWindow window;
    window.data = &data;
    window.definition.formulas = {Formula("L"), Formula(y)};
    if (!compute(window, ui)) {
      std::printf("the plot of %s could not be computed\n", y);
      good = false;
      continue;
    }
    Formula& formula = window.definition.formulas[1];
    Timing first = paint(window, image);
    std::printf("%ld lines, Y = %s, first paint (with the statistics): %.3f s processor, %.3f s wall\n",
                lines, y, first.cpu, first.wall);
    struct Mode {
      const char* name;
      int points, lines;
    };
    for (Mode mode : {Mode{"points only", 1, 0}, Mode{"lines only", 0, 1}, Mode{"points and lines", 1, 1}}) {
      formula.draw_points = mode.points;
      formula.draw_lines = mode.lines;
      Timing best{1e30, 1e30};
      std::string all;
      for (int i = 0; i < runs; ++i) {
        Timing t = paint(window, image);
        best.cpu = std::min(best.cpu, t.cpu);
        best.wall = std::min(best.wall, t.wall);
        char text[32];
        std::snprintf(text, sizeof text, "%s%.3f", i ? " " : "", t.cpu);
        all += text;
      }
      std::printf("  %-17s best of %d: %.3f s processor, %.3f s wall   (processor: %s)\n", mode.name, runs,
                  best.cpu, best.wall, all.c_str());
      std::fflush(stdout);
    }
  }
  return good;
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QGuiApplication app(argc, argv);
  std::vector<long> sizes;
  int runs = 3;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc) {
      runs = std::max(1, std::atoi(argv[++i]));
    } else {
      long lines = std::atol(argv[i]);
      if (lines < 2) {
        std::fprintf(stderr, "usage: bench_paint [lines...] [--runs N]   (lines: 2 or more)\n");
        return 2;
      }
      sizes.push_back(lines);
    }
  }
  if (sizes.empty()) sizes = {1'000'000, 10'000'000};
  bool good = true;
  for (long lines : sizes) good = run(lines, runs) && good;
  return good ? 0 : 1;
}
