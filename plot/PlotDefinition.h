// The settings of one plot (formula list, axes, labels, grid, ranges, scale marks,
// margins, dates, plot type), the program-wide defaults new plots start from, and
// the defaults of a new plot. Read and written by the setup, object and
// configuration files; edited by the plot setup dialog and the axis pages.
#pragma once

#include <string>
#include <string_view>

#include "formula/Values.h"
#include "plot/Formula.h"

namespace zentrik {

// Margins lie within this many pixels of the axes, as far as drawn positions reach;
// readers of files keep them there.
inline constexpr int kMaxMargin = 16000;
inline int bounded_margin(int margin) { return margin < -kMaxMargin ? -kMaxMargin : margin > kMaxMargin ? kMaxMargin : margin; }

// Whether automatic scale marks are on when a file names no choice: on when the
// interval is 0; for X, when its text starts with the whole number 0 ("0", "0.5",
// or no number at all).
int default_x_automark(std::string_view x_bytick);
inline int default_y_automark(double y_bytick) { return y_bytick == 0 ? 1 : 0; }

struct PlotDefinition {
  std::string xlab, ylab;
  int x_grid = 0, y_grid = 0;
  int log_x = 0;  // 0 linear, 1 logarithmic, 2 date/time
  int log_y = 0;  // 0 linear, 1 logarithmic
  int auto_x = 1, auto_y = 1;
  int x_automark = 1, y_automark = 1;
  double x_from = RANGE_UNSET_LOW, y_from = RANGE_UNSET_LOW;
  double x_to = RANGE_UNSET_HIGH, y_to = RANGE_UNSET_HIGH;
  double x_lotick = 0, y_lotick = 0;
  std::string x_bytick = "0";  // a number, or on a date axis an interval with a unit
  double y_bytick = 0;
  int x_tickprec = 5, y_tickprec = 5;
  int x_margin = 10, y_margin = 10;
  std::string date_format;
  FormulaList formulas;  // the X formula, then the Y formulas
  int xy_or_histo = 0;   // 0 X-Y plots, 1 histograms
  int binscale = 0;      // histogram bins follow the scale marks
};

// The size of a new plot window until the user makes one of another size the default.
inline constexpr int kNewWindowWidth = 500;
inline constexpr int kNewWindowHeight = 490;

// What the configuration holds for new plots, new formulas and new windows.
struct DefaultPlot {
  DefaultPlot() {
    definition.x_margin = definition.y_margin = 15;
    definition.date_format = "%#d-%b-%y %#H:%M";
  }

  PlotDefinition definition;  // its formula list may be empty
  int new_points = 1, new_lines = 1;
  int def_blackpoints = 1, def_bin_all = 1, def_num_cats = 29;
  int new_stats = 1, new_legend = 1, new_stat_bar = 1;
  int def_win_x_siz = kNewWindowWidth, def_win_y_siz = kNewWindowHeight;
};

// The definition a new plot starts with, and the "Setup From" text that says where
// it came from ("Setup From:  Loaded Defaults" or "Setup From:  Internal Defaults").
PlotDefinition new_plot_definition(const DefaultPlot& defaults, std::string& setup_from);

// A Y formula as the plot setup dialog adds it: the point character follows the
// number of formulas listed ("*" for the first), the colour and line type are the
// automatic choice, the rest comes from the defaults.
Formula new_y_formula(std::string text, const FormulaList& formulas, const DefaultPlot& defaults);

}  // namespace zentrik
