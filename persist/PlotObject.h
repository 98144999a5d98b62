// Plot object files (.zko): a whole plot with its data file names (or URLs), the
// command run before loading, the load options, the excluded lines, the window and
// the plot definition. The writer, the opening of a file as an object (or of a data
// file's companion object) for the loader, and the reading of the window part when
// the plot window is created.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/DataFile.h"
#include "data/PlotObjectHooks.h"
#include "persist/CommandApproval.h"
#include "persist/SetupFile.h"
#include "plot/PlotWindow.h"
#include "ui/Ui.h"

namespace zentrik {

// The version text the program writes into its files.
inline constexpr std::string_view kProgramVersion = "3.4";

// A plot's binding to its object file. The plot window keeps the file's name and
// the modified flag in PlotWindow::object_path and object_modified as well, where
// the plot layer marks changes; the functions here keep both in step.
struct ObjectRecord {
  std::string object_file;
  std::string sys_command;  // run before the data is loaded; "" for none
  std::string version;      // of the program that wrote the file
  int exclude_lines = 1;    // the excluded lines are excluded again when loading
  bool modified = false;    // changed since it was opened or written
  // The user let the command run (or entered it in the object's attributes): only
  // then does saving the object approve it.
  bool command_approved = false;
};

// The settings the opening of objects follows.
struct ObjectSettings {
  int use_obj = 3;     // companion objects: 0 not used, 3 offered, else used without asking
  std::string objdir;  // where companion objects are looked for
};

// What opening an object needs besides the file.
struct ObjectEnvironment {
  ObjectSettings settings;
  CommandApproval& approval;
  Ui& ui;
};

// The text of the object file for window (its data set, definition and display).
// A window without a record writes "exclude_lines 1" and no command.
std::string plot_object_text(const PlotWindow& window, const ObjectRecord* record);

// Writes the object file. False, after "Can't open ", when it cannot be written (the
// old file stays). Otherwise the window is bound to path: the record (created when
// there was none) takes the path and the program's version, the window's "Setup From"
// names the file, the modified flags are cleared, and a command becomes approved.
bool WritePlotObject(const std::string& path, PlotWindow& window, std::optional<ObjectRecord>& record,
                     CommandApproval& approval, Ui& ui);

// The "&Save Object As . . ." dialog: in objdir, proposing the first data file's name
// with ".zko" for its extension while the window has no object file.
FileDialogRequest save_object_dialog(const PlotWindow& window, const std::string& objdir);

struct OpenedObject {
  ObjectOpening opening;  // what the loader loads
  ObjectRecord record;    // when opening.result is OpenObject
};

// Opens path as a plot object when its first line says it is one, else looks for
// the data file's companion object. A pre-load command runs (as the approval
// allows) before the data file is downloaded or checked. data is the data set the
// loader fills; a data file named by URL is downloaded into it.
OpenedObject OpenAsPlotObject(const std::string& path, DataFile& data, ObjectEnvironment& env);

// The loader's hooks: opens objects with OpenAsPlotObject and keeps the record of
// the object a load was opened through, for the plot window made from it. One for
// each load: a load that stops before its pre-check does not touch the record.
class ObjectLoading : public PlotObjectHooks {
 public:
  explicit ObjectLoading(ObjectEnvironment& env) : env_(env) {}

  ObjectOpening open(const std::string& path, DataFile& data) override;
  void load_options_changed() override;
  void set_exclude_lines(int32_t value) override;

  // The owner object of the last load; empty for plain data.
  std::optional<ObjectRecord>& owner() { return owner_; }

 private:
  ObjectEnvironment& env_;
  std::optional<ObjectRecord> owner_;
};

// The screen a window rectangle must stay on.
struct ScreenSize {
  int width = 0, height = 0;
};

// Moves a window rectangle onto the screen: a rectangle past the right or bottom
// edge moves back with its size kept; one past the left or top edge is cut there
// and grows by as much.
void keep_on_screen(WindowRect& rect, ScreenSize screen);

// Where a plot without formulas of its own takes them from.
struct SetupSources {
  bool use_psu = true;
  const std::vector<std::string>& psu_files;
  const DefaultPlot& defaults;
};

// Reads the window part of the record's object file into window (whose data set is
// loaded): version, title, display switches, the rectangle kept on the screen, the
// plot keys and formulas. An object without formulas takes the setup file of its
// data file's extension, else the default plot. Returns CheckLoadedSetup's verdict:
// false when the plot setup dialog must open to mend the formulas.
bool ReadPlotObjectWindow(PlotWindow& window, ObjectRecord& record, ScreenSize screen,
                          const SetupSources& setups, Ui& ui);

}  // namespace zentrik
