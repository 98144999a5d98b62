#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "app/dialogs/AutoUpdateDialog.h"
#include "app/dialogs/FileDialogs.h"
#include "app/dialogs/FileListDialog.h"
#include "app/dialogs/ObjectAttributesDialog.h"
#include "data/FileAccess.h"
#include "data/MultiFile.h"
#include "ui/ScriptedUi.h"

namespace zentrik {
namespace {

// A data set of two files, the second added by Concatenate Files, and a plot of it.
class PlotWindowDialogsTest : public ::testing::Test {
 protected:
  PlotWindowDialogsTest() {
    DataSource& first = data.add_source("/data/run 1.dat", kFirstFile);
    first.first_line = 1;
    first.last_line = 120;
    plot.window.data = &data;
    // Loaded just now: an update thread started here waits its interval before it
    // looks at the (made-up) file, rather than reloading at once beside the test.
    data.load_time = now_seconds();
  }
  ~PlotWindowDialogsTest() override { set_file_chooser({}); }

  void add_second_file() {
    DataSource& second = data.add_source("/data/run2.dat", kConcatenateFiles);
    second.first_line = 121;
    second.last_line = 250;
  }

  static void type(QLineEdit* field, const QString& text) {
    field->selectAll();
    QTest::keyClicks(field, text);
  }

  DataFile data{"/data/run 1.dat"};
  Plot plot;
  ScriptedUi ui;
};

TEST_F(PlotWindowDialogsTest, AutoUpdateSettingsHoldsReloadsAndRefusesWhatIsNoIntervalInSeconds) {
  {
    AutoUpdateDialog dialog(plot, ui);
    QSignalSpy accepted(&dialog, &QDialog::accepted);
    EXPECT_EQ(dialog.windowTitle(), "Auto-Update Settings");
    EXPECT_EQ(data.update_hold, 1);
    EXPECT_EQ(dialog.intervalField()->text(), "0");
    QStringList texts;
    for (QLabel* label : dialog.findChildren<QLabel*>()) texts << label->text();
    EXPECT_TRUE(texts.contains("Check files for changes every"));
    EXPECT_TRUE(texts.contains("seconds"));
    EXPECT_TRUE(texts.contains("Set to zero to disable auto updates"));

    for (const char* bad : {"-3", "five", "1e999", ""}) {
      ui.reset();
      type(dialog.intervalField(), bad);
      dialog.okButton()->click();
      ASSERT_EQ(ui.messages().size(), 1u) << bad;
      EXPECT_EQ(ui.lastMessage().text, "The time between checks must be a number of seconds, zero or more.");
      EXPECT_EQ(ui.lastMessage().caption, "Illegal value!");
      EXPECT_EQ(accepted.count(), 0);
    }
    EXPECT_EQ(data.update_interval(), 0);
    EXPECT_FALSE(data.thread_alive());

    type(dialog.intervalField(), "2.5");
    dialog.okButton()->click();
    EXPECT_EQ(accepted.count(), 1);
    EXPECT_EQ(data.update_interval(), 2.5);
    EXPECT_EQ(plot.window.update_interval, 2.5);
    EXPECT_TRUE(data.thread_alive());
    EXPECT_EQ(data.update_hold, 1);
  }
  EXPECT_EQ(data.update_hold, 0);

  // Cancel keeps the interval; OK with 0 ends the updates.
  {
    AutoUpdateDialog dialog(plot, ui);
    EXPECT_EQ(dialog.intervalField()->text(), "2.5");
    type(dialog.intervalField(), "7");
    dialog.cancelButton()->click();
    EXPECT_EQ(data.update_interval(), 2.5);
  }
  {
    AutoUpdateDialog dialog(plot, ui);
    type(dialog.intervalField(), "0");
    dialog.okButton()->click();
  }
  EXPECT_EQ(data.update_interval(), 0);
  EXPECT_EQ(plot.window.update_interval, 0);
  EXPECT_EQ(data.update_hold, 0);

  // A data set of several files has no automatic updates.
  add_second_file();
  ui.reset();
  EXPECT_FALSE(exec_auto_update_settings(plot, ui, nullptr));
  EXPECT_EQ(ui.beeps(), 1);
}

TEST_F(PlotWindowDialogsTest, ObjectAttributesShowTheObjectAndStoreAnEnteredCommandAsApproved) {
  add_second_file();
  data.initial_skip = 3;
  data.read_every = 10;
  data.loadnum = 2;
  data.load_condition = "C2>0";
  plot.object.emplace();
  plot.object->object_file = "/objects/run.zko";
  plot.object->sys_command = "fetch-run";
  plot.object->version = "3.1";
  plot.object->exclude_lines = 1;

  ObjectAttributesDialog dialog(plot);
  EXPECT_EQ(dialog.windowTitle(), "Object Attributes");
  ASSERT_EQ(dialog.fileList()->count(), 2);
  EXPECT_EQ(dialog.fileList()->item(0)->text(), "/data/run 1.dat");
  EXPECT_EQ(dialog.fileList()->item(1)->text(), "/data/run2.dat  (lines 121-250)");
  EXPECT_EQ(dialog.commandField()->text(), "fetch-run");
  EXPECT_EQ(dialog.browseButton()->text(), "&Browse...");
  EXPECT_EQ(dialog.excludeLines()->text(), "Exclude Lines When Loading");
  EXPECT_TRUE(dialog.excludeLines()->isChecked());
  EXPECT_EQ(dialog.loadParameters()->text(),
            "Initially skip 3 lines\nLoad 2 out of every 10 lines\nOnly load lines where:  C2>0");
  EXPECT_EQ(dialog.version()->text(), "3.1");

  // Browse puts the program chosen into the field as one word of the command.
  FileDialogRequest asked;
  set_file_chooser([&](const FileDialogRequest& request, FileDialogKind kind) -> std::optional<std::string> {
    EXPECT_EQ(kind, FileDialogKind::Open);
    asked = request;
    return "/opt/my \"tools\"/make-data";
  });
  dialog.browseButton()->click();
  EXPECT_EQ(asked.filter, "Programs|*|All Files|*||");
  EXPECT_EQ(dialog.commandField()->text(), R"("/opt/my \"tools\"/make-data")");
  EXPECT_EQ(split_command_line(dialog.commandField()->text().toStdString()),
            std::vector<std::string>{"/opt/my \"tools\"/make-data"});
  QTest::keyClicks(dialog.commandField(), " --today");
  dialog.excludeLines()->setChecked(false);
  dialog.okButton()->click();

  EXPECT_EQ(plot.object->sys_command, R"("/opt/my \"tools\"/make-data" --today)");
  EXPECT_TRUE(plot.object->command_approved);
  EXPECT_EQ(plot.object->exclude_lines, 0);
  EXPECT_TRUE(plot.object->modified);
  EXPECT_TRUE(plot.window.object_modified);
}

TEST_F(PlotWindowDialogsTest, ObjectAttributesLeftAsTheyWereChangeNothingAndApproveNothing) {
  plot.object.emplace();
  plot.object->sys_command = "fetch-run";
  ObjectAttributesDialog dialog(plot);
  EXPECT_EQ(dialog.loadParameters()->text(), "Initially skip 0 lines\nLoad 1 out of every 1 lines\nNo load condition");
  dialog.okButton()->click();
  EXPECT_FALSE(plot.object->command_approved);
  EXPECT_FALSE(plot.object->modified);
  EXPECT_FALSE(plot.window.object_modified);

  // Without an object there is nothing to show.
  plot.object.reset();
  EXPECT_FALSE(exec_object_attributes(plot, ui, nullptr));
  EXPECT_EQ(ui.beeps(), 1);
}

TEST_F(PlotWindowDialogsTest, TheFileListNamesEveryFileAndIsDismissed) {
  add_second_file();
  FileListDialog dialog(data);
  QSignalSpy accepted(&dialog, &QDialog::accepted);
  EXPECT_EQ(dialog.windowTitle(), "Data Files");
  QStringList texts;
  for (QLabel* label : dialog.findChildren<QLabel*>()) texts << label->text();
  EXPECT_EQ(texts, QStringList{"Data File Name(s)"});
  ASSERT_EQ(dialog.list()->count(), 2);
  EXPECT_EQ(dialog.list()->item(0)->text(), "/data/run 1.dat");
  EXPECT_EQ(dialog.list()->item(1)->text(), "/data/run2.dat  (lines 121-250)");
  EXPECT_EQ(dialog.list()->horizontalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
  EXPECT_EQ(dialog.dismissButton()->text(), "&Dismiss");
  QTest::mouseClick(dialog.dismissButton(), Qt::LeftButton);
  EXPECT_EQ(accepted.count(), 1);
}

}  // namespace
}  // namespace zentrik
