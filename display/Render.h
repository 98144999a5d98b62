// Drawing a whole plot onto a surface: the title band of printed and recorded
// pictures, axes and frame, scale marks with grid lines and their labels, axis
// labels, the legend and statistics band, the points and lines of every formula or
// the histogram outlines, regression lines, histogram quantities and the remembered
// zoom box. The plot window, the clipboard picture, the printer and the image files
// all draw through render(); it also says where everything went, for the mouse
// operations and for reports.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "display/Font.h"
#include "display/Surface.h"
#include "plot/PlotWindow.h"
#include "plot/Statistics.h"

namespace zentrik {

class Ui;

enum class OutputMode { Screen = 0, Printer = 1, Picture = 2 };

// A zoom rectangle in values (not logarithms), as a zoom window keeps it while it
// shows its whole data.
struct ZoomBox {
  double x_lo = 0, x_hi = 0, y_lo = 0, y_hi = 0;
};

struct RenderOptions {
  OutputMode mode = OutputMode::Screen;
  PlotFonts fonts;
  bool gray_margins = true;           // "&Gray Margins On Zooms"
  bool histogram_quantities = true;   // "Show &Histogram Quantities"
  std::optional<ZoomBox> zoom_box;    // the remembered zoom box, when it is shown
  Ui* ui = nullptr;                   // shows the wait cursor while drawing, when given
  // Only the layout is wanted (what render() returns and remembers): the formulas'
  // points, lines and histogram outlines are not walked.
  bool layout_only = false;
};

// What a plot window keeps from one paint to the next: the recorded picture and the
// printer use the quantity band and the statistics texts of the last screen paint.
struct PaintMemory {
  int quantity_band = 0;                    // Q of the last screen or printer paint
  std::optional<StatisticsBox> statistics;  // the texts and columns of the last screen paint
  bool pending = false;                     // a paint came while the window was busy
};

// The measured layout, in pixels of the surface.
struct RenderLayout {
  int width = 0, height = 0;
  int S = 0;  // height of "09E+" in the scale marks font
  int P = 0;  // height of "AZaq^&%p*" in the plot points font
  int A = 0;  // height of the horizontal axis label in the axis label font
  int T = 0;  // height of the title (printer and picture only)
  int L = 0;  // a row of the legend and statistics band: the larger of S and P
  int Q = 0;  // the histogram quantity band
  int left = 0;            // x of the vertical axis
  int top = 0;             // y of the top of the plot area
  int bottom = 0;          // y of the horizontal axis
  int bottom_reserve = 0;  // the room below the horizontal axis
  int x_margin = 0, y_margin = 0;  // Mx and My: the horizontal and vertical margins
  double horizontal_scale = 0, vertical_scale = 0;  // pixels per unit (logarithms on a log axis)
};

// One scale mark whose tick (or grid line) was drawn, with what became of its label.
struct MarkLabel {
  enum class Fate { Drawn, Crowded, Invalid };
  double value = 0;       // the mark (a logarithm on a log axis)
  int position = 0;       // x or y of the tick
  std::string text;       // the label as formatted
  int label_position = 0; // where the label's centre went along the axis, when drawn
  Fate fate = Fate::Drawn;
};

// A counted point: an enabled Y formula's valid point on the plot, on an included line.
struct CountedPoint {
  double x = 0, y = 0;
};

struct RenderResult {
  bool drawn = false;  // false: no formula list or no Y formula, nothing drawn
  std::string title;   // the title text (drawn only on the printer and the picture)
  RenderLayout layout;
  std::vector<MarkLabel> vertical_marks, horizontal_marks;  // in the order visited
  // Per Y formula in list order, its first counted point, if it has one.
  std::vector<std::optional<CountedPoint>> first_counted;
  bool no_counted_point = true;
  bool fewer_than_two_distinct = true;  // fewer than two different counted points
  std::optional<Rect> zoom_box;         // the remembered zoom box in pixels, when drawn
};

// Draws the plot onto a surface of width x height pixels (logical pixels: the
// printer maps the window's size onto its printable area). Finishes the statistics
// of formulas marked changed. A screen paint renews memory; the picture and the
// printer read it.
RenderResult render(Surface& surface, int width, int height, PlotWindow& window, const RenderOptions& options,
                    PaintMemory& memory);

// The status bar of a plot window: "%s: %s, %s to %s, %s" with the title (empty when
// none is set), X minimum, Y minimum, X maximum and Y maximum as the axes label them.
std::string plot_status_text(const PlotWindow& window);

// The paint of a plot window: while it is busy (loading or computing) or not ready
// yet, the paint is only remembered as pending (nullopt); otherwise the client area, less the status
// bar when it is shown, is rendered in screen mode.
struct WindowPaint {
  std::string status_text;  // the status bar's new text; "" without a status bar
  RenderResult render;
};
std::optional<WindowPaint> paint_plot_window(Surface& surface, int client_width, int client_height,
                                             int status_bar_height, PlotWindow& window, bool busy_or_unready,
                                             const RenderOptions& options, PaintMemory& memory);

// After the work that made a window busy: whether a paint is pending; it is cleared.
bool take_pending_paint(PaintMemory& memory);

}  // namespace zentrik
