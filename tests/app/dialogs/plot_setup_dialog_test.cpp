#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>

#include "app/dialogs/AxisSetupDialog.h"
#include "app/dialogs/FileDialogs.h"
#include "app/dialogs/LineAttributesDialog.h"
#include "app/dialogs/PlotSetupDialog.h"
#include "data/DataFile.h"
#include "ui/ScriptedUi.h"

namespace zentrik {
namespace {

template <typename T>
T* child(QWidget& parent, const char* name) {
  T* found = parent.findChild<T*>(name);
  if (!found) throw std::logic_error(std::string("no widget ") + name);
  return found;
}

void click(QWidget& parent, const char* name) { child<QPushButton>(parent, name)->click(); }

std::vector<std::string> texts(const FormulaList& formulas) {
  std::vector<std::string> out;
  for (const Formula& formula : formulas) out.push_back(formula.text());
  return out;
}

class PlotSetupDialogTest : public ::testing::Test {
 protected:
  PlotSetupDialogTest() {
    data.store_line("3 4 5");
    window.data = &data;
    window.definition = new_plot_definition(defaults, window.setup_from);
    settingsdir = folder.path().toStdString();
  }
  ~PlotSetupDialogTest() override { set_file_chooser({}); }

  std::vector<std::string> list(QWidget& dialog) {
    auto* box = child<QListWidget>(dialog, "formulas");
    std::vector<std::string> items;
    for (int row = 0; row < box->count(); ++row) items.push_back(box->item(row)->text().toStdString());
    return items;
  }
  void select(QWidget& dialog, std::initializer_list<int> rows) {
    auto* box = child<QListWidget>(dialog, "formulas");
    box->clearSelection();
    for (int row : rows) box->item(row)->setSelected(true);
  }
  void enter(QWidget& dialog, const char* formula) {
    auto* entry = child<QLineEdit>(dialog, "entry");
    entry->clear();
    QTest::keyClicks(entry, formula);
    QTest::keyClick(entry, Qt::Key_Return);
  }
  void expect_message(const std::string& text, const std::string& caption) {
    ASSERT_FALSE(ui.messages().empty());
    EXPECT_EQ(ui.lastMessage().text, text);
    EXPECT_EQ(ui.lastMessage().caption, caption);
  }

  QTemporaryDir folder;
  ScriptedUi ui;
  DataFile data{"run.dat"};
  DefaultPlot defaults;
  PlotWindow window;
  std::string settingsdir;
  PlotSetupContext context{window, defaults, settingsdir, false, ui};
};

TEST_F(PlotSetupDialogTest, EditingSessionShowsTheListAndOkCommitsIt) {
  PlotSetupDialog dialog(context);
  dialog.show();
  EXPECT_EQ(dialog.windowTitle(), "Plot Setup");
  EXPECT_EQ(child<QLineEdit>(dialog, "x_formula")->text(), "L");
  EXPECT_EQ(dialog.focusWidget(), child<QLineEdit>(dialog, "x_formula"));
  EXPECT_EQ(list(dialog), (std::vector<std::string>{"C1"}));
  EXPECT_EQ(child<QLabel>(dialog, "setup_from")->text(), "Setup From:  Internal Defaults");
  EXPECT_EQ(child<QLabel>(dialog, "description")->text(), "Description:  No formula selected . . .");
  EXPECT_FALSE(child<QPushButton>(dialog, "view_file")->isEnabled());

  // refusals of the entry field, then a good formula entered with the Enter key
  click(dialog, "add");
  expect_message("Zero-length formula!", "Error!");
  enter(dialog, "C9");
  expect_message("Error in new Y formula:\nInvalid column number:  9", "Error!");
  EXPECT_TRUE(dialog.isVisible());  // Enter in the entry never presses OK
  enter(dialog, "C2");
  EXPECT_EQ(list(dialog), (std::vector<std::string>{"C1", "C2"}));
  EXPECT_EQ(child<QLineEdit>(dialog, "entry")->text(), "");

  // a double click edits; the add button enters the edit
  auto* box = child<QListWidget>(dialog, "formulas");
  select(dialog, {0});
  box->doItemsLayout();
  const QPoint first_row = box->visualItemRect(box->item(0)).center();
  QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, first_row);
  QTest::mouseDClick(box->viewport(), Qt::LeftButton, {}, first_row);
  EXPECT_EQ(child<QPushButton>(dialog, "add")->text(), "&Enter Edits");
  EXPECT_EQ(child<QLineEdit>(dialog, "entry")->text(), "C1");
  EXPECT_TRUE(child<QPushButton>(dialog, "cancel_edit")->isEnabled());
  EXPECT_FALSE(child<QPushButton>(dialog, "move_down")->isEnabled());
  child<QLineEdit>(dialog, "entry")->clear();
  click(dialog, "add");
  expect_message("The formula being edited is zero length.  Use the DELETE button to remove a formula.", "Error!");
  enter(dialog, "C3");
  EXPECT_EQ(list(dialog), (std::vector<std::string>{"C3", "C2"}));
  EXPECT_EQ(child<QPushButton>(dialog, "add")->text(), "&Add");

  // duplicate, changed before it is added
  select(dialog, {1});
  click(dialog, "duplicate");
  EXPECT_EQ(child<QLabel>(dialog, "entry_label")->text(), "New Y Formula (copy of formula #2):");
  EXPECT_EQ(child<QLineEdit>(dialog, "entry")->text(), "C2");
  enter(dialog, "C2*2");
  EXPECT_EQ(child<QLabel>(dialog, "entry_label")->text(), "New Y Formula:");
  EXPECT_EQ(list(dialog), (std::vector<std::string>{"C3", "C2", "C2*2"}));

  // moves: the selection follows; the last cannot move down, the first beeps
  select(dialog, {2});
  EXPECT_FALSE(child<QPushButton>(dialog, "move_down")->isEnabled());
  click(dialog, "move_up");
  EXPECT_EQ(list(dialog), (std::vector<std::string>{"C3", "C2*2", "C2"}));
  EXPECT_EQ(box->selectedItems().size(), 1);
  EXPECT_EQ(box->selectedItems().front()->text(), "C2*2");
  select(dialog, {0});
  click(dialog, "move_up");
  EXPECT_EQ(ui.beeps(), 1);

  // disable, shown in the list and on the button
  select(dialog, {1});
  EXPECT_EQ(child<QPushButton>(dialog, "enable")->text(), "Disa&ble");
  click(dialog, "enable");
  EXPECT_EQ(list(dialog)[1], "DISABLED  C2*2");
  EXPECT_EQ(child<QPushButton>(dialog, "enable")->text(), "Ena&ble");

  // histograms on the working copy; OK refuses an empty X formula, then commits
  child<QRadioButton>(dialog, "histograms")->click();
  child<QCheckBox>(dialog, "binscale")->click();
  child<QLineEdit>(dialog, "x_formula")->setText("  ");
  click(dialog, "ok");
  expect_message("There must be an X formula!", "Error!");
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_EQ(texts(window.definition.formulas), (std::vector<std::string>{"L", "C1"}));
  child<QLineEdit>(dialog, "x_formula")->setText("C1");
  click(dialog, "ok");
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(texts(window.definition.formulas), (std::vector<std::string>{"C1", "C3", "C2*2", "C2"}));
  EXPECT_EQ(window.definition.formulas[2].enabled, 0);
  EXPECT_EQ(window.definition.formulas[3].description, "");
  EXPECT_EQ(window.definition.xy_or_histo, 1);
  EXPECT_EQ(window.definition.binscale, 1);
  EXPECT_EQ(window.setup_from, "Setup From:  Internal Defaults");
  EXPECT_EQ(ui.progressLog().front(), "show: \nDeleting Old\nPoint Data . . . (no cancel)");
}

TEST_F(PlotSetupDialogTest, CancelLeavesTheDefinitionAndAnEditEndsWithDelete) {
  PlotSetupDialog dialog(context);
  enter(dialog, "C2");
  enter(dialog, "C3");
  select(dialog, {0});
  click(dialog, "edit");
  select(dialog, {0, 1});
  click(dialog, "delete");
  EXPECT_EQ(list(dialog), (std::vector<std::string>{"C3"}));
  EXPECT_EQ(child<QLineEdit>(dialog, "entry")->text(), "");  // the edit did not outlive its formula
  EXPECT_EQ(child<QPushButton>(dialog, "add")->text(), "&Add");
  click(dialog, "cancel");
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_EQ(texts(window.definition.formulas), (std::vector<std::string>{"L", "C1"}));
}

TEST_F(PlotSetupDialogTest, AttributesRefuseWithTheFocusOnTheFieldAndApplyOnOk) {
  window.definition.formulas[1].description = std::string(120, 'd');  // longer than can be typed
  PlotSetupDialog dialog(context);
  click(dialog, "attributes");
  expect_message("You must first select a single formula to set its attributes.", "No Formula!");

  int runs = 0;
  dialog.set_nested_dialog_runner([&](QDialog& nested) {
    ++runs;
    auto& attributes = dynamic_cast<LineAttributesDialog&>(nested);
    EXPECT_EQ(attributes.windowTitle(), "Plot Line Attributes");
    EXPECT_TRUE(child<QLineEdit>(attributes, "formula")->isReadOnly());
    EXPECT_EQ(child<QLineEdit>(attributes, "formula")->text(), "C1");
    auto* width = child<QLineEdit>(attributes, "line_width");
    auto* point = child<QLineEdit>(attributes, "point_char");
    auto* description = child<QLineEdit>(attributes, "description");
    auto radio = [&](const char* text) {
      for (QRadioButton* button : attributes.findChildren<QRadioButton*>())
        if (button->text() == text) return button;
      throw std::logic_error(text);
    };
    struct Case {
      const char* width;
      const char* point;
      const char* line_type;
      const char* text;
      const char* caption;
      QWidget* focus;
    } cases[] = {
        {"11", "+", "&Solid", "Width must be between 1 and 10!", "Error!", width},
        {"", "+", "&Solid", "Width must be between 1 and 10!", "Error!", width},
        {"1", "", "&Solid", "Plot character must be exactly one character!", "Error!", point},
        {"1", "+-", "&Solid", "Plot character must be exactly one character!", "Error!", point},
        {"2", "+", "Dot", "Broken lines are only possible with a line width of 1!", "Sorry!", width},
        {"10", "+", "&Solid", "Descriptions may not be more than 100 characters.", "Sorry!", description},
    };
    for (const Case& c : cases) {
      width->setText(c.width);
      point->setText(c.point);
      radio(c.line_type)->click();
      attributes.accept();
      expect_message(c.text, c.caption);
      EXPECT_EQ(attributes.focusWidget(), c.focus) << c.text;
      EXPECT_EQ(attributes.result(), QDialog::Rejected) << c.text;
    }
    // typing stops at 40 characters, and a blank is no point character
    description->clear();
    QTest::keyClicks(description, QString(45, 'w'));
    EXPECT_EQ(description->text(), QString(40, 'w'));
    description->setText("wide");
    point->clear();
    QTest::keyClicks(point, " #");
    EXPECT_EQ(point->text(), "#");

    attributes.set_color_chooser([](uint32_t current, QWidget*) -> std::optional<uint32_t> {
      EXPECT_EQ(current, DefaultColorTable[0]);
      return 0x0000FF;
    });
    child<QPushButton>(attributes, "color")->click();
    EXPECT_EQ(child<LineAppearanceSample>(attributes, "sample")->look().color, 0x0000FFu);
    width->setText("3");
    radio("Lines &And Points")->click();
    child<QCheckBox>(attributes, "black_points")->setChecked(false);
    child<QSpinBox>(attributes, "bin_count")->setValue(12);
    radio("Bin On &This Formula")->click();
    const LineLook look = child<LineAppearanceSample>(attributes, "sample")->look();
    EXPECT_EQ(look.line_width, 3);
    EXPECT_EQ(look.point_char, '#');
    EXPECT_TRUE(look.draw_lines && look.draw_points);
    attributes.accept();
    return attributes.result();
  });
  select(dialog, {0});
  click(dialog, "attributes");
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(child<QLabel>(dialog, "description")->text(), "Description:  wide");
  click(dialog, "ok");
  const Formula& formula = window.definition.formulas[1];
  EXPECT_EQ(formula.point_char, '#');
  EXPECT_EQ(formula.line_width, 3);
  EXPECT_EQ(formula.line_type, LineType::Solid);
  EXPECT_EQ(formula.color, 0x0000FFu);
  EXPECT_EQ(formula.draw_lines, 1);
  EXPECT_EQ(formula.draw_points, 1);
  EXPECT_EQ(formula.black_points, 0);
  EXPECT_EQ(formula.bin_count, 12);
  EXPECT_EQ(formula.bin_all, 0);
  EXPECT_EQ(formula.description, "wide");
}

TEST_F(PlotSetupDialogTest, AttributesWithoutAPlotTypeKeepNeither) {
  Formula& y = window.definition.formulas[1];
  y.draw_lines = y.draw_points = 0;
  y.description = "kept";
  PlotSetupDialog dialog(context);
  dialog.set_nested_dialog_runner([](QDialog& nested) {
    for (QRadioButton* button : nested.findChildren<QRadioButton*>()) {
      if (button->text().contains("Lines") || button->text() == "&Points") {
        EXPECT_FALSE(button->isChecked()) << button->text().toStdString();
      }
    }
    nested.accept();
    return nested.result();
  });
  select(dialog, {0});
  click(dialog, "attributes");
  click(dialog, "ok");
  EXPECT_EQ(window.definition.formulas[1].draw_lines, 0);
  EXPECT_EQ(window.definition.formulas[1].draw_points, 0);
  EXPECT_EQ(window.definition.formulas[1].description, "kept");
}

TEST_F(PlotSetupDialogTest, SaveAsThenLoadFromFollowTheFileAndItsFolder) {
  const std::string other = folder.path().toStdString() + "/setups";
  std::filesystem::create_directory(other);
  const std::string path = other + "/run.psu";
  std::vector<std::pair<FileDialogRequest, FileDialogKind>> requests;
  std::optional<std::string> answer = path;
  set_file_chooser([&](const FileDialogRequest& request, FileDialogKind kind) {
    requests.emplace_back(request, kind);
    return answer;
  });
  const std::string first_folder = settingsdir;

  PlotSetupDialog dialog(context);
  child<QLineEdit>(dialog, "x_formula")->setText("  C1 ");
  enter(dialog, "C2*3");
  click(dialog, "save_as");
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].second, FileDialogKind::Save);
  EXPECT_EQ(requests[0].first.title, "Save Plot Setup");
  EXPECT_EQ(requests[0].first.folder, first_folder);
  EXPECT_TRUE(std::filesystem::exists(path));
  EXPECT_EQ(settingsdir, other);

  select(dialog, {0, 1});
  click(dialog, "delete");
  child<QLineEdit>(dialog, "x_formula")->setText("L");
  click(dialog, "load_from");
  EXPECT_EQ(requests[1].second, FileDialogKind::Open);
  EXPECT_EQ(requests[1].first.title, "Load Plot Setup");
  EXPECT_EQ(requests[1].first.folder, other);
  EXPECT_EQ(child<QLineEdit>(dialog, "x_formula")->text(), "C1");
  EXPECT_EQ(list(dialog), (std::vector<std::string>{"C1", "C2*3"}));
  EXPECT_EQ(child<QLabel>(dialog, "setup_from")->text(), "Setup From:  run.psu");

  // a file that cannot be read changes nothing; a cancelled chooser neither
  answer = other + "/missing.psu";
  click(dialog, "load_from");
  expect_message("Can't open " + other + "/missing.psu", "File Open Error!");
  answer.reset();
  click(dialog, "load_from");
  EXPECT_EQ(list(dialog), (std::vector<std::string>{"C1", "C2*3"}));

  click(dialog, "ok");
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(window.setup_from, "Setup From:  run.psu");
  EXPECT_EQ(texts(window.definition.formulas), (std::vector<std::string>{"C1", "C1", "C2*3"}));
}

TEST_F(PlotSetupDialogTest, DefaultsAndAxesWorkOnTheWorkingCopy) {
  PlotSetupDialog dialog(context);
  enter(dialog, "C2");
  click(dialog, "set_defaults");
  EXPECT_EQ(texts(defaults.definition.formulas), (std::vector<std::string>{"L", "C1", "C2"}));
  select(dialog, {0});
  click(dialog, "delete");
  click(dialog, "load_defaults");
  EXPECT_EQ(list(dialog), (std::vector<std::string>{"C1", "C2"}));
  EXPECT_EQ(child<QLabel>(dialog, "setup_from")->text(), "Setup From:  Loaded Defaults");

  dialog.set_nested_dialog_runner([](QDialog& nested) {
    auto& sheet = dynamic_cast<AxisSetupDialog&>(nested);
    EXPECT_EQ(sheet.windowTitle(), "Axis Setup");
    child<QLineEdit>(sheet, "x_label")->setText("hours");
    sheet.accept();
    return sheet.result();
  });
  click(dialog, "axes");
  EXPECT_EQ(window.definition.xlab, "");  // nothing committed before OK
  click(dialog, "ok");
  EXPECT_EQ(window.definition.xlab, "hours");
  EXPECT_EQ(window.setup_from, "Setup From:  Loaded Defaults");
}

}  // namespace
}  // namespace zentrik
