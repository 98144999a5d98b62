// The rectangle drag on a plot: with Shift it zooms, with Ctrl it excludes the
// lines behind the points inside, with both it ignores those points, and without a
// key it reads out positions and distances. RectangleDrag follows one drag from
// press to release (one per plot window; the widget feeds it the mouse and paints
// the focus frame it reports); exclude_in_box and ignore_in_box are the passes over
// the data that a released exclude or ignore rectangle asks for.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "display/AxisMapping.h"
#include "display/Render.h"
#include "plot/PlotWindow.h"
#include "ui/Ui.h"

namespace zentrik {

enum class DragMode { None, Zoom, Exclude, Ignore };

// Shift alone zooms, Ctrl alone excludes, both ignore, neither only reads out.
DragMode drag_mode(bool shift, bool ctrl);

// Raises a data set's update hold while it lives: automatic reloads wait meanwhile.
class UpdateHold {
 public:
  explicit UpdateHold(DataFile* data);
  ~UpdateHold();
  UpdateHold(const UpdateHold&) = delete;
  UpdateHold& operator=(const UpdateHold&) = delete;

 private:
  DataFile* data_;
};

enum class PressResult {
  Ignored,        // busy, updating quietly, or nothing drawn yet: nothing happened
  NotEnoughData,  // fewer than two lines are included: recalculate the window (the calculation asks
                  // the not-enough-data question and closes the window when the answer is no); no drag
  TrackFrame,     // the press hit the zoom frame of an un-zoomed zoom window: let the frame tracker
                  // move or resize it, then call move_zoom_frame() and redraw; no drag
  Refused,        // a "Sorry." message was shown; no drag
  Started,        // the drag runs: capture the mouse and send moves and the release
};

// What a released drag asks for.
struct DragOutcome {
  enum class Action { Nothing, Zoom, Exclude, Ignore };
  Action action = Action::Nothing;
  // The rectangle in values, bounds included: X low .. X high, Y low .. Y high (on a
  // histogram X is the plot's X range and Y the values under the horizontal edges).
  ZoomBox box;
  // The status bar's text again after a drag, when the window shows its status bar.
  std::optional<std::string> status_text;
};

class RectangleDrag {
 public:
  RectangleDrag() = default;
  ~RectangleDrag();  // a drag still running is cancelled
  RectangleDrag(const RectangleDrag&) = delete;
  RectangleDrag& operator=(const RectangleDrag&) = delete;

  // The left button goes down at (x, y) on a plot drawn as `drawn` (the last screen
  // paint of window). busy: the window is loading, computing or updating quietly.
  // on_zoom_frame: the press hit the zoom frame (the frame tracker's own hit test).
  PressResult press(PlotWindow& window, const RenderResult& drawn, int x, int y, bool shift, bool ctrl, bool busy,
                    Ui& ui, bool on_zoom_frame = false);
  // The mouse moved with the button held: the drag rectangle follows it. Returns the
  // status bar's new text, when the window shows its status bar and a drag runs.
  std::optional<std::string> move(int x, int y);
  // The button came up at (x, y). busy as for press(). Ends the drag in every case.
  DragOutcome release(int x, int y, bool busy);
  // The drag ends without an outcome (window closed, focus or mouse capture lost).
  void cancel();

  bool dragging() const { return dragging_; }
  DragMode mode() const { return mode_; }
  // The normalised rectangle between the press and the last move, once the mouse
  // has moved: the dotted focus frame.
  std::optional<Rect> rectangle() const { return rectangle_; }
  // The status bar's text since the press or the last move; none without a status bar.
  const std::optional<std::string>& status_text() const { return status_text_; }
  // The values under the press: X and Y, or on a histogram the value and the quantity.
  double start_x_value() const { return start_x_; }
  double start_y_value() const { return start_y_; }

 private:
  PressResult refuse(Ui& ui, const std::string& text, bool sound);
  std::string start_text() const;
  std::string move_text(int x, int y) const;
  std::string x_label(double x) const;
  std::string y_label(double y) const;
  std::string x_difference(double d) const;
  void clean_up();

  PlotWindow* window_ = nullptr;
  AxisMapping mapping_;
  DragMode mode_ = DragMode::None;
  bool dragging_ = false;
  bool holding_ = false;  // the data set's update hold was raised by this drag
  DataFile* held_data_ = nullptr;
  int start_px_ = 0, start_py_ = 0;
  double start_x_ = 0, start_y_ = 0;
  std::optional<Rect> rectangle_;
  std::optional<std::string> status_text_;
};

// The status bar's mode-none readout of an X difference on a date axis: whole
// seconds up to a minute, then minutes, hours, days or years with two decimals.
std::string date_difference_text(double seconds);

// --- the passes behind a released exclude or ignore rectangle ---

struct BoxPassEnvironment {
  Ui& ui;
  bool show_progress = true;  // the progress window, with Cancel, while the lines are walked
  // The window's plot object keeps its excluded lines: an exclusion modifies it.
  bool object_keeps_exclude_list = true;
};

struct BoxPassResult {
  int32_t lines_excluded = 0;
  std::vector<int32_t> ignored;  // points ignored now, per formula in list order (the X formula's stays 0)
  int64_t points_ignored = 0;
  bool cancelled = false;  // Cancel stopped the walk; what was done stays done
};

// Excludes every included line on which an enabled Y formula has a valid point on
// the plot inside box (bounds included); each line once. Afterwards this window's
// formulas are marked as after an exclusion elsewhere. The caller then recalculates
// and redraws this window (the calculation asks the not-enough-data question when
// fewer than two lines remain), marks and recalculates the other windows on the
// same data set as after exclusions, and refreshes the data set's view window.
BoxPassResult exclude_in_box(PlotWindow& window, const ZoomBox& box, BoxPassEnvironment& env);

// Ignores every valid, on-plot point of an enabled Y formula inside box: it is no
// longer valid and its formula's ignored count grows. Afterwards every formula is
// marked changed; the caller recalculates and redraws the window.
BoxPassResult ignore_in_box(PlotWindow& window, const ZoomBox& box, BoxPassEnvironment& env);

}  // namespace zentrik
