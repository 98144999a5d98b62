// Where the main window's commands put windows: Cascade and the two Tile commands
// over the plot windows, the Tab key's walk through them, the main window's place
// on the desktop and the plot windows' numbers in the "Window" menu. Pure geometry
// on WindowRect (left, top, right, bottom; right and bottom exclusive, as in
// plot/PlotWindow.h): the main window turns the results into window geometry.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "plot/PlotDefinition.h"
#include "plot/PlotWindow.h"

namespace zentrik {

// The windows as they stand and the measures of the window frames.
struct ArrangementInput {
  WindowRect main;                  // the main window, restored if it was minimised
  std::vector<WindowRect> plots;    // the plot windows, in list order
  std::vector<bool> minimised;      // per plot window; missing entries count as shown
  std::vector<WindowRect> views;    // the open view windows
  WindowRect desktop;               // the desktop's available area
  int caption_height = 0;
  int border_height = 0;
  int menu_height = 0;
  // def_win_x_siz, def_win_y_siz: Cascade's window size
  int new_width = kNewWindowWidth, new_height = kNewWindowHeight;
};

// Where the windows go. A plot window without a rectangle (a minimised one) stays
// where it is; so does everything when nothing is to be arranged.
struct Arrangement {
  WindowRect main;
  std::vector<std::optional<WindowRect>> plots;  // one per plot window of the input
};

// The smallest rectangle holding the main window, every shown plot window and every
// view window, cut to the desktop.
WindowRect arrangement_area(const ArrangementInput& in);

// The main window to the area's top-left corner; each shown plot window one step
// (caption height plus twice the border height) further right and down than the one
// before, the first a step from the main window's corner moved down by the menu
// height; each in the new-window size.
Arrangement cascade(const ArrangementInput& in);

// The main window to the area's top-left corner and the shown plot windows over the
// area below its menu and a caption: one window fills it, two are stacked
// (horizontally) or side by side, more fill a grid row by row. Nothing moves when
// no plot window is shown.
Arrangement tile(const ArrangementInput& in, bool horizontally);

// The columns and rows of the tiling grid for n windows (n of 3 or more): from 2 by
// 2, a column is added while there are fewer columns than rows, else a row, until
// the cells hold n.
struct Grid {
  int columns = 2, rows = 2;
};
Grid tiling_grid(std::size_t n);

// The plot window the Tab key reaches from position (the window last reached, or
// none), skipping minimised windows; backwards for Shift+Tab. Nothing when the walk
// runs off the list: the main window is activated and the position cleared.
std::optional<std::size_t> next_window(std::optional<std::size_t> position, const std::vector<bool>& minimised,
                                       bool backwards);

// The main window's rectangle from the configuration moved onto a desktop of this
// size: past the right or bottom edge it moves back keeping its size, past the left
// or top edge it moves to 0. A window larger than the desktop is cut to it, and one
// without area (a damaged configuration) takes the default rectangle.
WindowRect place_main_window(WindowRect rect, int desktop_width, int desktop_height);

// The plot windows' numbers, used as their ids in the "Window" menu.
inline constexpr int kFirstWindowNumber = 141;
inline constexpr int kLastWindowNumber = 190;
// The lowest number of 141 to 190 not in use; 0 when all fifty are taken.
int lowest_free_window_number(const std::vector<int>& used);

}  // namespace zentrik
