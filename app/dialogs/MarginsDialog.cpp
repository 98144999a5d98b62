#include "app/dialogs/MarginsDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/dialogs/DialogButtons.h"
#include "plot/PlotDefinition.h"

namespace zentrik {
namespace {

QSpinBox* margin_field(int value, QWidget* parent) {
  auto* field = new QSpinBox(parent);
  field->setRange(0, kMaxMargin);
  field->setSuffix(QObject::tr(" pixels"));
  field->setValue(value);
  // an emptied field goes back to the last number instead of taking the minimum
  field->setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
  return field;
}

}  // namespace

MarginsDialog::MarginsDialog(int x_margin, int y_margin, QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("Plot Margins"));
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  x_ = margin_field(x_margin, this);
  y_ = margin_field(y_margin, this);
  form->addRow(tr("Default X Margin"), x_);
  form->addRow(tr("Default Y Margin"), y_);
  layout->addLayout(form);

  const OkCancel buttons = add_ok_cancel(*this);
  ok_ = buttons.ok;
  cancel_ = buttons.cancel;
  layout->addWidget(buttons.box);
  x_->setFocus();
  x_->selectAll();
}

int MarginsDialog::xMargin() const { return x_->value(); }
int MarginsDialog::yMargin() const { return y_->value(); }

bool exec_plot_margins(int& x_margin, int& y_margin, QWidget* parent) {
  MarginsDialog dialog(x_margin, y_margin, parent);
  if (dialog.exec() != QDialog::Accepted) return false;
  x_margin = dialog.xMargin();
  y_margin = dialog.yMargin();
  return true;
}

}  // namespace zentrik
