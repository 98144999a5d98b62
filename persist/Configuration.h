// The program's settings as the configuration file Zentrik.ini holds them: option
// switches, the default plot, output defaults, window rectangles, recent lists, the
// extensions table, the approved pre-load commands, default directories and five
// fonts. Read once at start-up, written whole at exit. Used by the start-up, the
// main and plot windows, loading, output and the setup and object files.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "persist/ConfigReader.h"
#include "plot/PlotDefinition.h"

namespace zentrik {

using RectFields = std::array<int32_t, 4>;  // left, top, right, bottom

// A font as the configuration keeps it: the fourteen fields of a logical font
// description. The display maps height (negative: pixel size), weight, italic,
// underline, strike and face; the other fields are kept and written back.
struct FontRecord {
  int32_t height = 0, width = 0, escape = 0, orient = 0, weight = 0;
  uint8_t italic = 0, underline = 0, strike = 0, charset = 0;
  uint8_t outprec = 0, clipprec = 0, quality = 0, pitch = 0;
  std::string face;
};

struct Configuration {
  Configuration();  // every default; the directories come from the environment

  double numruns = 1;  // the earlier runs plus one: 1 on a first run
  int32_t loadflags = 0;
  int32_t initial_skip = 0;
  std::vector<std::string> url_mru, file_mru, obj_mru;  // newest first

  // The def_* plot keys, "default_plot", "xy_or_histo", "binscale", "XMargin" and
  // "YMargin", the defaults of new formulas and windows.
  DefaultPlot default_plot;

  std::string def_field_delim = " ";
  int32_t def_inc_x_vals = 1, def_inc_ig_vals = 1, def_inc_off_plot = 1;
  std::string def_ignore_place_hold = "-1e12", def_off_place_hold = "-1e12";
  RectFields main_win_rect{60, 0, 360, 130};
  RectFields view_win_rect{0, 0, 0, 0};  // the view window's last place; written, never read

  int32_t load_prompt = 3;  // 1 always, 3 when there is no setup file, 0 never
  int32_t drop_prompt = 1;
  int32_t err_beep = 1;
  int32_t freeze_dirs = 0;
  int32_t size_default = 1;
  int32_t show_resources = 0;
  int32_t use_psu = 1;
  int32_t use_obj = 3;  // 3 prompt before use, 1 use automatically, 0 don't use
  int32_t enableCancel = 1;
  int32_t threed_m = 0, threed_sl = 3, threed_b = 8;
  int32_t gray_margins = 1;
  int32_t histoqtys = 1;
  uint32_t drop_color = 0xA65300;  // 0x00BBGGRR

  int32_t savesets = 1;  // 0: the options keep their start-up values in the file
  std::string plotfiledir, settingsdir, outputdir, objdir, clipdir;
  std::string filters = "All Files|*.*||";
  std::vector<std::string> psu_files;  // ".ext path" per row of the extensions table
  // An object file's absolute path, a TAB and the pre-load command allowed for it.
  std::vector<std::string> approved_commands;

  FontRecord ppf;  // plot points
  FontRecord tpf;  // title
  FontRecord vwf;  // view window
  FontRecord lpf;  // axis labels
  FontRecord mpf;  // scale marks

  bool first_run() const { return numruns == 1; }
};

// Every key found replaces its default; a reader that could not open its file gives
// the defaults, which count as a first run.
Configuration read_configuration(ConfigReader& reader);
Configuration read_configuration(const std::string& path);

// The whole file as it is written at exit. The option keys, loadflags through
// drop_color, come from live with main_win_rect (the main window's current
// rectangle) unless live.savesets is 0; then they come from startup, the copy taken
// after reading, and live.view_win_rect is written too. The recent lists, numruns
// (written plus one) and the keys from savesets on always come from live.
std::string configuration_text(const Configuration& live, const Configuration& startup,
                               const RectFields& main_win_rect);

// Replaces the file at path by configuration_text. A file that cannot be written
// is left as it was, without a message; false then.
bool WriteConfiguration(const std::string& path, const Configuration& live, const Configuration& startup,
                        const RectFields& main_win_rect);

}  // namespace zentrik
