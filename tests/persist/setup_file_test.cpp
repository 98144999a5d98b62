#include "persist/SetupFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "data/TempDir.h"
#include "persist/SetupFileTable.h"
#include "ui/ScriptedUi.h"

namespace zentrik {
namespace {

Formula formula(std::string text, char point_char, uint32_t color, std::string description = {}) {
  Formula f(std::move(text));
  f.point_char = point_char;
  f.color = color;
  f.description = std::move(description);
  return f;
}

// Every field away from its default.
PlotDefinition full_definition() {
  PlotDefinition d;
  d.xy_or_histo = 1;
  d.binscale = 1;
  d.xlab = "Time of day";
  d.ylab = "Volts";
  d.x_grid = 1;
  d.y_grid = 1;
  d.log_x = 2;
  d.log_y = 1;
  d.auto_x = 0;
  d.auto_y = 0;
  d.x_from = 1.23456789012345;
  d.y_from = -0.000123456789012;
  d.x_to = 9.87654321e12;
  d.y_to = 42;
  d.x_lotick = 0.5;
  d.y_lotick = -3;
  d.x_bytick = "2 H";
  d.y_bytick = 0.25;
  d.x_automark = 0;
  d.y_automark = 0;
  d.x_tickprec = 3;
  d.y_tickprec = 7;
  d.x_margin = 12;
  d.y_margin = 14;
  d.date_format = "%H:%M";
  d.formulas = {formula("L", '0', 0), formula("C1*2", '*', 0xFF0000, "doubled"), formula("C2", '1', 0x0000FF)};
  d.formulas[2].enabled = 0;
  d.formulas[2].line_type = LineType::Dot;
  return d;
}

void expect_same_definition(const PlotDefinition& read, const PlotDefinition& written, double tolerance) {
  EXPECT_EQ(read.xy_or_histo, written.xy_or_histo);
  EXPECT_EQ(read.binscale, written.binscale);
  EXPECT_EQ(read.xlab, written.xlab);
  EXPECT_EQ(read.ylab, written.ylab);
  EXPECT_EQ(read.x_grid, written.x_grid);
  EXPECT_EQ(read.y_grid, written.y_grid);
  EXPECT_EQ(read.log_x, written.log_x);
  EXPECT_EQ(read.log_y, written.log_y);
  EXPECT_EQ(read.auto_x, written.auto_x);
  EXPECT_EQ(read.auto_y, written.auto_y);
  for (auto [r, w] : {std::pair{read.x_from, written.x_from}, {read.y_from, written.y_from},
                      {read.x_to, written.x_to}, {read.y_to, written.y_to}, {read.x_lotick, written.x_lotick},
                      {read.y_lotick, written.y_lotick}, {read.y_bytick, written.y_bytick}})
    EXPECT_NEAR(r, w, std::abs(w) * tolerance);
  EXPECT_EQ(read.x_bytick, written.x_bytick);
  EXPECT_EQ(read.x_automark, written.x_automark);
  EXPECT_EQ(read.y_automark, written.y_automark);
  EXPECT_EQ(read.x_tickprec, written.x_tickprec);
  EXPECT_EQ(read.y_tickprec, written.y_tickprec);
  EXPECT_EQ(read.x_margin, written.x_margin);
  EXPECT_EQ(read.y_margin, written.y_margin);
  EXPECT_EQ(read.date_format, written.date_format);
  ASSERT_EQ(read.formulas.size(), written.formulas.size());
  for (std::size_t i = 0; i < read.formulas.size(); ++i) {
    const Formula& r = read.formulas[i];
    const Formula& w = written.formulas[i];
    EXPECT_EQ(r.text(), w.text());
    EXPECT_EQ(r.point_char, w.point_char);
    EXPECT_EQ(r.color, w.color);
    EXPECT_EQ(r.line_type, w.line_type);
    EXPECT_EQ(r.description, w.description);
    EXPECT_EQ(r.enabled, 1);  // a disabled formula comes back enabled
  }
}

TEST(SetupFileText, HasTheTwentyFiveLinesAndTheFormulaList) {
  EXPECT_EQ(setup_file_text(full_definition()),
            "xy_or_histo 1\nbinscale 1\nxlab Time of day\nylab Volts\nx_grid 1\ny_grid 1\nlog_x 2\nlog_y 1\n"
            "auto_x 0\nauto_y 0\nx_from 1.23456789\ny_from -0.000123456789\nx_to 9.87654321e+12\ny_to 42\n"
            "x_lotick 0.5\ny_lotick -3\nx_bytick 2 H\ny_bytick 0.25\nx_automark 0\ny_automark 0\n"
            "x_tickprec 3\ny_tickprec 7\nx_margin 12\ny_margin 14\ndate_format %H:%M\n"
            "plot_info\n0 1 0 0 0 1 2 29 0 L~\n* 1 0 16711680 0 1 2 29 0 C1*2~doubled\n"
            "1 1 0 255 2 1 2 29 0 C2~\n~end_plot_info~\n");
  PlotDefinition unset;
  std::string lines;
  write_plot_lines(lines, unset, kObjectFilePrecision);
  EXPECT_NE(lines.find("\nx_from -1.1e+300\ny_from -1.1e+300\nx_to 1.1e+300\ny_to 1.1e+300\n"),
            std::string::npos);
  EXPECT_NE(lines.find("\nx_bytick 0\n"), std::string::npos);
}

TEST(SetupFileText, ReadsBackEveryFieldWithinItsPrintedPrecision) {
  PlotDefinition written = full_definition();
  ConfigReader reader = ConfigReader::from_text(setup_file_text(written));
  PlotDefinition read;
  EXPECT_TRUE(read_plot_setup(reader, read));
  expect_same_definition(read, written, 1e-9);
  EXPECT_NE(read.x_from, written.x_from);  // ten digits were kept, not all

  std::string object_lines;  // eight digits in objects
  write_plot_lines(object_lines, written, kObjectFilePrecision);
  ConfigReader object_reader = ConfigReader::from_text(object_lines);
  PlotDefinition from_object;
  read_plot_lines(object_reader, from_object);
  EXPECT_DOUBLE_EQ(from_object.x_from, 1.2345679);
}

// A label is one line of the file: a line feed in it cannot add keys of its own.
TEST(SetupFileText, ALabelCannotMakeLinesOfItsOwn) {
  PlotDefinition written = full_definition();
  written.xlab = "Time\nlog_x 1";
  written.log_x = 0;
  std::string text = setup_file_text(written);
  EXPECT_NE(text.find("xlab Time\nylab "), std::string::npos);
  ConfigReader reader = ConfigReader::from_text(text);
  PlotDefinition read;
  read_plot_setup(reader, read);
  EXPECT_EQ(read.xlab, "Time");
  EXPECT_EQ(read.log_x, 0);
}

TEST(SetupFileText, MarginsStayWhereDrawingReaches) {
  ConfigReader reader = ConfigReader::from_text("x_margin 2147483647\ny_margin -2147483648\n");
  PlotDefinition read;
  read_plot_lines(reader, read);
  EXPECT_EQ(read.x_margin, kMaxMargin);
  EXPECT_EQ(read.y_margin, -kMaxMargin);
}

TEST(SetupFileText, KeysInAnotherOrderReadTheSame) {
  PlotDefinition written = full_definition();
  std::string text = setup_file_text(written);
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  std::string reversed;  // the 25 plot lines backwards, the list after them as it was
  for (int i = 24; i >= 0; --i) reversed += lines[static_cast<std::size_t>(i)] + "\n";
  for (std::size_t i = 25; i < lines.size(); ++i) reversed += lines[i] + "\n";
  ConfigReader reader = ConfigReader::from_text("unknown line\n" + reversed);
  PlotDefinition read;
  read_plot_setup(reader, read);
  expect_same_definition(read, written, 1e-9);
}

TEST(SetupFileText, MissingKeysTakeTheirDefaults) {
  ConfigReader reader = ConfigReader::from_text("plot_info\n0 0 0 0 0 1 0 29 0 L~\n* 1 1 255 0 1 3 29 0 C1~\n~end_plot_info~\n");
  PlotDefinition read = full_definition();
  EXPECT_TRUE(read_plot_setup(reader, read));
  PlotDefinition defaults;
  defaults.formulas = read.formulas;
  expect_same_definition(read, defaults, 0);
  EXPECT_EQ(read.x_from, RANGE_UNSET_LOW);
  EXPECT_EQ(read.y_to, RANGE_UNSET_HIGH);
  ASSERT_EQ(read.formulas.size(), 2u);
  EXPECT_EQ(read.formulas[1].text(), "C1");

  // Without formula lines the definition keeps its list.
  ConfigReader no_list = ConfigReader::from_text("xlab a\n");
  PlotDefinition kept = full_definition();
  EXPECT_FALSE(read_plot_setup(no_list, kept));
  EXPECT_EQ(kept.formulas.size(), 3u);
  EXPECT_EQ(kept.xlab, "a");
}

TEST(SetupFileText, AutomaticMarksFollowTheIntervalsWhenMissing) {
  struct Case {
    const char* text;
    int x_automark, y_automark;
  } cases[] = {
      {"x_bytick 0\ny_bytick 0\n", 1, 1},
      {"x_bytick 5\ny_bytick 2\n", 0, 0},
      {"x_bytick 0.5\n", 1, 1},   // the whole number at its start is 0
      {"x_bytick 10 M\n", 0, 1},  // a date interval with its unit
      {"x_bytick 5\nx_automark 1\ny_bytick 3\ny_automark 1\n", 1, 1},
      {"xlab \nx_bytick \n", 1, 1},  // nothing after the key: the defaults
  };
  for (const Case& c : cases) {
    ConfigReader reader = ConfigReader::from_text(c.text);
    PlotDefinition read;
    read_plot_lines(reader, read);
    EXPECT_EQ(read.x_automark, c.x_automark) << c.text;
    EXPECT_EQ(read.y_automark, c.y_automark) << c.text;
  }
  ConfigReader empty_label = ConfigReader::from_text("xlab \nx_bytick \n");
  PlotDefinition read;
  read.xlab = "old";
  read_plot_lines(empty_label, read);
  EXPECT_EQ(read.xlab, "");
  EXPECT_EQ(read.x_bytick, "0");
}

class SetupChoice : public ::testing::Test {
 protected:
  std::string setup_text(const std::string& ylab) {
    PlotDefinition d = full_definition();
    d.ylab = ylab;
    return setup_file_text(d);
  }

  testing::TempDir dir;
  ScriptedUi ui;
  PlotDefinition definition;
};

TEST_F(SetupChoice, TheExtensionFindsItsSetupFile) {
  dir.write("volts.psu", setup_text("from volts"));
  const std::vector<std::string> psu_files = {".txt " + dir.path("other.psu"), ".dat " + dir.path("volts")};
  std::string loaded_from;
  ASSERT_TRUE(FindSetupFileForDataFile("/data/run.DAT", true, psu_files, definition, ui, &loaded_from));
  EXPECT_EQ(definition.ylab, "from volts");
  EXPECT_EQ(definition.formulas.size(), 3u);
  EXPECT_EQ(loaded_from, dir.path("volts.psu"));  // ".psu" appended to a name without a dot
  EXPECT_TRUE(ui.messages().empty());

  PlotDefinition untouched;
  EXPECT_FALSE(FindSetupFileForDataFile("/data/run.DAT", false, psu_files, untouched, ui));  // use_psu off
  EXPECT_FALSE(FindSetupFileForDataFile("/data/run.csv", true, psu_files, untouched, ui));
  EXPECT_FALSE(FindSetupFileForDataFile("/data.dat/run", true, psu_files, untouched, ui));  // no extension
  EXPECT_EQ(untouched.ylab, "");
  EXPECT_TRUE(ui.messages().empty());
}

TEST_F(SetupChoice, ADotInTheFolderIsNoExtension) {
  std::string folder = dir.path("my.setups");
  std::filesystem::create_directory(folder);
  std::ofstream(folder + "/volts.psu") << setup_text("dotted folder");
  ASSERT_TRUE(FindSetupFileForDataFile("run.dat", true, {".dat " + folder + "/volts"}, definition, ui));
  EXPECT_EQ(definition.ylab, "dotted folder");
}

TEST_F(SetupChoice, AMissingSetupFileIsReported) {
  const std::string folder = dir.path("folder.psu");
  std::filesystem::create_directory(folder);
  for (const std::string& path : {dir.path("gone.psu"), folder}) {  // a folder is no setup file either
    ui.reset();
    EXPECT_FALSE(FindSetupFileForDataFile("a.dat", true, {".dat " + path}, definition, ui));
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.lastMessage().text, "Can't find plot setup file " + path);
    EXPECT_EQ(ui.lastMessage().caption, "Plot Setup File Open Error!");
  }
}

TEST(LoadedSetupCheck, ListsTheErrorsOfTheXAndTheEnabledYFormulas) {
  ScriptedUi ui;
  PlotDefinition d;
  d.formulas = {Formula("L"), Formula("C1"), Formula("C9"), Formula("C2+"), Formula("C3")};
  d.formulas[2].enabled = 0;  // not checked, but counted
  EXPECT_FALSE(CheckLoadedSetup(d, {"1 2 3", 1}, ui));
  ASSERT_EQ(ui.messages().size(), 1u);
  EXPECT_EQ(ui.lastMessage().caption, "Error(s) in plot setup!");
  EXPECT_TRUE(ui.lastMessage().text.starts_with("The following errors were found when loading the plot setup:\n\n"))
      << ui.lastMessage().text;
  EXPECT_NE(ui.lastMessage().text.find("Y formula 3"), std::string::npos);
  EXPECT_EQ(ui.lastMessage().text.find("Y formula 2"), std::string::npos);

  ui.reset();
  d.formulas[0] = Formula("C5");
  d.formulas[3] = Formula("C2");
  EXPECT_FALSE(CheckLoadedSetup(d, {"1 2 3", 1}, ui));
  EXPECT_EQ(ui.lastMessage().text,
            "The following errors were found when loading the plot setup:\n\nError in X axis formula:\n"
            "Invalid column number:  5");

  ui.reset();
  d.formulas[0] = Formula("L");
  EXPECT_TRUE(CheckLoadedSetup(d, {"1 2 3", 1}, ui));
  EXPECT_TRUE(ui.messages().empty());
}

class SetupDialogFiles : public ::testing::Test {
 protected:
  SetupDialogFiles() {
    committed.formulas = {Formula("L"), Formula("C1")};
    settingsdir = dir.path("");
  }

  testing::TempDir dir;
  ScriptedUi ui;
  DefaultPlot defaults;
  PlotDefinition committed;
  std::string settingsdir;
};

TEST_F(SetupDialogFiles, SaveWritesTheUncommittedStateAndFollowsTheFolder) {
  PlotSetup setup(committed, "Setup From:  Internal Defaults", defaults, {"1 2", 1}, ui);
  PlotSetupFiles files(setup, settingsdir, false, ui);
  EXPECT_EQ(files.save_dialog().folder, dir.path(""));
  setup.x_formula = "  c2 ";
  setup.entry = "C2";
  ASSERT_TRUE(setup.add());
  setup.working().ylab = "typed";
  std::filesystem::create_directory(dir.path("sub"));
  const std::string path = dir.path("sub/mine.psu");
  ASSERT_TRUE(files.save_as(path));
  EXPECT_EQ(settingsdir, dir.path("sub"));
  EXPECT_EQ(files.save_dialog().file_name, "mine.psu");
  EXPECT_EQ(files.save_dialog().filter, "Plot Setup Files|*.psu|All Files|*.*||");
  EXPECT_EQ(committed.formulas[0].text(), "L");  // nothing committed
  EXPECT_EQ(setup.working().formulas[0].text(), "C2");

  ConfigReader reader(path);
  PlotDefinition saved;
  read_plot_setup(reader, saved);
  EXPECT_EQ(saved.ylab, "typed");
  ASSERT_EQ(saved.formulas.size(), 3u);
  EXPECT_EQ(saved.formulas[0].text(), "C2");

  std::string frozen = "/frozen";
  PlotSetupFiles frozen_files(setup, frozen, true, ui);
  ASSERT_TRUE(frozen_files.save_as(dir.path("again.psu")));
  EXPECT_EQ(frozen, "/frozen");
  EXPECT_TRUE(ui.messages().empty());
}

TEST_F(SetupDialogFiles, AFailedSaveChangesNothing) {
  PlotSetup setup(committed, "Setup From:  Internal Defaults", defaults, {"1 2", 1}, ui);
  PlotSetupFiles files(setup, settingsdir, false, ui);
  dir.write("plain", "x");
  setup.x_formula = "C2";
  for (const std::string& path : {dir.path("no such folder/a.psu"), dir.path("plain/a.psu")}) {
    ui.reset();
    EXPECT_FALSE(files.save_as(path));
    EXPECT_EQ(ui.lastMessage().text, "Can't open " + path);
    EXPECT_EQ(ui.lastMessage().caption, "File Open Error!");
  }
  EXPECT_EQ(settingsdir, dir.path(""));
  EXPECT_EQ(setup.working().formulas[0].text(), "L");
}

TEST_F(SetupDialogFiles, ASaveInterruptedHalfwayLeavesTheOldFile) {
  const std::string path = dir.write("old.psu", "old setup\n");
  for (int i = 0; i < 600; ++i) committed.formulas.push_back(Formula("C1*" + std::to_string(i)));
  PlotSetup setup(committed, "Setup From:  Internal Defaults", defaults, {"1 2", 1}, ui);
  PlotSetupFiles files(setup, settingsdir, false, ui);

  bool saved;
  {
    testing::FileSizeLimit full_disk(4096);  // the text is several times as long
    saved = files.save_as(path);
  }

  EXPECT_FALSE(saved);
  EXPECT_EQ(ui.lastMessage().text, "Can't open " + path);
  EXPECT_EQ(testing::read_file(path), "old setup\n");
}

TEST_F(SetupDialogFiles, LoadReplacesTheWorkingCopyAndNamesTheFile) {
  PlotDefinition stored = full_definition();
  const std::string path = dir.write("stored.zko", "#!zentrik /d/x.dat\nversion 3.4\n" + setup_file_text(stored));
  PlotSetup setup(committed, "Setup From:  Internal Defaults", defaults, {"1 2", 1}, ui);
  PlotSetupFiles files(setup, settingsdir, false, ui);
  setup.selected = {0};
  setup.edit(0);
  ASSERT_TRUE(files.load_from(path));  // an object's plot part loads as a setup
  EXPECT_EQ(files.setup_from(), "Setup From:  stored.zko");
  EXPECT_EQ(setup.x_formula, "L");
  EXPECT_EQ(setup.list_items(), (std::vector<std::string>{"C1*2", "C2"}));  // read back enabled
  EXPECT_EQ(setup.working().xlab, "Time of day");
  EXPECT_FALSE(setup.editing());
  EXPECT_TRUE(setup.selected.empty());
  EXPECT_EQ(committed.xlab, "");
  EXPECT_EQ(files.load_dialog().title, "Load Plot Setup");
  EXPECT_EQ(files.load_dialog().file_name, "stored.zko");

  EXPECT_FALSE(files.load_from(dir.path("missing.psu")));
  EXPECT_EQ(ui.lastMessage().text, "Can't open " + dir.path("missing.psu"));
  EXPECT_EQ(ui.lastMessage().caption, "File Open Error!");
  EXPECT_EQ(setup.working().xlab, "Time of day");

  files.load_defaults();
  EXPECT_EQ(files.setup_from(), "Setup From:  Internal Defaults");
  EXPECT_EQ(setup.working().xlab, "");
}

TEST(SetupFileRows, AreCheckedInTheDialogsOrder) {
  const std::string invalid = "You must enter a filter that starts with \"*.\" followed by a valid extension.";
  struct Case {
    SetupFileRow row;
    RowField field;
    const char* text;
    const char* caption;
  } cases[] = {
      {{"Data", "*.d", ""}, RowField::None, nullptr, nullptr},
      {{"Data", "*.da", ""}, RowField::None, nullptr, nullptr},
      {{"Data", "*.dat", "/s/a.psu"}, RowField::None, nullptr, nullptr},
      {{"Data", "*.", ""}, RowField::Filter, invalid.c_str(), "Invalid filter!"},
      {{"Data", "*.data", ""}, RowField::Filter, invalid.c_str(), "Invalid filter!"},
      {{"Data", "x.dat", ""}, RowField::Filter, invalid.c_str(), "Invalid filter!"},
      {{"", "dat", ""}, RowField::Filter, invalid.c_str(), "Invalid filter!"},  // the filter comes first
      {{"Data", "*.d?t", ""},
       RowField::Filter,
       "Question marks will not work.  You must enter a filter with a complete extension such as \"*.dat\".",
       "Sorry."},
      {{"", "*.dat", ""}, RowField::Description, "You must enter a description!", "No description!"},
  };
  for (const Case& c : cases) {
    ScriptedUi ui;
    SetupFileTable table;
    EXPECT_EQ(table.add(c.row, ui), c.field) << c.row.filter;
    EXPECT_EQ(table.rows().size(), c.field == RowField::None ? 1u : 0u);
    if (!c.text) {
      EXPECT_TRUE(ui.messages().empty());
      continue;
    }
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.lastMessage().text, c.text);
    EXPECT_EQ(ui.lastMessage().caption, c.caption);
  }
  ScriptedUi ui;
  EXPECT_TRUE(check_typed_field("Data *.dat", ui));
  EXPECT_FALSE(check_typed_field("Da|ta", ui));
  EXPECT_EQ(ui.lastMessage().text, "\"|\" is an illegal character!");
  EXPECT_EQ(ui.lastMessage().caption, "Error!");
  EXPECT_FALSE(add_enabled("", "*.dat"));
  EXPECT_TRUE(add_enabled("Data", "*"));
}

TEST(SetupFileRows, BuildTheFiltersAndTheSetupFileList) {
  ScriptedUi ui;
  SetupFileTable table;
  EXPECT_EQ(table.filters(), "All Files|*.*||");
  EXPECT_TRUE(table.psu_files().empty());
  for (SetupFileRow row : {SetupFileRow{"Data", "*.dat", "/s/volts"}, SetupFileRow{"Logs", "*.log", ""},
                           SetupFileRow{"Everything", "*.*", "/s/all.psu"}})
    ASSERT_EQ(table.add(row, ui), RowField::None);
  EXPECT_EQ(table.filters(), "Data|*.dat|Logs|*.log|Everything|*.*||");
  EXPECT_EQ(table.psu_files(), (std::vector<std::string>{".dat /s/volts"}));
  EXPECT_EQ(table.enter_edits(1, {"Logs", "*.log", "/s/logs.psu"}, ui), RowField::None);
  EXPECT_EQ(table.enter_edits(1, {"Logs", "*.lo?", "/s/x.psu"}, ui), RowField::Filter);
  EXPECT_EQ(table.psu_files(), (std::vector<std::string>{".dat /s/volts", ".log /s/logs.psu"}));

  SetupFileTable read = SetupFileTable::from_settings(table.filters(), table.psu_files());
  ASSERT_EQ(read.rows().size(), 3u);
  EXPECT_EQ(read.rows()[1].setup_file, "/s/logs.psu");
  EXPECT_EQ(read.rows()[2].setup_file, "");
  EXPECT_EQ(read.filters(), table.filters());
  EXPECT_TRUE(SetupFileTable::from_settings("All Files|*.*||", {}).rows().empty());
}

TEST(SetupFileLookup, ComparesExtensionsWithoutRegardToCase) {
  const std::vector<std::string> list = {".txt /s/text.psu", ".DAT /s/first", ".dat /s/second", ".log ", ".csv"};
  EXPECT_EQ(find_setup_file("*.dat", list), "/s/first");  // the first equal entry
  EXPECT_EQ(find_setup_file("*.Txt", list), "/s/text.psu");
  EXPECT_EQ(find_setup_file("*.log", list), "");  // nothing after the blank
  EXPECT_EQ(find_setup_file("*.csv", list), "");
  EXPECT_EQ(find_setup_file("*.*", {".* /s/x"}), "");
  EXPECT_EQ(find_setup_file(".dat", list), "");
  EXPECT_EQ(find_setup_file("*.dat", {}), "");
}

}  // namespace
}  // namespace zentrik
