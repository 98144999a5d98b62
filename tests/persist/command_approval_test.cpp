#include "persist/CommandApproval.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "data/TempDir.h"
#include "persist/PlotObject.h"
#include "ui/ScriptedUi.h"

namespace zentrik {
namespace {

class Approval : public ::testing::Test {
 protected:
  // An object whose command touches the marker file.
  std::string object_with(const std::string& command, const std::string& name = "plot.zko") {
    return dir.write(name, "#!zentrik " + data_file + "\nsys_command " + command + "\nversion 3.4\n");
  }
  OpenedObject open(const std::string& path, CommandPolicy policy = CommandPolicy::Ask) {
    CommandApproval approval(approved, policy, ui);
    ObjectEnvironment env{{0, dir.path("")}, approval, ui};
    DataFile data(path);
    return OpenAsPlotObject(path, data, env);
  }
  bool ran() {
    bool exists = std::filesystem::exists(marker);
    std::filesystem::remove(marker);
    return exists;
  }
  std::string question_for(const std::string& path, const std::string& shown_command) const {
    return "The plot object " + path + " runs this command before its data is loaded:\n\n" + shown_command +
           "\n\nRun it?";
  }

  testing::TempDir dir;
  ScriptedUi ui;
  std::vector<std::string> approved;
  const std::string data_file = dir.write("run.dat", "1\n2\n");
  const std::string marker = dir.path("ran");
  const std::string command = "sh " + dir.write("touch.sh", "touch \"$1\"\n") + " " + marker;
};

TEST_F(Approval, AnUnapprovedCommandRunsOnlyAfterYes) {
  const std::string path = object_with(command);
  ui.queueAnswer(Answer::No);
  OpenedObject opened = open(path);
  EXPECT_EQ(opened.opening.result, OpenObject);  // opened without its command
  EXPECT_FALSE(ran());
  ASSERT_EQ(ui.messages().size(), 1u);
  EXPECT_EQ(ui.lastMessage().text, question_for(path, command));
  EXPECT_EQ(ui.lastMessage().caption, "Run Command?");
  EXPECT_EQ(ui.lastMessage().buttons, Buttons::YesNo);
  EXPECT_TRUE(approved.empty());

  ui.reset();
  ui.queueAnswer(Answer::Yes);
  EXPECT_EQ(open(path).opening.result, OpenObject);
  EXPECT_TRUE(ran());
  EXPECT_EQ(approved, (std::vector<std::string>{path + "\t" + command}));

  ui.reset();  // approved now: it runs without a question
  EXPECT_EQ(open(path).opening.result, OpenObject);
  EXPECT_TRUE(ran());
  EXPECT_TRUE(ui.messages().empty());
}

TEST_F(Approval, AChangedCommandOrAnotherObjectAsksAgain) {
  const std::string path = object_with(command);
  approved = {path + "\t" + command, "/other.zko\tls"};
  const std::string changed = command + " " + dir.path("also");
  object_with(changed);
  ui.queueAnswer(Answer::Yes);
  open(path);
  EXPECT_TRUE(ran());
  EXPECT_EQ(ui.lastMessage().text, question_for(path, changed));
  EXPECT_EQ(approved, (std::vector<std::string>{"/other.zko\tls", path + "\t" + changed}));  // replaced

  ui.reset();
  const std::string copy = object_with(changed, "copy.zko");  // the same command in another object
  ui.queueAnswer(Answer::No);
  open(copy);
  EXPECT_FALSE(ran());
  EXPECT_EQ(ui.pendingAnswers(), 0u);
}

TEST_F(Approval, TheObjectIsKnownByItsAbsolutePath) {
  const std::string path = object_with(command);
  CommandApproval approval(approved, CommandPolicy::Ask, ui);
  std::filesystem::path relative = std::filesystem::relative(path);
  approval.approve(dir.path("sub/../plot.zko"), command);
  EXPECT_EQ(approved, (std::vector<std::string>{path + "\t" + command}));
  EXPECT_TRUE(approval.allows(relative.string(), command));
  EXPECT_FALSE(approval.allows(path, command + " "));
}

TEST_F(Approval, ThePolicyOfBatchRuns) {
  const std::string path = object_with(command);
  EXPECT_EQ(open(path, CommandPolicy::Always).opening.result, OpenObject);
  EXPECT_TRUE(ran());
  EXPECT_TRUE(ui.messages().empty());
  EXPECT_TRUE(approved.empty());  // nothing recorded for the desktop

  approved = {path + "\t" + command};
  EXPECT_EQ(open(path, CommandPolicy::Never).opening.result, OpenObject);
  EXPECT_FALSE(ran());  // not even an approved one
  ASSERT_EQ(ui.messages().size(), 1u);
  EXPECT_EQ(ui.lastMessage().text, "The pre-load command of the plot object " + path + " was not run:\n\n" + command);
  EXPECT_EQ(ui.lastMessage().caption, "Command Not Run");
}

TEST_F(Approval, ACommandThatCannotStartIsReportedAndTheObjectOpens) {
  const std::string broken = "no-such-program-for-zentrik " + marker;
  const std::string path = object_with(broken);
  approved = {path + "\t" + broken};
  EXPECT_EQ(open(path).opening.result, OpenObject);
  ASSERT_EQ(ui.messages().size(), 2u);
  EXPECT_EQ(ui.messages()[0].text, "Could not execute pre-object-load command:  " + broken);
  EXPECT_EQ(ui.messages()[1].text, "An error occured executing the command " + broken +
                                       ".  An attempt will be made to open the object anyway.");
  EXPECT_EQ(ui.messages()[1].caption, "Command Execution Error!");
}

TEST_F(Approval, WritingAnObjectApprovesItsCommand) {
  LoadEnvironment load_env{ui};
  DataFile data(data_file, load_env);
  DefaultPlot defaults;
  PlotWindow window = new_plot_window(&data, defaults, {});
  // a command entered in the object's attributes
  std::optional<ObjectRecord> record = ObjectRecord{"", command, "3.4", 1, false, true};
  CommandApproval approval(approved, CommandPolicy::Ask, ui);
  const std::string path = dir.path("saved.zko");
  ASSERT_TRUE(WritePlotObject(path, window, record, approval, ui));
  EXPECT_EQ(approved, (std::vector<std::string>{path + "\t" + command}));
  EXPECT_EQ(open(path).opening.result, OpenObject);
  EXPECT_TRUE(ran());
  EXPECT_TRUE(ui.messages().empty());
}

// Saving an object whose command the user refused does not approve it.
TEST_F(Approval, SavingARefusedCommandDoesNotApproveIt) {
  const std::string path = object_with(command);
  ui.queueAnswer(Answer::No);
  OpenedObject opened = open(path);
  ASSERT_EQ(opened.opening.result, OpenObject);
  EXPECT_FALSE(ran());
  EXPECT_FALSE(opened.record.command_approved);

  LoadEnvironment load_env{ui};
  DataFile data(data_file, load_env);
  DefaultPlot defaults;
  PlotWindow window = new_plot_window(&data, defaults, {});
  std::optional<ObjectRecord> record = opened.record;
  CommandApproval approval(approved, CommandPolicy::Ask, ui);
  ASSERT_TRUE(WritePlotObject(path, window, record, approval, ui));
  EXPECT_TRUE(approved.empty());
  ui.queueAnswer(Answer::No);
  open(path);  // asked again
  EXPECT_EQ(ui.lastMessage().text, question_for(path, command));
  EXPECT_FALSE(ran());
}

}  // namespace
}  // namespace zentrik
