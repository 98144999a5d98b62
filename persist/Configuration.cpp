#include "persist/Configuration.h"

#include <string_view>

#include "data/fields/Chars.h"
#include "data/fields/NumberText.h"
#include "data/AtomicFile.h"
#include "persist/ConfigLocation.h"
#include "persist/FormulaListText.h"
#include "persist/KeyWriter.h"

namespace zentrik {
namespace {

constexpr std::string_view kVersion = "3.4";

FontRecord font(int32_t height, int32_t weight, uint8_t outprec, uint8_t clipprec, uint8_t pitch,
                std::string face) {
  FontRecord record;
  record.height = height;
  record.weight = weight;
  record.outprec = outprec;
  record.clipprec = clipprec;
  record.quality = 1;
  record.pitch = pitch;
  record.face = std::move(face);
  return record;
}

struct FontKey {
  std::string_view prefix;
  FontRecord Configuration::*record;
};
constexpr std::array<FontKey, 5> kFonts = {{{"ppf", &Configuration::ppf},
                                            {"tpf", &Configuration::tpf},
                                            {"vwf", &Configuration::vwf},
                                            {"lpf", &Configuration::lpf},
                                            {"mpf", &Configuration::mpf}}};

// Keep the order of these two tables and the face after them: it is the file's.
struct FontIntField {
  std::string_view name;
  int32_t FontRecord::*field;
};
constexpr std::array<FontIntField, 5> kFontIntFields = {{{"height", &FontRecord::height},
                                                         {"width", &FontRecord::width},
                                                         {"escape", &FontRecord::escape},
                                                         {"orient", &FontRecord::orient},
                                                         {"weight", &FontRecord::weight}}};
struct FontByteField {
  std::string_view name;
  uint8_t FontRecord::*field;
};
constexpr std::array<FontByteField, 8> kFontByteFields = {{{"italic", &FontRecord::italic},
                                                           {"underline", &FontRecord::underline},
                                                           {"strike", &FontRecord::strike},
                                                           {"charset", &FontRecord::charset},
                                                           {"outprec", &FontRecord::outprec},
                                                           {"clipprec", &FontRecord::clipprec},
                                                           {"quality", &FontRecord::quality},
                                                           {"pitch", &FontRecord::pitch}}};

std::string font_key(std::string_view prefix, std::string_view field) {
  return std::string(prefix) + "_" + std::string(field);
}

// The automatic X scale marks are the default when the interval text starts with
// the whole number 0, as in "0", "0.5" or a text with no number at all.
int x_automark_default(const std::string& x_bytick) {
  std::size_t pos = 0;
  while (pos < x_bytick.size() && is_blank(x_bytick[pos])) ++pos;
  if (pos < x_bytick.size() && (x_bytick[pos] == '+' || x_bytick[pos] == '-')) ++pos;
  for (; pos < x_bytick.size() && is_digit(x_bytick[pos]); ++pos)
    if (x_bytick[pos] != '0') return 0;
  return 1;
}

void write_recent_lists(KeyWriter& out, const Configuration& c) {
  out.list("url_mru", "~url_mru~", c.url_mru);
  out.list("file_mru", "~file_mru~", c.file_mru);
  out.list("obj_mru", "~obj_mru~", c.obj_mru);
}

void write_plot_defaults(KeyWriter& out, const DefaultPlot& defaults) {
  const PlotDefinition& d = defaults.definition;
  write_formula_list(out.text(), "default_plot", "~end_default_plot~", d.formulas);
  out.line("def_xlab", d.xlab);
  out.line("def_ylab", d.ylab);
  out.integer("def_x_grid", d.x_grid);
  out.integer("def_y_grid", d.y_grid);
  out.integer("def_log_x", d.log_x);
  out.integer("def_log_y", d.log_y);
  out.integer("def_auto_x", d.auto_x);
  out.integer("def_auto_y", d.auto_y);
  out.real("def_x_from", d.x_from, 10);
  out.real("def_y_from", d.y_from, 10);
  out.real("def_x_to", d.x_to, 10);
  out.real("def_y_to", d.y_to, 10);
  out.real("def_x_lotick", d.x_lotick, 10);
  out.real("def_y_lotick", d.y_lotick, 10);
  out.line("def_x_bytick", d.x_bytick);
  out.real("def_y_bytick", d.y_bytick, 10);
  out.integer("def_x_automark", d.x_automark);
  out.integer("def_y_automark", d.y_automark);
  out.integer("def_x_tickprec", d.x_tickprec);
  out.integer("def_y_tickprec", d.y_tickprec);
  out.line("def_date_format", d.date_format);
}

void write_output_defaults(KeyWriter& out, const Configuration& c) {
  out.line("def_field_delim", c.def_field_delim);
  out.integer("def_inc_x_vals", c.def_inc_x_vals);
  out.integer("def_inc_ig_vals", c.def_inc_ig_vals);
  out.integer("def_inc_off_plot", c.def_inc_off_plot);
  out.line("def_ignore_place_hold", c.def_ignore_place_hold);
  out.line("def_off_place_hold", c.def_off_place_hold);
  out.integer("def_win_x_siz", c.default_plot.def_win_x_siz);
  out.integer("def_win_y_siz", c.default_plot.def_win_y_siz);
}

void write_switches(KeyWriter& out, const Configuration& c) {
  const DefaultPlot& p = c.default_plot;
  out.integer("load_prompt", c.load_prompt);
  out.integer("drop_prompt", c.drop_prompt);
  out.integer("err_beep", c.err_beep);
  out.integer("freeze_dirs", c.freeze_dirs);
  out.integer("size_default", c.size_default);
  out.integer("new_stat_bar", p.new_stat_bar);
  out.integer("new_legend", p.new_legend);
  out.integer("new_stats", p.new_stats);
  out.integer("show_resources", c.show_resources);
  out.integer("use_psu", c.use_psu);
  out.integer("use_obj", c.use_obj);
  out.integer("xy_or_histo", p.definition.xy_or_histo);
  out.integer("binscale", p.definition.binscale);
  out.integer("enableCancel", c.enableCancel);
  out.integer("threed_m", c.threed_m);
  out.integer("threed_sl", c.threed_sl);
  out.integer("threed_b", c.threed_b);
  out.integer("XMargin", p.definition.x_margin);
  out.integer("YMargin", p.definition.y_margin);
  out.integer("new_points", p.new_points);
  out.integer("new_lines", p.new_lines);
  out.integer("def_blackpoints", p.def_blackpoints);
  out.integer("gray_margins", c.gray_margins);
  out.integer("histoqtys", c.histoqtys);
  out.integer("def_bin_all", p.def_bin_all);
  out.integer("def_num_cats", p.def_num_cats);
  out.integer("drop_color", c.drop_color);
}

void write_directories_and_tables(KeyWriter& out, const Configuration& c) {
  out.integer("savesets", c.savesets);
  out.line("plotfiledir", c.plotfiledir);
  out.line("settingsdir", c.settingsdir);
  out.line("outputdir", c.outputdir);
  out.line("objdir", c.objdir);
  out.line("clipdir", c.clipdir);
  out.line("filters", c.filters);
  out.list("psu_files", "~end_psu_files~", c.psu_files);
  out.list("approved_commands", "~end_approved_commands~", c.approved_commands);
}

void write_fonts(KeyWriter& out, const Configuration& c) {
  for (const FontKey& font : kFonts) {
    const FontRecord& record = c.*font.record;
    for (const FontIntField& f : kFontIntFields) out.integer(font_key(font.prefix, f.name), record.*f.field);
    for (const FontByteField& f : kFontByteFields) out.integer(font_key(font.prefix, f.name), record.*f.field);
    out.line(font_key(font.prefix, "face"), record.face);
  }
}

void read_recent_lists(ConfigReader& in, Configuration& c) {
  c.url_mru = in.read_list("url_mru", "~url_mru~");
  c.file_mru = in.read_list("file_mru", "~file_mru~");
  c.obj_mru = in.read_list("obj_mru", "~obj_mru~");
}

void read_plot_defaults(ConfigReader& in, DefaultPlot& defaults) {
  PlotDefinition& d = defaults.definition;
  d.formulas = read_formula_list(in, "default_plot", "~end_default_plot~");
  d.xlab = in.read_string("def_xlab", d.xlab);
  d.ylab = in.read_string("def_ylab", d.ylab);
  d.x_grid = in.read_int("def_x_grid", d.x_grid);
  d.y_grid = in.read_int("def_y_grid", d.y_grid);
  d.log_x = in.read_int("def_log_x", d.log_x);
  d.log_y = in.read_int("def_log_y", d.log_y);
  d.auto_x = in.read_int("def_auto_x", d.auto_x);
  d.auto_y = in.read_int("def_auto_y", d.auto_y);
  d.x_from = in.read_double("def_x_from", d.x_from);
  d.y_from = in.read_double("def_y_from", d.y_from);
  d.x_to = in.read_double("def_x_to", d.x_to);
  d.y_to = in.read_double("def_y_to", d.y_to);
  d.x_lotick = in.read_double("def_x_lotick", d.x_lotick);
  d.y_lotick = in.read_double("def_y_lotick", d.y_lotick);
  d.x_bytick = in.read_string("def_x_bytick", d.x_bytick);
  d.y_bytick = in.read_double("def_y_bytick", d.y_bytick);
  // after the intervals: their defaults depend on them
  d.x_automark = in.read_int("def_x_automark", x_automark_default(d.x_bytick));
  d.y_automark = in.read_int("def_y_automark", d.y_bytick == 0 ? 1 : 0);
  d.x_tickprec = in.read_int("def_x_tickprec", d.x_tickprec);
  d.y_tickprec = in.read_int("def_y_tickprec", d.y_tickprec);
  d.date_format = in.read_string("def_date_format", d.date_format);
}

void read_output_defaults(ConfigReader& in, Configuration& c) {
  c.def_field_delim = in.read_string("def_field_delim", c.def_field_delim);
  c.def_inc_x_vals = in.read_int("def_inc_x_vals", c.def_inc_x_vals);
  c.def_inc_ig_vals = in.read_int("def_inc_ig_vals", c.def_inc_ig_vals);
  c.def_inc_off_plot = in.read_int("def_inc_off_plot", c.def_inc_off_plot);
  c.def_ignore_place_hold = in.read_string("def_ignore_place_hold", c.def_ignore_place_hold);
  c.def_off_place_hold = in.read_string("def_off_place_hold", c.def_off_place_hold);
  c.default_plot.def_win_x_siz = in.read_int("def_win_x_siz", c.default_plot.def_win_x_siz);
  c.default_plot.def_win_y_siz = in.read_int("def_win_y_siz", c.default_plot.def_win_y_siz);
}

void read_switches(ConfigReader& in, Configuration& c) {
  DefaultPlot& p = c.default_plot;
  c.load_prompt = in.read_int("load_prompt", c.load_prompt);
  c.drop_prompt = in.read_int("drop_prompt", c.drop_prompt);
  c.err_beep = in.read_int("err_beep", c.err_beep);
  c.freeze_dirs = in.read_int("freeze_dirs", c.freeze_dirs);
  c.size_default = in.read_int("size_default", c.size_default);
  p.new_stat_bar = in.read_int("new_stat_bar", p.new_stat_bar);
  p.new_legend = in.read_int("new_legend", p.new_legend);
  p.new_stats = in.read_int("new_stats", p.new_stats);
  c.show_resources = in.read_int("show_resources", c.show_resources);
  c.use_psu = in.read_int("use_psu", c.use_psu);
  c.use_obj = in.read_int("use_obj", c.use_obj);
  p.definition.xy_or_histo = in.read_int("xy_or_histo", p.definition.xy_or_histo);
  p.definition.binscale = in.read_int("binscale", p.definition.binscale);
  c.enableCancel = in.read_int("enableCancel", c.enableCancel);
  c.threed_m = in.read_int("threed_m", c.threed_m);
  c.threed_sl = in.read_int("threed_sl", c.threed_sl);
  c.threed_b = in.read_int("threed_b", c.threed_b);
  p.definition.x_margin = bounded_margin(in.read_int("XMargin", p.definition.x_margin));
  p.definition.y_margin = bounded_margin(in.read_int("YMargin", p.definition.y_margin));
  p.new_points = in.read_int("new_points", p.new_points);
  p.new_lines = in.read_int("new_lines", p.new_lines);
  p.def_blackpoints = in.read_int("def_blackpoints", p.def_blackpoints);
  c.gray_margins = in.read_int("gray_margins", c.gray_margins);
  c.histoqtys = in.read_int("histoqtys", c.histoqtys);
  p.def_bin_all = in.read_int("def_bin_all", p.def_bin_all);
  p.def_num_cats = in.read_int("def_num_cats", p.def_num_cats);
  c.drop_color = static_cast<uint32_t>(in.read_unsigned("drop_color", c.drop_color));
}

void read_directories_and_tables(ConfigReader& in, Configuration& c) {
  c.savesets = in.read_int("savesets", c.savesets);
  c.plotfiledir = in.read_string("plotfiledir", c.plotfiledir);
  c.settingsdir = in.read_string("settingsdir", c.settingsdir);
  c.outputdir = in.read_string("outputdir", c.outputdir);
  c.objdir = in.read_string("objdir", c.objdir);
  c.clipdir = in.read_string("clipdir", c.clipdir);
  c.filters = in.read_string("filters", c.filters);
  c.psu_files = in.read_list("psu_files", "~end_psu_files~");
  c.approved_commands = in.read_list("approved_commands", "~end_approved_commands~");
}

void read_fonts(ConfigReader& in, Configuration& c) {
  for (const FontKey& font : kFonts) {
    FontRecord& record = c.*font.record;
    for (const FontIntField& f : kFontIntFields)
      record.*f.field = in.read_int(font_key(font.prefix, f.name), record.*f.field);
    for (const FontByteField& f : kFontByteFields)  // kept in 8 bits, as the font description does
      record.*f.field = static_cast<uint8_t>(in.read_int(font_key(font.prefix, f.name), record.*f.field));
    record.face = in.read_string(font_key(font.prefix, "face"), record.face);
  }
}

}  // namespace

Configuration::Configuration()
    : plotfiledir(home_folder()),
      settingsdir(plotfiledir),
      outputdir(plotfiledir),
      objdir(plotfiledir),
      clipdir(temporary_folder()),
      ppf(font(-10, 100, 4, 128, 49, "")),
      tpf(font(-18, 700, 4, 128, 49, "")),
      vwf(font(-14, 100, 4, 128, 49, "Courier New")),
      lpf(font(-14, 700, 3, 2, 34, "Arial")),
      mpf(font(-12, 400, 3, 2, 34, "Arial")) {}

Configuration read_configuration(ConfigReader& reader) {
  Configuration c;
  c.numruns = reader.read_double("numruns", c.numruns);
  c.loadflags = reader.read_int("loadflags", c.loadflags);
  c.initial_skip = reader.read_int("initial_skip", c.initial_skip);
  read_recent_lists(reader, c);
  read_plot_defaults(reader, c.default_plot);
  read_output_defaults(reader, c);
  reader.read_rect("main_win_rect", c.main_win_rect);
  read_switches(reader, c);
  read_directories_and_tables(reader, c);
  read_fonts(reader, c);
  return c;
}

Configuration read_configuration(const std::string& path) {
  ConfigReader reader(path);
  return read_configuration(reader);
}

std::string configuration_text(const Configuration& live, const Configuration& startup,
                               const RectFields& main_win_rect) {
  const bool save = live.savesets != 0;
  const Configuration& options = save ? live : startup;
  std::string text;
  KeyWriter out(text);
  out.line("version", kVersion);
  out.line("numruns", format_g(live.numruns + 1, 6));
  out.integer("loadflags", options.loadflags);
  out.integer("initial_skip", options.initial_skip);
  write_recent_lists(out, live);
  write_plot_defaults(out, options.default_plot);
  write_output_defaults(out, options);
  if (save) {
    out.rect("main_win_rect", main_win_rect);
  } else {
    out.rect("main_win_rect", startup.main_win_rect);
    out.rect("view_win_rect", live.view_win_rect);
  }
  write_switches(out, options);
  write_directories_and_tables(out, live);
  write_fonts(out, live);
  return text;
}

bool WriteConfiguration(const std::string& path, const Configuration& live, const Configuration& startup,
                        const RectFields& main_win_rect) {
  std::string error;  // not shown: settings that cannot be saved are given up quietly
  return write_file_atomically(path, configuration_text(live, startup, main_win_rect), error);
}

}  // namespace zentrik
