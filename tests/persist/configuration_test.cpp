#include "persist/Configuration.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <sstream>

#include "data/TempDir.h"
#include "persist/ConfigLocation.h"
#include "persist/FormulaListText.h"

namespace zentrik {
namespace {

using Fields = std::vector<std::pair<std::string, std::string>>;

std::string exact(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.17g", value);
  return text;
}

std::string joined(const std::vector<std::string>& entries) {
  std::string text;
  for (const std::string& entry : entries) text += "[" + entry + "]";
  return text;
}

std::string font_fields(const FontRecord& f) {
  std::ostringstream text;
  text << f.height << ' ' << f.width << ' ' << f.escape << ' ' << f.orient << ' ' << f.weight;
  for (uint8_t b : {f.italic, f.underline, f.strike, f.charset, f.outprec, f.clipprec, f.quality, f.pitch})
    text << ' ' << int{b};
  return text.str() + " [" + f.face + "]";
}

std::string rect_fields(const RectFields& r) {
  return std::to_string(r[0]) + " " + std::to_string(r[1]) + " " + std::to_string(r[2]) + " " +
         std::to_string(r[3]);
}

// Every stored field of a configuration as text, so that two configurations can be
// compared field by field. view_win_rect is left out: it is never read back.
Fields fields_of(const Configuration& c) {
  const DefaultPlot& p = c.default_plot;
  const PlotDefinition& d = p.definition;
  std::string formulas;
  for (const Formula& f : d.formulas) formulas += formula_line(f);
  return {
      {"numruns", exact(c.numruns)}, {"loadflags", std::to_string(c.loadflags)},
      {"initial_skip", std::to_string(c.initial_skip)}, {"url_mru", joined(c.url_mru)},
      {"file_mru", joined(c.file_mru)}, {"obj_mru", joined(c.obj_mru)}, {"default_plot", formulas},
      {"def_xlab", d.xlab}, {"def_ylab", d.ylab}, {"def_x_grid", std::to_string(d.x_grid)},
      {"def_y_grid", std::to_string(d.y_grid)}, {"def_log_x", std::to_string(d.log_x)},
      {"def_log_y", std::to_string(d.log_y)}, {"def_auto_x", std::to_string(d.auto_x)},
      {"def_auto_y", std::to_string(d.auto_y)}, {"def_x_from", exact(d.x_from)}, {"def_y_from", exact(d.y_from)},
      {"def_x_to", exact(d.x_to)}, {"def_y_to", exact(d.y_to)}, {"def_x_lotick", exact(d.x_lotick)},
      {"def_y_lotick", exact(d.y_lotick)}, {"def_x_bytick", d.x_bytick}, {"def_y_bytick", exact(d.y_bytick)},
      {"def_x_automark", std::to_string(d.x_automark)}, {"def_y_automark", std::to_string(d.y_automark)},
      {"def_x_tickprec", std::to_string(d.x_tickprec)}, {"def_y_tickprec", std::to_string(d.y_tickprec)},
      {"def_date_format", d.date_format}, {"def_field_delim", c.def_field_delim},
      {"def_inc_x_vals", std::to_string(c.def_inc_x_vals)}, {"def_inc_ig_vals", std::to_string(c.def_inc_ig_vals)},
      {"def_inc_off_plot", std::to_string(c.def_inc_off_plot)}, {"def_ignore_place_hold", c.def_ignore_place_hold},
      {"def_off_place_hold", c.def_off_place_hold}, {"def_win_x_siz", std::to_string(p.def_win_x_siz)},
      {"def_win_y_siz", std::to_string(p.def_win_y_siz)}, {"main_win_rect", rect_fields(c.main_win_rect)},
      {"load_prompt", std::to_string(c.load_prompt)}, {"drop_prompt", std::to_string(c.drop_prompt)},
      {"err_beep", std::to_string(c.err_beep)}, {"freeze_dirs", std::to_string(c.freeze_dirs)},
      {"size_default", std::to_string(c.size_default)}, {"new_stat_bar", std::to_string(p.new_stat_bar)},
      {"new_legend", std::to_string(p.new_legend)}, {"new_stats", std::to_string(p.new_stats)},
      {"show_resources", std::to_string(c.show_resources)}, {"use_psu", std::to_string(c.use_psu)},
      {"use_obj", std::to_string(c.use_obj)}, {"xy_or_histo", std::to_string(d.xy_or_histo)},
      {"binscale", std::to_string(d.binscale)}, {"enableCancel", std::to_string(c.enableCancel)},
      {"threed_m", std::to_string(c.threed_m)}, {"threed_sl", std::to_string(c.threed_sl)},
      {"threed_b", std::to_string(c.threed_b)}, {"XMargin", std::to_string(d.x_margin)},
      {"YMargin", std::to_string(d.y_margin)}, {"new_points", std::to_string(p.new_points)},
      {"new_lines", std::to_string(p.new_lines)}, {"def_blackpoints", std::to_string(p.def_blackpoints)},
      {"gray_margins", std::to_string(c.gray_margins)}, {"histoqtys", std::to_string(c.histoqtys)},
      {"def_bin_all", std::to_string(p.def_bin_all)}, {"def_num_cats", std::to_string(p.def_num_cats)},
      {"drop_color", std::to_string(c.drop_color)}, {"savesets", std::to_string(c.savesets)},
      {"plotfiledir", c.plotfiledir}, {"settingsdir", c.settingsdir}, {"outputdir", c.outputdir},
      {"objdir", c.objdir}, {"clipdir", c.clipdir}, {"filters", c.filters}, {"psu_files", joined(c.psu_files)},
      {"approved_commands", joined(c.approved_commands)}, {"ppf", font_fields(c.ppf)},
      {"tpf", font_fields(c.tpf)}, {"vwf", font_fields(c.vwf)}, {"lpf", font_fields(c.lpf)},
      {"mpf", font_fields(c.mpf)},
  };
}

void expect_same_fields(const Configuration& read, const Configuration& written) {
  Fields a = fields_of(read), b = fields_of(written);
  ASSERT_EQ(a.size(), b.size());
  for (std::size_t i = 0; i < a.size(); ++i) EXPECT_EQ(a[i].second, b[i].second) << a[i].first;
}

FontRecord changed_font(int32_t base, std::string face) {
  FontRecord f;
  f.height = -base;
  f.width = base + 1;
  f.escape = 900;
  f.orient = 900;
  f.weight = 300 + base;
  f.italic = 1;
  f.underline = 1;
  f.strike = 1;
  f.charset = 2;
  f.outprec = 7;
  f.clipprec = 255;
  f.quality = 3;
  f.pitch = 18;
  f.face = std::move(face);
  return f;
}

// A configuration in which every field differs from its default.
Configuration every_key_changed() {
  Configuration c;
  c.numruns = 41;
  c.loadflags = 6;
  c.initial_skip = 12;
  c.url_mru = {"http://example.org/a.dat", "https://example.org/b c.dat"};
  c.file_mru = {"/data/run 1.dat", "/data/run2.csv", ""};
  c.obj_mru = {"/plots/p.zko"};
  DefaultPlot& p = c.default_plot;
  PlotDefinition& d = p.definition;
  Formula x("L\\C2");
  x.point_char = '0';
  Formula y("C3*2?C1>0");
  y.point_char = '#';
  y.draw_lines = 1;
  y.color = 0x00FF00;
  y.line_type = LineType::DashDot;
  y.black_points = 1;
  y.bin_count = 40;
  y.reserved_flag = 1;
  y.description = "twice the third";
  d.formulas = {x, y};
  d.xlab = "Time (s)";
  d.ylab = "Volts";
  d.x_grid = d.y_grid = 1;
  d.log_x = 2;
  d.log_y = 1;
  d.auto_x = d.auto_y = 0;
  d.x_from = -1234.56789;
  d.y_from = 1.5e-12;
  d.x_to = 987654321.5;
  d.y_to = 2.25e200;
  d.x_lotick = -0.000123456789;
  d.y_lotick = 7.25;
  d.x_bytick = "2 h";
  d.y_bytick = 0.5;
  d.x_automark = d.y_automark = 0;
  d.x_tickprec = 3;
  d.y_tickprec = 8;
  d.date_format = "%H:%M:%S";
  d.xy_or_histo = 1;
  d.binscale = 1;
  d.x_margin = 22;
  d.y_margin = 33;
  p.new_points = 0;
  p.new_lines = 0;
  p.def_blackpoints = 0;
  p.def_bin_all = 0;
  p.def_num_cats = 50;
  p.new_stats = p.new_legend = p.new_stat_bar = 0;
  p.def_win_x_siz = 640;
  p.def_win_y_siz = 480;
  c.def_field_delim = "\t";
  c.def_inc_x_vals = c.def_inc_ig_vals = c.def_inc_off_plot = 0;
  c.def_ignore_place_hold = "NaN";
  c.def_off_place_hold = "  off";
  c.main_win_rect = {-5, 10, 1200, 900};
  c.load_prompt = 1;
  c.drop_prompt = 0;
  c.err_beep = 0;
  c.freeze_dirs = 1;
  c.size_default = 0;
  c.show_resources = 1;
  c.use_psu = 0;
  c.use_obj = 1;
  c.enableCancel = 0;
  c.threed_m = 4;
  c.threed_sl = 5;
  c.threed_b = 6;
  c.gray_margins = 0;
  c.histoqtys = 0;
  c.drop_color = 0x123456;
  c.savesets = 1;  // the default: the live values are written
  c.plotfiledir = "/data/plots";
  c.settingsdir = "/data/setups";
  c.outputdir = "/data/out put";
  c.objdir = "/data/objects";
  c.clipdir = "/var/tmp/clip";
  c.filters = "Data|*.dat|CSV|*.csv||";
  c.psu_files = {".dat /data/setups/dat.psu", ".csv /data/setups/csv"};
  c.approved_commands = {"/plots/p.zko\t./fetch \"today's data\"", "/plots/q.zko\tsh -c 'make data'"};
  c.ppf = changed_font(11, "DejaVu Sans");
  c.tpf = changed_font(20, "Serif");
  c.vwf = changed_font(13, "Monospace");
  c.lpf = changed_font(15, "Sans");  // an empty face would read back as the default
  c.mpf = changed_font(9, "Sans Bold");
  return c;
}

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// ---- the text written -------------------------------------------------------

TEST(ConfigurationText, ADefaultConfigurationIsWrittenKeyByKey) {
  const Configuration c;
  const std::string expected =
      "version 3.4\n"
      "numruns 2\n"
      "loadflags 0\n"
      "initial_skip 0\n"
      "url_mru\n~url_mru~\n"
      "file_mru\n~file_mru~\n"
      "obj_mru\n~obj_mru~\n"
      "default_plot\n~end_default_plot~\n"
      "def_xlab \n"
      "def_ylab \n"
      "def_x_grid 0\ndef_y_grid 0\n"
      "def_log_x 0\ndef_log_y 0\n"
      "def_auto_x 1\ndef_auto_y 1\n"
      "def_x_from -1.1e+300\ndef_y_from -1.1e+300\n"
      "def_x_to 1.1e+300\ndef_y_to 1.1e+300\n"
      "def_x_lotick 0\ndef_y_lotick 0\n"
      "def_x_bytick 0\ndef_y_bytick 0\n"
      "def_x_automark 1\ndef_y_automark 1\n"
      "def_x_tickprec 5\ndef_y_tickprec 5\n"
      "def_date_format %#d-%b-%y %#H:%M\n"
      "def_field_delim  \n"
      "def_inc_x_vals 1\ndef_inc_ig_vals 1\ndef_inc_off_plot 1\n"
      "def_ignore_place_hold -1e12\ndef_off_place_hold -1e12\n"
      "def_win_x_siz 500\ndef_win_y_siz 490\n"
      "main_win_rect 60 0 360 130\n"
      "load_prompt 3\ndrop_prompt 1\nerr_beep 1\nfreeze_dirs 0\nsize_default 1\n"
      "new_stat_bar 1\nnew_legend 1\nnew_stats 1\nshow_resources 0\nuse_psu 1\nuse_obj 3\n"
      "xy_or_histo 0\nbinscale 0\nenableCancel 1\nthreed_m 0\nthreed_sl 3\nthreed_b 8\n"
      "XMargin 15\nYMargin 15\nnew_points 1\nnew_lines 1\ndef_blackpoints 1\ngray_margins 1\n"
      "histoqtys 1\ndef_bin_all 1\ndef_num_cats 29\ndrop_color 10900224\n"
      "savesets 1\n"
      "plotfiledir " + home_folder() + "\n"
      "settingsdir " + home_folder() + "\n"
      "outputdir " + home_folder() + "\n"
      "objdir " + home_folder() + "\n"
      "clipdir " + temporary_folder() + "\n"
      "filters All Files|*.*||\n"
      "psu_files\n~end_psu_files~\n"
      "approved_commands\n~end_approved_commands~\n";
  std::string fonts;
  struct Row {
    const char* prefix;
    int height, weight, outprec, clipprec, pitch;
    const char* face;
  };
  for (const Row& r : {Row{"ppf", -10, 100, 4, 128, 49, ""}, Row{"tpf", -18, 700, 4, 128, 49, ""},
                       Row{"vwf", -14, 100, 4, 128, 49, "Courier New"}, Row{"lpf", -14, 700, 3, 2, 34, "Arial"},
                       Row{"mpf", -12, 400, 3, 2, 34, "Arial"}}) {
    const std::string p = r.prefix;
    fonts += p + "_height " + std::to_string(r.height) + "\n" + p + "_width 0\n" + p + "_escape 0\n" + p +
             "_orient 0\n" + p + "_weight " + std::to_string(r.weight) + "\n" + p + "_italic 0\n" + p +
             "_underline 0\n" + p + "_strike 0\n" + p + "_charset 0\n" + p + "_outprec " +
             std::to_string(r.outprec) + "\n" + p + "_clipprec " + std::to_string(r.clipprec) + "\n" + p +
             "_quality 1\n" + p + "_pitch " + std::to_string(r.pitch) + "\n" + p + "_face " + r.face + "\n";
  }
  EXPECT_EQ(configuration_text(c, c, c.main_win_rect), expected + fonts);
}

TEST(ConfigurationText, ListsStandBetweenTheirKeyAndEndMarker) {
  Configuration c = every_key_changed();
  const std::vector<std::string> lines = lines_of(configuration_text(c, c, c.main_win_rect));
  auto block = [&](const std::string& key, const std::string& end) {
    auto first = std::find(lines.begin(), lines.end(), key);
    auto last = std::find(first, lines.end(), end);
    EXPECT_NE(last, lines.end()) << key;
    return first == lines.end() ? std::vector<std::string>{} : std::vector<std::string>(first + 1, last);
  };
  EXPECT_EQ(block("file_mru", "~file_mru~"), c.file_mru);
  EXPECT_EQ(block("approved_commands", "~end_approved_commands~"), c.approved_commands);
  EXPECT_EQ(block("default_plot", "~end_default_plot~"),
            (std::vector<std::string>{"0 1 0 0 0 1 2 29 0 L\\C2~", "# 1 1 65280 3 1 3 40 1 C3*2?C1>0~twice the third"}));
  // the approved commands follow the extensions table and come before the fonts
  auto at = [&](const std::string& line) { return std::find(lines.begin(), lines.end(), line) - lines.begin(); };
  EXPECT_EQ(at("approved_commands"), at("~end_psu_files~") + 1);
  EXPECT_EQ(at("ppf_height -11"), at("~end_approved_commands~") + 1);
}

TEST(ConfigurationText, NoValueCanWriteLinesOfItsOwn) {
  Configuration c;
  c.plotfiledir = "/data\nnumruns 99";
  c.approved_commands = {"/p/a.zko\tgood", "/p/b.zko\tbad\n/p/c.zko\tsneaked in",
                         "~end_approved_commands~\n", "/p/d.zko\tafter"};
  c.file_mru = {"~file_mru~ early end", "/data/kept.dat"};
  ConfigReader reader = ConfigReader::from_text(configuration_text(c, c, c.main_win_rect));
  Configuration read = read_configuration(reader);
  EXPECT_EQ(read.numruns, 2);
  EXPECT_EQ(read.plotfiledir, "/data");
  EXPECT_EQ(read.approved_commands, (std::vector<std::string>{"/p/a.zko\tgood", "/p/d.zko\tafter"}));
  EXPECT_EQ(read.file_mru, (std::vector<std::string>{"/data/kept.dat"}));
}

// ---- reading ----------------------------------------------------------------

TEST(ConfigurationRead, EveryKeyWrittenIsReadBack) {
  const Configuration written = every_key_changed();
  // every field differs from its default, so a key that is not read shows
  const Fields changed = fields_of(written), defaults = fields_of(Configuration());
  for (std::size_t i = 0; i < changed.size(); ++i) {
    if (changed[i].first == "savesets") continue;  // 1 writes the live values; 0 is read in the savesets tests
    EXPECT_NE(changed[i].second, defaults[i].second) << changed[i].first << " is not changed";
  }

  ConfigReader reader = ConfigReader::from_text(configuration_text(written, written, written.main_win_rect));
  Configuration read = read_configuration(reader);
  read.numruns -= 1;  // each write counts the run
  expect_same_fields(read, written);
  ASSERT_EQ(read.default_plot.definition.formulas.size(), 2u);
  EXPECT_EQ(read.default_plot.definition.formulas[1].text(), "C3*2?C1>0");
}

TEST(ConfigurationRead, DoublesKeepTenSignificantDigits) {
  Configuration c;
  c.default_plot.definition.x_from = 3.14159265358979;
  c.default_plot.definition.y_to = -2.718281828459045e-100;
  ConfigReader reader = ConfigReader::from_text(configuration_text(c, c, c.main_win_rect));
  Configuration read = read_configuration(reader);
  EXPECT_EQ(read.default_plot.definition.x_from, 3.141592654);
  EXPECT_EQ(read.default_plot.definition.y_to, -2.718281828e-100);
}

// Splits a file's text into its entries (a single line, or a list from its key to
// its end marker) so that they can be reordered.
std::vector<std::string> entries_of(const std::string& text) {
  const std::vector<std::pair<std::string, std::string>> lists = {
      {"url_mru", "~url_mru~"}, {"file_mru", "~file_mru~"}, {"obj_mru", "~obj_mru~"},
      {"default_plot", "~end_default_plot~"}, {"psu_files", "~end_psu_files~"},
      {"approved_commands", "~end_approved_commands~"}};
  std::vector<std::string> entries;
  std::string end_marker;
  for (const std::string& line : lines_of(text)) {
    if (!end_marker.empty()) {
      entries.back() += line + "\n";
      if (line == end_marker) end_marker.clear();
      continue;
    }
    entries.push_back(line + "\n");
    for (const auto& [key, end] : lists)
      if (line == key) end_marker = end;
  }
  return entries;
}

TEST(ConfigurationRead, KeysInAnotherOrderAreReadTheSame) {
  const Configuration written = every_key_changed();
  std::vector<std::string> entries = entries_of(configuration_text(written, written, written.main_win_rect));
  std::reverse(entries.begin(), entries.end());
  std::rotate(entries.begin(), entries.begin() + 17, entries.end());
  std::string shuffled = "an unknown line\n";
  for (const std::string& entry : entries) shuffled += entry + "unknown_key 5\n";
  ConfigReader reader = ConfigReader::from_text(shuffled);
  Configuration read = read_configuration(reader);
  read.numruns -= 1;
  expect_same_fields(read, written);
}

TEST(ConfigurationRead, MissingKeysTakeTheirDefaults) {
  ConfigReader reader = ConfigReader::from_text(
      "numruns 4\n"
      "main_win_rect 1 2 3\n"        // three numbers: the built-in rectangle stays
      "def_field_delim  \n"          // the value is one blank
      "def_ignore_place_hold \n"     // nothing after the blank: the default
      "ppf_italic 257\n"             // kept in 8 bits
      "ppf_face Sans\n"
      "drop_color 255\n");
  Configuration read = read_configuration(reader);
  EXPECT_EQ(read.numruns, 4);
  EXPECT_FALSE(read.first_run());
  EXPECT_EQ(read.main_win_rect, (RectFields{60, 0, 360, 130}));
  EXPECT_EQ(read.def_field_delim, " ");
  EXPECT_EQ(read.def_ignore_place_hold, "-1e12");
  EXPECT_EQ(read.ppf.italic, 1);
  EXPECT_EQ(read.ppf.face, "Sans");
  EXPECT_EQ(read.drop_color, 255u);

  // everything else is as in a configuration made from nothing
  Configuration expected;
  expected.numruns = 4;
  expected.ppf.italic = 1;
  expected.ppf.face = "Sans";
  expected.drop_color = 255;
  expect_same_fields(read, expected);
}

TEST(ConfigurationRead, AutomaticScaleMarksDefaultFromTheIntervalsRead) {
  struct Case {
    const char* text;
    int x_automark, y_automark;
  };
  const Case cases[] = {
      {"", 1, 1},
      {"def_x_bytick 0\ndef_y_bytick 0\n", 1, 1},
      {"def_x_bytick 5\ndef_y_bytick 2.5\n", 0, 0},
      {"def_x_bytick 0.5\ndef_y_bytick 0.5\n", 1, 0},  // the whole number at the start is 0
      {"def_x_bytick 1 d\n", 0, 1},
      {"def_x_bytick -00\n", 1, 1},
      {"def_x_bytick 007\n", 0, 1},
      {"def_x_bytick h\n", 1, 1},
      {"def_x_bytick 5\ndef_x_automark 1\ndef_y_bytick 3\ndef_y_automark 1\n", 1, 1},
      {"def_x_automark 0\ndef_y_automark 0\n", 0, 0},
  };
  for (const Case& c : cases) {
    ConfigReader reader = ConfigReader::from_text(c.text);
    Configuration read = read_configuration(reader);
    EXPECT_EQ(read.default_plot.definition.x_automark, c.x_automark) << c.text;
    EXPECT_EQ(read.default_plot.definition.y_automark, c.y_automark) << c.text;
  }
}

// ---- savesets and the start-up copy -----------------------------------------

TEST(ConfigurationSavesets, OffKeepsTheStartUpOptionsButTheLiveDirectoriesAndLists) {
  const Configuration startup;
  Configuration live = every_key_changed();
  live.savesets = 0;
  live.view_win_rect = {7, 8, 507, 408};
  const RectFields current{100, 100, 400, 300};
  const std::string text = configuration_text(live, startup, current);
  ConfigReader reader = ConfigReader::from_text(text);
  Configuration read = read_configuration(reader);

  Configuration expected = startup;  // the option keys as they were read
  expected.numruns = live.numruns + 1;
  expected.url_mru = live.url_mru;
  expected.file_mru = live.file_mru;
  expected.obj_mru = live.obj_mru;
  expected.savesets = 0;
  expected.plotfiledir = live.plotfiledir;
  expected.settingsdir = live.settingsdir;
  expected.outputdir = live.outputdir;
  expected.objdir = live.objdir;
  expected.clipdir = live.clipdir;
  expected.filters = live.filters;
  expected.psu_files = live.psu_files;
  expected.approved_commands = live.approved_commands;
  expected.ppf = live.ppf;
  expected.tpf = live.tpf;
  expected.vwf = live.vwf;
  expected.lpf = live.lpf;
  expected.mpf = live.mpf;
  expect_same_fields(read, expected);
  EXPECT_NE(text.find("\nmain_win_rect 60 0 360 130\nview_win_rect 7 8 507 408\nload_prompt 3\n"),
            std::string::npos);
}

TEST(ConfigurationSavesets, OnWritesTheLiveValuesAndTheCurrentMainWindow) {
  Configuration startup;
  startup.err_beep = 0;
  Configuration live = every_key_changed();
  live.view_win_rect = {7, 8, 507, 408};
  const RectFields current{100, 100, 400, 300};
  const std::string text = configuration_text(live, startup, current);
  EXPECT_EQ(text.find("view_win_rect"), std::string::npos);
  ConfigReader reader = ConfigReader::from_text(text);
  Configuration read = read_configuration(reader);
  read.numruns -= 1;
  live.main_win_rect = current;
  expect_same_fields(read, live);
}

// ---- the file ---------------------------------------------------------------

TEST(ConfigurationFile, RunsAreCountedFromAMissingFile) {
  testing::TempDir dir;
  const std::string path = dir.path("Zentrik.ini");
  Configuration first = read_configuration(path);
  EXPECT_EQ(first.numruns, 1);
  EXPECT_TRUE(first.first_run());
  first.use_obj = 0;
  ASSERT_TRUE(WriteConfiguration(path, first, first, first.main_win_rect));

  Configuration second = read_configuration(path);
  EXPECT_EQ(second.numruns, 2);
  EXPECT_FALSE(second.first_run());
  EXPECT_EQ(second.use_obj, 0);
  ASSERT_TRUE(WriteConfiguration(path, second, second, second.main_win_rect));
  EXPECT_EQ(read_configuration(path).numruns, 3);
}

TEST(ConfigurationFile, AFailedWriteLeavesTheOldFile) {
  testing::TempDir dir;
  const std::string path = dir.write("Zentrik.ini", "version 3.4\nnumruns 8\n");
  Configuration c = every_key_changed();
  c.file_mru.assign(400, std::string(40, 'f'));  // well beyond the 4 KB allowed below

  bool written;
  {
    testing::FileSizeLimit full_disk(4096);
    written = WriteConfiguration(path, c, c, c.main_win_rect);
  }

  EXPECT_FALSE(written);
  EXPECT_EQ(testing::read_file(path), "version 3.4\nnumruns 8\n");
  // a folder that does not exist, and a "folder" that is a file
  EXPECT_FALSE(WriteConfiguration(dir.path("missing/Zentrik.ini"), c, c, c.main_win_rect));
  EXPECT_FALSE(WriteConfiguration(path + "/Zentrik.ini", c, c, c.main_win_rect));
  EXPECT_EQ(testing::read_file(path), "version 3.4\nnumruns 8\n");
}

}  // namespace
}  // namespace zentrik
