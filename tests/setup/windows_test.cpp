// setup's windows on the offscreen platform: the wizard's pages and their checks, the
// "File Exists!" dialog, the status window's Cancel, the message boxes and the
// background.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "data/TempDir.h"
#include "setup/BackgroundWindow.h"
#include "setup/FileExistsDialog.h"
#include "setup/QtSetupUi.h"
#include "setup/SetupWizard.h"
#include "tests/app/qtui/ModalAnswer.h"
#include "tests/setup/ScriptedSetupUi.h"

namespace zentrik {
namespace {

using test::buttonLabelled;
using test::whenModal;

IntegrationPaths sandbox_paths(const testing::TempDir& dir) {
  IntegrationPaths paths;
  paths.menus_folder = dir.path("menus");
  paths.directories_folder = dir.path("directories");
  return paths;
}

TEST(SetupWizardWindow, ThePagesCheckWhatIsEnteredBeforeGoingOn) {
  testing::TempDir dir;
  const IntegrationPaths paths = sandbox_paths(dir);
  testing::ScriptedSetupUi ui;
  SetupWizard wizard(false, paths, ui);
  wizard.show();
  EXPECT_EQ(wizard.windowTitle(), "Zentrik Version 3.4 Setup");
  EXPECT_EQ(wizard.destinationPage().browseButton()->text(), "B&rowse");

  QLineEdit* folder = wizard.destinationPage().folderEdit();
  folder->setText("opt/Zentrik3");
  wizard.next();
  EXPECT_EQ(wizard.currentId(), 0);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].caption, "Error!");
  folder->setText("/srv/lab/./Zentrik3//");
  wizard.next();
  EXPECT_EQ(wizard.currentId(), 1);
  EXPECT_EQ(folder->text(), "/srv/lab/Zentrik3");

  ShortcutPage& shortcuts = wizard.shortcutPage();
  EXPECT_EQ(shortcuts.sendToBox()->text(), "\"Open With\" Menu");
  QListWidget* folders = shortcuts.folderList();
  const auto office = folders->findItems("Office", Qt::MatchExactly);
  ASSERT_EQ(office.size(), 1);
  folders->setCurrentItem(office[0]);
  EXPECT_EQ(shortcuts.submenuEdit()->text(), "Office");
  for (QCheckBox* box : {shortcuts.startMenuBox(), shortcuts.sendToBox(), shortcuts.desktopBox()}) box->setChecked(false);
  EXPECT_FALSE(shortcuts.submenuEdit()->isEnabled());
  ui.queueAnswer(Answer::No);
  wizard.next();
  EXPECT_EQ(wizard.currentId(), 1);
  ui.queueAnswer(Answer::Yes);
  wizard.next();
  EXPECT_EQ(wizard.currentId(), 2);
  EXPECT_EQ(ui.beeps, 2);

  EXPECT_EQ(wizard.reviewPage().text().toStdString(),
            "Destination folder:\n    /srv/lab/Zentrik3\n\nApplications menu folder:\n    none\n\n"
            "A shortcut will NOT be added to the desktop\nA shortcut will NOT be added to the Open With menu\n");
  const InstallChoices choices = wizard.choices();
  EXPECT_EQ(choices.destination, "/srv/lab/Zentrik3");
  EXPECT_FALSE(choices.start_menu || choices.send_to || choices.desktop);
  EXPECT_TRUE(ui.allAnswered());
}

TEST(FileExistsWindow, TheButtonAndTheFutureChoiceMakeTheAnswer) {
  QtSetupUi ui;
  whenModal([](QWidget* dialog) {
    EXPECT_EQ(dialog->windowTitle(), "File Exists!");
    buttonLabelled<QRadioButton>(dialog, "Always overwrite, don't ask again")->click();
    buttonLabelled<QPushButton>(dialog, "Skip File")->click();
  });
  FileExistsAnswer answer = ui.fileExists("/opt/Zentrik3/help/guide.md");
  EXPECT_EQ(answer.button, FileExistsAnswer::Button::SkipFile);
  EXPECT_EQ(answer.future, OverwriteMode::Always);

  whenModal([](QWidget* dialog) {
    ASSERT_NE(buttonLabelled<QRadioButton>(dialog, "Keep Asking"), nullptr);
    EXPECT_TRUE(buttonLabelled<QRadioButton>(dialog, "Keep Asking")->isChecked());
    QTest::keyClick(dialog, Qt::Key_Escape);
  });
  answer = ui.fileExists("/opt/Zentrik3/help/guide.md");
  EXPECT_EQ(answer.button, FileExistsAnswer::Button::CancelInstallation);  // closing it is no answer to go on with
}

TEST(StatusWindowOfSetup, CancelIsCollectedAndTheWindowStays) {
  QtSetupUi ui;
  StatusWindow& window = ui.statusWindow();
  ui.statusShow("\nCopying Files . . .", true);
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(window.text(), "\nCopying Files . . .");
  EXPECT_EQ(window.cancelButton()->text(), "&Cancel");
  EXPECT_FALSE(ui.statusCancelPressed());
  QTest::mouseClick(window.cancelButton(), Qt::LeftButton);
  EXPECT_TRUE(ui.statusCancelPressed());
  EXPECT_FALSE(ui.statusCancelPressed());  // once per press
  QTest::keyClick(&window, Qt::Key_Escape);
  window.close();
  EXPECT_TRUE(window.isVisible());
  EXPECT_TRUE(ui.statusCancelPressed());
  ui.statusSetText("\nCopying guide.md . . .");
  EXPECT_EQ(window.text(), "\nCopying guide.md . . .");
  ui.statusHide();
  EXPECT_FALSE(window.isVisible());
  ui.statusShow("\nRemoving Zentrik...", false);
  EXPECT_FALSE(window.cancelButton()->isVisible());
}

TEST(SetupMessages, QuestionsAnswerWithTheButtonPressedAndNoWhenClosed) {
  QtSetupUi ui;
  whenModal([](QWidget* box) {
    EXPECT_EQ(box->windowTitle(), "Really cancel?");
    buttonLabelled<QPushButton>(box, "&Yes")->click();
  });
  EXPECT_EQ(ui.message("Are you sure you want to cancel the installation?", "Really cancel?", Buttons::YesNo),
            Answer::Yes);
  whenModal([](QWidget* box) { QTest::keyClick(box, Qt::Key_Escape); });
  EXPECT_EQ(ui.message("Are you sure you want to cancel the installation?", "Really cancel?", Buttons::YesNo),
            Answer::No);
  whenModal([](QWidget* box) {
    auto* message = qobject_cast<QMessageBox*>(box);
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(message->text(), "<b>not markup</b>");  // shown as plain text
    EXPECT_EQ(message->textFormat(), Qt::PlainText);
    message->accept();
  });
  EXPECT_EQ(ui.message("<b>not markup</b>", "Error!"), Answer::Ok);
}

TEST(SetupBackground, AGradientWithTheTitleInWhite) {
  BackgroundWindow window;
  window.resize(800, 600);
  const QImage image = window.grab().toImage();
  EXPECT_EQ(window.windowTitle(), "Zentrik Version 3.4 Setup");
  EXPECT_GT(image.pixelColor(790, 10).blue(), image.pixelColor(790, 590).blue() + 100);
  int white = 0;
  for (int y = 0; y < 120; ++y)
    for (int x = 0; x < 800; ++x) white += image.pixelColor(x, y) == Qt::white;
  EXPECT_GT(white, 200);
}

}  // namespace
}  // namespace zentrik
