// What the main window owns and does, without a window: the configuration in use,
// the loaded data sets, the open plots with their window numbers, the busy count,
// and the road from a file name to a computed plot (PlotDataFile) with the loops
// of its recalculation. Both faces of zentrik3 drive it: the batch mode and the
// desktop windows, which show what it asks through ShellFace and the Ui.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/shell/DropChoice.h"
#include "data/DataFile.h"
#include "data/FileAccess.h"
#include "display/Render.h"
#include "persist/CommandApproval.h"
#include "persist/Configuration.h"
#include "persist/PlotObject.h"
#include "plot/PlotWindow.h"
#include "ui/Ui.h"

namespace zentrik {

// One open plot: the model of its window, its binding to a plot object file and
// its number in the "Window" menu.
struct Plot {
  PlotWindow window;
  std::optional<ObjectRecord> object;
  int number = 0;          // 141 .. 190; 0 when all numbers were taken
  bool closed = false;     // closed; destroyed once the operation in progress ends
  bool calculating = false;  // closing is refused meanwhile
  bool recalc_pending = false;  // another window's exclusions came in during a calculation
  bool shown = false;      // computed at least once and handed to the face
  bool lines_changed = false;  // lines were included or excluded from its setup dialog
};

// The caption of a plot's window: its own title, else the data set's name with
// " (Zoom)" in a zoom window (" (Un-Zoomed)" while it shows its whole data); " (Object ", the object file's name and ")" when it
// belongs to a plot object.
std::string plot_window_title(const Plot& plot);

// What the shell asks of the face that shows it.
class ShellFace {
 public:
  virtual ~ShellFace() = default;
  // The "Plot Setup" dialog on the plot's window; true when OK committed it.
  virtual bool plotSetup(Plot& plot) = 0;
  // The Multi-File Drop Options dialog.
  virtual DropChoice multiFileDropOptions() = 0;
  // The screen new windows are placed on.
  virtual ScreenSize screen() const = 0;
  // The plot was computed: show it (the first time) or draw it again.
  virtual void plotReady(Plot& plot) = 0;
  // The plot closes: let go of everything that shows it. The model stays valid
  // until the operation in progress ends.
  virtual void plotClosing(Plot& plot) = 0;
  // Brings the plot's window to the front, restored.
  virtual void activatePlot(Plot&) {}
  // The busy count changed between 0 and above 0.
  virtual void busyChanged(bool busy) = 0;
  // "&View File" of the calculation error dialog; empty while there is none.
  virtual std::function<void()> viewFile(Plot&) { return {}; }
  // The data set is about to be freed: whatever shows it goes first.
  virtual void dataClosing(DataFile&) {}
};

// How the recalculation of a plot ended.
enum class Recalculation {
  Done,      // computed and scaled
  NoPoints,  // computed, but no point is left to plot
  Closed,    // the plot was closed (cancelled, or too little data)
};

class Shell {
 public:
  // config is the live configuration; the shell changes it as the menus and dialogs do.
  Shell(Configuration& config, Ui& ui, ShellFace& face, CommandPolicy commands = CommandPolicy::Ask);
  ~Shell();
  Shell(const Shell&) = delete;
  Shell& operator=(const Shell&) = delete;

  Configuration& config() { return config_; }
  Ui& ui() { return ui_; }

  // --- the busy count: while above 0 commands that open data beep ---
  bool busy() const { return busy_ > 0; }
  // The emergency exit of a right double-click with Ctrl and Shift: back to 0.
  void reset_busy();
  class BusyScope {
   public:
    explicit BusyScope(Shell& shell);
    ~BusyScope();
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

   private:
    Shell& shell_;
    StreamScope streams_;  // a pipe is read once for the whole operation
  };

  // --- opening data ---
  // Plots every file the text names (names separated by blanks, quoted when they hold blanks).
  void process_command_line(std::string_view text);
  // A command line handed over by a second start: refused with a beep while busy.
  void pass_file(std::string_view text);
  // Loads the file (or URL, or plot object) and plots it; the plot when one is shown.
  Plot* open_file(const std::string& path);
  // Several files dropped on the main window.
  void drop_files(const std::vector<std::string>& paths);
  // Files dropped on a plot window: plotted in windows of their own with its setup,
  // or joined to its data set.
  void drop_on_plot(Plot& plot, const std::vector<std::string>& paths);

  // What a load gave: the data set and the plot object it was opened through.
  struct Loaded {
    std::unique_ptr<DataFile> data;
    std::optional<ObjectRecord> owner;
  };
  // Loads path; no data set when nothing usable was loaded (the user has been told why).
  Loaded load(const std::string& path);

  // PlotDataFile: a plot window for a loaded data set, set up and computed. The plot
  // when it is shown; nothing when the data set was empty, the setup was cancelled or
  // the computation closed it.
  Plot* plot_data_file(Loaded loaded);

  // The first half of PlotDataFile: the data set joins the loaded ones and a plot
  // window is made for it, its definition from the plot object, the setup file bound
  // to the data file's extension, the default plot or the internal defaults. adjust,
  // when given, changes the new window before its formulas are checked and returns
  // whether it replaced them. *ask_setup tells whether the plot setup dialog must open.
  using Adjustment = std::function<bool(PlotWindow&)>;
  Plot* create_plot(Loaded loaded, bool* ask_setup, const Adjustment& adjust = {});
  // The second half: the plot setup dialog when asked, then the computation until
  // the plot can be shown. The plot when it is shown, else nothing (it is closed).
  Plot* finish_plot(Plot& plot, bool ask_setup);

  // --- computing ---
  // Calculates and scales the plot, through the calculation's questions: back to the
  // plot setup, too little data left, cancelling. rescale: the ranges are found anew.
  // quiet: an automatic update, computed without progress windows.
  Recalculation recalculate(Plot& plot, bool rescale, bool quiet = false);
  // The plot setup dialog of an open plot, then the computation ("Plot S&etup"); the
  // dialog opens again while the conditions leave nothing to plot.
  void plot_setup_command(Plot& plot);

  // --- more windows on the same data set ---
  // "&Duplicate Window": a new window with this one's definition, extents, zoom, plot
  // kind and switches, computed anew. The new plot, or nothing when refused or closed.
  Plot* duplicate_plot(Plot& source);
  // A window made from another on the same data set (a duplicate, a zoom) joins the
  // open plots with the next window number; it is not computed or shown yet.
  Plot& add_plot(PlotWindow window);
  // A released zoom rectangle: the zoom window of box (values), scaled from the copied
  // points and shown. The new plot, or nothing.
  Plot* zoom_plot(Plot& source, const ZoomBox& box);
  // A released exclude or ignore rectangle: the pass over the data, then this plot and,
  // after exclusions, the others on the same data set computed and drawn again.
  void box_pass(Plot& plot, const ZoomBox& box, bool exclude);
  // Scales the plot again from its points and draws it (a new zoom, un-zoom, re-zoom).
  void scale_plot(Plot& plot);
  // Draws a shown plot again (after its lines changed elsewhere and it was computed).
  void redraw(Plot& plot);

  // --- closing ---
  // The closing sequence of a plot window; false (after a beep) while it is computing.
  bool close_plot(Plot& plot);
  // Closes every plot without asking about unsaved objects, then frees every data set.
  void close_all_plots();

  // --- what is open ---
  const std::vector<std::unique_ptr<Plot>>& plots() const { return plots_; }
  const std::vector<std::unique_ptr<DataFile>>& data_files() const { return data_files_; }
  // The open plots showing data, in creation order.
  std::vector<Plot*> plots_of(const DataFile& data);
  Plot* plot_of(const PlotWindow& window);
  CommandApproval& approval() { return approval_; }

 private:
  // Keeps closed plots and unused data sets alive until the outermost operation ends.
  class Operation {
   public:
    explicit Operation(Shell& shell) : shell_(shell) { ++shell_.depth_; }
    ~Operation();
    Operation(const Operation&) = delete;
    Operation& operator=(const Operation&) = delete;

   private:
    Shell& shell_;
  };

  void add_busy();
  void release_busy();
  int next_window_number() const;
  bool prompt_for_setup(bool found_setup) const;
  void close_now(Plot& plot);
  void collect();
  Recalculation recalculate_loop(Plot& plot, bool rescale, bool quiet);
  void recalculate_other(PlotWindow& window);
  void drop_separately(const std::vector<std::string>& paths, const Plot* template_plot);
  void drop_concatenated(const std::vector<std::string>& paths, DropChoice choice);

  Configuration& config_;
  Ui& ui_;
  ShellFace& face_;
  CommandApproval approval_;
  ObjectEnvironment object_env_;
  WindowCascade cascade_;
  int busy_ = 0;
  int depth_ = 0;
  std::vector<std::unique_ptr<Plot>> plots_;
  std::vector<std::unique_ptr<DataFile>> data_files_;
};

}  // namespace zentrik
