// The modal dialogs of QtUi: File Load Options on a real file, Calculation Error!,
// and the two dialogs that choose where the configuration file lives.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

#include "ModalAnswer.h"
#include "app/qtui/CalculationErrorWindow.h"
#include "app/qtui/ConfigurationFilenameWindow.h"
#include "app/qtui/ExistingConfigurationWindow.h"
#include "app/qtui/FileLoadOptionsWindow.h"
#include "app/qtui/QtUi.h"
#include "data/FileAccess.h"
#include "data/LoadOptionsDialog.h"
#include "data/TempDir.h"
#include "ui/ScriptedUi.h"

namespace zentrik {
namespace {

using test::buttonLabelled;
using test::whenModal;

QStringList labelTexts(QWidget* window) {
  QStringList texts;
  for (QLabel* label : window->findChildren<QLabel*>()) texts << label->text();
  return texts;
}

// OK and Cancel of the dialogs whose buttons are labelled as the desktop labels them.
QPushButton* dialogButton(QWidget* window, QDialogButtonBox::StandardButton which) {
  auto* box = window->findChild<QDialogButtonBox*>();
  return box ? box->button(which) : nullptr;
}

// The real dialog behind the window, with a look at the window while it counts.
class WatchedOptions : public FileLoadOptionsDialog {
 public:
  explicit WatchedOptions(FileLoadOptionsDialog& real) : real_(real) {}
  const LoadOptionValues& values() const override { return real_.values(); }
  std::string captionLine() const override { return real_.captionLine(); }
  std::string lineText() const override { return real_.lineText(); }
  bool showNextLine() override { return real_.showNextLine(); }
  bool accept(const LoadOptionValues& entered) override { return real_.accept(entered); }
  void countLines() override {
    if (window) {
      caption_while_counting = window->findChild<QLabel*>("captionLine")->text();
      for (QPushButton* button : window->findChildren<QPushButton*>())
        if (button->isEnabled() && button->isVisible()) enabled_while_counting << button->text();
    }
    real_.countLines();
  }

  QWidget* window = nullptr;
  QString caption_while_counting;
  QStringList enabled_while_counting;

 private:
  FileLoadOptionsDialog& real_;
};

TEST(QtUiFileLoadOptions, StepsThroughTheFileCountsChecksTheConditionAndTakesTheValues) {
  testing::TempDir dir;
  const std::string path = dir.write("run.dat", "1 10\n2 20\n3 30\n");
  OpenFile file(path);
  ASSERT_TRUE(file.ok());
  ScriptedUi scripted;
  bool drop_prompt = true;
  LoadOptionValues initial;
  initial.load_condition = "C1>0";
  LoadOptionsDialog options(file.fd(), path, initial, drop_prompt, scripted);
  WatchedOptions watched(options);
  std::vector<std::string> help_pages;
  FileLoadOptionsWindow window(watched, [&](const std::string& page) { help_pages.push_back(page); });
  watched.window = &window;
  window.show();

  EXPECT_EQ(window.windowTitle(), "File Load Options");
  for (const char* text : {"Initially skip", "Lines", "Load", "out of every", "lines",
                           "Only load lines where the following conditions are TRUE"})
    EXPECT_TRUE(labelTexts(&window).contains(text)) << text;
  auto* caption_line = window.findChild<QLabel*>("captionLine");
  auto* line = window.findChild<QLineEdit*>("line");
  auto* skip = window.findChild<QSpinBox*>("initialSkip");
  auto* load = window.findChild<QSpinBox*>("loadnum");
  auto* every = window.findChild<QSpinBox*>("readEvery");
  auto* condition = window.findChild<QLineEdit*>("condition");
  auto* dont_show = buttonLabelled<QCheckBox>(&window, "Don't show this dialog box before &File Load");
  auto* ok = buttonLabelled(&window, "&OK");
  auto* next_line = buttonLabelled(&window, "&Show Next Line");
  auto* count = buttonLabelled(&window, "Cou&nt Lines");
  auto* defaults = buttonLabelled(&window, "Set As &Defaults");
  auto* help = buttonLabelled(&window, "&Help");
  for (QObject* control : std::initializer_list<QObject*>{caption_line, line, skip, load, every, condition,
                                                          dont_show, ok, next_line, count, defaults, help,
                                                          buttonLabelled(&window, "&Cancel")})
    ASSERT_NE(control, nullptr);
  EXPECT_FALSE(defaults->isEnabled());
  EXPECT_EQ(skip->minimum(), 0);
  EXPECT_EQ(skip->maximum(), 4000000);
  EXPECT_EQ(condition->text(), "C1>0");
  EXPECT_TRUE(line->isReadOnly());

  // Line by line to the end of the file, which beeps and greys the button.
  EXPECT_EQ(caption_line->text(), QString::fromStdString("Line 1 from " + path));
  EXPECT_EQ(line->text(), "1 10");
  QTest::mouseClick(next_line, Qt::LeftButton);
  QTest::mouseClick(next_line, Qt::LeftButton);
  EXPECT_EQ(caption_line->text(), QString::fromStdString("Line 3 from " + path));
  EXPECT_EQ(line->text(), "3 30");
  EXPECT_EQ(scripted.beeps(), 0);
  QTest::mouseClick(next_line, Qt::LeftButton);
  EXPECT_EQ(scripted.beeps(), 1);
  EXPECT_FALSE(next_line->isEnabled());
  EXPECT_EQ(line->text(), "3 30");

  // Counting: the buttons wait, the total is reported, line 1 is shown again.
  QTest::mouseClick(count, Qt::LeftButton);
  EXPECT_EQ(watched.caption_while_counting, "Counting lines . . .");
  EXPECT_EQ(watched.enabled_while_counting, QStringList{"&Help"});
  ASSERT_EQ(scripted.messages().size(), 1u);
  EXPECT_EQ(scripted.lastMessage().text, "Found 3 lines in " + path + ".");
  EXPECT_EQ(scripted.lastMessage().caption, "Done.");
  EXPECT_EQ(caption_line->text(), QString::fromStdString("Line 1 out of 3 in " + path));
  EXPECT_EQ(line->text(), "1 10");
  for (QAbstractButton* button : {ok, next_line, count, buttonLabelled(&window, "&Cancel")})
    EXPECT_TRUE(button->isEnabled()) << button->text().toStdString();

  QTest::mouseClick(help, Qt::LeftButton);
  EXPECT_EQ(help_pages, std::vector<std::string>{"data-files.md"});

  // A condition that fails on the line shown keeps the dialog open.
  condition->setText("C5>0");
  QTest::mouseClick(ok, Qt::LeftButton);
  EXPECT_EQ(scripted.lastMessage().text, "Error in conditional formula:\n\nInvalid column number:  5");
  EXPECT_EQ(scripted.lastMessage().caption, "Error!");
  EXPECT_TRUE(window.isVisible());
  EXPECT_NE(window.result(), QDialog::Accepted);
  EXPECT_TRUE(drop_prompt);

  // Good values close it with OK; the check box turns the prompt off.
  condition->setText("c1 > 1");
  skip->setValue(1);
  load->setValue(2);
  every->setValue(3);
  dont_show->setChecked(true);
  QTest::mouseClick(ok, Qt::LeftButton);
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(window.result(), QDialog::Accepted);
  EXPECT_FALSE(drop_prompt);
  EXPECT_EQ(options.values().initial_skip, 1);
  EXPECT_EQ(options.values().loadnum, 2);
  EXPECT_EQ(options.values().read_every, 3);
  EXPECT_EQ(options.values().load_condition, "C1 > 1");
}

TEST(QtUiFileLoadOptions, QtUiReturnsOkOrCancelAndHidesHelpWithoutAHook) {
  testing::TempDir dir;
  const std::string path = dir.write("run.dat", "1 10\n2 20\n");
  OpenFile file(path);
  ScriptedUi scripted;
  bool drop_prompt = true;
  LoadOptionValues initial;
  initial.read_every = 0;  // from a plot object: shown as it is, not changed to 1
  initial.initial_skip = 5000000;
  LoadOptionsDialog options(file.fd(), path, initial, drop_prompt, scripted);
  QtUi ui;

  bool help_shown = true;
  whenModal([&](QWidget* modal) {
    help_shown = buttonLabelled(modal, "&Help")->isVisible();
    buttonLabelled(modal, "&Cancel")->click();
  });
  EXPECT_FALSE(ui.fileLoadOptions(options));
  EXPECT_FALSE(help_shown);
  EXPECT_TRUE(drop_prompt);

  ui.setHelp([](const std::string&) {});
  whenModal([&](QWidget* modal) {
    help_shown = buttonLabelled(modal, "&Help")->isVisible();
    buttonLabelled(modal, "&OK")->click();
  });
  EXPECT_TRUE(ui.fileLoadOptions(options));
  EXPECT_TRUE(help_shown);
  EXPECT_EQ(options.values().read_every, 0);
  EXPECT_EQ(options.values().initial_skip, 5000000);
}

CalculationErrorRequest calculation_request() {
  CalculationErrorRequest request;
  request.message_text =
      "Error:  Invalid column number:  3\n\nFile:  /d/run.dat\n\nLine Number:  5\n\nFormula:  C3";
  request.offending_line = "5 50";
  return request;
}

TEST(QtUiCalculationError, PreselectsTheLastChoiceGreysPlotToHereAndFillsTheRequest) {
  CalculationErrorRequest request = calculation_request();
  int views = 0;
  request.view_file = [&] { ++views; };
  request.action = CalculationAction::IgnorePoint;
  CalculationErrorWindow window(request);
  window.show();

  EXPECT_EQ(window.windowTitle(), "Calculation Error!");
  EXPECT_EQ(window.findChild<QLabel*>("message")->text(), QString::fromStdString(request.message_text));
  EXPECT_EQ(window.findChild<QLineEdit*>("offendingLine")->text(), "5 50");
  EXPECT_TRUE(labelTexts(&window).contains("Offending Line"));
  QList<QRadioButton*> choices = window.findChildren<QRadioButton*>();
  ASSERT_EQ(choices.size(), 5);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(choices[i]->text().toStdString(), kCalculationActionLabels[static_cast<std::size_t>(i)]);
    EXPECT_TRUE(choices[i]->isEnabled());
    EXPECT_EQ(choices[i]->isChecked(), i == 1);
  }

  QTest::mouseClick(buttonLabelled(&window, "&View File"), Qt::LeftButton);
  EXPECT_EQ(views, 1);
  EXPECT_TRUE(window.isVisible());
  QTest::keyClick(&window, Qt::Key_Escape);  // no way out but OK
  EXPECT_TRUE(window.isVisible());

  choices[4]->click();
  buttonLabelled<QCheckBox>(&window, "&Take the same action on all occurences of this error")->click();
  QTest::mouseClick(buttonLabelled(&window, "&OK"), Qt::LeftButton);
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(request.action, CalculationAction::CancelAndClose);
  EXPECT_TRUE(request.same_action);
}

TEST(QtUiCalculationError, AGreyedLastChoiceFallsBackToExcludeAndViewFileNeedsAView) {
  CalculationErrorRequest request = calculation_request();
  request.action = CalculationAction::PlotToHere;
  request.plot_to_here_disabled = true;
  QtUi ui;
  bool plot_to_here_enabled = true, view_enabled = true, exclude_checked = false;
  whenModal([&](QWidget* modal) {
    QList<QRadioButton*> choices = modal->findChildren<QRadioButton*>();
    plot_to_here_enabled = choices[3]->isEnabled();
    exclude_checked = choices[0]->isChecked();
    view_enabled = buttonLabelled(modal, "&View File")->isEnabled();
    buttonLabelled(modal, "&OK")->click();
  });
  ui.calculationError(request);
  EXPECT_FALSE(plot_to_here_enabled);
  EXPECT_FALSE(view_enabled);
  EXPECT_TRUE(exclude_checked);
  EXPECT_EQ(request.action, CalculationAction::ExcludeLine);
  EXPECT_FALSE(request.same_action);
}

TEST(QtUiConfiguration, TheExistingFileDialogOffersTheFourChoices) {
  QtUi ui;
  ExistingConfigurationRequest request{"/home/u/zentrik.ini"};
  QStringList labels;
  QString title;
  whenModal([&](QWidget* modal) {
    title = modal->windowTitle();
    for (QRadioButton* choice : modal->findChildren<QRadioButton*>())
      labels << choice->text() + (choice->isChecked() ? " (checked)" : "");
    EXPECT_TRUE(labelTexts(modal).contains(
        "A Zentrik configuration file was found in your home folder. \n\nWould you like to . . ."));
    EXPECT_TRUE(labelTexts(modal).contains("/home/u/zentrik.ini"));
    buttonLabelled<QRadioButton>(modal, "Use the file and leave it where it is")->click();
    dialogButton(modal, QDialogButtonBox::Ok)->click();
  });
  EXPECT_TRUE(ui.useExistingConfiguration(request));
  EXPECT_EQ(title, "Use Existing Configuration File?");
  EXPECT_EQ(labels, (QStringList{"Use the file but move it to a new location (checked)",
                                 "Create and use a copy of the file in a new location",
                                 "Use the file and leave it where it is",
                                 "Delete the file and specify a different location"}));
  EXPECT_EQ(request.choice, ExistingConfigurationChoice::UseInPlace);

  whenModal([](QWidget* modal) { dialogButton(modal, QDialogButtonBox::Cancel)->click(); });
  EXPECT_FALSE(ui.useExistingConfiguration(request));
}

TEST(QtUiConfiguration, TheFilenameDialogBrowsesForAFolderAndReturnsThePath) {
  testing::TempDir dir;
  const std::string proposal = dir.path("Zentrik.ini");
  ConfigurationFilenameRequest request{proposal};
  ConfigurationFilenameWindow window(request);
  QStringList asked;
  QString answer = "/srv/shared/";
  window.setFolderChooser([&](QWidget*, const QString& title, const QString& start) {
    asked << title << start;
    return answer;
  });
  window.show();
  EXPECT_EQ(window.windowTitle(), "Enter Configuration Filename");
  EXPECT_TRUE(labelTexts(&window).contains("Please enter a path and filename for the Zentrik configuration file:"));
  auto* path = window.findChild<QLineEdit*>("path");
  EXPECT_EQ(path->text(), QString::fromStdString(proposal));

  QTest::mouseClick(buttonLabelled(&window, "&Browse . . ."), Qt::LeftButton);
  EXPECT_EQ(asked, (QStringList{"Choose the configuration file destination folder",
                                QString::fromStdString(dir.path(""))
                                    .chopped(1)}));  // the folder of the proposed file
  EXPECT_EQ(path->text(), "/srv/shared/zentrik.ini");
  answer = "";  // the folder dialog cancelled: the field stays
  QTest::mouseClick(buttonLabelled(&window, "&Browse . . ."), Qt::LeftButton);
  EXPECT_EQ(path->text(), "/srv/shared/zentrik.ini");

  QAbstractButton* ok = dialogButton(&window, QDialogButtonBox::Ok);
  path->clear();
  EXPECT_FALSE(ok->isEnabled());
  path->setText("/etc/zentrik/my.ini");
  QTest::mouseClick(ok, Qt::LeftButton);
  EXPECT_EQ(window.result(), QDialog::Accepted);
  EXPECT_EQ(request.path, "/etc/zentrik/my.ini");
}

}  // namespace
}  // namespace zentrik
