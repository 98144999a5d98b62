#include "persist/PlotObject.h"

#include <algorithm>
#include <cstdio>

#include "data/FileAccess.h"
#include "data/LineReader.h"
#include "data/Loader.h"
#include "data/download/Download.h"
#include "data/fields/Chars.h"
#include "data/AtomicFile.h"
#include "persist/ConfigReader.h"
#include "persist/FormulaListText.h"
#include "persist/KeyWriter.h"

namespace zentrik {
namespace {

// The name a data set is written under: the URL it came from, else its first file.
std::string first_data_file(const DataFile& data) {
  if (!data.url.empty()) return data.url;
  const DataSource* first = data.source(1);
  return first ? first->path : data.path();
}

bool same_text_ignoring_case(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return to_upper(x) == to_upper(y); });
}

// The first two lines of a file; false when it cannot be opened.
bool read_head(const std::string& path, std::string& first, std::string& second) {
  OpenFile file(path);
  if (!file.ok()) return false;
  LineReader reader(file.fd());
  std::string_view text;
  first = reader.next(text) ? std::string(text) : std::string();
  second = reader.next(text) ? std::string(text) : std::string();
  return true;
}

// The data file an object's first line names: after its first blank, leading blanks skipped.
std::string named_data_file(std::string_view first_line) {
  std::size_t pos = first_line.find(' ');
  if (pos == std::string_view::npos) return {};
  return std::string(first_line.substr(skip_blanks(first_line, pos)));
}

// The command stands only in the second line.
std::string command_of(std::string_view second_line) {
  constexpr std::string_view kKey = "sys_command ";
  return second_line.starts_with(kKey) ? std::string(second_line.substr(kKey.size())) : std::string();
}

// Whether the command was let run (it may still have failed to start).
bool run_command(const std::string& object_file, const std::string& command, ObjectEnvironment& env) {
  if (command.empty()) return false;
  const CommandRun run = env.approval.run_before_load(object_file, command);
  if (run == CommandRun::Failed)
    env.ui.showError("An error occured executing the command " + command +
                         ".  An attempt will be made to open the object anyway.",
                     "Command Execution Error!");
  return run != CommandRun::Declined;
}

int32_t clamped(int64_t value, int32_t low) {
  return static_cast<int32_t>(std::clamp<int64_t>(value, low, INT32_MAX));
}

OpenedObject opened(const std::string& object_file, const std::string& data_file, const std::string& command,
                    bool command_approved) {
  OpenedObject out;
  out.record.object_file = object_file;
  out.record.sys_command = command;
  out.record.command_approved = command_approved;
  ConfigReader reader(object_file);
  ObjectOpening& o = out.opening;
  o.result = OpenObject;
  o.data_file = data_file;
  o.object_file = object_file;
  o.initial_skip = clamped(reader.read_long("initial_skip", 0), 0);
  o.read_every = clamped(reader.read_long("read_every", 1), 1);
  o.loadnum = clamped(reader.read_long("loadnum", 1), INT32_MIN);
  o.load_condition = reader.read_string("load_bool", "");
  return out;
}

OpenedObject stop() {
  OpenedObject out;
  out.opening.result = OpenStop;
  return out;
}

// Companion objects are looked for in objdir under the data file's name, then under
// its name up to the first "." with ".ZKO", and, since Linux file names are case
// sensitive, with ".zko". A candidate that is no object of this data file is passed over.
OpenedObject open_companion(const std::string& path, const DataFile& data, ObjectEnvironment& env) {
  if (env.settings.use_obj == 0) return {};
  const std::string full = data.url.empty() ? path : data.url;
  const std::string name = file_name_of(full);
  std::string folder = env.settings.objdir.empty() ? std::string(".") : env.settings.objdir;
  if (!folder.ends_with('/')) folder += '/';
  const std::string base = name.substr(0, name.find('.'));
  for (const std::string& candidate : {folder + name, folder + base + ".ZKO", folder + base + ".zko"}) {
    std::string first, second;
    if (!read_head(candidate, first, second) || !has_plot_object_signature(first) ||
        !same_text_ignoring_case(named_data_file(first), full))
      continue;
    if (env.settings.use_obj == 3 &&
        env.ui.message("There is a plot object associated with the file " + full + ".  Do you want to use it?",
                       "Use Zentrik Object?", Buttons::YesNo) != Answer::Yes)
      return {};
    const std::string command = command_of(second);
    const bool approved = run_command(candidate, command, env);
    return opened(candidate, path, command, approved);
  }
  return {};
}

}  // namespace

std::string plot_object_text(const PlotWindow& window, const ObjectRecord* record) {
  const DataFile& data = *window.data;
  const std::string first = first_data_file(data);
  std::string text = "#!zentrik " + first.substr(0, first.find('\n')) + "\n";
  KeyWriter out(text);
  if (record && !record->sys_command.empty()) out.line("sys_command", record->sys_command);
  for (int i = 2; i <= data.source_count(); ++i)
    out.line("file", std::to_string(data.source(i)->how_added) + " " + data.source(i)->path);
  out.integer("exclude_lines", record ? record->exclude_lines : 1);
  out.line("version", kProgramVersion);
  out.line("title", window.title);
  out.integer("showstats", window.showstats);
  out.integer("legend", window.legend);
  out.integer("regress", window.regress);
  out.integer("win_top", window.rect.top);
  out.integer("win_left", window.rect.left);
  out.integer("win_bottom", window.rect.bottom);
  out.integer("win_right", window.rect.right);
  write_plot_lines(text, window.definition, kObjectFilePrecision);
  out.real("update_interval", data.update_interval(), 6);
  out.integer("initial_skip", data.initial_skip);
  out.integer("read_every", data.read_every);
  out.integer("loadnum", data.loadnum);
  out.line("load_bool", data.load_condition);
  write_formula_list(text, "plot_info", "~end_plot_info~", window.definition.formulas);
  text += "excludes:\n";
  for (const DataLine& stored : data.lines())
    if (!stored.included()) text += std::to_string(stored.position()) + "\n";
  text += "end_excludes:\n";
  return text;
}

bool WritePlotObject(const std::string& path, PlotWindow& window, std::optional<ObjectRecord>& record,
                     CommandApproval& approval, Ui& ui) {
  std::string error;
  if (!window.data || !write_file_atomically(path, plot_object_text(window, record ? &*record : nullptr), error)) {
    ui.showError("Can't open " + path, "File Open Error!");
    return false;
  }
  if (!record) record.emplace();
  record->object_file = path;
  record->version = kProgramVersion;
  record->modified = false;
  window.object_path = path;
  window.object_modified = false;
  window.setup_from = "Setup From:  " + file_name_of(path);
  if (!record->sys_command.empty() && record->command_approved) approval.approve(path, record->sys_command);
  return true;
}

FileDialogRequest save_object_dialog(const PlotWindow& window, const std::string& objdir) {
  std::string name = file_name_of(window.object_path);
  if (window.object_path.empty() && window.data) {
    const DataSource* first = window.data->source(1);
    name = first ? first->name : file_name_of(window.data->path());
    name = name.substr(0, name.rfind('.')) + ".zko";
  }
  return {"Save Plot Object", "All Files|*.*||", "", objdir, name, true};
}

OpenedObject OpenAsPlotObject(const std::string& path, DataFile& data, ObjectEnvironment& env) {
  std::string first, second;
  if (!read_first_line(path, first, env.ui)) return stop();
  if (!has_plot_object_signature(first)) return open_companion(path, data, env);
  std::string data_file = named_data_file(first);
  if (data_file.empty()) {
    env.ui.showError("Corrupt Zentrik object:  No data file!", "Error!");
    return stop();
  }
  read_head(path, first, second);
  const std::string command = command_of(second);
  const bool approved = run_command(path, command, env);
  data.url.clear();  // the object's own address, when it was downloaded, names no data
  if (is_url(data_file)) {
    data.url = data_file;
    if (!download(data, data_file, env.ui)) {
      if (!data.download_cancelled)
        env.ui.showError("Can't download data file associated with Zentrik object:  " + data.url, "Error!");
      return stop();
    }
  } else if (OpenFile file(data_file); !file.ok()) {
    env.ui.showError(
        "Can't open data file associated with Zentrik object:  " + data_file + ":\n\n" + file.error(), "Error!");
    return stop();
  }
  return opened(path, data_file, command, approved);
}

ObjectOpening ObjectLoading::open(const std::string& path, DataFile& data) {
  owner_.reset();
  OpenedObject opened = OpenAsPlotObject(path, data, env_);
  if (opened.opening.result == OpenObject) owner_ = std::move(opened.record);
  return opened.opening;
}

void ObjectLoading::load_options_changed() {
  if (owner_) owner_->modified = true;
}

void ObjectLoading::set_exclude_lines(int32_t value) {
  if (owner_) owner_->exclude_lines = value;
}

void keep_on_screen(WindowRect& rect, ScreenSize screen) {
  // in 64 bits: a file may hold any 32-bit numbers
  int64_t left = rect.left, top = rect.top, right = rect.right, bottom = rect.bottom;
  if (right > screen.width) {
    left -= right - screen.width;
    right = screen.width;
  }
  if (bottom > screen.height) {
    top -= bottom - screen.height;
    bottom = screen.height;
  }
  if (left < 0) {
    right -= left;
    left = 0;
  }
  if (top < 0) {
    bottom -= top;
    top = 0;
  }
  auto to_int = [](int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); };
  rect = WindowRect{to_int(left), to_int(top), to_int(right), to_int(bottom)};
}

bool ReadPlotObjectWindow(PlotWindow& window, ObjectRecord& record, ScreenSize screen,
                          const SetupSources& setups, Ui& ui) {
  ConfigReader reader(record.object_file);
  record.version = reader.read_string("version", "1.0");
  window.title = reader.read_string("title", "");
  window.showstats = reader.read_int("showstats", 1);
  window.legend = reader.read_int("legend", 0);
  window.regress = reader.read_int("regress", 0);
  window.rect.top = reader.read_int("win_top", 100);
  window.rect.left = reader.read_int("win_left", 100);
  window.rect.bottom = reader.read_int("win_bottom", 500);
  window.rect.right = reader.read_int("win_right", 400);
  keep_on_screen(window.rect, screen);
  window.object_path = record.object_file;
  window.object_modified = record.modified;

  PlotDefinition definition;
  if (read_plot_setup(reader, definition)) {
    window.definition = std::move(definition);
    window.setup_from = "Setup From:  " + file_name_of(record.object_file);
  } else {
    window.definition = new_plot_definition(setups.defaults, window.setup_from);
    const DataSource* first = window.data ? window.data->source(1) : nullptr;
    std::string setup_file;
    if (first && FindSetupFileForDataFile(first->path, setups.use_psu, setups.psu_files, window.definition, ui,
                                          &setup_file))
      window.setup_from = "Setup From:  " + file_name_of(setup_file);
  }
  SampleLine sample;
  if (const DataLine* line = window.data ? window.data->first_included() : nullptr)
    sample = {line->text(), line->number};
  return CheckLoadedSetup(window.definition, sample, ui);
}

}  // namespace zentrik
