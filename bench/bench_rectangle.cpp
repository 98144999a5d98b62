// A rectangle dragged over a plot of ten million points, as the plot window handles
// it after the button comes up: Ctrl excludes the lines behind the rectangle, then the
// plot is computed and drawn again; Shift opens a zoom window, scaled from the copied
// points and drawn. The plot is X = L against C1 of the logger file, opened through the
// shell as a dropped file would be, and drawn at 500x490 through the QPainter surface.
//   build/bench/bench_rectangle [lines] [--runs N]     (default 10,000,000 lines, 3 runs)
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "LoggerFile.h"
#include "app/shell/RenderSettings.h"
#include "app/shell/Shell.h"
#include "display/qt/QtSurface.h"
#include "ui/ScriptedUi.h"

using namespace zentrik;
using Clock = std::chrono::steady_clock;
using bench::logger_file;
using bench::seconds_since;

namespace {

constexpr int kWidth = 500, kHeight = 490;

// The face of the shell in a plot window's place: every plot handed over is drawn
// once, as the window draws its picture.
class DrawingFace : public ShellFace {
 public:
  explicit DrawingFace(const Configuration& config) : config_(config), image_(kWidth, kHeight, QImage::Format_RGB32) {}

  bool plotSetup(Plot&) override { return false; }
  DropChoice multiFileDropOptions() override { return DropChoice::Cancel; }
  ScreenSize screen() const override { return {1600, 1200}; }
  void plotReady(Plot& plot) override {
    image_.fill(Qt::white);
    QPainter painter(&image_);
    QtSurface surface(painter);
    PaintMemory memory;
    render(surface, kWidth, kHeight, plot.window, render_options(config_, OutputMode::Screen), memory);
  }
  void plotClosing(Plot&) override {}
  void busyChanged(bool) override {}

 private:
  const Configuration& config_;
  QImage image_;
};

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QGuiApplication application(argc, argv);
  long lines = 10'000'000;
  int runs = 3;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc)
      runs = std::atoi(argv[++i]);
    else
      lines = std::atol(argv[i]);
  }
  const std::string path = logger_file(lines);
  std::printf("%ld lines, X = L, Y = C1, %dx%d, best of %d\n", lines, kWidth, kHeight, runs);

  double best_exclude = 1e9, best_zoom = 1e9;
  for (int run = 0; run < runs; ++run) {
    Configuration config;
    config.drop_prompt = 0;
    config.load_prompt = 0;
    config.use_obj = 0;
    ScriptedUi ui;
    DrawingFace face(config);
    Shell shell(config, ui, face);
    Plot* plot = shell.open_file(path);
    if (!plot) {
      std::fprintf(stderr, "the plot could not be made\n");
      return 1;
    }
    // A box over the middle fifth of the lines and the whole height.
    const double x_lo = lines * 0.4, x_hi = lines * 0.6;
    const ZoomBox box{x_lo, x_hi, plot->window.plot_y_min, plot->window.plot_y_max};

    auto start = Clock::now();
    Plot* zoom = shell.zoom_plot(*plot, box);
    best_zoom = std::min(best_zoom, seconds_since(start));
    if (!zoom) return 1;

    start = Clock::now();
    shell.box_pass(*plot, box, true);
    best_exclude = std::min(best_exclude, seconds_since(start));
    std::printf("run %d: %d lines left\n", run + 1, plot->window.data->included_count());
  }
  std::printf("zoom window (copy, scale, draw):            %.3f s\n", best_zoom);
  std::printf("exclusion (pass, recalculate both, draw):   %.3f s\n", best_exclude);
  return 0;
}
