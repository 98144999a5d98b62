// Plot setup files (.psu): one plot definition without data files, as 25 key lines
// and the formula list. The writer and reader of the plot lines (which plot object
// files share), the choice of a setup file by a data file's extension, the check of
// a loaded setup's formulas, and the "&Save As..." / "Load F&rom..." buttons of the
// plot setup dialog.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "formula/FormulaCheck.h"
#include "persist/ConfigReader.h"
#include "plot/PlotDefinition.h"
#include "plot/PlotSetup.h"
#include "ui/Ui.h"

namespace zentrik {

// Significant digits of the doubles in the plot lines.
inline constexpr int kSetupFilePrecision = 10;
inline constexpr int kObjectFilePrecision = 8;

// Appends the 25 plot lines, "xy_or_histo" to "date_format".
void write_plot_lines(std::string& out, const PlotDefinition& definition, int precision);
// The plot lines and the formula list between "plot_info" and "~end_plot_info~".
std::string setup_file_text(const PlotDefinition& definition);

// Reads the 25 plot keys, each with its default when it is missing.
void read_plot_lines(ConfigReader& reader, PlotDefinition& definition);
// The plot keys and the formula list; a file without formula lines keeps the
// definition's formulas. Returns whether the file held formulas.
bool read_plot_setup(ConfigReader& reader, PlotDefinition& definition);

// The setup file bound to the data file's extension in psu_files, read into
// definition. False when use_psu is off, no setup file is bound to the extension,
// or it cannot be read (after "Can't find plot setup file "). loaded_from, when
// given, receives the setup file's path.
bool FindSetupFileForDataFile(std::string_view data_file_name, bool use_psu,
                              const std::vector<std::string>& psu_files, PlotDefinition& definition, Ui& ui,
                              std::string* loaded_from = nullptr);

// Checks the X formula and every enabled Y formula on the sample line; true when
// all parse, else false after one message "Error(s) in plot setup!" listing the
// errors (the caller then opens the plot setup dialog).
bool CheckLoadedSetup(const PlotDefinition& definition, SampleLine sample, Ui& ui);

// What a file dialog of the program shows: filters as "Name|*.ext|...||".
struct FileDialogRequest {
  std::string title;
  std::string filter;
  std::string default_extension;  // without the dot; "" for none
  std::string folder;
  std::string file_name;          // proposed name
  bool confirm_overwrite = false;
};

// A default directory follows the folder of the file chosen, unless they are frozen.
void follow_chosen_folder(std::string& directory, const std::string& chosen, bool freeze_dirs);

// "&Save As..." and "Load F&rom..." of the plot setup dialog, on its working copy.
// Nothing is committed until the dialog's OK. The dialog's "&Load Defaults" goes
// through here too, so that the "Setup From" label follows it.
class PlotSetupFiles {
 public:
  // settingsdir is the configuration's, and follows the files chosen.
  PlotSetupFiles(PlotSetup& setup, std::string& settingsdir, bool freeze_dirs, Ui& ui);

  FileDialogRequest save_dialog() const;
  FileDialogRequest load_dialog() const;

  // Writes the working copy, with the X formula field's text, to path. False, after
  // "Can't open ", when it cannot be written; the old file and the settings stay.
  bool save_as(const std::string& path);
  // Replaces the working copy by the file's settings and formulas (a file without
  // formulas keeps the working list). False, after "Can't open ", when it cannot be read.
  bool load_from(const std::string& path);
  void load_defaults();

  // "Setup From:  " and where the working copy came from.
  const std::string& setup_from() const { return setup_from_.empty() ? setup_.setup_from() : setup_from_; }

 private:
  void chosen(const std::string& path);

  PlotSetup& setup_;
  std::string& settingsdir_;
  bool freeze_dirs_;
  Ui& ui_;
  std::string setup_from_;  // set by a load; empty: the setup's own label
  std::string last_name_;   // the file chosen last, proposed by the next dialog
};

}  // namespace zentrik
