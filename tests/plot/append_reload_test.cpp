// A plot following a file that another program appends to. After every reload the
// data set, each formula's points, the statistics and the scaling must be those that
// a fresh load and calculation of the file as it then is give; a file that only grew
// is read and computed from its new lines on, anything else from its start.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "data/DataFile.h"
#include "data/TempDir.h"
#include "data/Updates.h"
#include "plot/Calculation.h"
#include "plot/Scaling.h"
#include "ui/ScriptedUi.h"

namespace zentrik {
namespace {

std::string data_line(int k) {
  return std::to_string(k) + " " + std::to_string((k * 37) % 101) + " " + std::to_string(k % 7 - 3) + "\n";
}

std::string data_lines(int first, int last) {
  std::string text;
  for (int k = first; k <= last; ++k) text += data_line(k);
  return text;
}

// One way of loading and plotting the file.
struct Scenario {
  const char* name;
  LoadOptionValues options;
  std::vector<std::string> formulas;
  std::vector<int32_t> excluded = {};  // positions excluded after the load
  bool computes_new_lines_only = true;  // else a reload recomputes every line
};

// A data set loaded from the file with its plot calculated and scaled.
struct Plotted {
  std::unique_ptr<DataFile> data;
  PlotWindow window;
};

class FollowingAGrowingFile : public ::testing::Test {
 protected:
  void SetUp() override { path = dir.write("log.dat", data_lines(1, 30)); }

  void append(const std::string& text) { std::ofstream(path, std::ios::app | std::ios::binary) << text; }

  std::unique_ptr<Plotted> plot(const Scenario& scenario) {
    auto plotted = std::make_unique<Plotted>();
    bool drop_prompt = true;
    ui.queueLoadOptions(scenario.options);
    LoadEnvironment env{ui, nullptr, &drop_prompt};
    plotted->data = std::make_unique<DataFile>(path, env);
    EXPECT_GE(plotted->data->included_count(), 2);
    for (int32_t position : scenario.excluded) plotted->data->set_included(position, false);
    plotted->window.data = plotted->data.get();
    for (const std::string& text : scenario.formulas) plotted->window.definition.formulas.emplace_back(text);
    plotted->window.regress = 1;  // the statistics take in the regression sums too
    calculate(plotted->window);
    return plotted;
  }

  void calculate(PlotWindow& window) {
    CalculationEnvironment env{ui};
    env.show_progress = false;
    prepare_calculation(window);
    ASSERT_EQ(calculatePoints(window, env), CalculationOutcome::Done);
    DefaultPlot defaults;
    ScalingEnvironment scaling{ui, defaults, false};
    ASSERT_EQ(scale(window, true, scaling), ScaleResult::Done);
  }

  // The reload as the plot window takes it. Tells whether the data set only took in
  // the appended lines, and whether the calculation was to compute only those.
  struct Follow {
    bool appended = false;
    bool new_lines_only = false;
  };
  Follow follow(Plotted& plotted) {
    Follow result;
    DataFile& data = *plotted.data;
    const uint64_t before = data.line_changes();
    reload(data, ui);
    int32_t from = 0;
    result.appended = data.appended_since(before, from);
    prepare_for_reload(plotted.window);
    result.new_lines_only = plotted.window.append_from > 0;
    calculate(plotted.window);
    return result;
  }

  // The followed plot against a fresh load and calculation of the file.
  void expect_as_fresh(const Plotted& followed, const Scenario& scenario) {
    std::unique_ptr<Plotted> fresh = plot(scenario);
    const DataFile& data = *followed.data;
    const DataFile& reference = *fresh->data;
    ASSERT_EQ(data.loaded_count(), reference.loaded_count());
    EXPECT_EQ(data.included_count(), reference.included_count());
    EXPECT_EQ(data.read_count, reference.read_count);
    EXPECT_EQ(data.source(1)->last_line, reference.source(1)->last_line);
    for (int32_t k = 1; k <= data.loaded_count(); ++k) {
      ASSERT_EQ(data.line(k).text(), reference.line(k).text()) << "line " << k;
      ASSERT_EQ(data.line(k).number, reference.line(k).number) << "line " << k;
    }
    const FormulaList& formulas = followed.window.definition.formulas;
    const FormulaList& expected = fresh->window.definition.formulas;
    for (std::size_t f = 0; f < formulas.size(); ++f) {
      SCOPED_TRACE(formulas[f].text());
      ASSERT_EQ(formulas[f].points->size(), expected[f].points->size());
      for (int32_t k = 1; k <= data.loaded_count(); ++k) {
        if (!data.line(k).included()) continue;  // an excluded line's point is never read
        const PointColumns& points = *formulas[f].points;
        const PointColumns& want = *expected[f].points;
        const auto i = static_cast<std::size_t>(k);
        ASSERT_EQ(points.valid(i), want.valid(i)) << "line " << k;
        ASSERT_EQ(points.in_range(i), want.in_range(i)) << "line " << k;
        if (!want.valid(i)) continue;
        ASSERT_EQ(points.value(i), want.value(i)) << "line " << k;
        ASSERT_EQ(points.x(i), want.x(i)) << "line " << k;
      }
      const FormulaStatistics& stats = formulas[f].statistics;
      const FormulaStatistics& want = expected[f].statistics;
      EXPECT_EQ(stats.quantity, want.quantity);
      EXPECT_EQ(stats.y_sum, want.y_sum);
      EXPECT_EQ(stats.y_min, want.y_min);
      EXPECT_EQ(stats.y_max, want.y_max);
      EXPECT_EQ(stats.x_sum, want.x_sum);
      EXPECT_EQ(stats.slope, want.slope);
      EXPECT_EQ(stats.first_x, want.first_x);
    }
    const PlotWindow& window = followed.window;
    EXPECT_EQ(window.plot_x_min, fresh->window.plot_x_min);
    EXPECT_EQ(window.plot_x_max, fresh->window.plot_x_max);
    EXPECT_EQ(window.plot_y_min, fresh->window.plot_y_min);
    EXPECT_EQ(window.plot_y_max, fresh->window.plot_y_max);
  }

  // The messages shown but the load's report of the lines it kept.
  std::vector<std::string> errors() const {
    std::vector<std::string> found;
    for (const ScriptedUi::Shown& shown : ui.messages())
      if (shown.caption != "Load complete.") found.push_back(shown.text);
    return found;
  }

  testing::TempDir dir;
  ScriptedUi ui;
  std::string path;
};

TEST_F(FollowingAGrowingFile, EachAppendGivesWhatAFreshLoadAndCalculationGive) {
  std::string long_line = "99 1";  // stored as two lines, both with three fields or more
  while (long_line.size() < 5000) long_line += " 2";
  const Scenario scenarios[] = {
      {"plain", {}, {"C1", "C2", "C3*2+1"}},
      {"skip, 2 of every 3, condition",
       {3, 2, 3, "C2 > 20 & N = 3 & L < 1000"},
       {"C1", "C2 \\ C1*2 ? C3 > -2", "C3"}},
      {"excluded lines", {}, {"C1", "C2", "C2+C3"}, {4, 9, 10}},
      {"S with every line included", {}, {"C1", "S*2", "C2-F2"}},
      {"S with lines excluded", {}, {"C1", "S", "C2"}, {2, 7}, false},
      {"AVG", {}, {"C1", "AVG(C2, 4)"}, {}, false},
      {"condition reads the sequence", {0, 1, 1, "S % 3 # 1"}, {"S", "C2"}},
  };
  for (const Scenario& scenario : scenarios) {
    SCOPED_TRACE(scenario.name);
    ASSERT_NO_FATAL_FAILURE(SetUp());
    std::unique_ptr<Plotted> followed = plot(scenario);
    const std::vector<std::pair<const char*, std::string>> steps = {
        {"complete lines", data_lines(31, 37)},
        {"a last line without its end", "38 4 1"},
        {"its end and more lines", "5\r\n" + data_lines(39, 45)},
        {"half a long line", long_line.substr(0, 4500)},
        {"the rest of the long line", long_line.substr(4500) + "\n" + data_lines(46, 47)},
        {"nothing", ""},
    };
    for (const auto& [what, text] : steps) {
      SCOPED_TRACE(what);
      append(text);
      const Follow taken = follow(*followed);
      EXPECT_TRUE(taken.appended);
      EXPECT_EQ(taken.new_lines_only, scenario.computes_new_lines_only);
      ASSERT_NO_FATAL_FAILURE(expect_as_fresh(*followed, scenario));
    }
    EXPECT_EQ(errors(), std::vector<std::string>{});
  }
}

TEST_F(FollowingAGrowingFile, AFileThatDidNotOnlyGrowIsReadAndComputedAgainWhole) {
  const Scenario scenario{"plain", {}, {"C1", "C2"}};
  const std::string first_lines = data_lines(1, 30);
  const std::vector<std::pair<const char*, std::function<void()>>> changes = {
      {"a line rewritten in place, same length",
       [&] {
         std::string text = first_lines + data_lines(31, 33);
         text.replace(text.find("\n5 ") + 1, 2, "6 ");
         std::fstream(path, std::ios::in | std::ios::out | std::ios::binary) << text;
       }},
      {"the file cut short", [&] { std::filesystem::resize_file(path, first_lines.size() - 40); }},
      {"the same lines in another file",
       [&] {
         const std::string next = dir.write("log.next", first_lines + data_lines(31, 35));
         std::filesystem::rename(next, path);
       }},
  };
  for (const auto& [what, change] : changes) {
    SCOPED_TRACE(what);
    ASSERT_NO_FATAL_FAILURE(SetUp());
    std::unique_ptr<Plotted> followed = plot(scenario);
    change();
    const Follow taken = follow(*followed);
    EXPECT_FALSE(taken.appended);
    EXPECT_FALSE(taken.new_lines_only);
    ASSERT_NO_FATAL_FAILURE(expect_as_fresh(*followed, scenario));
    // and the next append to the new content is read as an append again
    append(data_lines(50, 52));
    EXPECT_TRUE(follow(*followed).appended);
    ASSERT_NO_FATAL_FAILURE(expect_as_fresh(*followed, scenario));
  }
  EXPECT_EQ(errors(), std::vector<std::string>{});
}

}  // namespace
}  // namespace zentrik
