// Loading through plot objects: the object names the data file and its options, and
// after the lines are read its further files and excluded lines apply.
#include <gtest/gtest.h>

#include "data/DataFile.h"
#include "data/LineTexts.h"
#include "data/TempDir.h"
#include "persist/PlotObject.h"
#include "ui/ScriptedUi.h"

namespace zentrik {
namespace {

using testing::line_texts;
using testing::numbered_lines;

class ObjectLoad : public ::testing::Test {
 protected:
  std::unique_ptr<DataFile> load(const std::string& path) {
    LoadEnvironment env{ui, &busy, &drop_prompt, &objects};
    auto data = std::make_unique<DataFile>(path, env);
    EXPECT_EQ(busy, 0);
    EXPECT_EQ(ui.pendingAnswers(), 0u);
    return data;
  }
  // An object of data.dat (ten numbered lines) with these lines after its first.
  std::string object(const std::string& rest) {
    return dir.write("plot.zko", "#!zentrik " + data_file + "\n" + rest);
  }
  std::vector<int32_t> excluded(const DataFile& data) {
    std::vector<int32_t> lines;
    for (const DataLine& line : data.lines())
      if (!line.included()) lines.push_back(line.position());
    return lines;
  }

  testing::TempDir dir;
  ScriptedUi ui;
  int busy = 0;
  bool drop_prompt = false;
  std::vector<std::string> approved;
  CommandApproval approval{approved, CommandPolicy::Ask, ui};
  ObjectEnvironment env{{1, dir.path("")}, approval, ui};
  ObjectLoading objects{env};
  const std::string data_file = dir.write("data.dat", numbered_lines(10));
};

TEST_F(ObjectLoad, ExcludedLinesAreMatchedInOneForwardPass) {
  struct Case {
    std::string list;
    std::vector<int32_t> excluded;
  } cases[] = {
      {"3\n5\n", {3, 5}},
      {"5\n3\n", {5}},  // descending: once 3 is not found after 5, the pass is over
      {"2\n2\n9\n", {2}},
      {"4\nx\n6\n", {4}},
      {"0\n4\n", {}},
      {"10\n11\n", {10}},
      {"1\nend_excludes:\n2\n", {1}},
      {"", {}},
  };
  for (const Case& c : cases) {
    ui.reset();
    auto data = load(object("version 3.4\nexcludes:\n" + c.list));
    EXPECT_EQ(excluded(*data), c.excluded) << c.list;
    EXPECT_EQ(data->included_count(), 10 - static_cast<int32_t>(c.excluded.size()));
    ASSERT_TRUE(objects.owner());
    EXPECT_EQ(objects.owner()->object_file, dir.path("plot.zko"));
  }
}

TEST_F(ObjectLoad, TheExcludeSwitchTurnsTheListOff) {
  auto data = load(object("exclude_lines 0\nexcludes:\n3\n5\nend_excludes:\n"));
  EXPECT_TRUE(excluded(*data).empty());
  EXPECT_EQ(objects.owner()->exclude_lines, 0);
  data = load(object("exclude_lines 1\nexcludes:\n3\nend_excludes:\n"));
  EXPECT_EQ(excluded(*data), (std::vector<int32_t>{3}));
  EXPECT_EQ(objects.owner()->exclude_lines, 1);
}

TEST_F(ObjectLoad, FileLinesAddFiles) {
  const std::string more = dir.write("more.dat", "a\nb\n");
  const std::string spaced = dir.write("side by side.dat", "x\ny\n");
  auto data = load(object("file 5 " + more + "\nfile 6 " + spaced + "\nexcludes:\n2\n11\nend_excludes:\n"));
  ASSERT_EQ(data->loaded_count(), 12);
  EXPECT_EQ(data->line(11).text(), "a");
  EXPECT_EQ(data->line(1).text(), "1 | x");  // a path with blanks is the rest of the line
  EXPECT_EQ(data->line(2).text(), "2 | y");
  EXPECT_EQ(excluded(*data), (std::vector<int32_t>{2, 11}));  // the list covers the added lines
  ASSERT_EQ(data->source_count(), 3);
  EXPECT_EQ(data->source(2)->how_added, kConcatenateFiles);
  EXPECT_EQ(data->source(3)->path, spaced);
  EXPECT_EQ(data->path(), data_file + " (1st of 3)");
}

TEST_F(ObjectLoad, AFileThatCannotBeAddedLoadsNothing) {
  const std::string missing = dir.path("missing.dat");
  auto data = load(object("file 5 " + missing + "\nexcludes:\nend_excludes:\n"));
  EXPECT_EQ(data->loaded_count(), 0);
  EXPECT_EQ(data->included_count(), 0);
  EXPECT_EQ(ui.lastMessage().text, "Can't open " + missing + ":\n\nNo such file or directory");
  EXPECT_EQ(ui.lastMessage().caption, "Open Error!");
}

TEST_F(ObjectLoad, TheObjectsOptionsLoadTheLines) {
  auto data = load(object("initial_skip 2\nread_every 4\nloadnum 2\nload_bool C1 # 7\nexcludes:\n4\n"));
  EXPECT_EQ(line_texts(*data), (std::vector<std::string>{"3", "4", "8"}));
  EXPECT_EQ(excluded(*data), (std::vector<int32_t>{}));  // line 4 is not stored: 3 lines only
  EXPECT_EQ(data->initial_skip, 2);
  EXPECT_EQ(data->read_every, 4);
  EXPECT_EQ(data->load_condition, "C1 # 7");
  EXPECT_EQ(data->source(1)->path, data_file);
  EXPECT_EQ(data->path(), data_file);
  EXPECT_EQ(ui.lastMessage().text, "3 lines loaded out of 10 lines in file.");
}

TEST_F(ObjectLoad, TheOptionsDialogShowsTheObjectsOptionsAndMarksChanges) {
  drop_prompt = true;
  const std::string path = object("initial_skip 1\nread_every 1\nloadnum 1\nexcludes:\n");
  LoadOptionValues shown;
  ui.queueLoadOptions([&](FileLoadOptionsDialog& dialog) {
    shown = dialog.values();
    return dialog.accept(dialog.values());
  });
  auto data = load(path);
  EXPECT_EQ(shown.initial_skip, 1);
  EXPECT_EQ(data->loaded_count(), 9);
  EXPECT_FALSE(objects.owner()->modified);

  ui.queueLoadOptions(LoadOptionValues{0, 1, 1, "", false});
  data = load(path);
  EXPECT_EQ(data->loaded_count(), 10);
  EXPECT_TRUE(objects.owner()->modified);
}

TEST_F(ObjectLoad, ACompanionObjectAppliesToAPlainDataFile) {
  dir.write("data.ZKO", "#!zentrik " + data_file + "\nexcludes:\n1\n2\nend_excludes:\n");
  auto data = load(data_file);
  EXPECT_EQ(excluded(*data), (std::vector<int32_t>{1, 2}));
  EXPECT_EQ(objects.owner()->object_file, dir.path("data.ZKO"));

  env.settings.use_obj = 0;
  data = load(data_file);
  EXPECT_TRUE(excluded(*data).empty());
  EXPECT_FALSE(objects.owner());
}

TEST_F(ObjectLoad, AnObjectThatStopsLoadsNothing) {
  auto data = load(dir.write("corrupt.zko", "#!zentrik \n"));
  EXPECT_EQ(data->loaded_count(), 0);
  EXPECT_EQ(data->source_count(), 0);
  EXPECT_EQ(ui.lastMessage().text, "Corrupt Zentrik object:  No data file!");
  EXPECT_FALSE(objects.owner());
}

}  // namespace
}  // namespace zentrik
