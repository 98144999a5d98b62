#include <gtest/gtest.h>

#include <QClipboard>
#include <QCheckBox>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLineEdit>
#include <QMimeData>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/dialogs/AnswerNextDialog.h"
#include "app/desktop/PlotOutput.h"
#include "app/dialogs/FileDialogs.h"
#include "app/dialogs/OutputOptionsDialog.h"
#include "display/ComputedPlot.h"

namespace zentrik {
namespace {

using testing::ComputedPlot;

constexpr char kFourLines[] = "1 10\n2 20\n3 12345.678\n4 7\n";

std::string read_all(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// Four lines, Y = C2 and C2*2, the second formula's point on line 2 ignored.
class PlotOutputTest : public ::testing::Test {
 protected:
  PlotOutputTest() : plot(kFourLines, {"C2", "C2*2"}) {}

  void SetUp() override {
    ASSERT_TRUE(folder.isValid());
    plot.definition().y_tickprec = 3;
    plot.compute();
    plot.y(2).points->set_valid(2, false);
    config.outputdir = folder.path().toStdString();
  }
  void TearDown() override { set_file_chooser({}); }

  std::string path(const std::string& name) const { return folder.filePath(QString::fromStdString(name)).toStdString(); }

  // The save dialog answers with answer and remembers what it was asked.
  void choose(std::optional<std::string> answer) {
    set_file_chooser([this, answer](const FileDialogRequest& request, FileDialogKind kind) {
      requests.push_back(request);
      EXPECT_EQ(kind, FileDialogKind::Save);
      return answer;
    });
  }

  ComputedPlot plot;
  Configuration config;
  PaintMemory memory;
  QTemporaryDir folder;
  std::vector<FileDialogRequest> requests;
};

TEST_F(PlotOutputTest, OutputToFileWritesThePointsWithTheOptionsChosenAndFollowsTheFolder) {
  std::filesystem::create_directory(path("out"));
  const std::string out = path("out/points.txt");
  choose(out);
  answer_next_dialog<OutputOptionsDialog>([](OutputOptionsDialog& dialog) {
    EXPECT_TRUE(dialog.offPlotBox()->isHidden());
    dialog.delimiterField()->setText(",");
    dialog.okButton()->click();
  });
  ASSERT_TRUE(output_plot_to_file(plot.window, config, plot.ui, nullptr));
  EXPECT_EQ(read_all(out), "1,10,20\n2,20,-1e12\n3,1.23E+04,2.47E+04\n4,7,14\n");
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].title, "Output Plot Data");
  EXPECT_EQ(requests[0].filter, "All Files|*.*||");
  EXPECT_EQ(requests[0].folder, folder.path().toStdString());
  EXPECT_TRUE(requests[0].confirm_overwrite);
  EXPECT_EQ(config.outputdir, path("out"));
  EXPECT_TRUE(plot.ui.messages().empty());
  const std::vector<std::string> progress = plot.ui.progressLog();
  EXPECT_NE(std::find(progress.begin(), progress.end(), "show: \nOutputing . . . (no cancel)"), progress.end());

  // frozen folders stay; no X values, no place holder for the ignored point
  config.freeze_dirs = 1;
  const std::string again = path("again.txt");
  choose(again);
  answer_next_dialog<OutputOptionsDialog>([](OutputOptionsDialog& dialog) {
    dialog.includeXBox()->click();
    dialog.ignoredBox()->click();
    dialog.okButton()->click();
  });
  ASSERT_TRUE(output_plot_to_file(plot.window, config, plot.ui, nullptr));
  EXPECT_EQ(read_all(again), "10 20\n20\n1.23E+04 2.47E+04\n7 14\n");
  EXPECT_EQ(config.outputdir, path("out"));
}

TEST_F(PlotOutputTest, OutputToFileStopsOnCancelAndTellsWhyTheFileCannotBeOpened) {
  choose(path("never.txt"));
  answer_next_dialog<OutputOptionsDialog>([](OutputOptionsDialog& dialog) { dialog.cancelButton()->click(); });
  EXPECT_FALSE(output_plot_to_file(plot.window, config, plot.ui, nullptr));
  EXPECT_TRUE(requests.empty()) << "no file is asked for after Cancel";

  choose(std::nullopt);
  answer_next_dialog<OutputOptionsDialog>([](OutputOptionsDialog& dialog) { dialog.okButton()->click(); });
  EXPECT_FALSE(output_plot_to_file(plot.window, config, plot.ui, nullptr));
  EXPECT_TRUE(plot.ui.messages().empty());

  const std::string unreachable = path("missing/points.txt");
  choose(unreachable);
  answer_next_dialog<OutputOptionsDialog>([](OutputOptionsDialog& dialog) { dialog.okButton()->click(); });
  EXPECT_FALSE(output_plot_to_file(plot.window, config, plot.ui, nullptr));
  ASSERT_EQ(plot.ui.messages().size(), 1u);
  EXPECT_EQ(plot.ui.lastMessage().text, "Can't open " + unreachable);
  EXPECT_EQ(plot.ui.lastMessage().caption, "File Open Error!");
  EXPECT_EQ(config.outputdir, folder.path().toStdString()) << "a failed output does not move the folder";
  EXPECT_FALSE(std::filesystem::exists(path("never.txt")));
}

TEST_F(PlotOutputTest, AWindowWithoutPointsIsRefusedNotRead) {
  ComputedPlot unready(kFourLines);  // never computed
  choose(path("x.txt"));
  EXPECT_FALSE(output_plot_to_file(unready.window, config, unready.ui, nullptr));
  EXPECT_FALSE(copy_plot_to_clipboard(unready.window, config, memory, QSize(100, 100), unready.ui));
  EXPECT_FALSE(export_plot_picture(unready.window, config, memory, QSize(100, 100), unready.ui, nullptr));
  ASSERT_EQ(unready.ui.messages().size(), 3u);
  for (const ScriptedUi::Shown& shown : unready.ui.messages()) {
    EXPECT_EQ(shown.text, "The plot is not ready yet; try again once it has been drawn.");
    EXPECT_EQ(shown.caption, "Error!");
  }
  EXPECT_TRUE(requests.empty());
}

TEST_F(PlotOutputTest, CopyToClipboardOffersPngSvgAndAnImageOfTheSizeAsked) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  clipboard->setText("before");
  ASSERT_TRUE(copy_plot_to_clipboard(plot.window, config, memory, QSize(320, 240), plot.ui));
  EXPECT_TRUE(plot.ui.messages().empty());
  const QMimeData* data = clipboard->mimeData();
  ASSERT_NE(data, nullptr);
  EXPECT_TRUE(data->hasFormat("image/png"));
  EXPECT_TRUE(data->hasFormat("image/svg+xml"));
  EXPECT_TRUE(data->hasImage());

  const QImage png = QImage::fromData(data->data("image/png"), "PNG");
  ASSERT_FALSE(png.isNull());
  EXPECT_EQ(png.size(), QSize(320, 240));
  int dark = 0;
  for (int y = 0; y < png.height(); ++y)
    for (int x = 0; x < png.width(); ++x)
      if (qGray(png.pixel(x, y)) < 128) ++dark;
  EXPECT_GT(dark, 400) << "the frame, marks and labels are drawn";
  EXPECT_EQ(qvariant_cast<QImage>(data->imageData()).size(), QSize(320, 240));

  const QByteArray svg = data->data("image/svg+xml");
  EXPECT_TRUE(svg.contains("<svg")) << svg.left(200).toStdString();
  EXPECT_TRUE(svg.contains("viewBox=\"0 0 320 240\"")) << svg.left(400).toStdString();

  // a picture that cannot be made leaves the clipboard as it was
  clipboard->setText("kept");
  EXPECT_FALSE(copy_plot_to_clipboard(plot.window, config, memory, QSize(0, 240), plot.ui));
  ASSERT_EQ(plot.ui.messages().size(), 1u);
  EXPECT_EQ(plot.ui.lastMessage().text, "Metafile not created, plot not copied!");
  EXPECT_EQ(plot.ui.lastMessage().caption, "Error!");
  EXPECT_EQ(clipboard->text(), "kept");
}

TEST_F(PlotOutputTest, PrintMakesANamedPageAndTellsWhenItCannot) {
  EXPECT_EQ(print_document_name("Weather station\tlog of the third week"), "Weather_station_log_of_the_thi");
  EXPECT_EQ(print_document_name("short"), "short");
  // characters, not bytes: a name is never cut inside a character
  EXPECT_EQ(print_document_name("Température über 30 °C, Zürich Süd"), "Température_über_30_°C,_Zürich");

  const std::string pdf = path("print.pdf");
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QString::fromStdString(pdf));
  ASSERT_TRUE(print_plot(printer, plot.window, config, memory, QSize(500, 490), "Run 5 of the long test series", plot.ui));
  EXPECT_EQ(printer.docName(), "Run_5_of_the_long_test_series");
  EXPECT_TRUE(plot.ui.messages().empty());
  const std::string written = read_all(pdf);
  EXPECT_GT(written.size(), 1000u);
  EXPECT_EQ(written.substr(0, 5), "%PDF-");

  QPrinter nowhere(QPrinter::HighResolution);
  nowhere.setOutputFormat(QPrinter::PdfFormat);
  nowhere.setOutputFileName(QString::fromStdString(path("missing/print.pdf")));
  EXPECT_FALSE(print_plot(nowhere, plot.window, config, memory, QSize(500, 490), "Run", plot.ui));
  ASSERT_EQ(plot.ui.messages().size(), 1u);
  EXPECT_EQ(plot.ui.lastMessage().text, "Print operation could not be completed.");
  EXPECT_EQ(plot.ui.lastMessage().caption, "Print error!");

  // the print dialog offers no page ranges and no selection; its Cancel prints nothing
  answer_next_dialog<QPrintDialog>([](QPrintDialog& dialog) {
    EXPECT_FALSE(dialog.testOption(QAbstractPrintDialog::PrintPageRange));
    EXPECT_FALSE(dialog.testOption(QAbstractPrintDialog::PrintSelection));
    EXPECT_EQ(dialog.printer()->docName(), "Run_5");
    dialog.reject();
  });
  EXPECT_FALSE(print_plot_with_dialog(plot.window, config, memory, QSize(500, 490), "Run 5", plot.ui, nullptr));
  EXPECT_EQ(plot.ui.messages().size(), 1u);
}

TEST_F(PlotOutputTest, ExportPictureWritesEachFormatByItsExtension) {
  for (const std::string name : {"plot.png", "plot.SVG", "plot.pdf"}) {
    requests.clear();
    const std::string file = path(name);
    choose(file);
    ASSERT_TRUE(export_plot_picture(plot.window, config, memory, QSize(400, 300), plot.ui, nullptr)) << name;
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].title, "Export Picture");
    EXPECT_EQ(requests[0].filter, "PNG Images|*.png|SVG Drawings|*.svg|PDF Documents|*.pdf||");
    EXPECT_EQ(requests[0].folder, folder.path().toStdString());
    EXPECT_TRUE(requests[0].confirm_overwrite);
    const std::string written = read_all(file);
    if (name == "plot.png") {
      EXPECT_EQ(QImage(QString::fromStdString(file)).size(), QSize(400, 300));
    } else if (name == "plot.SVG") {
      EXPECT_NE(written.find("viewBox=\"0 0 400 300\""), std::string::npos);
    } else {
      EXPECT_EQ(written.substr(0, 5), "%PDF-");
    }
  }
  EXPECT_TRUE(plot.ui.messages().empty());
  // only the three pictures: nothing made aside is left behind
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path().toStdString()), {}), 3);
}

TEST_F(PlotOutputTest, ExportPictureFailuresSayWhyAndKeepTheOldFile) {
  const std::string old_file = path("old.png");
  std::ofstream(old_file) << "the old picture";
  choose(old_file);
  EXPECT_FALSE(export_plot_picture(plot.window, config, memory, QSize(0, 300), plot.ui, nullptr));
  EXPECT_EQ(plot.ui.lastMessage().text,
            "Can't write " + old_file + ":\n\nThe picture size 0 x 300 is outside 1 to 16000 pixels.");
  EXPECT_EQ(plot.ui.lastMessage().caption, "Export Error!");
  EXPECT_EQ(read_all(old_file), "the old picture");

  const std::string unknown = path("plot.jpg");
  choose(unknown);
  EXPECT_FALSE(export_plot_picture(plot.window, config, memory, QSize(400, 300), plot.ui, nullptr));
  EXPECT_EQ(plot.ui.lastMessage().text,
            "Can't write " + unknown +
                ":\n\nA picture is exported as a PNG image (.png), an SVG drawing (.svg) or a PDF document (.pdf); "
                "the name must end in one of these.");
  EXPECT_FALSE(std::filesystem::exists(unknown));

  const std::string unreachable = path("missing/plot.svg");
  choose(unreachable);
  EXPECT_FALSE(export_plot_picture(plot.window, config, memory, QSize(400, 300), plot.ui, nullptr));
  EXPECT_EQ(plot.ui.lastMessage().text, "Can't write " + unreachable + ":\n\nNo such file or directory");
  EXPECT_EQ(plot.ui.lastMessage().caption, "Export Error!");
  EXPECT_EQ(plot.ui.messages().size(), 3u);
  EXPECT_EQ(config.outputdir, folder.path().toStdString());

  // a good export moves the folder along
  std::filesystem::create_directory(path("pictures"));
  choose(path("pictures/plot.png"));
  EXPECT_TRUE(export_plot_picture(plot.window, config, memory, QSize(400, 300), plot.ui, nullptr));
  EXPECT_EQ(config.outputdir, path("pictures"));
}

}  // namespace
}  // namespace zentrik
