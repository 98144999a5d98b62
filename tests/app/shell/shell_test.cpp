#include "app/shell/Shell.h"

#include <gtest/gtest.h>

#include <deque>

#include "data/TempDir.h"
#include "persist/PlotObject.h"
#include "ui/ScriptedUi.h"

namespace zentrik {
namespace {

// A face that answers the setup dialog and the drop dialog from queues and records
// what it was asked to show.
class ScriptedFace : public ShellFace {
 public:
  std::deque<bool> setup_answers;  // OK or Cancel of the next setup dialogs
  std::function<void(Plot&)> in_setup;  // what the user changes in the dialog before OK
  DropChoice drop_choice = DropChoice::Cancel;
  int setups = 0, ready = 0, closing = 0, busy_changes = 0;
  bool busy = false;

  bool plotSetup(Plot& plot) override {
    ++setups;
    if (setup_answers.empty()) throw std::logic_error("no answer queued for the plot setup dialog");
    bool ok = setup_answers.front();
    setup_answers.pop_front();
    if (ok && in_setup) in_setup(plot);
    return ok;
  }
  DropChoice multiFileDropOptions() override { return drop_choice; }
  ScreenSize screen() const override { return {1600, 1200}; }
  void plotReady(Plot&) override { ++ready; }
  void plotClosing(Plot&) override { ++closing; }
  void busyChanged(bool now) override {
    ++busy_changes;
    busy = now;
  }
};

// What the plot setup dialog's OK does to a formula whose text changed.
void retext(Plot& plot, std::size_t formula, const std::string& text) {
  Formula& f = plot.window.definition.formulas[formula];
  f.set_text(text);
  f.points.reset();
  f.needs_recalc = f.changed = 1;
}

class ShellTest : public ::testing::Test {
 protected:
  ShellTest() {
    config.drop_prompt = 0;
    config.load_prompt = 0;
    config.use_obj = 0;
    config.objdir = dir.path("");
  }

  int open_plots() {
    int n = 0;
    for (const auto& plot : shell.plots()) n += !plot->closed;
    return n;
  }

  testing::TempDir dir;
  Configuration config;
  ScriptedUi ui;
  ScriptedFace face;
  Shell shell{config, ui, face};
};

TEST_F(ShellTest, AFileBecomesAPlotWithTheLowestFreeWindowNumber) {
  const std::string a = dir.write("a.dat", "1 10\n2 20\n3 30\n");
  const std::string b = dir.write("b.dat", "1 1\n2 4\n3 9\n");
  Plot* first = shell.open_file(a);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->number, 141);
  EXPECT_EQ(first->window.setup_from, "Setup From:  Internal Defaults");
  EXPECT_EQ(first->window.definition.formulas[1].text(), "C1");
  EXPECT_EQ(first->window.plot_y_max, 3);
  EXPECT_EQ(face.ready, 1);
  EXPECT_FALSE(face.busy);  // released at the end
  EXPECT_EQ(face.busy_changes, 2);

  Plot* second = shell.open_file(b);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->number, 142);
  EXPECT_EQ(second->window.rect.left - first->window.rect.left, 30);  // cascaded

  ASSERT_TRUE(shell.close_plot(*first));
  EXPECT_EQ(shell.data_files().size(), 1u);  // a.dat went with its only plot
  Plot* third = shell.open_file(a);
  ASSERT_NE(third, nullptr);
  EXPECT_EQ(third->number, 141);
  EXPECT_TRUE(ui.messages().empty());

  shell.close_all_plots();
  EXPECT_TRUE(shell.plots().empty());
  EXPECT_TRUE(shell.data_files().empty());
}

TEST_F(ShellTest, NothingIsPlottedFromAFileThatCannotBeLoaded) {
  EXPECT_EQ(shell.open_file(dir.path("missing.dat")), nullptr);
  EXPECT_EQ(ui.lastMessage().caption, "Error!");
  EXPECT_EQ(ui.lastMessage().text.rfind("Can't open file:  " + dir.path("missing.dat") + ":\n\n", 0), 0u);
  EXPECT_EQ(shell.open_file(dir.write("one.dat", "5\n")), nullptr);
  EXPECT_EQ(ui.lastMessage().caption, "File Format Error!");
  EXPECT_TRUE(shell.plots().empty());
  EXPECT_TRUE(shell.data_files().empty());
  EXPECT_EQ(face.ready, 0);
}

TEST_F(ShellTest, ThePromptSettingOpensTheSetupAndCancelClosesThePlot) {
  const std::string a = dir.write("a.dat", "1 10\n2 20\n3 30\n");
  config.load_prompt = 3;  // no setup file is bound to .dat: the dialog opens
  face.setup_answers = {false};
  EXPECT_EQ(shell.open_file(a), nullptr);
  EXPECT_EQ(face.setups, 1);
  EXPECT_EQ(face.closing, 1);
  EXPECT_TRUE(shell.plots().empty());
  EXPECT_TRUE(shell.data_files().empty());

  face.setup_answers = {true};
  face.in_setup = [](Plot& plot) { retext(plot, 1, "C2"); };
  Plot* plot = shell.open_file(a);
  ASSERT_NE(plot, nullptr);
  EXPECT_EQ(plot->window.plot_y_max, 30);

  config.load_prompt = 0;
  EXPECT_NE(shell.open_file(a), nullptr);
  EXPECT_EQ(face.setups, 2);
}

TEST_F(ShellTest, NoValuesToPlotAsksToReturnToTheSetup) {
  const std::string a = dir.write("a.dat", "1 10\n2 20\n3 30\n");
  config.default_plot.definition.formulas = {Formula("L"), Formula("C2 ? C1 > 5")};
  ui.queueAnswer(Answer::Yes);
  face.setup_answers = {true};
  face.in_setup = [](Plot& plot) { retext(plot, 1, "C2 ? C1 > 1"); };
  Plot* plot = shell.open_file(a);
  ASSERT_NE(plot, nullptr);
  ASSERT_EQ(ui.messages().size(), 1u);
  EXPECT_EQ(ui.messages()[0].text,
            "The boolean conditions resulted in no values to plot.  Return to plot setup window?");
  EXPECT_EQ(ui.messages()[0].caption, "Error!");
  EXPECT_EQ(ui.messages()[0].buttons, Buttons::YesNo);
  EXPECT_EQ(plot->window.plot_y_min, 20);

  ui.reset();
  ui.queueAnswer(Answer::No);
  config.default_plot.definition.formulas = {Formula("L"), Formula("C2 ? C1 > 5")};
  EXPECT_EQ(shell.open_file(a), nullptr);
  EXPECT_EQ(open_plots(), 1);
}

TEST_F(ShellTest, ThePlotSetupOfAnOpenPlotReopensWhileNothingIsLeftToPlot) {
  Plot* plot = shell.open_file(dir.write("a.dat", "1 10\n2 20\n3 30\n"));
  ASSERT_NE(plot, nullptr);
  face.setup_answers = {true, true};
  int round = 0;
  face.in_setup = [&round](Plot& p) { retext(p, 1, ++round == 1 ? "C2 ? C1 > 5" : "C2 ? C1 > 2"); };
  shell.plot_setup_command(*plot);
  EXPECT_EQ(face.setups, 2);
  ASSERT_EQ(ui.messages().size(), 1u);
  EXPECT_EQ(ui.messages()[0].text, "Boolean conditions resulted in not enough data for a valid plot!");
  EXPECT_EQ(ui.messages()[0].caption, "Error!");
  EXPECT_FALSE(plot->window.no_points);

  face.setup_answers = {false};  // Cancel changes nothing
  shell.plot_setup_command(*plot);
  EXPECT_EQ(plot->window.definition.formulas[1].text(), "C2 ? C1 > 2");

  // Lines excluded from the dialog (its view window) count even when it is cancelled.
  face.setup_answers = {false};
  face.in_setup = {};
  const int ready = face.ready;
  shell.plot_setup_command(*plot);
  EXPECT_EQ(face.ready, ready);  // nothing changed: nothing drawn again
  plot->window.data->set_included(2, true);
  face.setup_answers = {false};
  plot->window.data->set_included(3, false);
  plot->lines_changed = true;
  shell.plot_setup_command(*plot);
  EXPECT_EQ(face.ready, ready + 1);
  EXPECT_FALSE(plot->lines_changed);
  EXPECT_TRUE(plot->window.no_points);  // line 3 held the only point the condition keeps
}

TEST_F(ShellTest, ExcludingAllButOneLineAsksForTheDataAgain) {
  const std::string a = dir.write("a.dat", "1 5\n2 0\n3 0\n");
  config.default_plot.definition.formulas = {Formula("L"), Formula("1/C2")};
  ui.queueCalculationChoice(CalculationAction::ExcludeLine, true);
  ui.queueAnswer(Answer::No);  // no re-including
  EXPECT_EQ(shell.open_file(a), nullptr);
  ASSERT_FALSE(ui.messages().empty());
  EXPECT_EQ(ui.lastMessage().caption, "Not Enough Data!");
  EXPECT_EQ(ui.lastMessage().text,
            "Not enough data remains included for a valid plot.  The window must be destroyed unless all data "
            "is re-included.  Do you wish to re-include the data?");
  EXPECT_TRUE(shell.plots().empty());
  EXPECT_TRUE(shell.data_files().empty());

  // Yes includes every line again; the same answer excludes them again, and No ends it.
  ui.reset();
  ui.queueCalculationChoice(CalculationAction::ExcludeLine, true);
  ui.queueAnswer(Answer::Yes);
  ui.queueCalculationChoice(CalculationAction::ExcludeLine, true);
  ui.queueAnswer(Answer::No);
  EXPECT_EQ(shell.open_file(a), nullptr);
  EXPECT_EQ(ui.calculationErrors().size(), 2u);
  EXPECT_EQ(ui.pendingAnswers(), 0u);
}

TEST_F(ShellTest, ExclusionsInOnePlotRecalculateTheOthersOnTheSameData) {
  config.default_plot.definition.formulas = {Formula("C1"), Formula("S")};
  Plot* first = shell.open_file(dir.write("a.dat", "1 1\n2 0\n3 3\n4 4\n"));
  ASSERT_NE(first, nullptr);
  Plot* second = shell.duplicate_plot(*first);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->number, 142);
  EXPECT_EQ(second->window.data, first->window.data);
  EXPECT_EQ(shell.data_files().size(), 1u);
  const int ready = face.ready;

  // The duplicate divides by column 2: line 2 is excluded, and the first plot's
  // sequence numbers follow (S is recomputed there).
  retext(*second, 1, "1/C2");
  ui.queueCalculationChoice(CalculationAction::ExcludeLine);
  EXPECT_EQ(shell.recalculate(*second, true), Recalculation::Done);
  EXPECT_EQ(first->window.data->included_count(), 3);
  EXPECT_EQ(face.ready, ready + 1);  // the first plot was drawn again
  EXPECT_EQ(first->window.definition.formulas[1].points->value(4), 3);
  EXPECT_EQ(first->window.plot_y_max, 3);

  // Closing one keeps the data set for the other.
  ASSERT_TRUE(shell.close_plot(*second));
  EXPECT_EQ(shell.data_files().size(), 1u);
}

TEST_F(ShellTest, DroppedFilesAreJoinedOrPlottedSeparately) {
  const std::string a = dir.write("a.dat", "1\n2\n3\n");
  const std::string b = dir.write("b.dat", "10\n20\n");
  face.drop_choice = DropChoice::ConcatenateLines;
  shell.drop_files({a, b});
  ASSERT_EQ(open_plots(), 1);
  const DataFile& joined = *shell.plots().back()->window.data;
  EXPECT_EQ(joined.line(1).text(), "1 | 10");
  EXPECT_EQ(joined.line(3).text(), "3");
  EXPECT_EQ(joined.path(), a + " (1st of 2)");

  face.drop_choice = DropChoice::ConcatenateFiles;
  shell.drop_files({a, b});
  ASSERT_EQ(open_plots(), 2);
  EXPECT_EQ(shell.plots().back()->window.data->loaded_count(), 5);

  // Separate plots: the second takes the first one's setup; a file without lines is skipped.
  face.drop_choice = DropChoice::SeparatePlots;
  config.load_prompt = 1;
  face.setup_answers = {true};
  face.in_setup = [](Plot& plot) { retext(plot, 1, "C1*2"); };
  const std::string empty = dir.write("empty.dat", "");
  shell.drop_files({a, empty, b});
  ASSERT_EQ(open_plots(), 4);
  EXPECT_EQ(face.setups, 1);
  EXPECT_EQ(shell.plots().back()->window.definition.formulas[1].text(), "C1*2");
  EXPECT_EQ(shell.plots().back()->window.plot_y_max, 40);
  EXPECT_EQ(ui.lastMessage().text, "No lines read from file " + empty);
  EXPECT_EQ(ui.lastMessage().caption, "File can not be plotted!");

  face.drop_choice = DropChoice::Cancel;
  shell.drop_files({a, b});
  EXPECT_EQ(open_plots(), 4);
}

TEST_F(ShellTest, FilesDroppedOnAPlotJoinItsDataOrTakeItsSetup) {
  const std::string a = dir.write("a.dat", "1 10\n2 20\n3 30\n");
  const std::string b = dir.write("b.dat", "4 40\n5 50\n");
  Plot* plot = shell.open_file(a);
  ASSERT_NE(plot, nullptr);
  retext(*plot, 1, "C2");

  // Joined: the plot setup opens, then the plot is computed over every line.
  face.drop_choice = DropChoice::ConcatenateFiles;
  face.setup_answers = {true};
  shell.drop_on_plot(*plot, {b});
  EXPECT_EQ(face.setups, 1);
  EXPECT_EQ(plot->window.data->loaded_count(), 5);
  EXPECT_EQ(plot->window.plot_y_max, 50);
  EXPECT_EQ(plot_window_title(*plot), "a.dat (1st of 2)");

  // Separate: the new window takes this window's setup without asking.
  face.drop_choice = DropChoice::SeparatePlots;
  shell.drop_on_plot(*plot, {b, dir.path("missing.dat")});
  ASSERT_EQ(open_plots(), 2);
  const Plot& separate = *shell.plots()[1];
  EXPECT_EQ(separate.window.definition.formulas[1].text(), "C2");
  EXPECT_EQ(separate.window.plot_y_max, 50);
  EXPECT_EQ(ui.lastMessage().text, "No lines loaded from file " + dir.path("missing.dat"));
  EXPECT_EQ(face.setups, 1);

  // One plot object opens in a window of its own without the question.
  const std::string object = dir.path("b.zko");
  ASSERT_TRUE(WritePlotObject(object, shell.plots()[1]->window, shell.plots()[1]->object, shell.approval(), ui));
  face.drop_choice = DropChoice::Cancel;
  shell.drop_on_plot(*plot, {object});
  EXPECT_EQ(open_plots(), 3);
}

TEST_F(ShellTest, CommandLinesAndHandOversOpenEveryNameUnlessBusy) {
  const std::string a = dir.write("a b.dat", "1\n2\n");
  const std::string b = dir.write("b.dat", "3\n4\n");
  shell.process_command_line("\"" + a + "\" " + b + "  ");
  EXPECT_EQ(open_plots(), 2);

  const std::string long_name = dir.path(std::string(270, 'x'));
  shell.process_command_line(long_name + " " + b);
  EXPECT_EQ(open_plots(), 3);
  EXPECT_EQ(ui.messages().front().caption, "Filename too long!");

  Shell::BusyScope busy(shell);
  shell.pass_file(b);
  EXPECT_EQ(ui.beeps(), 1);
  EXPECT_EQ(open_plots(), 3);
  shell.drop_files({b});
  EXPECT_EQ(ui.beeps(), 2);
  shell.reset_busy();
  EXPECT_FALSE(shell.busy());
}

TEST_F(ShellTest, ClosingAChangedObjectAsksToSaveIt) {
  const std::string data = dir.write("run.dat", "1 2\n2 3\n3 4\n");
  Plot* plot = shell.open_file(data);
  ASSERT_NE(plot, nullptr);
  const std::string object = dir.path("run.zko");
  ASSERT_TRUE(WritePlotObject(object, plot->window, plot->object, shell.approval(), ui));
  shell.close_all_plots();

  Plot* reopened = shell.open_file(object);
  ASSERT_NE(reopened, nullptr);
  ASSERT_TRUE(reopened->object);
  EXPECT_TRUE(ui.messages().empty());
  EXPECT_TRUE(shell.close_plot(*reopened));  // unchanged: nothing asked
  EXPECT_TRUE(ui.messages().empty());

  reopened = shell.open_file(object);
  ASSERT_NE(reopened, nullptr);
  reopened->window.title = "Changed";
  reopened->window.object_modified = true;
  ui.queueAnswer(Answer::Yes);
  EXPECT_TRUE(shell.close_plot(*reopened));
  EXPECT_EQ(ui.lastMessage().text, "Save changes to plot object " + object + "?");
  EXPECT_EQ(ui.lastMessage().caption, "Save changes?");
  EXPECT_NE(testing::read_file(object).find("title Changed\n"), std::string::npos);
}

}  // namespace
}  // namespace zentrik
