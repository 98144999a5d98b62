// setup's modeless status window: a few lines saying what is being done and a
// "&Cancel" button whose presses the installer collects while it works.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace zentrik {

class StatusWindow : public QDialog {
 public:
  explicit StatusWindow(QWidget* parent = nullptr);

  void setText(const QString& text);
  QString text() const;
  QPushButton* cancelButton() const { return cancel_; }
  // True once for any presses of Cancel (or Escape, or the close button) since the
  // last call.
  bool takeCancelPress();

 protected:
  void reject() override;
  void closeEvent(QCloseEvent* event) override;

 private:
  QLabel* text_;
  QPushButton* cancel_;
  int presses_ = 0;
};

}  // namespace zentrik
