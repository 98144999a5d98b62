// The paint of a large plot: render() onto an 800x600 picture through the QPainter
// surface, as a plot window draws its cached picture (screen) and as --export draws
// a PNG (picture: the title band, and a logical window two pixels wider than the
// picture). Three plots over the logger file: C2 against C1 (the plot that
// bench/export_vs_gnuplot.sh times; ten million lines retrace it eleven times),
// C1 against L (a slow sawtooth: long runs on one pixel) and SIN(L*L) against L
// (noise: every point jumps), each drawn with points only, lines only and both.
// Prints the best processor time of each paint, with the wall time beside it; the
// first paint of a plot also finishes its statistics and is shown apart.
//   build/bench/bench_paint [lines...] [--runs N] [--size WxH]
//   (default 1,000,000 and 10,000,000 lines, 3 runs, 800x600)
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

struct Timing {
  double cpu = 0, wall = 0;
};

struct Options {
  std::vector<long> sizes;
  int runs = 3;
  int width = 800, height = 600;
};

// One paint onto a fresh white picture, as the plot window paints (screen) or as
// the PNG file is drawn (picture).
Timing paint(PlotWindow& window, QImage& image, OutputMode mode) {
  image.fill(Qt::white);
  std::clock_t cpu_start = std::clock();
  auto start = Clock::now();
  {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QtSurface surface(painter);
    RenderOptions options;
    options.mode = mode;
    PaintMemory memory;
    render(surface, image.width(), image.height(), window, options, memory);
  }
  return {static_cast<double>(std::clock() - cpu_start) / CLOCKS_PER_SEC, seconds_since(start)};
}

Timing best_paint(PlotWindow& window, QImage& image, OutputMode mode, int runs) {
  Timing best{1e30, 1e30};
  for (int i = 0; i < runs; ++i) {
    Timing t = paint(window, image, mode);
    best.cpu = std::min(best.cpu, t.cpu);
    best.wall = std::min(best.wall, t.wall);
  }
  return best;
}

bool compute(PlotWindow& window, ScriptedUi& ui) {
  prepare_calculation(window);
  CalculationEnvironment calc{ui};
  calc.show_progress = false;
  DefaultPlot defaults;
  ScalingEnvironment scaling{ui, defaults, false};
  return calculatePoints(window, calc) == CalculationOutcome::Done && scale(window, true, scaling) == ScaleResult::Done;
}

bool run(long lines, const Options& options) {
  ScriptedUi ui;
  LoadEnvironment load{ui};
  std::printf("loading %ld lines ...\n", lines);
  std::fflush(stdout);
  DataFile data(logger_file(lines), load);
  QImage image(options.width, options.height, QImage::Format_RGB32);
  bool good = true;
  struct Plot {
    const char* x;
    const char* y;
  };
  for (Plot plot : {Plot{"C1", "C2"}, Plot{"L", "C1"}, Plot{"L", "SIN(L*L)"}}) {
    PlotWindow window;
    window.data = &data;
    window.definition.formulas = {Formula(plot.x), Formula(plot.y)};
    if (!compute(window, ui)) {
      std::printf("the plot of %s against %s could not be computed\n", plot.y, plot.x);
      good = false;
      continue;
    }
    Formula& formula = window.definition.formulas[1];
    Timing first = paint(window, image, OutputMode::Screen);
    std::printf("%ld lines, %s against %s, %dx%d; first paint (with the statistics): %.3f s\n", lines, plot.y,
                plot.x, options.width, options.height, first.cpu);
    std::printf("  best of %d, processor (wall)   screen            picture\n", options.runs);
    struct Mode {
      const char* name;
      int points, lines;
    };
    for (Mode mode : {Mode{"points only", 1, 0}, Mode{"lines only", 0, 1}, Mode{"points and lines", 1, 1}}) {
      formula.draw_points = mode.points;
      formula.draw_lines = mode.lines;
      Timing screen = best_paint(window, image, OutputMode::Screen, options.runs);
      Timing picture = best_paint(window, image, OutputMode::Picture, options.runs);
      std::printf("  %-29s %.3f s (%.3f)   %.3f s (%.3f)\n", mode.name, screen.cpu, screen.wall, picture.cpu,
                  picture.wall);
      std::fflush(stdout);
    }
  }
  return good;
}

bool parse(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc) {
      options.runs = std::max(1, std::atoi(argv[++i]));
    } else if (std::strcmp(argv[i], "--size") == 0 && i + 1 < argc) {
      if (std::sscanf(argv[++i], "%dx%d", &options.width, &options.height) != 2 || options.width < 100 ||
          options.height < 100 || options.width > 16000 || options.height > 16000)
        return false;
    } else {
      long lines = std::atol(argv[i]);
      if (lines < 2) return false;
      options.sizes.push_back(lines);
    }
  }
  if (options.sizes.empty()) options.sizes = {1'000'000, 10'000'000};
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QGuiApplication app(argc, argv);
  Options options;
  if (!parse(argc, argv, options)) {
    std::fprintf(stderr,
                 "usage: bench_paint [lines...] [--runs N] [--size WxH]   (lines: 2 or more; sides 100 to 16000)\n");
    return 2;
  }
  bool good = true;
  for (long lines : options.sizes) good = run(lines, options) && good;
  return good ? 0 : 1;
}
