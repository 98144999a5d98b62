#include "app/shell/PlotCommands.h"

#include <gtest/gtest.h>

#include <cmath>
#include <deque>

#include "data/MultiFile.h"
#include "data/TempDir.h"
#include "ui/ScriptedUi.h"

namespace zentrik {
namespace {

class QuietFace : public ShellFace {
 public:
  bool plotSetup(Plot&) override { throw std::logic_error("the plot setup dialog was not expected"); }
  DropChoice multiFileDropOptions() override { return DropChoice::Cancel; }
  ScreenSize screen() const override { return {1600, 1200}; }
  void plotReady(Plot&) override {}
  void plotClosing(Plot&) override { ++closing; }
  void busyChanged(bool) override {}
  int closing = 0;
};

// A prompt answered from a queue that records what it was asked.
struct ScriptedPrompt {
  struct Asked {
    std::string caption, label, initial;
  };
  std::deque<std::optional<std::string>> answers;
  std::vector<Asked> asked;

  TextPrompt prompt() {
    return [this](const std::string& caption, const std::string& label, const std::string& initial) {
      asked.push_back({caption, label, initial});
      if (answers.empty()) throw std::logic_error("no answer queued for the prompt");
      auto answer = answers.front();
      answers.pop_front();
      return answer;
    };
  }
};

class PlotCommandsTest : public ::testing::Test {
 protected:
  PlotCommandsTest() {
    config.drop_prompt = 0;
    config.load_prompt = 0;
    config.use_obj = 0;
    config.objdir = dir.path("");
  }

  Plot& open(const std::string& name, const std::string& text) {
    Plot* plot = shell.open_file(dir.write(name, text));
    if (!plot) throw std::logic_error("the plot did not open");
    ui.reset();
    return *plot;
  }

  // How many computations (calculation or scaling passes) ran since the last reset.
  int passes() const {
    int n = 0;
    for (const std::string& step : ui.progressLog()) n += step.rfind("show:", 0) == 0;
    return n;
  }

  testing::TempDir dir;
  Configuration config;
  ScriptedUi ui;
  QuietFace face;
  Shell shell{config, ui, face};
};

const char* kFourLines = "1 10\n2 20\n3 30\n4 5\n";

TEST_F(PlotCommandsTest, TogglesRecomputeOnlyWhenTurnedOnAndMarkTheObjectChanged) {
  Plot& plot = open("a.dat", kFourLines);
  plot.object.emplace();
  plot.window.regress = 0;

  // Regression lines on: the sums they need are collected by a new pass.
  EXPECT_EQ(toggle_regression(shell, plot).action, WindowAction::Redraw);
  EXPECT_EQ(plot.window.regress, 1);
  EXPECT_GT(passes(), 0);
  EXPECT_EQ(plot.window.definition.formulas[1].statistics.x_sum, 1 + 2 + 3 + 4);
  EXPECT_TRUE(plot.window.object_modified);
  EXPECT_TRUE(plot.object->modified);

  // Off again, and the legend and statistics off: redrawn without a pass.
  ui.reset();
  plot.window.object_modified = plot.object->modified = false;
  EXPECT_EQ(toggle_regression(shell, plot).action, WindowAction::Redraw);
  EXPECT_EQ(toggle_legend(shell, plot).action, WindowAction::Redraw);
  EXPECT_EQ(toggle_statistics(shell, plot).action, WindowAction::Redraw);
  EXPECT_EQ(passes(), 0);
  EXPECT_EQ(plot.window.regress, 0);
  EXPECT_EQ(plot.window.legend, 0);
  EXPECT_EQ(plot.window.showstats, 0);
  EXPECT_TRUE(plot.object->modified);

  // Statistics on computes again; the status bar only lays the window out.
  EXPECT_EQ(toggle_statistics(shell, plot).action, WindowAction::Redraw);
  EXPECT_GT(passes(), 0);
  EXPECT_EQ(toggle_status_bar(shell, plot).action, WindowAction::Relayout);
  EXPECT_EQ(plot.window.status_bar, 0);

  // While the plot computes, a command only beeps.
  plot.calculating = true;
  EXPECT_EQ(toggle_legend(shell, plot).action, WindowAction::None);
  EXPECT_EQ(plot.window.legend, 0);
  EXPECT_EQ(ui.beeps(), 1);
  plot.calculating = false;
}

TEST_F(PlotCommandsTest, TheHistogramSwitchCountsTheBinsAndTheBinCommandsRecountOnlyOnAChange) {
  Plot& plot = open("a.dat", kFourLines);
  Formula& y = plot.window.definition.formulas[1];
  ASSERT_TRUE(y.bins.empty());

  EXPECT_EQ(switch_histogram(shell, plot).action, WindowAction::Redraw);
  EXPECT_EQ(plot.window.definition.xy_or_histo, 1);
  ASSERT_FALSE(y.bins.empty());
  int counted = 0;
  for (const Bin& bin : y.bins) counted += bin.count;
  EXPECT_EQ(counted, 4);

  // Rescale is "Bin All On Entire Plot" now: every formula already bins on the whole plot.
  ASSERT_EQ(y.bin_all, 1);
  ui.reset();
  EXPECT_EQ(rescale(shell, plot).action, WindowAction::None);
  EXPECT_EQ(passes(), 0);

  // Aspect Ratio is "Bin Each Individually": no prompt, the bins are counted again.
  ScriptedPrompt never;
  EXPECT_EQ(aspect_ratio(shell, plot, {}, never.prompt()).action, WindowAction::Redraw);
  EXPECT_TRUE(never.asked.empty());
  EXPECT_EQ(y.bin_all, 0);
  EXPECT_GT(passes(), 0);
  ui.reset();
  EXPECT_EQ(rescale(shell, plot).action, WindowAction::Redraw);
  EXPECT_EQ(y.bin_all, 1);
  EXPECT_GT(passes(), 0);

  // Back to X-Y: only redrawn.
  ui.reset();
  EXPECT_EQ(switch_histogram(shell, plot).action, WindowAction::Redraw);
  EXPECT_EQ(plot.window.definition.xy_or_histo, 0);
  EXPECT_EQ(passes(), 0);
}

TEST_F(PlotCommandsTest, RescaleOffersAutoScaleForFixedAxesAndShrinksAZoomToItsPoints) {
  Plot& plot = open("a.dat", kFourLines);
  PlotDefinition& definition = plot.window.definition;
  definition.auto_y = 0;
  definition.y_from = 0;
  definition.y_to = 100;
  shell.recalculate(plot, true);
  ASSERT_EQ(plot.window.plot_y_max, 100);

  ui.queueAnswer(Answer::No);
  EXPECT_EQ(rescale(shell, plot).action, WindowAction::None);
  ASSERT_EQ(ui.messages().size(), 1u);
  EXPECT_EQ(ui.lastMessage().text, "One or both axes have fixed scales.  Would you like to enable auto-scale?");
  EXPECT_EQ(ui.lastMessage().caption, "Auto-scale?");
  EXPECT_EQ(ui.lastMessage().buttons, Buttons::YesNo);
  EXPECT_EQ(definition.auto_y, 0);
  EXPECT_EQ(plot.window.plot_y_max, 100);

  ui.queueAnswer(Answer::Yes);
  EXPECT_EQ(rescale(shell, plot).action, WindowAction::Redraw);
  EXPECT_EQ(definition.auto_x, 1);
  EXPECT_EQ(definition.auto_y, 1);
  EXPECT_EQ(plot.window.plot_y_min, 1);
  EXPECT_EQ(plot.window.plot_y_max, 4);

  // Both automatic: no question.
  ui.reset();
  EXPECT_EQ(rescale(shell, plot).action, WindowAction::Redraw);
  EXPECT_TRUE(ui.messages().empty());

  // A zoom window: its range shrinks to the extent of the points inside the zoom.
  plot.window.is_zoom_window = plot.window.zoomed = true;
  plot.window.auto_scaled = false;
  plot.window.view_x_lo = -100;
  plot.window.view_x_hi = 100;
  plot.window.view_y_lo = 1.5;
  plot.window.view_y_hi = 3.5;
  EXPECT_EQ(rescale(shell, plot).action, WindowAction::Redraw);
  EXPECT_EQ(plot.window.plot_y_min, 2);
  EXPECT_EQ(plot.window.plot_y_max, 3);
  EXPECT_EQ(plot.window.view_y_lo, 2);
  EXPECT_EQ(plot.window.view_y_hi, 3);
  EXPECT_LT(plot.window.plot_x_min, plot.window.plot_x_max);
  EXPECT_GE(plot.window.plot_x_min, -100);
  EXPECT_LE(plot.window.plot_x_max, 100);
  EXPECT_TRUE(ui.messages().empty());
}

TEST_F(PlotCommandsTest, TheAspectRatioTakesPointOneToTenAndSizesTheWindowFromThePlotHeight) {
  Plot& plot = open("a.dat", kFourLines);
  // inside 500 x 440 with a status bar of 20 and 60 pixels below the axis: h = 360
  const AspectGeometry geometry{500, 440, 20, 50, 60};
  ScriptedPrompt prompt;
  prompt.answers = {"0.1", "10", " 1.5 ", "0.09", "10.1", "wide", ""};

  CommandResult result = aspect_ratio(shell, plot, geometry, prompt.prompt());
  EXPECT_EQ(result.action, WindowAction::Resize);
  EXPECT_EQ(result.width, 36 + 50);
  ASSERT_EQ(prompt.asked.size(), 1u);
  EXPECT_EQ(prompt.asked[0].caption, "Plot Aspect Ratio");
  EXPECT_EQ(prompt.asked[0].label, "Enter the ratio of the X axis to the Y axis:");
  EXPECT_EQ(prompt.asked[0].initial, "1.25");  // (500 - 50) / 360

  result = aspect_ratio(shell, plot, geometry, prompt.prompt());
  EXPECT_EQ(result.action, WindowAction::Resize);
  EXPECT_EQ(result.width, 3600 + 50);
  result = aspect_ratio(shell, plot, geometry, prompt.prompt());
  EXPECT_EQ(result.width, 540 + 50);
  EXPECT_TRUE(ui.messages().empty());

  for (int refused = 0; refused < 4; ++refused) {
    ui.reset();
    EXPECT_EQ(aspect_ratio(shell, plot, geometry, prompt.prompt()).action, WindowAction::None);
    ASSERT_EQ(ui.messages().size(), 1u) << prompt.asked.back().initial;
    EXPECT_EQ(ui.lastMessage().text, "Aspect ratio must be between .1 and 10.");
    EXPECT_EQ(ui.lastMessage().caption, "Illegal value!");
  }

  // Cancel changes nothing; the width is truncated, and never left of the axis.
  ui.reset();
  prompt.answers = {std::nullopt};
  EXPECT_EQ(aspect_ratio(shell, plot, geometry, prompt.prompt()).action, WindowAction::None);
  EXPECT_TRUE(ui.messages().empty());
  EXPECT_EQ(aspect_ratio_width(0.333, geometry), 119 + 50);
  EXPECT_EQ(aspect_ratio_width(2, AspectGeometry{500, 70, 20, 50, 60}), 51);
  EXPECT_EQ(aspect_ratio_width(2, AspectGeometry{500, 420, 0, 50, 60}), 720 + 50);
}

TEST_F(PlotCommandsTest, SetTitleStoresOneLineAndMarksTheObjectOnlyWhenItChanged) {
  Plot& plot = open("a.dat", kFourLines);
  plot.object.emplace();
  plot.window.title = "Old";
  ScriptedPrompt prompt;
  prompt.answers = {std::nullopt, "Old", "  Run 5\nsecond line  "};

  EXPECT_EQ(set_title(shell, plot, prompt.prompt()).action, WindowAction::None);
  ASSERT_EQ(prompt.asked.size(), 1u);
  EXPECT_EQ(prompt.asked[0].caption, "Plot Title");
  EXPECT_EQ(prompt.asked[0].label, "Enter the main title for this plot:");
  EXPECT_EQ(prompt.asked[0].initial, "Old");
  EXPECT_EQ(set_title(shell, plot, prompt.prompt()).action, WindowAction::None);
  EXPECT_FALSE(plot.window.object_modified);

  EXPECT_EQ(set_title(shell, plot, prompt.prompt()).action, WindowAction::Redraw);
  EXPECT_EQ(plot.window.title, "Run 5 second line");  // a line feed would break the object file
  EXPECT_TRUE(plot.window.object_modified);
  EXPECT_EQ(plot_window_title(plot), "Run 5 second line (Object )");
}

TEST_F(PlotCommandsTest, SaveObjectAsProposesTheDataNameBindsThePlotAndFollowsTheFolder) {
  Plot& plot = open("run.dat", kFourLines);
  EXPECT_EQ(save_object_label(plot), "Save Object");
  EXPECT_FALSE(can_save_object(plot));

  const FileDialogRequest request = save_object_as_request(shell, plot);
  EXPECT_EQ(request.title, "Save Plot Object");
  EXPECT_EQ(request.filter, "All Files|*.*||");
  EXPECT_EQ(request.file_name, "run.zko");
  EXPECT_EQ(request.folder, dir.path(""));

  // Cancel writes nothing.
  EXPECT_FALSE(save_object_as(shell, plot, [](const FileDialogRequest&) { return std::nullopt; }));
  EXPECT_FALSE(plot.object);

  std::filesystem::create_directory(dir.path("objects"));
  const std::string path = dir.path("objects/run.zko");
  EXPECT_TRUE(save_object_as(shell, plot, [&](const FileDialogRequest&) { return path; }));
  ASSERT_TRUE(plot.object);
  EXPECT_EQ(plot.object->object_file, path);
  EXPECT_EQ(testing::read_file(path).rfind("#!zentrik " + dir.path("run.dat") + "\n", 0), 0u);
  EXPECT_EQ(config.objdir, dir.path("objects"));
  EXPECT_EQ(save_object_label(plot), "Save Object (Not Needed)");
  EXPECT_EQ(save_object_as_request(shell, plot).file_name, "run.zko");

  // A change makes saving needed; Save writes the bound file again.
  toggle_legend(shell, plot);
  EXPECT_EQ(save_object_label(plot), "Save (Needed)");
  EXPECT_TRUE(save_object(shell, plot));
  EXPECT_EQ(save_object_label(plot), "Save Object (Not Needed)");
  EXPECT_NE(testing::read_file(path).find("\nlegend 0\n"), std::string::npos);

  // Frozen default directories stay where they are.
  config.freeze_dirs = 1;
  EXPECT_TRUE(save_object_as(shell, plot, [&](const FileDialogRequest&) { return dir.path("other.zko"); }));
  EXPECT_EQ(config.objdir, dir.path("objects"));

  // The plot's own data file is never written over.
  ui.reset();
  EXPECT_FALSE(save_object_as(shell, plot, [&](const FileDialogRequest&) { return dir.path("run.dat"); }));
  EXPECT_EQ(ui.lastMessage().text,
            "The plot object would be written over its own data file " + dir.path("run.dat") + ".  Choose another name.");
  EXPECT_EQ(ui.lastMessage().caption, "Error!");
  EXPECT_EQ(testing::read_file(dir.path("run.dat")), kFourLines);

  // A zoom window saves nothing, un-zoomed or not; a missing objects folder opens the home folder.
  plot.window.is_zoom_window = plot.window.unzoomed = true;
  ui.reset();
  EXPECT_FALSE(save_object(shell, plot));
  EXPECT_FALSE(save_object_as(shell, plot, [](const FileDialogRequest&) -> std::optional<std::string> {
    throw std::logic_error("no dialog in a zoom window");
  }));
  EXPECT_EQ(ui.beeps(), 2);
  config.objdir = dir.path("gone");
  const char* home = std::getenv("HOME");
  EXPECT_EQ(save_object_as_request(shell, plot).folder, home ? home : "/");
}

TEST_F(PlotCommandsTest, UpdateNowAsksToCloseTheViewWindowAndReloads) {
  Plot& plot = open("a.dat", kFourLines);
  DataFile& data = *plot.window.data;
  dir.write("a.dat", std::string(kFourLines) + "5 50\n6 60\n");
  data.view_window_open = true;
  int closed_views = 0;
  auto close_view = [&] {
    ++closed_views;
    data.view_window_open = false;
  };

  ui.queueAnswer(Answer::No);
  update_now(shell, plot, close_view);
  ASSERT_EQ(ui.messages().size(), 1u);
  EXPECT_EQ(ui.lastMessage().text,
            "Updates can not be done while the view window is open.  Do you want to close the view window and "
            "proceed with the update?");
  EXPECT_EQ(ui.lastMessage().caption, "Close view window?");
  EXPECT_EQ(ui.lastMessage().buttons, Buttons::YesNo);
  EXPECT_EQ(closed_views, 0);
  EXPECT_EQ(data.loaded_count(), 4);

  ui.queueAnswer(Answer::Yes);
  update_now(shell, plot, close_view);
  EXPECT_EQ(closed_views, 1);
  EXPECT_EQ(data.loaded_count(), 6);
  EXPECT_EQ(data.plot_count, 1);

  // Without a view window it reloads at once; with two files it only beeps.
  ui.reset();
  dir.write("a.dat", kFourLines);
  update_now(shell, plot, close_view);
  EXPECT_EQ(data.loaded_count(), 4);
  EXPECT_TRUE(ui.messages().empty());
  ASSERT_TRUE(add_file(data, dir.write("b.dat", "7 70\n8 80\n"), kConcatenateFiles, ui));
  EXPECT_FALSE(can_update(plot));
  update_now(shell, plot, close_view);
  EXPECT_EQ(ui.beeps(), 1);
  EXPECT_EQ(data_file_names(data),
            (std::vector<std::string>{dir.path("a.dat"), dir.path("b.dat") + "  (lines 5-6)"}));
}

TEST_F(PlotCommandsTest, TooLittleDataAsksToIncludeItAgainAndClosesThePlotOnNo) {
  Plot& plot = open("a.dat", kFourLines);
  DataFile& data = *plot.window.data;
  for (int position = 1; position <= 3; ++position) data.set_included(position, false);

  ui.queueAnswer(Answer::Yes);
  EXPECT_EQ(ensure_enough_data(shell, plot), DataCheck::Recomputed);
  ASSERT_EQ(ui.messages().size(), 1u);
  EXPECT_EQ(ui.lastMessage().text,
            "Not enough data remains included for a valid plot.  The window must be destroyed unless all data is "
            "re-included.  Do you wish to re-include the data?");
  EXPECT_EQ(ui.lastMessage().caption, "Not Enough Data!");
  EXPECT_EQ(data.included_count(), 4);
  EXPECT_EQ(ensure_enough_data(shell, plot), DataCheck::Enough);

  // A command that needs the plot asks too; No closes it.
  for (int position = 1; position <= 3; ++position) data.set_included(position, false);
  ui.queueAnswer(Answer::No);
  EXPECT_EQ(toggle_legend(shell, plot).action, WindowAction::Closed);
  EXPECT_EQ(face.closing, 1);
  EXPECT_TRUE(shell.plots().empty());
}

}  // namespace
}  // namespace zentrik

namespace zentrik {
namespace {

TEST_F(PlotCommandsTest, TheKeysMoveAndStretchAZoomWindow) {
  Plot& plot = open("a.dat", "1 1\n2 2\n3 3\n4 4\n5 5\n6 6\n7 7\n8 8\n9 9\n");
  EXPECT_EQ(pan_zoom(shell, plot, PanKey::Left).action, WindowAction::None);  // not a zoom window
  Plot* zoom = shell.zoom_plot(plot, ZoomBox{2, 6, 2, 6});
  ASSERT_NE(zoom, nullptr);
  EXPECT_EQ(zoom->window.plot_x_min, 2);

  EXPECT_EQ(pan_zoom(shell, *zoom, PanKey::Right).action, WindowAction::Redraw);  // a quarter of 4
  EXPECT_EQ(zoom->window.plot_x_min, 3);
  EXPECT_EQ(zoom->window.plot_x_max, 7);
  EXPECT_EQ(zoom->window.view_x_lo, 3);
  EXPECT_EQ(zoom->window.saved_zoom.plot_x_max, 7);
  pan_zoom(shell, *zoom, PanKey::Down);
  EXPECT_EQ(zoom->window.plot_y_min, 1);
  EXPECT_EQ(zoom->window.plot_y_max, 5);
  pan_zoom(shell, *zoom, PanKey::Widen);  // a sixteenth of 4 at each end
  EXPECT_EQ(zoom->window.plot_x_min, 2.75);
  EXPECT_EQ(zoom->window.plot_x_max, 7.25);
  pan_zoom(shell, *zoom, PanKey::Narrow);
  EXPECT_DOUBLE_EQ(zoom->window.plot_x_min, 2.75 + 4.5 / 16);

  // On a logarithmic axis the logarithms move: 10 .. 1000 goes to 31.6 .. 3162.
  zoom->window.definition.log_y = 1;
  zoom->window.plot_y_min = 10;
  zoom->window.plot_y_max = 1000;
  pan_zoom(shell, *zoom, PanKey::Up);
  EXPECT_NEAR(zoom->window.view_y_lo, std::pow(10.0, 1.5), 1e-9);
  EXPECT_NEAR(zoom->window.view_y_hi, std::pow(10.0, 3.5), 1e-9);
}

}  // namespace
}  // namespace zentrik
