// The plot window's commands that need no toolkit: the Show / Hide toggles, the
// histogram switch, Rescale and Aspect Ratio with their histogram twins, the title,
// saving the plot object, Update Now, and the models behind the window's small
// dialogs (the automatic-update interval, the object's attributes, the list of data
// files). Each command works on the shell's model of one plot and tells the desktop
// plot window what to do afterwards; questions go through the shell's Ui, and the
// prompts and file dialogs the window owns are handed in as functions.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/shell/Shell.h"
#include "persist/SetupFile.h"

namespace zentrik {

// What the window does once a command is done.
enum class WindowAction {
  None,      // nothing changed that shows
  Retitle,   // renew the window's caption only
  Redraw,    // draw the plot again (and renew the caption and status bar)
  Relayout,  // the status bar came or went: lay the window out again, then redraw
  Resize,    // give the window's inside the width in CommandResult::width, then redraw
  Closed,    // the plot was closed: the window must not touch it any more
};

struct CommandResult {
  WindowAction action = WindowAction::None;
  int width = 0;  // for Resize
};

// A one-field prompt of the window: caption, label and the text it starts with; the
// text entered on OK, nothing on Cancel.
using TextPrompt =
    std::function<std::optional<std::string>(const std::string& caption, const std::string& label,
                                             const std::string& initial)>;
// A save-file dialog: the path chosen, nothing on Cancel.
using SaveFileChooser = std::function<std::optional<std::string>(const FileDialogRequest& request)>;

// Whether the window belongs to a zoom: a zoom window (showing its zoom or
// un-zoomed for the moment), or any window that shows a zoom range.
bool in_zoom_window(const PlotWindow& window);

// --- not enough data ---
enum class DataCheck {
  Enough,      // two or more lines are included
  Recomputed,  // the user included every line again and the plot was computed anew
  Closed,      // the plot was closed (the plot is gone: do not touch it)
};
// A command that needs the plot calls this first: with fewer than 2 included lines
// the calculation asks whether to include everything again, and closes the plot on No.
DataCheck ensure_enough_data(Shell& shell, Plot& plot);

// --- Show / Hide ---
// Statistics, legend and regression lines: turning one on computes the plot again
// (the statistics need their sums), turning it off only redraws. Each marks a bound
// object changed.
CommandResult toggle_statistics(Shell& shell, Plot& plot);
CommandResult toggle_legend(Shell& shell, Plot& plot);
CommandResult toggle_regression(Shell& shell, Plot& plot);
// The status bar shows or hides: the window lays itself out again.
CommandResult toggle_status_bar(Shell& shell, Plot& plot);

// "&Histogram": X-Y plot <-> histograms. To histograms the bins are counted; back to
// X-Y the plot is only redrawn. Marks a bound object changed.
CommandResult switch_histogram(Shell& shell, Plot& plot);

// "&Rescale"; in histogram mode "Bin All On Enti&re Plot".
inline constexpr std::string_view kAutoScaleQuestion =
    "One or both axes have fixed scales.  Would you like to enable auto-scale?";
inline constexpr std::string_view kAutoScaleCaption = "Auto-scale?";
CommandResult rescale(Shell& shell, Plot& plot);

// "Aspect Rat&io . . ."; in histogram mode "Bin Each &Individually" (no prompt).
inline constexpr std::string_view kAspectRatioCaption = "Plot Aspect Ratio";
inline constexpr std::string_view kAspectRatioLabel = "Enter the ratio of the X axis to the Y axis:";
inline constexpr std::string_view kAspectRatioRefusal = "Aspect ratio must be between .1 and 10.";
inline constexpr std::string_view kIllegalValueCaption = "Illegal value!";
// The window's inside as last drawn: its size (the status bar included), the status
// bar's height when it is shown (else 0), and the plot's x of the vertical axis and
// room below the horizontal axis (RenderLayout::left and bottom_reserve).
struct AspectGeometry {
  int width = 0, height = 0;
  int status_bar_height = 0;
  int left = 0, bottom_reserve = 0;
};
// The plot's height h (the inside less the bottom reserve and the status bar) and the
// width that gives the ratio: h x ratio, truncated, plus left; at least left + 1.
int aspect_ratio_width(double ratio, const AspectGeometry& geometry);
// The ratio the window shows now, as the prompt starts with it.
std::string aspect_ratio_shown(const AspectGeometry& geometry);
// The command: asks for the ratio and answers Resize; a ratio outside .1 to 10 (or
// what is no number) is refused with kAspectRatioRefusal and changes nothing.
CommandResult aspect_ratio(Shell& shell, Plot& plot, const AspectGeometry& geometry, const TextPrompt& prompt);

// "Set &Title . . .": the custom title (empty for the data file's name); OK stores it
// and the window renews its caption. Marks a bound object changed when it differs.
inline constexpr std::string_view kTitleCaption = "Plot Title";
inline constexpr std::string_view kTitleLabel = "Enter the main title for this plot:";
CommandResult set_title(Shell& shell, Plot& plot, const TextPrompt& prompt);

// --- the plot object ---
// Whether "Save Object" and "&Save Object As . . ." apply: not in a zoom window, and
// "Save Object" only with a bound object.
bool can_save_object_as(const Plot& plot);
bool can_save_object(const Plot& plot);
// The text of the "Save Object" item: "Save (Needed)" when the bound object changed
// since it was saved, "Save Object (Not Needed)" when not, "Save Object" without one.
std::string save_object_label(const Plot& plot);
// "Save Object": writes the bound object file. False (with a beep when it does not
// apply, after "Can't open " when it cannot be written) when nothing was written.
bool save_object(Shell& shell, Plot& plot);
// The request of the "Save Plot Object" dialog: in objdir (the home folder while
// objdir is no folder), proposing the first data file's name with ".zko".
FileDialogRequest save_object_as_request(Shell& shell, const Plot& plot);
// "&Save Object As . . .": the dialog, then the object written to the path chosen;
// objdir follows its folder unless the default directories are frozen. A path that
// is one of the plot's own data files is refused, so that no data is overwritten.
bool save_object_as(Shell& shell, Plot& plot, const SaveFileChooser& choose);

// --- automatic updates ---
inline constexpr std::string_view kCloseViewQuestion =
    "Updates can not be done while the view window is open.  Do you want to close the view window and proceed "
    "with the update?";
inline constexpr std::string_view kCloseViewCaption = "Close view window?";
// Whether the update commands apply: a data set of a single file.
bool can_update(const Plot& plot);
// "Update &Now": with the data set's view window open, asks first; Yes closes it
// through close_view_window and reloads. The reload runs here, on the calling (user
// interface) thread; the windows showing the data set observe it and recompute.
// The plot may be closed by that recomputation: do not touch it afterwards.
void update_now(Shell& shell, Plot& plot, const std::function<void()>& close_view_window);

// The interval of the "Auto-Update Settings" dialog as its field shows it.
std::string update_interval_shown(double seconds);
inline constexpr std::string_view kUpdateIntervalRefusal =
    "The time between checks must be a number of seconds, zero or more.";
// OK of "Auto-Update Settings": a number of seconds of zero or more starts, changes
// or (0) ends the data set's automatic updates and is kept as the window's interval.
// Anything else is refused with kUpdateIntervalRefusal (caption "Illegal value!")
// and false is returned; nothing changes.
bool enter_update_interval(std::string_view entered, Plot& plot, Ui& ui);

// --- the object's attributes and the data files ---
// OK of "Object Attributes": the command run before loading (trimmed) and the switch
// "Exclude Lines When Loading". A command the user typed counts as approved by the
// user; a command left as it was keeps its approval. Marks the object changed when
// anything differs; false when nothing did (or the plot has no object).
bool apply_object_attributes(Plot& plot, std::string_view command, bool exclude_lines);

// "Data File Name(s)": one entry per file of the data set in the order added; a file
// added by "Concatenate Files" is followed by "  (lines first-last)".
std::vector<std::string> data_file_names(const DataFile& data);

// --- moving a zoom with the keyboard ---
// The arrows move a zoom window's range by a quarter of its width or height; "," widens
// the X range and "." narrows it by a sixteenth of its width at each end. On a
// logarithmic axis the steps are taken on the logarithms. Only a zoom window that shows
// its zoom, on an X-Y plot; the plot is then computed and scaled for the new range.
enum class PanKey { Left, Right, Up, Down, Widen, Narrow };
CommandResult pan_zoom(Shell& shell, Plot& plot, PanKey key);

}  // namespace zentrik
