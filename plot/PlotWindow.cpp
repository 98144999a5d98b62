#include "plot/PlotWindow.h"

namespace zentrik {

PlotWindow new_plot_window(DataFile* data, const DefaultPlot& defaults, WindowRect rect) {
  PlotWindow window;
  window.data = data;
  window.definition = new_plot_definition(defaults, window.setup_from);
  window.showstats = defaults.new_stats;
  window.legend = defaults.new_legend;
  window.status_bar = defaults.new_stat_bar;
  window.regress = 0;
  window.rect = rect;
  return window;
}

WindowRect WindowCascade::next(int width, int height, int screen_width, int screen_height) {
  constexpr int kStep = 30, kRestart = 90;
  left_ += kStep;
  top_ += kStep;
  if (left_ + width > screen_width) left_ = kRestart;
  if (top_ + height > screen_height) top_ = kRestart;
  return {left_, top_, left_ + width, top_ + height};
}

}  // namespace zentrik
