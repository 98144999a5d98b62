#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "AnswerNextDialog.h"
#include "app/dialogs/OutputOptionsDialog.h"

namespace zentrik {
namespace {

void type_into(QLineEdit* field, const QString& text) {
  field->selectAll();
  field->del();
  QTest::keyClicks(field, text);
}

// The label whose mnemonic leads to field.
QString label_of(const QDialog& dialog, const QWidget* field) {
  for (const QLabel* label : dialog.findChildren<QLabel*>())
    if (label->buddy() == field) return label->text();
  return {};
}

Configuration custom_defaults() {
  Configuration config;
  config.def_field_delim = ";";
  config.def_inc_x_vals = 0;
  config.def_inc_ig_vals = 1;
  config.def_ignore_place_hold = "NaN";
  config.def_inc_off_plot = 0;
  config.def_off_place_hold = "off";
  return config;
}

TEST(OutputOptionsDialog, OpensWithTheDefaultsAndHidesTheOffPlotRowsUnlessZoomed) {
  Configuration config = custom_defaults();
  OutputOptionsDialog dialog(config, false);
  EXPECT_EQ(dialog.windowTitle(), "Output Options");
  EXPECT_EQ(label_of(dialog, dialog.delimiterField()), "&Field Delimiter");
  EXPECT_EQ(dialog.includeXBox()->text(), "Include &X Values");
  EXPECT_EQ(dialog.ignoredBox()->text(), "Output Place Holder For &Ignored Points");
  EXPECT_EQ(label_of(dialog, dialog.ignoredField()), "Place Ho&lder");
  EXPECT_EQ(dialog.offPlotBox()->text(), "Output Place Holder For &Points Off The Plot");
  EXPECT_EQ(label_of(dialog, dialog.offPlotField()), "Place Holder For Points O&ff The Plot");
  EXPECT_EQ(dialog.setDefaultsButton()->text(), "&Set Defaults");

  EXPECT_EQ(dialog.delimiterField()->text(), ";");
  EXPECT_FALSE(dialog.includeXBox()->isChecked());
  EXPECT_TRUE(dialog.ignoredBox()->isChecked());
  EXPECT_EQ(dialog.ignoredField()->text(), "NaN");
  EXPECT_FALSE(dialog.offPlotBox()->isChecked());
  EXPECT_EQ(dialog.offPlotField()->text(), "off");

  for (const QWidget* widget : {static_cast<QWidget*>(dialog.delimiterField()), static_cast<QWidget*>(dialog.includeXBox()),
                                static_cast<QWidget*>(dialog.ignoredBox()), static_cast<QWidget*>(dialog.ignoredField())})
    EXPECT_FALSE(widget->isHidden());
  EXPECT_TRUE(dialog.offPlotBox()->isHidden());
  EXPECT_TRUE(dialog.offPlotField()->isHidden());

  OutputOptionsDialog zoomed(config, true);
  EXPECT_FALSE(zoomed.offPlotBox()->isHidden());
  EXPECT_FALSE(zoomed.offPlotField()->isHidden());
  // a place holder is edited only while it is switched on
  EXPECT_FALSE(zoomed.offPlotField()->isEnabled());
  zoomed.offPlotBox()->click();
  EXPECT_TRUE(zoomed.offPlotField()->isEnabled());
  zoomed.ignoredBox()->click();
  EXPECT_FALSE(zoomed.ignoredField()->isEnabled());
}

TEST(OutputOptionsDialog, SetDefaultsStoresTheSixValuesAndAnEmptyDelimiterIsOneBlank) {
  Configuration config;
  OutputOptionsDialog dialog(config, true);
  type_into(dialog.delimiterField(), "");
  dialog.includeXBox()->click();
  type_into(dialog.ignoredField(), "skip");
  type_into(dialog.offPlotField(), "out");
  dialog.offPlotBox()->click();

  const OutputOptions shown = dialog.options();
  EXPECT_EQ(shown.field_delim, " ");
  EXPECT_EQ(shown.inc_x_vals, 0);
  EXPECT_EQ(shown.inc_ig_vals, 1);
  EXPECT_EQ(shown.ignore_place_hold, "skip");
  EXPECT_EQ(shown.inc_off_plot, 0);
  EXPECT_EQ(shown.off_place_hold, "out");
  EXPECT_EQ(config.def_inc_x_vals, 1) << "nothing is stored before Set Defaults";

  dialog.setDefaultsButton()->click();
  EXPECT_NE(dialog.result(), QDialog::Accepted) << "Set Defaults leaves the dialog open";
  EXPECT_EQ(config.def_field_delim, " ");
  EXPECT_EQ(config.def_inc_x_vals, 0);
  EXPECT_EQ(config.def_inc_ig_vals, 1);
  EXPECT_EQ(config.def_ignore_place_hold, "skip");
  EXPECT_EQ(config.def_inc_off_plot, 0);
  EXPECT_EQ(config.def_off_place_hold, "out");

  // a dialog opened next starts from the new defaults
  OutputOptionsDialog next(config, false);
  EXPECT_EQ(next.delimiterField()->text(), " ");
  EXPECT_EQ(next.ignoredField()->text(), "skip");
}

TEST(OutputOptionsDialog, ExecReturnsTheOptionsOnOkAndNothingOnCancel) {
  Configuration config = custom_defaults();
  answer_next_dialog<OutputOptionsDialog>([](OutputOptionsDialog& dialog) {
    type_into(dialog.delimiterField(), "\\t,");
    dialog.includeXBox()->click();
    dialog.okButton()->click();
  });
  const std::optional<OutputOptions> chosen = exec_output_options(config, false, nullptr);
  ASSERT_TRUE(chosen);
  EXPECT_EQ(chosen->field_delim, "\\t,");
  EXPECT_EQ(chosen->inc_x_vals, 1);
  EXPECT_EQ(chosen->ignore_place_hold, "NaN");
  EXPECT_EQ(chosen->inc_off_plot, 0);  // hidden, yet carried from the defaults
  EXPECT_EQ(config.def_field_delim, ";") << "OK alone does not change the defaults";

  answer_next_dialog<OutputOptionsDialog>([](OutputOptionsDialog& dialog) {
    type_into(dialog.ignoredField(), "gap");
    dialog.setDefaultsButton()->click();
    dialog.cancelButton()->click();
  });
  EXPECT_FALSE(exec_output_options(config, true, nullptr));
  EXPECT_EQ(config.def_ignore_place_hold, "gap") << "defaults set before Cancel stay set";
}

}  // namespace
}  // namespace zentrik
