#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "data/DataFile.h"
#include "data/MultiFile.h"
#include "data/LineTexts.h"
#include "data/TempDir.h"
#include "ui/ScriptedUi.h"

namespace zentrik {
namespace {

using testing::line_texts;

class AddingFiles : public ::testing::Test {
 protected:
  std::unique_ptr<DataFile> load(std::string_view name, std::string_view content) {
    LoadEnvironment env{ui};
    auto data = std::make_unique<DataFile>(dir.write(name, content), env);
    EXPECT_GT(data->included_count(), 0);
    return data;
  }

  testing::TempDir dir;
  ScriptedUi ui;
};

TEST_F(AddingFiles, ConcatenateLinesJoinsSideBySide) {
  auto data = load("x.dat", "a 1\nb 2\nc 3\n");
  data->set_included(2, false);
  ASSERT_TRUE(add_file(*data, dir.write("y.dat", "x\ny\n"), kConcatenateLines, ui));
  EXPECT_EQ(line_texts(*data), (std::vector<std::string>{"a 1 | x", "b 2 | y", "c 3"}));
  EXPECT_EQ(data->line(2).number, -2);  // inclusion stays with the line
  EXPECT_EQ(data->path(), dir.path("x.dat") + " (1st of 2)");
  const DataSource& added = *data->source(2);
  EXPECT_EQ(added.name, "y.dat");
  EXPECT_EQ(added.how_added, kConcatenateLines);
  EXPECT_EQ(added.first_line, 1);
  EXPECT_EQ(added.last_line, 3);
  EXPECT_EQ(added.lines_read, 2);
  EXPECT_TRUE(ui.messages().empty());

  ASSERT_TRUE(add_file(*data, dir.write("z.dat", "7\n8\n9\n"), kConcatenateLines, ui));
  EXPECT_EQ(data->path(), dir.path("x.dat") + " (1st of 3)");
  EXPECT_EQ(line_texts(*data)[0], "a 1 | x | 7");
  EXPECT_EQ(data->first_line_fields, 2);
}

TEST_F(AddingFiles, ALongerFileIsTruncated) {
  auto data = load("short.dat", "1\n2\n");
  ASSERT_TRUE(add_file(*data, dir.write("long.dat", "a\nb\nc\n"), kConcatenateLines, ui));
  EXPECT_EQ(line_texts(*data), (std::vector<std::string>{"1 | a", "2 | b"}));
  ASSERT_EQ(ui.messages().size(), 1u);
  EXPECT_EQ(ui.lastMessage().text, "Truncating long.dat at 2 lines.");
  EXPECT_EQ(ui.lastMessage().caption, "Shorter File!");
  EXPECT_EQ(ui.sounds(), 1);
  EXPECT_EQ(data->source(2)->lines_read, 2);
}

TEST_F(AddingFiles, ConcatenateFilesAppendsNumberedLines) {
  auto data = load("five.dat", "1\n2\n3\n4\n5\n");
  ASSERT_TRUE(add_file(*data, dir.write("four.dat", "6\n7\n8\n9\n"), kConcatenateFiles, ui));
  ASSERT_EQ(data->loaded_count(), 9);
  for (int i = 1; i <= 9; ++i) EXPECT_EQ(data->line(i).number, i);
  EXPECT_EQ(data->included_count(), 9);
  EXPECT_EQ(data->source(2)->first_line, 6);
  EXPECT_EQ(data->source(2)->last_line, 9);
  EXPECT_EQ(data->source(2)->how_added, kConcatenateFiles);
  EXPECT_EQ(data->path(), dir.path("five.dat") + " (1st of 2)");
}

// A file that cannot be added leaves the data set as it was.
TEST_F(AddingFiles, FailuresAreReportedAndUndone) {
  std::string nul_line = "7\n";
  nul_line += '\0';
  nul_line += "8\n";
  struct Case {
    std::string path;
    std::string text;
    std::string caption;
  } cases[] = {
      {dir.path("none.dat"), "Can't open " + dir.path("none.dat") + ":\n\nNo such file or directory",
       "Open Error!"},
      {dir.write("obj.zko", "#!zentrik \"x.dat\"\n"),
       dir.path("obj.zko") + " is an object and can not be added to a plot.", "Error!"},
      {dir.write("nul.dat", nul_line), "Non-ASCII file!", "Error!"},
  };
  for (int32_t how : {kConcatenateFiles, kConcatenateLines}) {
    for (const auto& c : cases) {
      ui.reset();
      auto data = load("base.dat", "1\n2\n3\n");
      EXPECT_FALSE(add_file(*data, c.path, how, ui)) << c.path;
      EXPECT_EQ(line_texts(*data), (std::vector<std::string>{"1", "2", "3"})) << c.path;
      EXPECT_EQ(data->included_count(), 3);
      EXPECT_EQ(data->source_count(), 1);
      EXPECT_EQ(data->path(), dir.path("base.dat"));
      ASSERT_EQ(ui.messages().size(), 1u);
      EXPECT_EQ(ui.lastMessage().text, c.text);
      EXPECT_EQ(ui.lastMessage().caption, c.caption);
    }
  }
}

TEST_F(AddingFiles, ADataSetBuiltInMemoryTakesFilesToo) {
  DataFile data("memory");
  data.store_text("1\n2\n");
  ASSERT_TRUE(add_file(data, dir.write("more.dat", "3\n"), kConcatenateFiles, ui));
  EXPECT_EQ(data.loaded_count(), 3);
  EXPECT_EQ(data.source(1)->first_line, 3);
}

TEST(CommandLine, SplitsIntoWordsAsAShellWould) {
  struct Case {
    const char* line;
    std::vector<std::string> words;
  } cases[] = {
      {"prog a b", {"prog", "a", "b"}},
      {"  prog\t'a b'  \"c \\\"d\\\"\" ", {"prog", "a b", "c \"d\""}},
      {"p a\\ b \"$HOME\" '\\n'", {"p", "a b", "$HOME", "\\n"}},
      {"p '' x", {"p", "", "x"}},
      {"p 'open", {"p", "open"}},
      {"", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(split_command_line(c.line), c.words) << c.line;
}

TEST(PreloadCommand, RunsToItsEndBeforeReturning) {
  testing::TempDir dir;
  ScriptedUi ui;
  std::string out = dir.path("made by command.txt");
  ASSERT_TRUE(run_preload_command("sh -c 'sleep 0.2; echo ready > \"$0\"' '" + out + "'", ui));
  std::ifstream made(out);
  std::stringstream content;
  content << made.rdbuf();
  EXPECT_EQ(content.str(), "ready\n");
  EXPECT_TRUE(ui.messages().empty());
  EXPECT_TRUE(run_preload_command("false", ui));  // the exit code is not looked at
}

TEST(PreloadCommand, AProgramThatCannotStartIsReported) {
  for (const char* command : {"no-such-program-for-zentrik --flag", "   "}) {
    ScriptedUi ui;
    EXPECT_FALSE(run_preload_command(command, ui));
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.lastMessage().text, std::string("Could not execute pre-object-load command:  ") + command);
    EXPECT_EQ(ui.lastMessage().caption, "Command Execution Error!");
  }
}

}  // namespace
}  // namespace zentrik
