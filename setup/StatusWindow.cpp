#include "setup/StatusWindow.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "setup/WizardChecks.h"

namespace zentrik {

StatusWindow::StatusWindow(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QString::fromUtf8(kSetupTitle.data(), static_cast<qsizetype>(kSetupTitle.size())));
  setModal(false);
  auto* layout = new QVBoxLayout(this);
  text_ = new QLabel(this);
  text_->setTextFormat(Qt::PlainText);
  text_->setAlignment(Qt::AlignCenter);
  text_->setMinimumWidth(360);
  text_->setWordWrap(true);
  layout->addWidget(text_);
  cancel_ = new QPushButton(tr("&Cancel"), this);
  layout->addWidget(cancel_, 0, Qt::AlignHCenter);
  connect(cancel_, &QPushButton::clicked, this, [this] { ++presses_; });
}

void StatusWindow::setText(const QString& text) { text_->setText(text); }

QString StatusWindow::text() const { return text_->text(); }

bool StatusWindow::takeCancelPress() {
  if (presses_ == 0) return false;
  presses_ = 0;
  return true;
}

// Escape and the close button ask to cancel while Cancel is offered; the window
// itself stays until setup closes it.
void StatusWindow::reject() {
  if (!cancel_->isHidden()) ++presses_;
}

void StatusWindow::closeEvent(QCloseEvent* event) {
  reject();
  event->ignore();
}

}  // namespace zentrik
