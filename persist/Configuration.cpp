#include "persist/Configuration.h"

#include <string_view>

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

// The two directions of a walk over the keys: in the walks below, each call
// keys.kind(key, field) writes the field under its key, or reads it back with the
// field's current value as the default.
class WriteKeys {
 public:
  explicit WriteKeys(KeyWriter& out) : out_(out) {}
  void integer(std::string_view key, int32_t value) { out_.integer(key, value); }
  void integer(std::string_view key, int32_t value, int32_t /*when_missing*/) { out_.integer(key, value); }
  void margin(std::string_view key, int32_t value) { out_.integer(key, value); }
  void colour(std::string_view key, uint32_t value) { out_.integer(key, value); }
  void byte(std::string_view key, uint8_t value) { out_.integer(key, value); }
  void real(std::string_view key, double value) { out_.real(key, value, 10); }
  void text(std::string_view key, std::string_view value) { out_.line(key, value); }
  void list(std::string_view key, std::string_view end_marker, const std::vector<std::string>& entries) {
    out_.list(key, end_marker, entries);
  }
  // An empty list is written as its key and end marker: without them, a recent file
  // named like the key would be taken for the list when the file is read again.
  void formulas(std::string_view key, std::string_view end_marker, const FormulaList& formulas) {
    if (formulas.empty())
      out_.text().append(key).append("\n").append(end_marker).append("\n");
    else
      write_formula_list(out_.text(), key, end_marker, formulas);
  }

 private:
  KeyWriter& out_;
};

class ReadKeys {
 public:
  explicit ReadKeys(ConfigReader& in) : in_(in) {}
  void integer(std::string_view key, int32_t& field) { field = in_.read_int(key, field); }
  // A default of its own rather than the field's.
  void integer(std::string_view key, int32_t& field, int32_t when_missing) { field = in_.read_int(key, when_missing); }
  void margin(std::string_view key, int32_t& field) { field = bounded_margin(in_.read_int(key, field)); }
  void colour(std::string_view key, uint32_t& field) { field = static_cast<uint32_t>(in_.read_unsigned(key, field)); }
  // kept in 8 bits, as the font description does
  void byte(std::string_view key, uint8_t& field) { field = static_cast<uint8_t>(in_.read_int(key, field)); }
  void real(std::string_view key, double& field) { field = in_.read_double(key, field); }
  void text(std::string_view key, std::string& field) { field = in_.read_string(key, field); }
  void list(std::string_view key, std::string_view end_marker, std::vector<std::string>& entries) {
    entries = in_.read_list(key, end_marker);
  }
  void formulas(std::string_view key, std::string_view end_marker, FormulaList& formulas) {
    formulas = read_formula_list(in_, key, end_marker);
  }

 private:
  ConfigReader& in_;
};

// The walks: Config is Configuration when reading, const Configuration when writing.
// Keep the order of every walk: it is the file's.

template <typename Config, typename Keys>
void recent_list_keys(Config& c, Keys& keys) {
  keys.list("url_mru", "~url_mru~", c.url_mru);
  keys.list("file_mru", "~file_mru~", c.file_mru);
  keys.list("obj_mru", "~obj_mru~", c.obj_mru);
}

template <typename Plot, typename Keys>
void plot_default_keys(Plot& defaults, Keys& keys) {
  auto& d = defaults.definition;
  keys.formulas("default_plot", "~end_default_plot~", d.formulas);
  keys.text("def_xlab", d.xlab);
  keys.text("def_ylab", d.ylab);
  keys.integer("def_x_grid", d.x_grid);
  keys.integer("def_y_grid", d.y_grid);
  keys.integer("def_log_x", d.log_x);
  keys.integer("def_log_y", d.log_y);
  keys.integer("def_auto_x", d.auto_x);
  keys.integer("def_auto_y", d.auto_y);
  keys.real("def_x_from", d.x_from);
  keys.real("def_y_from", d.y_from);
  keys.real("def_x_to", d.x_to);
  keys.real("def_y_to", d.y_to);
  keys.real("def_x_lotick", d.x_lotick);
  keys.real("def_y_lotick", d.y_lotick);
  keys.text("def_x_bytick", d.x_bytick);
  keys.real("def_y_bytick", d.y_bytick);
  // after the intervals: their defaults depend on them
  keys.integer("def_x_automark", d.x_automark, default_x_automark(d.x_bytick));
  keys.integer("def_y_automark", d.y_automark, default_y_automark(d.y_bytick));
  keys.integer("def_x_tickprec", d.x_tickprec);
  keys.integer("def_y_tickprec", d.y_tickprec);
  keys.text("def_date_format", d.date_format);
}

template <typename Config, typename Keys>
void output_default_keys(Config& c, Keys& keys) {
  keys.text("def_field_delim", c.def_field_delim);
  keys.integer("def_inc_x_vals", c.def_inc_x_vals);
  keys.integer("def_inc_ig_vals", c.def_inc_ig_vals);
  keys.integer("def_inc_off_plot", c.def_inc_off_plot);
  keys.text("def_ignore_place_hold", c.def_ignore_place_hold);
  keys.text("def_off_place_hold", c.def_off_place_hold);
  keys.integer("def_win_x_siz", c.default_plot.def_win_x_siz);
  keys.integer("def_win_y_siz", c.default_plot.def_win_y_siz);
}

template <typename Config, typename Keys>
void switch_keys(Config& c, Keys& keys) {
  auto& p = c.default_plot;
  keys.integer("load_prompt", c.load_prompt);
  keys.integer("drop_prompt", c.drop_prompt);
  keys.integer("err_beep", c.err_beep);
  keys.integer("freeze_dirs", c.freeze_dirs);
  keys.integer("size_default", c.size_default);
  keys.integer("new_stat_bar", p.new_stat_bar);
  keys.integer("new_legend", p.new_legend);
  keys.integer("new_stats", p.new_stats);
  keys.integer("show_resources", c.show_resources);
  keys.integer("use_psu", c.use_psu);
  keys.integer("use_obj", c.use_obj);
  keys.integer("xy_or_histo", p.definition.xy_or_histo);
  keys.integer("binscale", p.definition.binscale);
  keys.integer("enableCancel", c.enableCancel);
  keys.integer("threed_m", c.threed_m);
  keys.integer("threed_sl", c.threed_sl);
  keys.integer("threed_b", c.threed_b);
  keys.margin("XMargin", p.definition.x_margin);
  keys.margin("YMargin", p.definition.y_margin);
  keys.integer("new_points", p.new_points);
  keys.integer("new_lines", p.new_lines);
  keys.integer("def_blackpoints", p.def_blackpoints);
  keys.integer("gray_margins", c.gray_margins);
  keys.integer("histoqtys", c.histoqtys);
  keys.integer("def_bin_all", p.def_bin_all);
  keys.integer("def_num_cats", p.def_num_cats);
  keys.colour("drop_color", c.drop_color);
}

template <typename Config, typename Keys>
void directory_and_table_keys(Config& c, Keys& keys) {
  keys.integer("savesets", c.savesets);
  keys.text("plotfiledir", c.plotfiledir);
  keys.text("settingsdir", c.settingsdir);
  keys.text("outputdir", c.outputdir);
  keys.text("objdir", c.objdir);
  keys.text("clipdir", c.clipdir);
  keys.text("filters", c.filters);
  keys.list("psu_files", "~end_psu_files~", c.psu_files);
  keys.list("approved_commands", "~end_approved_commands~", c.approved_commands);
}

template <typename Config, typename Keys>
void font_keys(Config& c, Keys& keys) {
  for (const FontKey& font : kFonts) {
    auto& record = c.*font.record;
    for (const FontIntField& f : kFontIntFields) keys.integer(font_key(font.prefix, f.name), record.*f.field);
    for (const FontByteField& f : kFontByteFields) keys.byte(font_key(font.prefix, f.name), record.*f.field);
    keys.text(font_key(font.prefix, "face"), record.face);
  }
}

// Every key but numruns, the version and the window rectangles, in two parts around
// the rectangles. The options are the keys savesets governs; reading passes one
// configuration as both.
template <typename Config, typename Keys>
void keys_before_rectangles(Config& options, Config& live, Keys& keys) {
  keys.integer("loadflags", options.loadflags);
  keys.integer("initial_skip", options.initial_skip);
  recent_list_keys(live, keys);
  plot_default_keys(options.default_plot, keys);
  output_default_keys(options, keys);
}

template <typename Config, typename Keys>
void keys_after_rectangles(Config& options, Config& live, Keys& keys) {
  switch_keys(options, keys);
  directory_and_table_keys(live, keys);
  font_keys(live, keys);
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
  ReadKeys keys(reader);
  c.numruns = reader.read_double("numruns", c.numruns);
  keys_before_rectangles(c, c, keys);
  reader.read_rect("main_win_rect", c.main_win_rect);
  keys_after_rectangles(c, c, keys);
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
  WriteKeys keys(out);
  out.line("version", kVersion);
  out.line("numruns", format_g(live.numruns + 1, 6));
  keys_before_rectangles(options, live, keys);
  if (save) {
    out.rect("main_win_rect", main_win_rect);
  } else {
    out.rect("main_win_rect", startup.main_win_rect);
    out.rect("view_win_rect", live.view_win_rect);
  }
  keys_after_rectangles(options, live, keys);
  return text;
}

bool WriteConfiguration(const std::string& path, const Configuration& live, const Configuration& startup,
                        const RectFields& main_win_rect) {
  std::string error;  // not shown: settings that cannot be saved are given up quietly
  return write_file_atomically(path, configuration_text(live, startup, main_win_rect), error);
}

}  // namespace zentrik
