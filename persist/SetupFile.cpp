#include "persist/SetupFile.h"

#include <cstdio>
#include <filesystem>
#include <optional>

#include "data/DataFile.h"
#include "data/AtomicFile.h"
#include "persist/FormulaListText.h"
#include "persist/KeyWriter.h"
#include "persist/SetupFileTable.h"

namespace zentrik {
namespace {

// The part of path after its last "/" (the folder's dots do not count).
std::string_view name_part(std::string_view path) {
  std::size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// The extension pattern of a data file: "*." and the text after the last "." of its name.
std::string extension_pattern(std::string_view data_file_name) {
  std::string_view name = name_part(data_file_name);
  std::size_t dot = name.rfind('.');
  return "*." + std::string(dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1));
}

std::string folder_of(const std::string& path) {
  std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// A reader of path, or none when path cannot be read as a file.
bool open_setup_file(const std::string& path, std::optional<ConfigReader>& reader) {
  reader.emplace(path);
  return reader->is_open();
}

}  // namespace

void write_plot_lines(std::string& text, const PlotDefinition& d, int precision) {
  KeyWriter out(text);
  out.integer("xy_or_histo", d.xy_or_histo);
  out.integer("binscale", d.binscale);
  out.line("xlab", d.xlab);
  out.line("ylab", d.ylab);
  out.integer("x_grid", d.x_grid);
  out.integer("y_grid", d.y_grid);
  out.integer("log_x", d.log_x);
  out.integer("log_y", d.log_y);
  out.integer("auto_x", d.auto_x);
  out.integer("auto_y", d.auto_y);
  out.real("x_from", d.x_from, precision);
  out.real("y_from", d.y_from, precision);
  out.real("x_to", d.x_to, precision);
  out.real("y_to", d.y_to, precision);
  out.real("x_lotick", d.x_lotick, precision);
  out.real("y_lotick", d.y_lotick, precision);
  out.line("x_bytick", d.x_bytick);
  out.real("y_bytick", d.y_bytick, precision);
  out.integer("x_automark", d.x_automark);
  out.integer("y_automark", d.y_automark);
  out.integer("x_tickprec", d.x_tickprec);
  out.integer("y_tickprec", d.y_tickprec);
  out.integer("x_margin", d.x_margin);
  out.integer("y_margin", d.y_margin);
  out.line("date_format", d.date_format);
}

std::string setup_file_text(const PlotDefinition& definition) {
  std::string text;
  write_plot_lines(text, definition, kSetupFilePrecision);
  write_formula_list(text, "plot_info", "~end_plot_info~", definition.formulas);
  return text;
}

// The keys are read in the order they are written, each automatic-mark default
// after the interval it depends on.
void read_plot_lines(ConfigReader& r, PlotDefinition& d) {
  d.xy_or_histo = r.read_int("xy_or_histo", 0);
  d.binscale = r.read_int("binscale", 0);
  d.xlab = r.read_string("xlab", "");
  d.ylab = r.read_string("ylab", "");
  d.x_grid = r.read_int("x_grid", 0);
  d.y_grid = r.read_int("y_grid", 0);
  d.log_x = r.read_int("log_x", 0);
  d.log_y = r.read_int("log_y", 0);
  d.auto_x = r.read_int("auto_x", 1);
  d.auto_y = r.read_int("auto_y", 1);
  d.x_from = r.read_double("x_from", RANGE_UNSET_LOW);
  d.y_from = r.read_double("y_from", RANGE_UNSET_LOW);
  d.x_to = r.read_double("x_to", RANGE_UNSET_HIGH);
  d.y_to = r.read_double("y_to", RANGE_UNSET_HIGH);
  d.x_lotick = r.read_double("x_lotick", 0);
  d.y_lotick = r.read_double("y_lotick", 0);
  d.x_bytick = r.read_string("x_bytick", "0");
  d.y_bytick = r.read_double("y_bytick", 0);
  d.x_automark = r.read_int("x_automark", default_x_automark(d.x_bytick));
  d.y_automark = r.read_int("y_automark", default_y_automark(d.y_bytick));
  d.x_tickprec = r.read_int("x_tickprec", 5);
  d.y_tickprec = r.read_int("y_tickprec", 5);
  d.x_margin = bounded_margin(r.read_int("x_margin", 10));
  d.y_margin = bounded_margin(r.read_int("y_margin", 10));
  d.date_format = r.read_string("date_format", "");
}

bool read_plot_setup(ConfigReader& reader, PlotDefinition& definition) {
  read_plot_lines(reader, definition);
  FormulaList formulas = read_formula_list(reader, "plot_info", "~end_plot_info~");
  if (formulas.empty()) return false;
  definition.formulas = std::move(formulas);
  return true;
}

bool FindSetupFileForDataFile(std::string_view data_file_name, bool use_psu,
                              const std::vector<std::string>& psu_files, PlotDefinition& definition, Ui& ui,
                              std::string* loaded_from) {
  if (!use_psu) return false;
  std::string setup_file = find_setup_file(extension_pattern(data_file_name), psu_files);
  if (setup_file.empty()) return false;
  if (name_part(setup_file).find('.') == std::string_view::npos) setup_file += ".psu";
  std::optional<ConfigReader> reader;
  if (!open_setup_file(setup_file, reader)) {
    ui.showError("Can't find plot setup file " + setup_file, "Plot Setup File Open Error!");
    return false;
  }
  read_plot_setup(*reader, definition);
  if (loaded_from) *loaded_from = setup_file;
  return true;
}

bool CheckLoadedSetup(const PlotDefinition& definition, SampleLine sample, Ui& ui) {
  std::string errors;
  const FormulaList& formulas = definition.formulas;
  checkFormula(formulas.empty() ? "" : formulas[0].text(), "X axis formula", &errors, sample, ui);
  for (std::size_t i = 1; i < formulas.size(); ++i)
    if (formulas[i].enabled) checkFormula(formulas[i].text(), "Y formula " + std::to_string(i), &errors, sample, ui);
  if (errors.empty()) return true;
  ui.showError("The following errors were found when loading the plot setup:\n" + errors, "Error(s) in plot setup!");
  return false;
}

void follow_chosen_folder(std::string& directory, const std::string& chosen, bool freeze_dirs) {
  if (!freeze_dirs) directory = folder_of(chosen);
}

PlotSetupFiles::PlotSetupFiles(PlotSetup& setup, std::string& settingsdir, bool freeze_dirs, Ui& ui)
    : setup_(setup), settingsdir_(settingsdir), freeze_dirs_(freeze_dirs), ui_(ui) {}

FileDialogRequest PlotSetupFiles::save_dialog() const {
  return {"Save Plot Setup", "Plot Setup Files|*.psu|All Files|*.*||", "psu", settingsdir_, last_name_, true};
}

FileDialogRequest PlotSetupFiles::load_dialog() const {
  return {"Load Plot Setup", "Plot Setup Files|*.psu|Zentrik Objects|*.zko|All Files|*.*||", "", settingsdir_,
          last_name_, false};
}

bool PlotSetupFiles::save_as(const std::string& path) {
  PlotDefinition written = setup_.working();
  written.formulas[0].set_text(normalizeFormulaText(setup_.x_formula));
  std::string error;
  if (!write_file_atomically(path, setup_file_text(written), error)) {
    ui_.showError("Can't open " + path, "File Open Error!");
    return false;
  }
  setup_.working().formulas[0].set_text(written.formulas[0].text());
  chosen(path);
  return true;
}

bool PlotSetupFiles::load_from(const std::string& path) {
  std::optional<ConfigReader> reader;
  if (!open_setup_file(path, reader)) {
    ui_.showError("Can't open " + path, "File Open Error!");
    return false;
  }
  setup_.cancel_edit();  // the list changes under the formula being edited
  setup_.selected.clear();
  read_plot_setup(*reader, setup_.working());
  setup_.x_formula = setup_.working().formulas[0].text();
  setup_from_ = "Setup From:  " + file_name_of(path);
  chosen(path);
  return true;
}

void PlotSetupFiles::load_defaults() {
  setup_.load_defaults();
  setup_from_.clear();
}

void PlotSetupFiles::chosen(const std::string& path) {
  follow_chosen_folder(settingsdir_, path, freeze_dirs_);
  last_name_ = file_name_of(path);
}

}  // namespace zentrik
