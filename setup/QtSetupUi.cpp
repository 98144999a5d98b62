#include "setup/QtSetupUi.h"

#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "setup/FileExistsDialog.h"

namespace zentrik {
namespace {

QString qt(const std::string& text) { return QString::fromStdString(text); }

QMessageBox::StandardButtons standard_buttons(Buttons buttons) {
  switch (buttons) {
    case Buttons::Ok: return QMessageBox::Ok;
    case Buttons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case Buttons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case Buttons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case Buttons::RetryCancel: return QMessageBox::Retry | QMessageBox::Cancel;
  }
  return QMessageBox::Ok;
}

Answer answer_of(int button) {
  switch (button) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Retry: return Answer::Retry;
    case QMessageBox::Cancel: return Answer::Cancel;
    default: return Answer::Ok;
  }
}

QMessageBox::Icon icon_for(const std::string& caption, Buttons buttons) {
  if (buttons != Buttons::Ok) return QMessageBox::Question;
  if (caption == "Installation Complete!" || caption == "Uninstall complete.") return QMessageBox::Information;
  return QMessageBox::Warning;
}

}  // namespace

QtSetupUi::QtSetupUi(QWidget* parent) : parent_(parent), status_(std::make_unique<StatusWindow>(parent)) {}

QtSetupUi::~QtSetupUi() = default;

QWidget* QtSetupUi::dialogParent() const {
  if (status_->isVisible()) return status_.get();
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  return parent_;
}

Answer QtSetupUi::message(const std::string& text, const std::string& caption, Buttons buttons) {
  QMessageBox box(icon_for(caption, buttons), qt(caption), qt(text), standard_buttons(buttons), dialogParent());
  box.setTextFormat(Qt::PlainText);
  // A question closed without an answer is answered No: nothing goes ahead unasked.
  if (buttons == Buttons::YesNo) box.setEscapeButton(QMessageBox::No);
  return answer_of(box.exec());
}

void QtSetupUi::beep() { QApplication::beep(); }

void QtSetupUi::statusShow(const std::string& text, bool cancel_button) {
  status_->setText(qt(text));
  status_->cancelButton()->setVisible(cancel_button);
  status_->takeCancelPress();
  status_->show();
  status_->raise();
}

void QtSetupUi::statusSetText(const std::string& text) { status_->setText(qt(text)); }

bool QtSetupUi::statusCancelPressed() {
  QApplication::processEvents();
  return status_->takeCancelPress();
}

void QtSetupUi::statusHide() { status_->hide(); }

FileExistsAnswer QtSetupUi::fileExists(const std::string& destination) {
  FileExistsDialog dialog(qt(destination), dialogParent());
  dialog.exec();
  return dialog.answer();
}

void QtSetupUi::waitDispatching(int milliseconds) {
  QEventLoop loop;
  QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
  loop.exec();
}

}  // namespace zentrik
