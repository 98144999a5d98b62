#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <thread>

#include "data/DataFile.h"
#include "data/LineTexts.h"
#include "data/TempDir.h"
#include "ui/ScriptedUi.h"

namespace zentrik {
namespace {

using testing::line_texts;

using testing::numbered_lines;

class Loading : public ::testing::Test {
 protected:
  // Loads with the options dialog when options are given, else without it.
  std::unique_ptr<DataFile> load(const std::string& path) {
    LoadEnvironment env{ui, &busy, &drop_prompt};
    env.memory_limit = memory_limit;
    auto data = std::make_unique<DataFile>(path, env);
    EXPECT_EQ(busy, 0);
    EXPECT_EQ(ui.pendingAnswers(), 0u);
    return data;
  }
  std::unique_ptr<DataFile> load_with(const std::string& path, LoadOptionValues options) {
    drop_prompt = true;
    ui.queueLoadOptions(std::move(options));
    return load(path);
  }


  testing::TempDir dir;
  ScriptedUi ui;
  int busy = 0;
  bool drop_prompt = false;
  uint64_t memory_limit = 0;
};

TEST_F(Loading, APlainFileLoadsEveryLine) {
  std::string path = dir.write("plain.dat", "1 2 3\n4 5 6\r\n7 8\n");
  auto data = load(path);
  EXPECT_EQ(data->loaded_count(), 3);
  EXPECT_EQ(data->included_count(), 3);
  EXPECT_EQ(line_texts(*data), (std::vector<std::string>{"1 2 3", "4 5 6", "7 8"}));
  EXPECT_EQ(data->first_line_fields, 3);
  EXPECT_GT(data->load_time.load(), 1.6e9);
  EXPECT_EQ(data->path(), path);
  ASSERT_EQ(data->source_count(), 1);
  const DataSource& source = *data->source(1);
  EXPECT_EQ(source.first_line, 1);
  EXPECT_EQ(source.last_line, 3);
  EXPECT_EQ(source.lines_read, 3);
  EXPECT_EQ(source.status.size, 17);
  EXPECT_GT(source.status.modified, 0);
  EXPECT_TRUE(ui.messages().empty());
  EXPECT_EQ(ui.progressLog(), (std::vector<std::string>{"wait: on", "show: \n\nLoading file:\n" + path,
                                                        "wait: off", "hide"}));
}

TEST_F(Loading, SkipCycleAndConditionChooseTheLines) {
  struct Case {
    LoadOptionValues options;
    int lines;
    std::vector<std::string> stored;
  } cases[] = {
      {{3, 1, 1, "", false}, 10, {"4", "5", "6", "7", "8", "9", "10"}},
      {{0, 3, 10, "", false}, 25, {"1", "2", "3", "11", "12", "13", "21", "22", "23"}},
      {{0, 5, 2, "", false}, 4, {"1", "2", "3", "4"}},  // M at least K keeps every line
      {{2, 1, 2, "", false}, 9, {"3", "5", "7", "9"}},
      {{-5, 1, 0, "", false}, 3, {"1", "2", "3"}},  // negative skip is 0, K below 1 is 1
      {{0, 1, 1, "c1 > 7", false}, 10, {"8", "9", "10"}},
      {{1, 2, 3, "C1 # 5", false}, 12, {"2", "3", "6", "8", "9", "11", "12"}},
      {{0, 1, 1, "V2 & L < 3", false}, 5, {"1", "2"}},  // a missing value counts as true
      {{0, 1, 2, "S < 3", false}, 10, {"1", "3"}},      // S counts the lines the condition sees
  };
  for (const auto& c : cases) {
    ui.reset();
    auto data = load_with(dir.write("cases.dat", numbered_lines(c.lines)), c.options);
    EXPECT_EQ(line_texts(*data), c.stored) << c.options.initial_skip << " " << c.options.loadnum << "/"
                                       << c.options.read_every << " " << c.options.load_condition;
    for (int i = 1; i <= data->loaded_count(); ++i) EXPECT_EQ(data->line(i).number, i);
    if (static_cast<int>(c.stored.size()) == c.lines) {  // all lines stored: nothing to report
      EXPECT_TRUE(ui.messages().empty());
      continue;
    }
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.lastMessage().text, std::to_string(c.stored.size()) + " lines loaded out of " +
                                         std::to_string(c.lines) + " lines in file.");
    EXPECT_EQ(ui.lastMessage().caption, "Load complete.");
  }
}

TEST_F(Loading, TheOptionsAreKeptInTheDataSet) {
  auto data = load_with(dir.write("k.dat", numbered_lines(30)), {2, 2, 5, "c1 > 0", true});
  EXPECT_EQ(data->initial_skip, 2);
  EXPECT_EQ(data->loadnum, 2);
  EXPECT_EQ(data->read_every, 5);
  EXPECT_EQ(data->load_condition, "C1 > 0");
  EXPECT_EQ(data->read_count, 28);
  EXPECT_EQ(data->source(1)->initial_skip, 2);
  EXPECT_EQ(data->source(1)->load_condition, "C1 > 0");
  EXPECT_FALSE(drop_prompt);  // "Don't show this dialog box" was ticked
}

TEST_F(Loading, TooFewLinesLoadNothing) {
  const LoadOptionValues cases[] = {
      {0, 0, 1, "", false},        // M = 0 keeps nothing
      {0, 1, 1, "C1 > 99", false},  // the condition is 0 on every line
      {0, 1, 1, "C(C1) > 0", false},  // an evaluation error (C2 and on) rejects the line
      {9, 1, 1, "", false},         // one line left after the skip
  };
  auto empty = load(dir.write("empty.dat", ""));  // no question about skipping
  EXPECT_EQ(empty->included_count(), 0);
  EXPECT_EQ(ui.lastMessage().caption, "File Format Error!");
  for (const auto& options : cases) {
    ui.reset();
    auto data = load_with(dir.write("few.dat", numbered_lines(10)), options);
    EXPECT_EQ(data->included_count(), 0);
    EXPECT_EQ(data->loaded_count(), 0);
    ASSERT_EQ(ui.messages().size(), 1u) << options.load_condition;
    EXPECT_EQ(ui.lastMessage().text, "There are fewer than 2 lines of data loaded.  No plotting will be done.");
    EXPECT_EQ(ui.lastMessage().caption, "File Format Error!");
  }
}

TEST_F(Loading, SkippingTheWholeFileAsksToStartOver) {
  std::string path = dir.write("ten.dat", numbered_lines(10));
  const std::string question =
      "You asked to skip 10 lines but there were only 10 lines in the file.  Would you like to start over?";

  ui.queueAnswer(Answer::No);
  auto refused = load_with(path, {10, 1, 1, "", false});
  EXPECT_EQ(refused->included_count(), 0);
  auto shown = ui.messages();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].text, question);
  EXPECT_EQ(shown[0].caption, "Skipped whole file!");
  EXPECT_EQ(shown[0].buttons, Buttons::YesNo);
  EXPECT_EQ(shown[1].caption, "File Format Error!");

  ui.reset();
  ui.queueAnswer(Answer::Yes);
  ui.queueLoadOptions(LoadOptionValues{12, 1, 1, "", false});
  ui.queueLoadOptions(LoadOptionValues{0, 1, 1, "", false});  // the dialog opens again
  drop_prompt = true;
  auto again = load(path);
  EXPECT_EQ(again->included_count(), 10);
  EXPECT_EQ(ui.messages()[0].text,
            "You asked to skip 12 lines but there were only 10 lines in the file.  Would you like to start over?");
}

TEST_F(Loading, TheOptionsDialogShowsAndCountsLines) {
  std::string path = dir.write("dialog.dat", numbered_lines(3));
  drop_prompt = true;
  ui.queueLoadOptions([&](FileLoadOptionsDialog& dialog) {
    EXPECT_EQ(dialog.captionLine(), "Line 1 from " + path);
    EXPECT_EQ(dialog.lineText(), "1");
    EXPECT_TRUE(dialog.showNextLine());
    EXPECT_EQ(dialog.captionLine(), "Line 2 from " + path);
    EXPECT_EQ(dialog.lineText(), "2");
    dialog.countLines();
    EXPECT_EQ(dialog.captionLine(), "Line 1 out of 3 in " + path);
    EXPECT_TRUE(dialog.showNextLine());
    EXPECT_TRUE(dialog.showNextLine());
    EXPECT_FALSE(dialog.showNextLine());
    EXPECT_EQ(dialog.captionLine(), "Line 3 out of 3 in " + path);
    // OK checks the condition on the line shown and stays open on an error
    EXPECT_FALSE(dialog.accept({0, 1, 1, "C1 C2", false}));
    EXPECT_FALSE(dialog.accept({0, 1, 1, "C9 > 1", false}));
    return dialog.accept({0, 1, 1, "", false});
  });
  auto data = load(path);
  EXPECT_EQ(data->included_count(), 3);
  EXPECT_EQ(ui.beeps(), 1);
  auto shown = ui.messages();
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[0].text, "Found 3 lines in " + path + ".");
  EXPECT_EQ(shown[0].caption, "Done.");
  EXPECT_EQ(shown[1].text, "Unprocessed characters in conditional formula:\n\n\"C2\"");
  EXPECT_EQ(shown[2].text, "Error in conditional formula:\n\nInvalid column number:  9");
  EXPECT_TRUE(drop_prompt);
}

TEST_F(Loading, CancellingTheDialogLoadsNothing) {
  drop_prompt = true;
  ui.queueLoadOptionsCancel();
  auto data = load(dir.write("c.dat", numbered_lines(5)));
  EXPECT_EQ(data->included_count(), 0);
  EXPECT_TRUE(ui.messages().empty());
}

TEST_F(Loading, CancelDuringTheLoadClearsEverything) {
  ui.cancelAtCheck(2);
  auto data = load(dir.write("big.dat", numbered_lines(5000)));
  EXPECT_EQ(data->loaded_count(), 0);
  EXPECT_EQ(data->included_count(), 0);
  EXPECT_TRUE(ui.messages().empty());
  EXPECT_EQ(ui.progressLog().back(), "hide");
}

// The count of lines read includes the skipped ones; the loaded count shown is the
// number the line being read would get.
TEST_F(Loading, ProgressEveryTenThousandLines) {
  std::string path = dir.write("progress.dat", numbered_lines(25000));
  auto data = load_with(path, {10000, 1, 1, "", false});
  auto log = ui.progressLog();
  auto has = [&](const std::string& line) { return std::find(log.begin(), log.end(), line) != log.end(); };
  EXPECT_TRUE(has("text: \nReading file:\n" + path + "\nSkipped 10000 lines"));
  EXPECT_TRUE(has("text: \nLoading file:\n" + path + "\nRead 20000 lines\nLoaded 10000 lines"));
  EXPECT_EQ(data->included_count(), 15000);
}

TEST_F(Loading, BadFilesAreRefusedWithTheirMessage) {
  struct Case {
    std::string path;
    std::string text;
    std::string caption;
  } cases[] = {
      {dir.path("missing.dat"), "Can't open file:  " + dir.path("missing.dat") + ":\n\nNo such file or directory",
       "Error!"},
      {dir.path(""), "Can't open file:  " + dir.path("") + ":\n\nIs a directory", "Error!"},
      {"/dev/zero", "Can't open file:  /dev/zero:\n\nIs a device, not a file", "Error!"},
      {dir.write("binary.dat", "\xB0 1 2\n3 4\n5 6\n"), "Non-ASCII file!", "Error!"},
      {dir.write("nul.dat", std::string("1 \0 2\n3 4\n5 6\n", 14)), "Non-ASCII file!", "Error!"},
      {dir.write(std::string(250, 'n'), "1\n2\n"),
       "The filename\n\n" + dir.path(std::string(250, 'n')) + "\n\nis too long (259 characters max).",
       "Filename too long!"},
  };
  for (const auto& c : cases) {
    ui.reset();
    auto data = load(c.path);
    EXPECT_EQ(data->included_count(), 0) << c.path;
    ASSERT_EQ(ui.messages().size(), 1u) << c.path;
    EXPECT_EQ(ui.lastMessage().text, c.text);
    EXPECT_EQ(ui.lastMessage().caption, c.caption);
    EXPECT_EQ(ui.sounds(), 1);
  }
}

// The first read of a file takes 323 characters and drops its last one.
TEST_F(Loading, TheFirstLineCheckSeesTheFirstRead) {
  auto one_line = load(dir.write("one.dat", "1 2\xE9"));  // the last character is not checked
  EXPECT_EQ(ui.lastMessage().caption, "File Format Error!");
  std::string wide = std::string(322, '1') + "\xE9 2\n3 4\n";
  auto data = load(dir.write("wide.dat", wide));
  EXPECT_EQ(data->included_count(), 2);  // the byte beyond the first read is stored as "!"
  EXPECT_EQ(data->line(1).text().substr(322, 1), "!");
  ui.reset();
  auto refused = load(dir.write("near.dat", std::string(321, '1') + "\xE9\n3 4\n"));
  EXPECT_EQ(ui.lastMessage().text, "Non-ASCII file!");
}

TEST_F(Loading, OddBytesInLaterLinesAreStoredAsMarks) {
  std::string content = "1 2\ncaf\xE9 3\n4";
  content += '\0';
  content += "5\n" + std::string(10000, '7') + "\n";
  auto data = load(dir.write("odd.dat", content));
  EXPECT_EQ(line_texts(*data)[1], "caf! 3");
  EXPECT_EQ(line_texts(*data)[2].substr(0, 3), "4!5");
  EXPECT_EQ(data->loaded_count(), 6);  // the long line is three stored lines
}

TEST_F(Loading, AFileThatCannotBeReadLoadsNothing) {
  auto data = load("/proc/self/mem");  // opens, but every read fails
  EXPECT_EQ(data->loaded_count(), 0);
  EXPECT_EQ(ui.lastMessage().text, "Error reading /proc/self/mem:\n\nInput/output error");
  EXPECT_EQ(ui.lastMessage().caption, "Read Error!");
}

TEST_F(Loading, AHugeSingleLineBecomesStoredLines) {
  std::string content = "1 2\n" + std::string(20'000'000, '5') + "\n3 4";
  auto data = load(dir.write("huge.dat", content));
  ASSERT_EQ(data->loaded_count(), 2 + 4885);  // 20,000,000 = 4884 * 4095 + 20
  EXPECT_EQ(data->line(2).text().size(), 4095u);
  EXPECT_EQ(data->line(4886).text().size(), 20u);
  EXPECT_EQ(data->line(4887).text(), "3 4");
}

// A pipe gives its data once: the first line, the options dialog and the lines all
// come from that one read, whether the pipe has a name or is an inherited descriptor.
TEST_F(Loading, APipeIsReadOnceAsAStream) {
  const std::string fifo = dir.path("live.fifo");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  std::thread writer([&] { std::ofstream(fifo) << "skip me\n1 2\n3 4\n5 6\n"; });
  drop_prompt = true;
  ui.queueLoadOptions([&](FileLoadOptionsDialog& dialog) {
    EXPECT_EQ(dialog.lineText(), "skip me");
    dialog.countLines();
    return dialog.accept({1, 1, 1, "", false});
  });
  auto data = load(fifo);
  writer.join();
  EXPECT_EQ(line_texts(*data), (std::vector<std::string>{"1 2", "3 4", "5 6"}));
  EXPECT_EQ(ui.messages().at(0).text, "Found 4 lines in " + fifo + ".");

  int ends[2];
  ASSERT_EQ(pipe(ends), 0);
  std::thread feeder([&] {
    for (int i = 1; i <= 5000; ++i) {
      std::string line = std::to_string(i) + " " + std::to_string(i * i) + "\n";
      if (write(ends[1], line.data(), line.size()) < 0) break;
    }
    close(ends[1]);
  });
  drop_prompt = false;
  auto piped = load("/proc/self/fd/" + std::to_string(ends[0]));
  feeder.join();
  close(ends[0]);
  EXPECT_EQ(piped->loaded_count(), 5000);
  EXPECT_EQ(piped->line(5000).text(), "5000 25000000");
}

TEST_F(Loading, AFileBeyondTheMemoryLeftStopsWithAMessage) {
  memory_limit = 1 << 20;
  std::string content;
  for (int i = 0; i < 60000; ++i) content += std::to_string(i) + " 12345.678 9.876e5\n";
  std::string path = dir.write("large.dat", content);
  auto data = load(path);
  EXPECT_EQ(data->loaded_count(), 0);
  EXPECT_EQ(ui.lastMessage().text, "Not enough memory to load " + path +
                                       ":\n\nIts lines need more than the 1 MB of memory available.");
  EXPECT_EQ(ui.lastMessage().caption, "Error!");
  memory_limit = 4 << 20;  // the same file fits a larger budget
  EXPECT_EQ(load(path)->loaded_count(), 60000);
}

TEST_F(Loading, APlotObjectIsReportedNotLoaded) {
  auto data = load(dir.write("plot.zko", "#!zentrik \"/d/x.dat\"\nversion 3.4\n"));
  EXPECT_TRUE(data->plot_object_signature);
  EXPECT_EQ(data->included_count(), 0);
  EXPECT_TRUE(ui.messages().empty());
}

}  // namespace
}  // namespace zentrik
