#include "BatchRun.h"

#include <QImage>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <vector>

#include "data/TempDir.h"
#include "data/download/Download.h"
#include "data/download/TestHttpServer.h"

namespace zentrik {
namespace {

using nlohmann::json;

using Batch = testing::BatchRun;

TEST_F(Batch, PointsAndReportOfAnXYPlot) {
  std::string data = dir.write("run.dat", "1 3 9\n2 7 8\n3 3 7\n4 7 6\n");
  Run points = run({data, "--y", "C2", "--y", "C3", "--output-data", "-"});
  EXPECT_EQ(points.status, 0) << points.err;
  EXPECT_EQ(points.out, "1 3 9\n2 7 8\n3 3 7\n4 7 6\n");
  EXPECT_EQ(points.err, "");

  json r = report({data, "--x", "C1", "--y", "C2", "--y", "C3", "--regress", "on"});
  EXPECT_EQ(r["data"]["loaded"], 4);
  EXPECT_EQ(r["data"]["included"], 4);
  EXPECT_EQ(r["histogram"], false);
  EXPECT_EQ(r["x_axis"]["min"], 1.0);
  EXPECT_EQ(r["x_axis"]["max"], 4.0);
  EXPECT_EQ(r["y_axis"]["min"], 3.0);
  EXPECT_EQ(r["y_axis"]["max"], 9.0);
  ASSERT_EQ(r["formulas"].size(), 2u);
  const json& y = r["formulas"][0];
  EXPECT_EQ(y["text"], "C2");
  EXPECT_EQ(y["quantity"], 4);
  EXPECT_EQ(y["mean"], 5.0);
  EXPECT_EQ(y["std_dev"], 2.0);
  EXPECT_EQ(y["min"], 3.0);
  EXPECT_EQ(y["max"], 7.0);
  EXPECT_EQ(r["formulas"][1]["slope"], -1.0);
  EXPECT_EQ(y["cells"][0], "3");
  EXPECT_EQ(y["cells"][1], "5");
  EXPECT_EQ(r["qty_header"], "Qty");
  // every mark whose tick is drawn, with its label
  ASSERT_FALSE(r["x_axis"]["marks"].empty());
  EXPECT_EQ(r["x_axis"]["marks"][0]["value"], 1.0);
  EXPECT_EQ(r["x_axis"]["marks"][0]["label"], "1");
}

TEST_F(Batch, CalculationErrorsTakeTheCommandLinesAnswer) {
  std::string data = dir.write("run.dat", "1 2\n2 0\n3 4\n4 5\n");
  Run stopped = run({data, "--y", "1/C2", "--output-data", "-"});
  EXPECT_EQ(stopped.status, 1);
  EXPECT_EQ(stopped.out, "");
  EXPECT_EQ(stopped.err, "Calculation Error!: Error:  Divide by zero\n\nFile:  " + data +
                             "\n\nLine Number:  2\n\nFormula:  1/C2\n");

  json excluded = report({data, "--y", "1/C2", "--on-error", "exclude"});
  EXPECT_EQ(excluded["data"]["excluded"], json::array({2}));
  EXPECT_EQ(excluded["data"]["included"], 3);
  EXPECT_EQ(excluded["qty_header"], "Qty   (1 Line Excluded)");

  Run ignored = run({data, "--y", "1/C2", "--on-error", "ignore", "--output-data", "-"});
  EXPECT_EQ(ignored.out, "1 0.5\n2 -1e12\n3 0.25\n4 0.2\n");  // the place holder of an ignored point

  // on the first two lines the plot cannot end there: the line is excluded instead
  Run early = run({data, "--y", "1/C2", "--on-error", "truncate", "--output-data", "-"});
  EXPECT_EQ(early.out, "1 0.5\n3 0.25\n4 0.2\n");
  std::string later = dir.write("later.dat", "1 2\n2 4\n3 0\n4 5\n");
  Run truncated = run({later, "--y", "1/C2", "--on-error", "truncate", "--output-data", "-"});
  EXPECT_EQ(truncated.out, "1 0.5\n2 0.25\n");

  // Excluding all but one line leaves no plot: the data is not included again, nothing is written.
  std::string mostly_zero = dir.write("zero.dat", "1 2\n2 0\n3 0\n");
  const std::string picture = dir.path("zero.png");
  Run one_line = run({mostly_zero, "--y", "1/C2", "--on-error", "exclude", "--export", picture});
  EXPECT_EQ(one_line.status, 1);
  EXPECT_NE(one_line.err.find("Not Enough Data!: Not enough data remains included for a valid plot."),
            std::string::npos)
      << one_line.err;
  EXPECT_FALSE(std::filesystem::exists(picture));

  // Conditions that leave no point: the question is answered No and nothing is drawn.
  Run no_points = run({data, "--y", "C2 ? C1 > 9", "--export", picture});
  EXPECT_EQ(no_points.status, 1);
  EXPECT_NE(no_points.err.find("Error!: The boolean conditions resulted in no values to plot."), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(picture));
}

TEST_F(Batch, LoadOptionsEnterAsInTheDialog) {
  std::string lines;
  for (int k = 1; k <= 30; ++k) lines += std::to_string(k) + " " + std::to_string(k % 3) + "\n";
  std::string data = dir.write("log.dat", lines);
  Run kept = run({data, "--y", "C1", "--skip", "5", "--every", "10", "--keep", "2", "--output-data", "-"});
  EXPECT_EQ(kept.out, "1 6\n2 7\n3 16\n4 17\n5 26\n6 27\n");
  EXPECT_EQ(kept.err, "Load complete.: 6 lines loaded out of 30 lines in file.\n");

  Run where = run({data, "--x", "C1", "--y", "C2", "--where", "c2 = 0", "--output-data", "-"});
  EXPECT_EQ(where.out, "3 0\n6 0\n9 0\n12 0\n15 0\n18 0\n21 0\n24 0\n27 0\n30 0\n");

  // The condition is checked on the first line after the skip: a header need not have its columns.
  std::string headed = dir.write("headed.dat", "run\n" + lines);
  Run header = run({headed, "--skip", "1", "--x", "C1", "--y", "C2", "--where", "C2 > 1", "--output-data", "-"});
  EXPECT_EQ(header.status, 0) << header.err;
  EXPECT_EQ(header.out.substr(0, 12), "2 2\n5 2\n8 2\n");

  Run skipped = run({data, "--skip", "40", "--output-data", "-"});
  EXPECT_EQ(skipped.status, 1);
  EXPECT_NE(skipped.err.find("Skipped whole file!: You asked to skip 40 lines but there were only 30 lines in the "
                             "file.  Would you like to start over?\n"),
            std::string::npos);
}

TEST_F(Batch, FormulasAreCheckedAgainstTheData) {
  std::string data = dir.write("run.dat", "1 2\n2 3\n");
  Run fine = run({data, "--check", "C2*2"});
  EXPECT_EQ(fine.status, 0);
  EXPECT_EQ(fine.out + fine.err, "");
  Run bad = run({data, "--check", "C2*"});
  EXPECT_EQ(bad.status, 1);
  EXPECT_NE(bad.err.find("Error!: "), std::string::npos);
  EXPECT_NE(bad.err.find("new Y formula"), std::string::npos);

  Run bad_y = run({data, "--y", "SIN(", "--output-data", "-"});
  EXPECT_EQ(bad_y.status, 1);
  EXPECT_EQ(bad_y.err.rfind("Error(s) in plot setup!: The following errors were found when loading the plot setup:\n", 0), 0u);
}

TEST_F(Batch, SetupFilesObjectsAndSeveralFiles) {
  std::string data = dir.write("run.dat", "1 2 5\n2 4 6\n3 6 7\n");
  std::string setup = dir.write("two.psu",
                                "ylab Twice\nplot_info\n0 0 0 0 0 1 0 0 0 C1~\n* 1 1 255 0 1 0 29 0 C2*2~\n"
                                "~end_plot_info~\n");
  Run from_setup = run({data, "--setup", setup, "--output-data", "-"});
  EXPECT_EQ(from_setup.out, "1 4\n2 8\n3 12\n");

  std::string more = dir.write("more.dat", "7\n8\n9\n");
  Run joined = run({data, more, "--concatenate", "lines", "--y", "C4", "--output-data", "-"});
  EXPECT_EQ(joined.out, "1 7\n2 8\n3 9\n");

  std::string object = dir.write("run.zko", "#!zentrik " + data +
                                                "\nexclude_lines 1\nversion 3.4\nplot_info\n0 0 0 0 0 1 0 0 0 C1~\n"
                                                "* 1 1 255 0 1 0 29 0 C3~\n~end_plot_info~\nexcludes:\n2\nend_excludes:\n");
  Run opened = run({object, "--output-data", "-"});
  EXPECT_EQ(opened.status, 0) << opened.err;
  EXPECT_EQ(opened.out, "1 5\n3 7\n");

  Run missing = run({dir.path("none.dat"), "--output-data", "-"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err.rfind("Error!: Can't open file:  " + dir.path("none.dat"), 0), 0u);

  // A folder is no setup file and no configuration: said so, and nothing is made.
  const std::string folder = dir.path("");
  Run folder_setup = run({data, "--setup", folder, "--output-data", "-"});
  EXPECT_EQ(folder_setup.status, 1);
  EXPECT_EQ(folder_setup.err, "File Open Error!: Can't open " + folder + "\n");
  Run folder_config = run({data, "--config", folder, "--output-data", "-"});
  EXPECT_EQ(folder_config.status, 1);
  EXPECT_EQ(folder_config.err, "zentrik3: cannot read the configuration file " + folder + ": Is a directory\n");
  EXPECT_EQ(folder_config.out, "");
}

TEST_F(Batch, HistogramBinsInTheReport) {
  std::string data = dir.write("v.dat", "1\n2\n3\n4\n4\n");
  json r = report({data, "--y", "C1", "--histogram"});
  EXPECT_EQ(r["histogram"], true);
  const json& bins = r["formulas"][0]["bins"];
  ASSERT_FALSE(bins.empty());
  int total = 0;
  for (const json& bin : bins) total += bin["count"].get<int>();
  EXPECT_EQ(total, 5);
  EXPECT_EQ(r["largest_bin_count"], r["x_axis"]["max"]);
}

TEST_F(Batch, PicturesOfTheAskedSize) {
  std::string data = dir.write("run.dat", "1 3\n2 7\n3 3\n4 7\n");
  Run png = run({data, "--y", "C2", "--export", dir.path("plot.png"), "--size", "320x240", "--title", "Run 5"});
  EXPECT_EQ(png.status, 0) << png.err;
  QImage image(QString::fromStdString(dir.path("plot.png")));
  EXPECT_EQ(image.width(), 320);
  EXPECT_EQ(image.height(), 240);

  Run svg = run({data, "--y", "C2", "--export", dir.path("plot.svg"), "--title", "Run 5"});
  EXPECT_EQ(svg.status, 0) << svg.err;
  EXPECT_NE(testing::read_file(dir.path("plot.svg")).find("Run 5"), std::string::npos);

  Run pdf = run({data, "--y", "C2", "--export", dir.path("plot.pdf")});
  EXPECT_EQ(testing::read_file(dir.path("plot.pdf")).rfind("%PDF", 0), 0u);

  Run unwritable = run({data, "--y", "C2", "--export", "/no/such/folder/plot.png"});
  EXPECT_EQ(unwritable.status, 1);
  EXPECT_NE(unwritable.err.find("/no/such/folder/plot.png not written"), std::string::npos);
}

TEST_F(Batch, ThePictureTakesTheObjectsSizeUnlessOneIsGiven) {
  std::string data = dir.write("run.dat", "1 2\n2 4\n3 6\n");
  std::string object = dir.write("run.zko", "#!zentrik " + data +
                                                "\nwin_top 100\nwin_left 100\nwin_bottom 500\nwin_right 400\nplot_info\n"
                                                "0 0 0 0 0 1 0 0 0 C1~\n* 1 1 255 0 1 0 29 0 C2~\n~end_plot_info~\n");
  Run own = run({object, "--export", dir.path("own.png")});
  EXPECT_EQ(own.status, 0) << own.err;
  EXPECT_EQ(QImage(QString::fromStdString(dir.path("own.png"))).size(), QSize(300, 400));
  Run given = run({object, "--export", dir.path("given.png"), "--size", "200x150"});
  EXPECT_EQ(QImage(QString::fromStdString(dir.path("given.png"))).size(), QSize(200, 150));

  // a replaced formula of the object is not reported as broken
  std::string broken = dir.write("broken.zko", "#!zentrik " + data +
                                                   "\nplot_info\n0 0 0 0 0 1 0 0 0 C1~\n* 1 1 255 0 1 0 29 0 SIN(~\n"
                                                   "~end_plot_info~\n");
  Run mended = run({broken, "--y", "C2", "--output-data", "-"});
  EXPECT_EQ(mended.status, 0);
  EXPECT_EQ(mended.err, "");
  EXPECT_EQ(mended.out, "1 2\n2 4\n3 6\n");

  std::string huge = dir.write("huge.zko", "#!zentrik " + data + "\nwin_left 0\nwin_right 90000\nplot_info\n"
                                                                    "0 0 0 0 0 1 0 0 0 C1~\n* 1 1 255 0 1 0 29 0 C2~\n~end_plot_info~\n");
  Run refused = run({huge, "--export", dir.path("huge.png")});
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.err, "zentrik3: a picture of 90000 x 400 pixels cannot be drawn (16 to 16000 pixels a side)\n");
}

TEST_F(Batch, TheReportHasEveryDeviationAndAnyFileName) {
  std::string data = dir.write("caf\xe9.dat", "1 1\n2 3\n3 5\n4 11\n");
  json r = report({data, "--x", "C1", "--y", "C2", "--stats", "off"});
  EXPECT_NEAR(r["formulas"][0]["std_dev"].get<double>(), 3.7416573867739413, 1e-15);
  EXPECT_EQ(r["formulas"][0]["cells"], json::array());  // no table drawn
  EXPECT_EQ(r["data"]["path"], dir.path("caf\xef\xbf\xbd.dat"));  // the byte that is no UTF-8 replaced
}

// The sample the README plots: a weather-station log with a date column and its setup.
TEST_F(Batch, TheBundledExamplePlots) {
  const std::string examples = ZENTRIK_EXAMPLES_DIR;
  json r = report({examples + "/weather.dat", "--skip", "1", "--setup", examples + "/weather.psu", "--export",
                   dir.path("weather.png")});
  EXPECT_EQ(r["data"]["included"], 432);
  ASSERT_EQ(r["formulas"].size(), 2u);
  EXPECT_EQ(r["formulas"][0]["description"], "Air temperature (C)");
  EXPECT_EQ(r["x_axis"]["marks"][0]["label"], "1 Mar 00:00");  // a date axis marked every 12 hours
  EXPECT_EQ(r["x_axis"]["marks"][1]["label"], "1 Mar 12:00");
}

// A server that never stops sending, a byte at a time: --timeout ends the run.
TEST_F(Batch, TimeoutEndsADownloadThatCrawls) {
  const DownloadSettings saved = download_settings();
  download_settings().cache_dir = dir.path("cache");
  testing::TestHttpServer server;
  server.route("/slow.dat", testing::Route::trickle(std::chrono::milliseconds(100)));
  const std::string picture = dir.path("slow.png");
  auto start = std::chrono::steady_clock::now();
  Run slow = run({server.url("/slow.dat"), "--timeout", "2", "--export", picture});
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  server.stop();
  download_settings() = saved;
  EXPECT_EQ(slow.status, 1);
  EXPECT_EQ(slow.err, "File Not Downloaded!: Error downloading slow.dat:  the download took longer than 2 seconds\n");
  EXPECT_GE(seconds, 1.9);
  EXPECT_LT(seconds, 4.0);
  EXPECT_FALSE(std::filesystem::exists(picture));
}

}  // namespace
}  // namespace zentrik
