#include "display/Output.h"

#include <gtest/gtest.h>

#include <string>

#include "data/DataFile.h"
#include "data/TempDir.h"
#include "plot/Calculation.h"
#include "plot/Scaling.h"
#include "ui/ScriptedUi.h"

namespace zentrik {
namespace {

// A plot computed and scaled from data lines, as the plot window has it when the
// user chooses Output To File.
class OutputPlot {
 public:
  OutputPlot(const std::string& lines, std::vector<std::string> formulas) : data_("run.dat") {
    data_.store_text(lines);
    window.data = &data_;
    for (auto& text : formulas) window.definition.formulas.emplace_back(std::move(text));
  }

  void compute() {
    prepare_calculation(window);
    CalculationEnvironment calc{ui};
    calc.show_progress = false;
    ASSERT_EQ(calculatePoints(window, calc), CalculationOutcome::Done);
    ScalingEnvironment scaling{ui, defaults, false};
    scale(window, true, scaling);
  }

  std::string all_lines(const OutputOptions& options = {}) {
    std::string text;
    for (const DataLine* line = data_.first_included(); line; line = data_.next_included(line))
      text += output_line(window, line->position(), options);
    return text;
  }

  PointColumns& points(std::size_t formula) { return *window.definition.formulas[formula].points; }
  DataFile& data() { return data_; }

  ScriptedUi ui;
  DefaultPlot defaults;
  PlotWindow window;

 private:
  DataFile data_;
};

TEST(Output, OneLineOfNumbersPerIncludedDataLine) {
  OutputPlot plot("1 10 100\n2 20.5 200\n3 30 300\n4 40 400\n", {"C1", "C2", "C3"});
  plot.data().set_included(3, false);
  plot.compute();
  EXPECT_EQ(plot.all_lines(), "1 10 100\n2 20.5 200\n4 40 400\n");

  OutputOptions commas;
  commas.field_delim = ", ";
  EXPECT_EQ(plot.all_lines(commas), "1, 10, 100\n2, 20.5, 200\n4, 40, 400\n");
  OutputOptions empty_delimiter;
  empty_delimiter.field_delim = "";
  EXPECT_EQ(plot.all_lines(empty_delimiter), "1 10 100\n2 20.5 200\n4 40 400\n");

  plot.window.definition.formulas[1].enabled = false;  // a disabled formula writes no field
  EXPECT_EQ(plot.all_lines(), "1 100\n2 200\n4 400\n");
}

TEST(Output, NumbersTakeThePrecisionsOfTheScaleMarks) {
  OutputPlot plot("1.23456789 12345.678\n2 0.000012345\n", {"C1", "C2"});
  plot.compute();
  plot.window.definition.y_tickprec = 3;
  plot.window.definition.x_tickprec = 2;
  EXPECT_EQ(plot.all_lines(), "1.2 1.23E+04\n2 1.23E-05\n");
  // a precision from a damaged setup file gives digits, never stray bytes
  plot.window.definition.y_tickprec = 80;
  plot.window.definition.x_tickprec = 0;
  EXPECT_EQ(plot.all_lines(), "1 12345.677999999999883584678173065185546875\n"
                              "2 1.23449999999999995419506029770140287382673704996705055236816E-05\n");
}

TEST(Output, IgnoredAndInvalidPoints) {
  OutputPlot plot("1 10 100\n2 20 200\n3 30 300\n", {"C1", "C2", "C3"});
  plot.compute();
  plot.points(1).set_valid(1, false);  // the first Y point of line 1 ignored
  plot.points(0).set_valid(2, false);  // no X value on line 2: no output line at all

  OutputOptions bare;
  bare.inc_x_vals = 0;
  bare.inc_ig_vals = 0;
  EXPECT_EQ(plot.all_lines(bare), "100\n30 300\n");  // no leading delimiter

  OutputOptions holders;
  holders.ignore_place_hold = "NA";
  EXPECT_EQ(plot.all_lines(holders), "1 NA 100\n3 30 300\n");
}

TEST(Output, PointsOffAZoomedPlotStandAsTheirPlaceHolder) {
  OutputPlot plot("1 10\n2 20\n3 30\n", {"C1", "C2"});
  plot.compute();
  plot.points(1).set_in_range(3, false);
  OutputOptions options;
  options.off_place_hold = "off";
  // unzoomed, a point outside fixed ranges is simply left out
  EXPECT_EQ(plot.all_lines(options), "1 10\n2 20\n3\n");
  plot.window.zoomed = true;
  EXPECT_EQ(plot.all_lines(options), "1 10\n2 20\n3 off\n");
  options.inc_off_plot = 0;
  EXPECT_EQ(plot.all_lines(options), "1 10\n2 20\n3\n");
}

TEST(Output, DateAxisValuesAreWrittenAsDates) {
  OutputPlot plot("979536600 1\n979540200 2\n", {"C1", "C2"});
  plot.compute();
  plot.window.definition.log_x = 2;
  plot.window.definition.date_format = "%Y-%m-%d %H:%M";
  EXPECT_EQ(plot.all_lines(), "2001-01-15 05:30 1\n2001-01-15 06:30 2\n");
}

TEST(Output, ToAFileWithProgress) {
  std::string lines;
  for (int k = 1; k <= 2500; ++k) lines += std::to_string(k) + " " + std::to_string(2 * k) + "\n";
  OutputPlot plot(lines, {"C1", "C2"});
  plot.compute();
  plot.ui.reset();
  testing::TempDir dir;
  ASSERT_TRUE(output_to_file(plot.window, {}, dir.path("points.txt"), plot.ui));
  std::string written = testing::read_file(dir.path("points.txt"));
  EXPECT_EQ(written.substr(0, 11), "1 2\n2 4\n3 6");
  EXPECT_EQ(written.size(), lines.size());
  EXPECT_EQ(plot.ui.progressLog(),
            (std::vector<std::string>{"show: \nOutputing . . . (no cancel)", "text: \nOutputing . . .\n\nLine 1000 of 2500",
                                      "text: \nOutputing . . .\n\nLine 2000 of 2500", "hide"}));
}

TEST(Output, FilesThatCannotBeWrittenAreTold) {
  OutputPlot plot("1 10\n2 20\n", {"C1", "C2"});
  plot.compute();
  EXPECT_FALSE(output_to_file(plot.window, {}, "/no/such/folder/points.txt", plot.ui));
  EXPECT_EQ(plot.ui.lastMessage().text, "Can't open /no/such/folder/points.txt");
  EXPECT_EQ(plot.ui.lastMessage().caption, "File Open Error!");

  // a disk that fills up while writing
  std::string lines;
  for (int k = 1; k <= 20000; ++k) lines += std::to_string(k) + " 1\n";
  OutputPlot big(lines, {"C1", "C2"});
  big.compute();
  testing::TempDir dir;
  bool written;
  {
    testing::FileSizeLimit full_disk(4096);
    written = output_to_file(big.window, {}, dir.path("points.txt"), big.ui);
  }
  EXPECT_FALSE(written);
  EXPECT_EQ(big.ui.lastMessage().text, "Error writing " + dir.path("points.txt") + ":\n\nFile too large");
  EXPECT_EQ(big.ui.lastMessage().caption, "File Write Error!");
}

}  // namespace
}  // namespace zentrik
