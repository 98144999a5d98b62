#include <gtest/gtest.h>

#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTest>

#include "AnswerNextDialog.h"
#include "app/dialogs/AboutDialog.h"
#include "app/dialogs/ColorChoice.h"
#include "app/dialogs/FontChoice.h"
#include "app/dialogs/HistogramBinsDialog.h"
#include "app/dialogs/MarginsDialog.h"
#include "app/dialogs/MultiFileDropDialog.h"
#include "app/dialogs/PromptDialog.h"
#include "ui/ScriptedUi.h"

namespace zentrik {
namespace {

const std::string kTwoBins = "There must be at least two bins to make a histogram.";

void type_into(QLineEdit* field, const QString& text) {
  field->selectAll();
  QTest::keyClicks(field, text);
}

void type_into(QSpinBox* field, const QString& text) {
  field->selectAll();
  QTest::keyClicks(field, text);
}

TEST(HistogramBinsDialog, RefusesFewerThanTwoBinsAndAsksAgain) {
  ScriptedUi ui;
  HistogramBinsDialog dialog(0, ui);
  EXPECT_EQ(dialog.windowTitle(), "Default Histogram Bins");
  EXPECT_EQ(dialog.label()->text(), "Enter the number of histogram bins for new formulas:");
  EXPECT_EQ(dialog.text(), "2");  // a default below 2 is shown raised

  for (const QString entry : {"1", "0", "many", ""}) {
    type_into(dialog.field(), entry);
    dialog.okButton()->click();
    EXPECT_NE(dialog.result(), QDialog::Accepted) << entry.toStdString();
  }
  ASSERT_EQ(ui.messages().size(), 4u);
  for (const ScriptedUi::Shown& shown : ui.messages()) {
    EXPECT_EQ(shown.text, kTwoBins);
    EXPECT_EQ(shown.caption, "Error!");
  }

  type_into(dialog.field(), "2");
  dialog.okButton()->click();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.bins(), 2);
  EXPECT_EQ(ui.messages().size(), 4u);
}

TEST(HistogramBinsDialog, OkSetsTheBinsAndCancelKeepsThem) {
  ScriptedUi ui;
  int bins = 29;
  answer_next_dialog<HistogramBinsDialog>([](HistogramBinsDialog& dialog) {
    EXPECT_EQ(dialog.text(), "29");
    type_into(dialog.field(), "1");
    dialog.okButton()->click();  // refused: the prompt stays for another try
    type_into(dialog.field(), "40");
    dialog.okButton()->click();
  });
  EXPECT_TRUE(exec_histogram_bins(bins, ui, nullptr));
  EXPECT_EQ(bins, 40);
  ASSERT_EQ(ui.messages().size(), 1u);
  EXPECT_EQ(ui.lastMessage().text, kTwoBins);

  answer_next_dialog<HistogramBinsDialog>([](HistogramBinsDialog& dialog) {
    type_into(dialog.field(), "7");
    dialog.cancelButton()->click();
  });
  EXPECT_FALSE(exec_histogram_bins(bins, ui, nullptr));
  EXPECT_EQ(bins, 40);

  // OK on the number shown changes nothing, except a default raised to 2
  answer_next_dialog<HistogramBinsDialog>([](HistogramBinsDialog& dialog) { dialog.okButton()->click(); });
  EXPECT_FALSE(exec_histogram_bins(bins, ui, nullptr));
  bins = 1;
  answer_next_dialog<HistogramBinsDialog>([](HistogramBinsDialog& dialog) { dialog.okButton()->click(); });
  EXPECT_TRUE(exec_histogram_bins(bins, ui, nullptr));
  EXPECT_EQ(bins, 2);
}

TEST(MarginsDialog, OkReturnsBothMarginsCancelKeepsThem) {
  int x = 15, y = 15;
  answer_next_dialog<MarginsDialog>([](MarginsDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "Plot Margins");
    EXPECT_EQ(dialog.xMargin(), 15);
    type_into(dialog.xField(), "25");
    type_into(dialog.yField(), "0");
    dialog.okButton()->click();
  });
  EXPECT_TRUE(exec_plot_margins(x, y, nullptr));
  EXPECT_EQ(x, 25);
  EXPECT_EQ(y, 0);

  answer_next_dialog<MarginsDialog>([](MarginsDialog& dialog) {
    dialog.xField()->setValue(99);
    dialog.cancelButton()->click();
  });
  EXPECT_FALSE(exec_plot_margins(x, y, nullptr));
  EXPECT_EQ(x, 25);
  EXPECT_EQ(y, 0);
}

TEST(MarginsDialog, MarginsStayWithinWhatAPlotCanDraw) {
  MarginsDialog dialog(-5, 20000);
  EXPECT_EQ(dialog.xMargin(), 0);
  EXPECT_EQ(dialog.yMargin(), 16000);
  // a typed number past the largest margin takes no further digits, letters none at all
  type_into(dialog.xField(), "123456");
  EXPECT_EQ(dialog.xMargin(), 12345);
  type_into(dialog.yField(), "x7");
  EXPECT_EQ(dialog.yMargin(), 7);
}

TEST(PromptDialog, OfferedEntriesMakeAnEditableDropDown) {
  PromptDialog plain(nullptr, "Date Filename", "Enter the name of the data file to load", "run.dat");
  EXPECT_EQ(plain.windowTitle(), "Date Filename");
  EXPECT_EQ(plain.label()->text(), "Enter the name of the data file to load");
  EXPECT_EQ(plain.offeredEntries(), nullptr);
  EXPECT_EQ(plain.text(), "run.dat");
  QTest::keyClicks(plain.field(), "log.dat");  // the preset text is selected: typing replaces it
  EXPECT_EQ(plain.text(), "log.dat");

  PromptDialog offered(nullptr, "Download URL", "Enter the URL of the data file to download", "http://a/new.dat",
                       {"http://a/1.dat", "https://b/2.dat"});
  ASSERT_NE(offered.offeredEntries(), nullptr);
  EXPECT_EQ(offered.offeredEntries()->count(), 2);
  EXPECT_EQ(offered.text(), "http://a/new.dat");
  offered.offeredEntries()->setCurrentIndex(1);
  EXPECT_EQ(offered.text(), "https://b/2.dat");
  QTest::keyClicks(offered.field(), "?x=1");
  EXPECT_EQ(offered.text(), "https://b/2.dat?x=1");
  EXPECT_EQ(offered.offeredEntries()->count(), 2);  // what is typed is not added to the list
}

TEST(PromptDialog, PromptForTextGivesTheTextOnOkAndNothingOnCancel) {
  answer_next_dialog<PromptDialog>([](PromptDialog& dialog) {
    EXPECT_EQ(dialog.text(), "http://a/1.dat");
    dialog.offeredEntries()->setCurrentIndex(1);
    dialog.okButton()->click();
  });
  EXPECT_EQ(prompt_for_text(nullptr, "Download URL", "Enter the URL of the data file to download", "http://a/1.dat",
                            {"http://a/1.dat", "https://b/2.dat"}),
            "https://b/2.dat");

  answer_next_dialog<PromptDialog>([](PromptDialog& dialog) {
    QTest::keyClicks(dialog.field(), "typed");
    dialog.cancelButton()->click();
  });
  EXPECT_EQ(prompt_for_text(nullptr, "Date Filename", "Enter the name of the data file to load", ""), std::nullopt);

  // a prompter set in the dialog's place answers instead, seeing what would be shown
  std::vector<PromptRequest> asked;
  set_text_prompter([&](const PromptRequest& request) -> std::optional<std::string> {
    asked.push_back(request);
    return "scripted";
  });
  EXPECT_EQ(prompt_for_text(nullptr, "Download URL", "Enter the URL", "u0", {"u1", "u2"}), "scripted");
  set_text_prompter({});
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].caption, "Download URL");
  EXPECT_EQ(asked[0].label, "Enter the URL");
  EXPECT_EQ(asked[0].initial, "u0");
  EXPECT_EQ(asked[0].offered, (std::vector<std::string>{"u1", "u2"}));
}

TEST(FontChoice, TheChooserSetsItsFieldsAndKeepsTheRest) {
  FontRecord record;
  record.height = -17;
  record.width = 3;
  record.escape = 5;
  record.orient = 7;
  record.weight = 600;
  record.italic = 1;
  record.underline = 1;
  record.strike = 0;
  record.charset = 161;
  record.outprec = 4;
  record.clipprec = 128;
  record.quality = 2;
  record.pitch = 49;
  record.face = "DejaVu Serif";

  QFont font = qfont_from_record(record);
  EXPECT_EQ(font.pixelSize(), 17);
  EXPECT_EQ(font.weight(), 600);
  EXPECT_TRUE(font.italic());
  EXPECT_TRUE(font.underline());
  EXPECT_FALSE(font.strikeOut());
  EXPECT_EQ(font.family(), "DejaVu Serif");

  const FontRecord unchanged = record;
  record_from_qfont(record, font);  // the round trip keeps every field
  EXPECT_EQ(record.height, -17);
  EXPECT_EQ(record.weight, 600);
  EXPECT_EQ(record.face, "DejaVu Serif");
  EXPECT_EQ(record.italic, 1);
  EXPECT_EQ(record.underline, 1);

  font.setPixelSize(22);
  font.setWeight(QFont::Bold);
  font.setItalic(false);
  font.setUnderline(false);
  font.setStrikeOut(true);
  font.setFamily("DejaVu Sans");
  record_from_qfont(record, font);
  EXPECT_EQ(record.height, -22);
  EXPECT_EQ(record.weight, 700);
  EXPECT_EQ(record.italic, 0);
  EXPECT_EQ(record.underline, 0);
  EXPECT_EQ(record.strike, 1);
  EXPECT_EQ(record.face, "DejaVu Sans");
  EXPECT_EQ(record.width, unchanged.width);
  EXPECT_EQ(record.escape, unchanged.escape);
  EXPECT_EQ(record.orient, unchanged.orient);
  EXPECT_EQ(record.charset, unchanged.charset);
  EXPECT_EQ(record.outprec, unchanged.outprec);
  EXPECT_EQ(record.clipprec, unchanged.clipprec);
  EXPECT_EQ(record.quality, unchanged.quality);
  EXPECT_EQ(record.pitch, unchanged.pitch);
}

TEST(FontChoice, PointSizesAndWeightsBecomeWhatARecordHolds) {
  FontRecord record;
  record.weight = 0;  // 0 draws as normal
  record.height = -12;
  EXPECT_EQ(qfont_from_record(record).weight(), QFont::Normal);

  const double dpi = QGuiApplication::primaryScreen()->logicalDotsPerInchY();
  QFont points("DejaVu Sans");
  points.setPointSize(18);
  points.setWeight(QFont::Weight(1000));
  record_from_qfont(record, points);
  EXPECT_EQ(record.height, -static_cast<int>(std::lround(18 * dpi / 72)));
  EXPECT_EQ(record.weight, 900);
  points.setWeight(QFont::Weight(50));
  record_from_qfont(record, points);
  EXPECT_EQ(record.weight, 100);
}

TEST(ColorChoice, RedIsInTheLowByte) {
  EXPECT_EQ(qcolor_from_bgr(0x0000FF), QColor(255, 0, 0));
  EXPECT_EQ(qcolor_from_bgr(0xA65300), QColor(0x00, 0x53, 0xA6));
  EXPECT_EQ(bgr_from_qcolor(QColor(255, 0, 0)), 0x0000FFu);
  EXPECT_EQ(bgr_from_qcolor(QColor(0x12, 0x34, 0x56, 0x80)), 0x563412u);  // alpha dropped
  EXPECT_EQ(bgr_from_qcolor(QColor::fromHsv(240, 255, 255)), 0xFF0000u);   // pure blue, given as HSV
  for (uint32_t bgr : {0x000000u, 0xFFFFFFu, 0xA65300u, 0x010203u}) EXPECT_EQ(bgr_from_qcolor(qcolor_from_bgr(bgr)), bgr);
}

TEST(MultiFileDropDialog, EachButtonGivesItsChoice) {
  {
    MultiFileDropDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), "");
    EXPECT_EQ(dialog.label()->text(), "Multi-File Drop Options:");
    EXPECT_EQ(dialog.concatenateLinesButton()->text(), "Concatenate &Lines");
    EXPECT_EQ(dialog.concatenateFilesButton()->text(), "Concatenate &Files");
    EXPECT_EQ(dialog.separatePlotsButton()->text(), "&Separate Plot For Each File");
    EXPECT_EQ(dialog.cancelButton()->text(), "&Cancel");
    EXPECT_EQ(dialog.helpButton()->text(), "&Help");
    EXPECT_TRUE(dialog.concatenateLinesButton()->isDefault());
    EXPECT_EQ(dialog.choice(), DropChoice::Cancel);
  }
  const std::pair<QPushButton* (MultiFileDropDialog::*)() const, DropChoice> cases[] = {
      {&MultiFileDropDialog::concatenateLinesButton, DropChoice::ConcatenateLines},
      {&MultiFileDropDialog::concatenateFilesButton, DropChoice::ConcatenateFiles},
      {&MultiFileDropDialog::separatePlotsButton, DropChoice::SeparatePlots},
      {&MultiFileDropDialog::cancelButton, DropChoice::Cancel}};
  for (const auto& [button, expected] : cases) {
    answer_next_dialog<MultiFileDropDialog>([button](MultiFileDropDialog& dialog) { (dialog.*button)()->click(); });
    EXPECT_EQ(exec_multi_file_drop(nullptr), expected);
  }
  // Enter takes the default, Escape cancels
  answer_next_dialog<MultiFileDropDialog>(
      [](MultiFileDropDialog& dialog) { QTest::keyClick(&dialog, Qt::Key_Return); });
  EXPECT_EQ(exec_multi_file_drop(nullptr), DropChoice::ConcatenateLines);
  answer_next_dialog<MultiFileDropDialog>(
      [](MultiFileDropDialog& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); });
  EXPECT_EQ(exec_multi_file_drop(nullptr), DropChoice::Cancel);
}

TEST(AboutDialog, ShowsNameAndVersionCentredOnTheDesktop) {
  AboutDialog about;
  EXPECT_EQ(about.windowTitle(), "About Zentrik");
  EXPECT_EQ(about.nameLabel()->text(), "Zentrik");
  EXPECT_EQ(about.versionLabel()->text(), "Version 3.4");
  about.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
  const QPoint centre = QGuiApplication::primaryScreen()->availableGeometry().center();
  EXPECT_LE((about.frameGeometry().center() - centre).manhattanLength(), 2);
  about.okButton()->click();
  EXPECT_EQ(about.result(), QDialog::Accepted);

  DisclaimerDialog disclaimer;
  EXPECT_EQ(disclaimer.headingLabel()->text(), "DISCLAIMER:");
  EXPECT_EQ(disclaimer.warrantyLabel()->text(),
            "This software is provided AS IS, with no waranty expressed or implied.  Responsibility for "
            "interpreting and determining the accuracy of this program's output rests solely on the user.");
  EXPECT_EQ(disclaimer.liabilityLabel()->text(),
            "Vantrell and it's parties are in no way liable for any losses or  injuries incurred as a result of "
            "any use of this or any other program.");
  EXPECT_EQ(disclaimer.okButton()->text(), "OK");
}

}  // namespace
}  // namespace zentrik
