#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <ctime>

#include "app/dialogs/AxisSetupDialog.h"
#include "formula/Format.h"
#include "ui/ScriptedUi.h"

namespace zentrik {
namespace {

template <typename T>
T* child(QWidget& parent, const char* name) {
  T* found = parent.findChild<T*>(name);
  if (!found) throw std::logic_error(std::string("no widget ") + name);
  return found;
}

QLineEdit* field(QWidget& parent, const char* name) { return child<QLineEdit>(parent, name); }

class AxisSetupDialogTest : public ::testing::Test {
 protected:
  void expect_refusal(AxisSetupDialog& sheet, const std::string& text, const char* focus) {
    const std::size_t before = ui.messages().size();
    EXPECT_FALSE(sheet.apply());
    ASSERT_EQ(ui.messages().size(), before + 1) << text;
    EXPECT_EQ(ui.lastMessage().text, text);
    EXPECT_EQ(ui.lastMessage().caption, "Error!");
    EXPECT_EQ(sheet.focusWidget(), child<QWidget>(sheet, focus)) << text;
  }

  ScriptedUi ui;
  PlotDefinition definition;
};

TEST_F(AxisSetupDialogTest, PagesRefuseBadFieldsAndKeepThePageShown) {
  definition.formulas.emplace_back("L");
  AxisSetupDialog sheet(definition, 1, ui);
  EXPECT_EQ(sheet.windowTitle(), "Axis Setup");
  EXPECT_FALSE(sheet.windowFlags() & Qt::WindowCloseButtonHint);
  auto* tabs = child<QTabWidget>(sheet, "pages");
  EXPECT_EQ(tabs->tabText(0), "X Axis");
  EXPECT_EQ(tabs->tabText(1), "Y Axis");
  EXPECT_EQ(tabs->currentIndex(), 1);
  EXPECT_FALSE(field(sheet, "y_from")->isEnabled());  // automatic range

  child<QRadioButton>(sheet, "y_fixed")->click();
  EXPECT_TRUE(field(sheet, "y_from")->isEnabled());
  field(sheet, "y_from")->setText("5");
  field(sheet, "y_to")->setText("5");
  expect_refusal(sheet, "Y axis fixed FROM value must be less than TO value.", "y_from");
  field(sheet, "y_from")->setText("-6e299");
  expect_refusal(sheet, "Y axis spans too large of a range.", "y_from");
  field(sheet, "y_from")->setText("1 2");
  expect_refusal(sheet, "Please enter a number.", "y_from");
  field(sheet, "y_from")->setText("0");
  field(sheet, "y_interval")->setText("x");  // read although the marks are automatic
  expect_refusal(sheet, "Please enter a number.", "y_automatic");  // which opens the field

  // leaving a refused page turns back to it
  tabs->setCurrentIndex(0);
  EXPECT_EQ(tabs->currentIndex(), 1);
  EXPECT_EQ(ui.lastMessage().text, "Please enter a number.");
  field(sheet, "y_interval")->setText("2.5");
  tabs->setCurrentIndex(0);
  EXPECT_EQ(tabs->currentIndex(), 0);

  // the X page on a date axis: dates, intervals with a unit, the date labels
  child<QRadioButton>(sheet, "x_date")->click();
  EXPECT_FALSE(child<QGroupBox>(sheet, "x_date_format")->isHidden());
  EXPECT_EQ(child<QLabel>(sheet, "x_interval_label")->text(), "Interval (needs unit)");
  child<QRadioButton>(sheet, "x_fixed")->click();
  field(sheet, "x_from")->setText("01/15/2001 10:30:00");
  field(sheet, "x_to")->setText("01/14/2001");
  expect_refusal(sheet, "X axis fixed FROM value must be less than TO value.", "x_from");
  EXPECT_EQ(tabs->currentIndex(), 0);
  field(sheet, "x_to")->setText("tomorrow");
  expect_refusal(sheet, "Error in fixed \"To\" value:\n\nInvalid column number for date:  1", "x_to");
  field(sheet, "x_to")->setText("01/16/2001");
  child<QCheckBox>(sheet, "x_automatic")->click();
  field(sheet, "x_interval")->setText("3 weeks");
  expect_refusal(sheet, "Error in scale marks \"Interval\" value:\n\nIllegal units", "x_interval");
  field(sheet, "x_interval")->setText("-2 h");
  expect_refusal(sheet, "Scale marks \"Interval\" value must be positive.", "x_interval");
  field(sheet, "x_interval")->setText("6 hours");
  field(sheet, "x_start")->setText("01/15/2001");

  auto* samples = child<QComboBox>(sheet, "format_samples");
  ASSERT_EQ(samples->count(), 14);
  const double now = static_cast<double>(std::time(nullptr));
  EXPECT_EQ(samples->itemText(9).toStdString(), formatTime(now, "%m/%y"));
  samples->setCurrentIndex(9);
  emit samples->activated(9);
  EXPECT_EQ(field(sheet, "format")->text(), "%m/%y");
  EXPECT_EQ(field(sheet, "format_sample")->text().toStdString(), formatTime(now, "%m/%y"));

  ASSERT_TRUE(sheet.apply());
  EXPECT_TRUE(sheet.changed());
  EXPECT_EQ(definition.log_x, 2);
  EXPECT_EQ(definition.auto_x, 0);
  EXPECT_EQ(definition.x_from, 979554600.0);  // 2001-01-15 10:30 UTC
  EXPECT_EQ(definition.x_to, 979603200.0);
  EXPECT_EQ(definition.x_lotick, 979516800.0);
  EXPECT_EQ(definition.x_bytick, "6 hours");
  EXPECT_EQ(definition.x_automark, 0);
  EXPECT_EQ(definition.date_format, "%m/%y");
  EXPECT_EQ(definition.auto_y, 0);
  EXPECT_EQ(definition.y_from, 0.0);
  EXPECT_EQ(definition.y_to, 5.0);
  EXPECT_EQ(definition.y_bytick, 2.5);
  EXPECT_EQ(definition.formulas.size(), 1u);
}

TEST_F(AxisSetupDialogTest, UntouchedSheetChangesNothingAndResetRestoresTheOpeningValues) {
  definition.log_x = 2;
  definition.x_from = 979554600.25;  // a fixed date that its text rounds to the second
  definition.x_to = 979603200;
  definition.auto_x = 0;
  definition.x_margin = -4;     // outside what the margin field offers
  definition.y_tickprec = 40;
  definition.log_y = 1;
  const PlotDefinition before = definition;
  {
    AxisSetupDialog sheet(definition, 0, ui);
    EXPECT_EQ(child<QGroupBox>(sheet, "y_marks")->title(), "Log Scale Marks (Pwrs of 10)");
    EXPECT_EQ(child<QLabel>(sheet, "y_start_label")->text(), "Start Log Value");
    EXPECT_TRUE(field(sheet, "y_from")->text().isEmpty());  // an unset range shows empty
    ASSERT_TRUE(sheet.apply());
    EXPECT_FALSE(sheet.changed());
    EXPECT_FALSE(axis_settings_differ(before, definition));
  }

  AxisSetupDialog sheet(definition, 0, ui);
  EXPECT_FALSE(child<QPushButton>(sheet, "reset")->isHidden());
  field(sheet, "x_label")->setText("seconds");
  child<QCheckBox>(sheet, "x_grid")->click();
  child<QRadioButton>(sheet, "x_log")->click();
  child<QSpinBox>(sheet, "y_precision")->setValue(3);
  child<QPushButton>(sheet, "reset")->click();
  EXPECT_EQ(field(sheet, "x_label")->text(), "");
  EXPECT_FALSE(child<QCheckBox>(sheet, "x_grid")->isChecked());
  EXPECT_TRUE(child<QRadioButton>(sheet, "x_date")->isChecked());
  EXPECT_EQ(field(sheet, "x_to")->text().toStdString(), formatDate(979603200));
  EXPECT_EQ(child<QSpinBox>(sheet, "y_precision")->value(), 40);
  ASSERT_TRUE(sheet.apply());
  EXPECT_FALSE(sheet.changed());

  field(sheet, "y_label")->setText("metres");
  ASSERT_TRUE(sheet.apply());
  EXPECT_TRUE(sheet.changed());
  EXPECT_EQ(definition.ylab, "metres");
}

TEST_F(AxisSetupDialogTest, HistogramLocksTheYRange) {
  definition.xy_or_histo = 1;
  definition.binscale = 1;
  definition.auto_y = 0;  // a fixed range that was never set: not checked while locked
  AxisSetupDialog sheet(definition, 1, ui);
  EXPECT_TRUE(child<QPushButton>(sheet, "reset")->isHidden());
  EXPECT_EQ(child<QGroupBox>(sheet, "y_marks")->title(), "Scale Marks && Bin Parameters");
  for (const char* name : {"y_scaling", "y_scale_type", "y_grid", "y_from", "y_to"})
    EXPECT_FALSE(child<QWidget>(sheet, name)->isEnabled()) << name;
  EXPECT_TRUE(child<QGroupBox>(sheet, "x_scaling")->isEnabled());
  child<QCheckBox>(sheet, "y_automatic")->click();
  field(sheet, "y_interval")->setText("0.5");
  ASSERT_TRUE(sheet.apply());
  EXPECT_EQ(definition.y_bytick, 0.5);
  EXPECT_EQ(definition.y_automark, 0);
  EXPECT_EQ(definition.auto_y, 0);
  EXPECT_EQ(definition.y_from, RANGE_UNSET_LOW);
}

}  // namespace
}  // namespace zentrik
