#include "persist/PlotObject.h"

#include <gtest/gtest.h>

#include <fstream>

#include "data/MultiFile.h"
#include "data/TempDir.h"
#include "ui/ScriptedUi.h"

namespace zentrik {
namespace {

class ObjectFiles : public ::testing::Test {
 protected:
  ObjectFiles() { std::filesystem::create_directory(objdir); }

  // A data set of run.dat's six lines and more.dat's two, lines 2 and 7 excluded.
  std::unique_ptr<DataFile> two_file_data() {
    LoadEnvironment load_env{ui};
    auto data = std::make_unique<DataFile>(dir.write("run.dat", "1 10\n2 20\n3 30\n4 40\n5 50\n6 60\n"), load_env);
    EXPECT_TRUE(add_file(*data, dir.write("more.dat", "7 70\n8 80\n"), kConcatenateFiles, ui));
    data->set_included(2, false);
    data->set_included(7, false);
    data->initial_skip = 1;
    data->read_every = 2;
    data->load_condition = "C1 > 0";
    return data;
  }

  PlotWindow window_for(DataFile& data) {
    PlotWindow window = new_plot_window(&data, defaults, {10, 20, 310, 420});
    window.title = "Volts";
    window.showstats = 0;
    window.legend = 1;
    window.regress = 1;
    window.definition.xlab = "Seconds";
    window.definition.x_from = 0.123456789;
    return window;
  }

  OpenedObject open(const std::string& path, DataFile& data) { return OpenAsPlotObject(path, data, env); }

  void expect_message(const std::string& text, const std::string& caption) {
    ASSERT_FALSE(ui.messages().empty());
    EXPECT_EQ(ui.lastMessage().text, text);
    EXPECT_EQ(ui.lastMessage().caption, caption);
  }

  testing::TempDir dir;
  const std::string objdir = dir.path("objects");
  ScriptedUi ui;
  DefaultPlot defaults;
  std::vector<std::string> approved;
  CommandApproval approval{approved, CommandPolicy::Ask, ui};
  ObjectEnvironment env{{1, objdir}, approval, ui};
};

TEST_F(ObjectFiles, TheWrittenTextHasEveryLineInOrder) {
  auto data = two_file_data();
  PlotWindow window = window_for(*data);
  ObjectRecord record{"", "sh /x/make.sh", "3.4", 0, false};
  EXPECT_EQ(plot_object_text(window, &record),
            "#!zentrik " + dir.path("run.dat") + "\n"
            "sys_command sh /x/make.sh\n"
            "file 5 " + dir.path("more.dat") + "\n"
            "exclude_lines 0\nversion 3.4\ntitle Volts\nshowstats 0\nlegend 1\nregress 1\n"
            "win_top 20\nwin_left 10\nwin_bottom 420\nwin_right 310\n"
            "xy_or_histo 0\nbinscale 0\nxlab Seconds\nylab \nx_grid 0\ny_grid 0\nlog_x 0\nlog_y 0\n"
            "auto_x 1\nauto_y 1\nx_from 0.12345679\ny_from -1.1e+300\nx_to 1.1e+300\ny_to 1.1e+300\n"
            "x_lotick 0\ny_lotick 0\nx_bytick 0\ny_bytick 0\nx_automark 1\ny_automark 1\n"
            "x_tickprec 5\ny_tickprec 5\nx_margin 15\ny_margin 15\ndate_format %#d-%b-%y %#H:%M\n"
            "update_interval 0\ninitial_skip 1\nread_every 2\nloadnum 1\nload_bool C1 > 0\n"
            "plot_info\n0 0 0 0 0 1 2 29 0 L~\n* 1 1 16711680 0 1 2 29 0 C1~\n~end_plot_info~\n"
            "excludes:\n2\n7\nend_excludes:\n");
}

TEST_F(ObjectFiles, AWindowWithoutARecordAndADownloadedDataSet) {
  LoadEnvironment load_env{ui};
  DataFile data(dir.write("copy.dat", "1\n2\n3\n"), load_env);
  data.url = "http://example.com/d/run.dat";
  PlotWindow window = new_plot_window(&data, defaults, {});
  window.definition.formulas.clear();
  std::string text = plot_object_text(window, nullptr);
  EXPECT_TRUE(text.starts_with("#!zentrik http://example.com/d/run.dat\nexclude_lines 1\nversion 3.4\n")) << text;
  EXPECT_TRUE(text.ends_with("load_bool \nexcludes:\nend_excludes:\n")) << text;  // both lists empty
}

TEST_F(ObjectFiles, WritingBindsTheWindowToTheFile) {
  auto data = two_file_data();
  PlotWindow window = window_for(*data);
  window.object_modified = true;
  std::optional<ObjectRecord> record;
  const std::string path = dir.path("plot.zko");
  ASSERT_TRUE(WritePlotObject(path, window, record, approval, ui));
  EXPECT_EQ(testing::read_file(path), plot_object_text(window, &*record));
  ASSERT_TRUE(record);
  EXPECT_EQ(record->object_file, path);
  EXPECT_EQ(record->version, "3.4");
  EXPECT_EQ(record->exclude_lines, 1);
  EXPECT_EQ(window.object_path, path);
  EXPECT_FALSE(window.object_modified);
  EXPECT_EQ(window.setup_from, "Setup From:  plot.zko");
  EXPECT_TRUE(approved.empty());  // no command
  EXPECT_TRUE(ui.messages().empty());

  FileDialogRequest request = save_object_dialog(window, objdir);
  EXPECT_EQ(request.file_name, "plot.zko");
  PlotWindow unsaved = window_for(*data);
  request = save_object_dialog(unsaved, objdir);
  EXPECT_EQ(request.title, "Save Plot Object");
  EXPECT_EQ(request.filter, "All Files|*.*||");
  EXPECT_EQ(request.folder, objdir);
  EXPECT_EQ(request.file_name, "run.zko");
}

TEST_F(ObjectFiles, AFailedWriteChangesNothing) {
  auto data = two_file_data();
  PlotWindow window = window_for(*data);
  window.object_modified = true;
  std::optional<ObjectRecord> record;
  dir.write("plain", "x");
  for (const std::string& path : {dir.path("no folder/plot.zko"), dir.path("plain/plot.zko")}) {
    EXPECT_FALSE(WritePlotObject(path, window, record, approval, ui));
    expect_message("Can't open " + path, "File Open Error!");
  }
  EXPECT_FALSE(record);
  EXPECT_EQ(window.object_path, "");
  EXPECT_TRUE(window.object_modified);

  // Half a file is never left in place of the old one.
  const std::string path = dir.write("old.zko", "old object\n");
  for (int i = 0; i < 600; ++i) window.definition.formulas.push_back(Formula("C2*" + std::to_string(i)));
  bool written;
  {
    testing::FileSizeLimit full_disk(4096);
    written = WritePlotObject(path, window, record, approval, ui);
  }
  EXPECT_FALSE(written);
  EXPECT_EQ(testing::read_file(path), "old object\n");
}

TEST_F(ObjectFiles, OpeningReportsWhatStopsIt) {
  const std::string missing = dir.path("missing.zko");
  const std::string no_data = dir.path("none.dat");
  struct Case {
    std::string path;
    std::string text;
  } cases[] = {
      {missing, "Can't open file:  " + missing + ":\n\nNo such file or directory"},
      {dir.write("empty.zko", "#!zentrik \nversion 3.4\n"), "Corrupt Zentrik object:  No data file!"},
      {dir.write("blanks.zko", "#!zentrik    \n"), "Corrupt Zentrik object:  No data file!"},
      {dir.write("lost.zko", "#!zentrik " + no_data + "\n"),
       "Can't open data file associated with Zentrik object:  " + no_data + ":\n\nNo such file or directory"},
      {dir.write("binary.dat", "\xb0 1 2\n3 4\n"), "Non-ASCII file!"},
  };
  for (const Case& c : cases) {
    ui.reset();
    DataFile data(c.path);
    OpenedObject opened = open(c.path, data);
    EXPECT_EQ(opened.opening.result, OpenStop) << c.path;
    ASSERT_EQ(ui.messages().size(), 1u) << c.path;
    expect_message(c.text, "Error!");
  }
}

TEST_F(ObjectFiles, AnObjectNamesItsDataFileAndLoadOptions) {
  const std::string data_file = dir.write("d\xc3\xa4ta.dat", "1\n2\n");  // a UTF-8 name is no bar
  const std::string path = dir.write("plot.zko", "#!zentrik   " + data_file + "\nversion 3.4\ninitial_skip 3\n"
                                                 "read_every 0\nloadnum 2\nload_bool C1 > 1\n");
  DataFile data(path);
  data.url = "http://example.com/plot.zko";  // the object was downloaded; its data was not
  OpenedObject opened = open(path, data);
  ASSERT_EQ(opened.opening.result, OpenObject);
  EXPECT_EQ(opened.opening.data_file, data_file);
  EXPECT_EQ(opened.opening.object_file, path);
  EXPECT_EQ(opened.opening.initial_skip, 3);
  EXPECT_EQ(opened.opening.read_every, 1);  // at least 1
  EXPECT_EQ(opened.opening.loadnum, 2);
  EXPECT_EQ(opened.opening.load_condition, "C1 > 1");
  EXPECT_EQ(opened.record.object_file, path);
  EXPECT_EQ(opened.record.sys_command, "");
  EXPECT_EQ(opened.record.exclude_lines, 1);
  EXPECT_EQ(data.url, "");
  EXPECT_TRUE(ui.messages().empty());

  // "#!zentrik" without its blank is no object.
  const std::string plain = dir.write("plain.dat", "#!zentrik\n1\n2\n");
  DataFile plain_data(plain);
  EXPECT_EQ(open(plain, plain_data).opening.result, OpenPlainData);
}

TEST_F(ObjectFiles, OnlyTheSecondLineHoldsACommand) {
  const std::string marker = dir.path("ran");
  const std::string script = dir.write("touch.sh", "touch \"$1\"\n");
  const std::string command = "sh " + script + " " + marker;
  const std::string data_file = dir.write("run.dat", "1\n2\n");
  const std::string path =
      dir.write("late.zko", "#!zentrik " + data_file + "\nversion 3.4\nsys_command " + command + "\n");
  approval.approve(path, command);
  DataFile data(path);
  OpenedObject opened = open(path, data);
  EXPECT_EQ(opened.opening.result, OpenObject);
  EXPECT_EQ(opened.record.sys_command, "");
  EXPECT_FALSE(std::filesystem::exists(marker));

  const std::string second = dir.write("second.zko", "#!zentrik " + data_file + "\nsys_command " + command + "\n");
  approval.approve(second, command);
  DataFile data2(second);
  EXPECT_EQ(open(second, data2).record.sys_command, command);
  EXPECT_TRUE(std::filesystem::exists(marker));
  EXPECT_TRUE(ui.messages().empty());
}

TEST_F(ObjectFiles, CompanionObjectsFollowTheUseSetting) {
  const std::string data_file = dir.write("run.dat", "1\n2\n3\n");
  const std::string companion = "#!zentrik " + data_file + "\nversion 3.4\ninitial_skip 1\n";
  const std::string question =
      "There is a plot object associated with the file " + data_file + ".  Do you want to use it?";
  std::ofstream(objdir + "/run.ZKO") << companion;
  struct Case {
    int use_obj;
    std::optional<Answer> answer;
    OpenResult result;
  } cases[] = {
      {0, std::nullopt, OpenPlainData},
      {3, Answer::No, OpenPlainData},
      {3, Answer::Yes, OpenObject},
      {1, std::nullopt, OpenObject},
      {7, std::nullopt, OpenObject},  // any other value uses it without asking
  };
  for (const Case& c : cases) {
    ui.reset();
    env.settings.use_obj = c.use_obj;
    if (c.answer) ui.queueAnswer(*c.answer);
    DataFile data(data_file);
    OpenedObject opened = open(data_file, data);
    EXPECT_EQ(opened.opening.result, c.result) << c.use_obj;
    EXPECT_EQ(ui.pendingAnswers(), 0u);
    if (c.answer) expect_message(question, "Use Zentrik Object?");
    if (c.result != OpenObject) continue;
    EXPECT_EQ(opened.opening.data_file, data_file);
    EXPECT_EQ(opened.opening.object_file, objdir + "/run.ZKO");
    EXPECT_EQ(opened.opening.initial_skip, 1);
  }
}

TEST_F(ObjectFiles, CompanionCandidatesAreTriedInTurn) {
  const std::string data_file = dir.write("run.dat", "1\n2\n3\n");
  const std::string mine = "#!zentrik " + data_file + "\n";
  struct Case {
    std::vector<std::pair<std::string, std::string>> files;  // in objdir
    std::string found;                                       // "" for none
  } cases[] = {
      {{{"run.dat", mine}}, "run.dat"},
      {{{"run.zko", mine}}, "run.zko"},  // Linux names are case sensitive: the lower-case one too
      {{{"run.ZKO", mine}, {"run.zko", mine}}, "run.ZKO"},
      {{{"run.ZKO", "#!zentrik /else/run.dat\n"}}, ""},  // the object of another file
      {{{"run.ZKO", "#!zentrik " + dir.path("RUN.DAT") + "\n"}}, "run.ZKO"},  // compared without case
      {{{"run.dat", "1\n2\n"}, {"run.zko", mine}}, "run.zko"},  // a data file there is passed over
  };
  for (const Case& c : cases) {
    std::filesystem::remove_all(objdir);
    std::filesystem::create_directory(objdir);
    for (const auto& [name, content] : c.files) std::ofstream(objdir + "/" + name) << content;
    DataFile data(data_file);
    OpenedObject opened = open(data_file, data);
    EXPECT_EQ(opened.opening.result, c.found.empty() ? OpenPlainData : OpenObject) << c.found;
    if (!c.found.empty()) {
      EXPECT_EQ(opened.opening.object_file, objdir + "/" + c.found);
    }
  }
}

TEST_F(ObjectFiles, ADownloadedDataFileFindsItsCompanionByItsUrl) {
  const std::string local = dir.write("cache-run.dat", "1\n2\n");
  std::ofstream(objdir + "/run.ZKO") << "#!zentrik HTTP://example.com/d/run.dat\n";
  DataFile data(local);
  data.url = "http://example.com/d/run.dat";
  OpenedObject opened = open(local, data);
  ASSERT_EQ(opened.opening.result, OpenObject);
  EXPECT_EQ(opened.opening.data_file, local);
  EXPECT_EQ(data.url, "http://example.com/d/run.dat");
}

TEST(WindowOnScreen, ARectangleIsMovedOntoTheScreen) {
  struct Case {
    WindowRect read, kept;
  } cases[] = {
      {{100, 100, 400, 500}, {100, 100, 400, 500}},
      {{900, 100, 1300, 500}, {624, 100, 1024, 500}},    // right edge past the screen: shifted left
      {{100, 600, 400, 900}, {100, 468, 400, 768}},      // bottom edge past it: shifted up
      {{-50, 100, 400, 500}, {0, 100, 450, 500}},        // negative left: at 0 and wider by as much
      {{100, -30, 400, 500}, {100, 0, 400, 530}},        // negative top: at 0 and higher
      {{-100, 0, 1200, 900}, {0, 0, 1300, 900}},         // larger than the screen: at 0, 0 in its size
      {{INT32_MIN, 0, INT32_MAX, 400}, {0, 0, INT32_MAX, 400}},  // absurd numbers from a file stay in range
  };
  for (const Case& c : cases) {
    WindowRect rect = c.read;
    keep_on_screen(rect, {1024, 768});
    EXPECT_EQ(rect.left, c.kept.left) << c.read.left << " " << c.read.right;
    EXPECT_EQ(rect.top, c.kept.top);
    EXPECT_EQ(rect.right, c.kept.right);
    EXPECT_EQ(rect.bottom, c.kept.bottom);
  }
}

class ObjectWindow : public ObjectFiles {
 protected:
  bool read_window(const std::string& object_text, std::vector<std::string> psu_files = {}) {
    record.object_file = dir.write("plot.zko", object_text);
    record.modified = true;
    window = new_plot_window(data.get(), defaults, {});
    return ReadPlotObjectWindow(window, record, {1024, 768}, {true, psu_files, defaults}, ui);
  }

  std::unique_ptr<DataFile> data = two_file_data();
  PlotWindow window;
  ObjectRecord record;
};

TEST_F(ObjectWindow, ReadsBackWhatWasWritten) {
  PlotWindow written = window_for(*data);
  written.definition.formulas.push_back(Formula("C2"));
  ASSERT_TRUE(read_window(plot_object_text(written, nullptr)));
  EXPECT_EQ(record.version, "3.4");
  EXPECT_EQ(window.title, "Volts");
  EXPECT_EQ(window.showstats, 0);
  EXPECT_EQ(window.legend, 1);
  EXPECT_EQ(window.regress, 1);
  EXPECT_EQ(window.rect.left, 10);
  EXPECT_EQ(window.rect.top, 20);
  EXPECT_EQ(window.rect.right, 310);
  EXPECT_EQ(window.rect.bottom, 420);
  EXPECT_EQ(window.definition.xlab, "Seconds");
  EXPECT_DOUBLE_EQ(window.definition.x_from, 0.12345679);
  ASSERT_EQ(window.definition.formulas.size(), 3u);
  EXPECT_EQ(window.definition.formulas[2].text(), "C2");
  EXPECT_EQ(window.setup_from, "Setup From:  plot.zko");
  EXPECT_EQ(window.object_path, record.object_file);
  EXPECT_TRUE(window.object_modified);
  EXPECT_TRUE(ui.messages().empty());
}

TEST_F(ObjectWindow, MissingKeysTakeTheirDefaultsAndTheRectangleStaysOnTheScreen) {
  ASSERT_TRUE(read_window("#!zentrik /d/x.dat\nwin_right 1100\nplot_info\n0 0 0 0 0 1 2 29 0 L~\n"
                          "* 1 1 255 0 1 2 29 0 C2~\n~end_plot_info~\n"));
  EXPECT_EQ(record.version, "1.0");
  EXPECT_EQ(window.title, "");
  EXPECT_EQ(window.showstats, 1);
  EXPECT_EQ(window.legend, 0);
  EXPECT_EQ(window.regress, 0);
  EXPECT_EQ(window.rect.left, 24);  // 100 .. 1100 shifted left onto a 1024 screen
  EXPECT_EQ(window.rect.right, 1024);
  EXPECT_EQ(window.rect.top, 100);
  EXPECT_EQ(window.rect.bottom, 500);
  EXPECT_EQ(window.definition.x_margin, 10);
}

TEST_F(ObjectWindow, WithoutFormulasTheSetupFileOrTheDefaultPlotIsUsed) {
  dir.write("volts.psu", "ylab from psu\nplot_info\n0 0 0 0 0 1 2 29 0 L~\n* 1 1 255 0 1 2 29 0 C2*3~\n"
                         "~end_plot_info~\n");
  ASSERT_TRUE(read_window("#!zentrik /d/x.dat\nylab from object\n", {".dat " + dir.path("volts.psu")}));
  EXPECT_EQ(window.definition.ylab, "from psu");
  ASSERT_EQ(window.definition.formulas.size(), 2u);
  EXPECT_EQ(window.definition.formulas[1].text(), "C2*3");
  EXPECT_EQ(window.setup_from, "Setup From:  volts.psu");

  ASSERT_TRUE(read_window("#!zentrik /d/x.dat\nylab from object\n"));
  EXPECT_EQ(window.definition.ylab, "");
  EXPECT_EQ(window.definition.formulas[1].text(), "C1");
  EXPECT_EQ(window.setup_from, "Setup From:  Internal Defaults");
}

TEST_F(ObjectWindow, FormulasThatDoNotParseAreReported) {
  EXPECT_FALSE(read_window("#!zentrik /d/x.dat\nplot_info\n0 0 0 0 0 1 2 29 0 L~\n* 1 1 255 0 1 2 29 0 C7~\n"
                           "~end_plot_info~\n"));
  EXPECT_EQ(ui.lastMessage().caption, "Error(s) in plot setup!");
  EXPECT_NE(ui.lastMessage().text.find("Y formula 1"), std::string::npos);
}

}  // namespace
}  // namespace zentrik
