#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "AnswerNextDialog.h"
#include "app/dialogs/ExtensionsDialog.h"
#include "app/dialogs/FileDialogs.h"
#include "ui/ScriptedUi.h"

namespace zentrik {
namespace {

const std::string kInvalidFilter = "You must enter a filter that starts with \"*.\" followed by a valid extension.";
const std::string kQuestionMark =
    "Question marks will not work.  You must enter a filter with a complete extension such as \"*.dat\".";

// The rows as the list shows them: "description | filter | setup file".
std::vector<std::string> shown_rows(const ExtensionsDialog& dialog) {
  std::vector<std::string> rows;
  for (int i = 0; i < dialog.rowList()->topLevelItemCount(); ++i) {
    const QTreeWidgetItem* item = dialog.rowList()->topLevelItem(i);
    rows.push_back((item->text(0) + " | " + item->text(1) + " | " + item->text(2)).toStdString());
  }
  return rows;
}

void fill(ExtensionsDialog& dialog, const QString& description, const QString& filter, const QString& setup = {}) {
  for (QLineEdit* field : {dialog.descriptionField(), dialog.filterField(), dialog.setupFileField()}) field->clear();
  QTest::keyClicks(dialog.descriptionField(), description);
  QTest::keyClicks(dialog.filterField(), filter);
  QTest::keyClicks(dialog.setupFileField(), setup);
}

class ExtensionsDialogTest : public ::testing::Test {
 protected:
  ~ExtensionsDialogTest() override { set_file_chooser({}); }
  ScriptedUi ui;
  ExtensionsDialog dialog{"Data Files|*.dat|Logs|*.log||", {".dat /data/a.psu"}, "/settings", ui};
};

TEST_F(ExtensionsDialogTest, AddChecksEachRowInOrder) {
  EXPECT_EQ(dialog.windowTitle(), "Data Filename Extensions");
  EXPECT_EQ(shown_rows(dialog), (std::vector<std::string>{"Data Files | *.dat | /data/a.psu", "Logs | *.log | "}));
  EXPECT_EQ(dialog.addButton()->text(), "&Add");
  EXPECT_EQ(dialog.enterEditsButton()->text(), "&Enter Edits");

  // Add waits for both a description and a filter
  EXPECT_FALSE(dialog.addButton()->isEnabled());
  QTest::keyClicks(dialog.filterField(), "*.txt");
  EXPECT_FALSE(dialog.addButton()->isEnabled());
  QTest::keyClicks(dialog.descriptionField(), "T");
  EXPECT_TRUE(dialog.addButton()->isEnabled());

  struct Refused {
    QString description, filter;
    std::string text, caption;
    QLineEdit* (ExtensionsDialog::*focus)() const;
  } refusals[] = {
      {"Text", "*.", kInvalidFilter, "Invalid filter!", &ExtensionsDialog::filterField},
      {"Text", "*.text", kInvalidFilter, "Invalid filter!", &ExtensionsDialog::filterField},
      {"Text", "txt", kInvalidFilter, "Invalid filter!", &ExtensionsDialog::filterField},
      {"Text", "*.t?t", kQuestionMark, "Sorry.", &ExtensionsDialog::filterField},
      {"  ", "*.txt", "You must enter a description!", "No description!", &ExtensionsDialog::descriptionField},
  };
  for (const Refused& refused : refusals) {
    ui.reset();
    fill(dialog, refused.description, refused.filter);
    dialog.addButton()->click();
    ASSERT_EQ(ui.messages().size(), 1u) << refused.filter.toStdString();
    EXPECT_EQ(ui.lastMessage().text, refused.text);
    EXPECT_EQ(ui.lastMessage().caption, refused.caption);
    EXPECT_EQ(dialog.focusWidget(), (dialog.*refused.focus)());
    EXPECT_EQ(dialog.table().rows().size(), 2u);
  }

  ui.reset();
  for (const QString filter : {"*.t", "*.tx", "*.txt"}) {
    fill(dialog, "Text " + filter, filter, filter == "*.txt" ? "/data/text.psu" : "");
    dialog.addButton()->click();
    EXPECT_EQ(dialog.descriptionField()->text(), "");  // ready for the next row
  }
  EXPECT_TRUE(ui.messages().empty());
  EXPECT_EQ(shown_rows(dialog).back(), "Text *.txt | *.txt | /data/text.psu");
  EXPECT_EQ(dialog.table().filters(), "Data Files|*.dat|Logs|*.log|Text *.t|*.t|Text *.tx|*.tx|Text *.txt|*.txt||");
}

TEST_F(ExtensionsDialogTest, ABarIsRefusedAsItIsTyped) {
  QTest::keyClicks(dialog.descriptionField(), "ab|c");
  ASSERT_EQ(ui.messages().size(), 1u);
  EXPECT_EQ(ui.lastMessage().text, "\"|\" is an illegal character!");
  EXPECT_EQ(ui.lastMessage().caption, "Error!");
  EXPECT_EQ(dialog.descriptionField()->text(), "abc");

  QTest::keyClicks(dialog.filterField(), "*.d|");
  EXPECT_EQ(ui.messages().size(), 2u);
  EXPECT_EQ(dialog.filterField()->text(), "*.d");

  // a pasted text loses its bars too, and the cursor stays at the paste
  dialog.descriptionField()->setCursorPosition(1);
  dialog.descriptionField()->insert("|x|");
  emit dialog.descriptionField()->textEdited(dialog.descriptionField()->text());
  EXPECT_EQ(dialog.descriptionField()->text(), "axbc");
  EXPECT_EQ(dialog.descriptionField()->cursorPosition(), 2);
}

TEST_F(ExtensionsDialogTest, EditsRemovalsAndOkRewriteBothSettings) {
  dialog.selectRow(1);
  EXPECT_EQ(dialog.descriptionField()->text(), "Logs");
  EXPECT_EQ(dialog.filterField()->text(), "*.log");
  EXPECT_TRUE(dialog.enterEditsButton()->isEnabled());

  // a refused edit leaves the row as it was
  dialog.filterField()->setText("*.?");
  dialog.enterEditsButton()->click();
  EXPECT_EQ(ui.lastMessage().caption, "Sorry.");
  EXPECT_EQ(shown_rows(dialog)[1], "Logs | *.log | ");

  fill(dialog, "Log Files", "*.LOG", "/data/log.psu");
  dialog.enterEditsButton()->click();
  EXPECT_EQ(shown_rows(dialog)[1], "Log Files | *.LOG | /data/log.psu");
  EXPECT_EQ(dialog.selectedRow(), 1);

  dialog.selectRow(0);
  dialog.removeButton()->click();
  EXPECT_EQ(shown_rows(dialog), (std::vector<std::string>{"Log Files | *.LOG | /data/log.psu"}));
  EXPECT_EQ(dialog.selectedRow(), -1);
  EXPECT_FALSE(dialog.removeButton()->isEnabled());
  EXPECT_FALSE(dialog.enterEditsButton()->isEnabled());
}

TEST_F(ExtensionsDialogTest, TheSetupFileIsChosenFromTheSettingsFolder) {
  std::vector<FileDialogRequest> requests;
  std::optional<std::string> answer = "/settings/weather.psu";
  set_file_chooser([&](const FileDialogRequest& request, FileDialogKind kind) {
    EXPECT_EQ(kind, FileDialogKind::Open);
    requests.push_back(request);
    return answer;
  });
  dialog.browseButton()->click();
  EXPECT_EQ(dialog.setupFileField()->text(), "/settings/weather.psu");
  answer.reset();  // Cancel keeps what the field holds
  dialog.browseButton()->click();
  EXPECT_EQ(dialog.setupFileField()->text(), "/settings/weather.psu");
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].filter, "Plot Setup Files|*.psu|All Files|*.*||");
  EXPECT_EQ(requests[0].folder, "/settings");
  EXPECT_EQ(requests[1].file_name, "weather.psu");
}

TEST(ExtensionsDialogExec, OkWritesFiltersAndSetupFilesCancelKeepsThem) {
  ScriptedUi ui;
  std::string filters = "Data Files|*.dat|Logs|*.log||";
  std::vector<std::string> psu_files = {".dat /data/a.psu", ".log /data/old.psu"};

  answer_next_dialog<ExtensionsDialog>([](ExtensionsDialog& dialog) {
    dialog.selectRow(0);
    dialog.removeButton()->click();
    fill(dialog, "Weather", "*.wx", "/data/weather station.psu");
    dialog.addButton()->click();
    fill(dialog, "Text", "*.txt");
    dialog.addButton()->click();
    dialog.okButton()->click();
  });
  EXPECT_TRUE(exec_filename_extensions(filters, psu_files, "/settings", ui, nullptr));
  EXPECT_EQ(filters, "Logs|*.log|Weather|*.wx|Text|*.txt||");
  EXPECT_EQ(psu_files, (std::vector<std::string>{".log /data/old.psu", ".wx /data/weather station.psu"}));

  answer_next_dialog<ExtensionsDialog>([](ExtensionsDialog& dialog) {
    dialog.selectRow(0);
    dialog.removeButton()->click();
    dialog.cancelButton()->click();
  });
  EXPECT_FALSE(exec_filename_extensions(filters, psu_files, "/settings", ui, nullptr));
  EXPECT_EQ(filters, "Logs|*.log|Weather|*.wx|Text|*.txt||");

  // with every row removed the data file dialog offers all files
  answer_next_dialog<ExtensionsDialog>([](ExtensionsDialog& dialog) {
    while (dialog.rowList()->topLevelItemCount() > 0) {
      dialog.selectRow(0);
      dialog.removeButton()->click();
    }
    dialog.okButton()->click();
  });
  EXPECT_TRUE(exec_filename_extensions(filters, psu_files, "/settings", ui, nullptr));
  EXPECT_EQ(filters, "All Files|*.*||");
  EXPECT_TRUE(psu_files.empty());
  EXPECT_TRUE(ui.messages().empty());
}

}  // namespace
}  // namespace zentrik
