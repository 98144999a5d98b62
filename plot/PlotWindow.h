// One open plot as the program keeps it, apart from the window itself: its data
// set, its definition and where that came from, what it shows, where it stands on
// the screen, its zoom, its binding to a plot object file and its automatic
// updates. The desktop window owns one and stays thin.
#pragma once

#include <cstdint>
#include <string>

#include "formula/Values.h"
#include "plot/PlotDefinition.h"
#include "ui/CalculationError.h"

namespace zentrik {

class DataFile;

struct WindowRect {
  int left = 0, top = 0, right = 0, bottom = 0;
};

// The view limits and plot ranges of a zoom, kept while its window shows the whole data.
struct SavedZoom {
  double view_x_lo = RANGE_UNSET_LOW, view_x_hi = RANGE_UNSET_HIGH;
  double view_y_lo = RANGE_UNSET_LOW, view_y_hi = RANGE_UNSET_HIGH;
  double plot_x_min = RANGE_UNSET_HIGH, plot_x_max = RANGE_UNSET_LOW;
  double plot_y_min = RANGE_UNSET_HIGH, plot_y_max = RANGE_UNSET_LOW;
};

struct PlotWindow {
  DataFile* data = nullptr;  // shared with other windows; the main window owns it
  PlotDefinition definition;
  std::string setup_from;  // "Setup From:  ..." as the plot setup dialog shows it
  std::string title;
  int showstats = 1, legend = 1, regress = 0, status_bar = 1;
  WindowRect rect;

  // The ranges the plot shows and the zoom's data rectangle (unset while unzoomed).
  double plot_x_min = RANGE_UNSET_HIGH, plot_x_max = RANGE_UNSET_LOW;
  double plot_y_min = RANGE_UNSET_HIGH, plot_y_max = RANGE_UNSET_LOW;
  double view_x_lo = RANGE_UNSET_LOW, view_x_hi = RANGE_UNSET_HIGH;
  double view_y_lo = RANGE_UNSET_LOW, view_y_hi = RANGE_UNSET_HIGH;
  bool zoomed = false;       // showing a zoom range; the zoom commands keep it opposite to auto_scaled
  bool auto_scaled = true;  // showing the extent of its data, not a zoom range
  bool is_zoom_window = false;  // made by a zoom: Un-Zoom and Re-Zoom apply to it
  bool unzoomed = false;        // a zoom window showing its whole data for the moment
  SavedZoom saved_zoom;         // the zoom while un-zoomed; moving the zoom frame changes it
  bool no_points = false;   // the last scaling found nothing to plot
  int largest_bin_count = 1;  // the vertical range of a histogram

  std::string object_path;  // the plot object file it belongs to; "" for plain data
  bool object_modified = false;
  double update_interval = 0;  // seconds between checks of the data file; 0: none
  bool cancelled = false;      // a calculation was cancelled: the window closes
  CalculationAction last_error_action = CalculationAction::ExcludeLine;  // preselected next time
  // The data set's line change count at which the points were last all computed (0:
  // never), and after a reload that only appended lines the first new line: the next
  // calculation computes the points from there on (0: of every line).
  uint64_t points_lines = 0;
  int32_t append_from = 0;
};

// Opens a new plot window model with the defaults of a new plot.
PlotWindow new_plot_window(DataFile* data, const DefaultPlot& defaults, WindowRect rect);

// Where new windows appear: each 30 pixels right of and below the one before; a
// coordinate that would take the window past the screen restarts at 90.
class WindowCascade {
 public:
  WindowRect next(int width, int height, int screen_width, int screen_height);

 private:
  int left_ = 0, top_ = 0;
};

}  // namespace zentrik
