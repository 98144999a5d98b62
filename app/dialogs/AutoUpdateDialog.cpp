#include "app/dialogs/AutoUpdateDialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/dialogs/DialogButtons.h"
#include "app/shell/PlotCommands.h"

namespace zentrik {

AutoUpdateDialog::AutoUpdateDialog(Plot& plot, Ui& ui, QWidget* parent)
    : QDialog(parent), plot_(plot), data_(*plot.window.data), ui_(ui) {
  ++data_.update_hold;
  setWindowTitle(tr("Auto-Update Settings"));
  auto* layout = new QVBoxLayout(this);
  auto* row = new QHBoxLayout;
  auto* before = new QLabel(tr("Check files for changes every"), this);
  interval_ = new QLineEdit(QString::fromStdString(update_interval_shown(data_.update_interval())), this);
  interval_->setMaxLength(32);
  interval_->setMinimumWidth(interval_->fontMetrics().horizontalAdvance(QStringLiteral("00000000")));
  before->setBuddy(interval_);
  row->addWidget(before);
  row->addWidget(interval_);
  row->addWidget(new QLabel(tr("seconds"), this));
  layout->addLayout(row);
  layout->addWidget(new QLabel(tr("Set to zero to disable auto updates"), this));

  const OkCancel buttons = add_ok_cancel(*this);
  ok_ = buttons.ok;
  cancel_ = buttons.cancel;
  layout->addWidget(buttons.box);
  interval_->setFocus();
  interval_->selectAll();
}

AutoUpdateDialog::~AutoUpdateDialog() { --data_.update_hold; }

void AutoUpdateDialog::accept() {
  if (!enter_update_interval(interval_->text().toStdString(), plot_, ui_)) {
    interval_->setFocus();
    interval_->selectAll();
    return;
  }
  QDialog::accept();
}

bool exec_auto_update_settings(Plot& plot, Ui& ui, QWidget* parent) {
  if (!can_update(plot) || plot.calculating) {
    ui.beep();
    return false;
  }
  AutoUpdateDialog dialog(plot, ui, parent);
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace zentrik
