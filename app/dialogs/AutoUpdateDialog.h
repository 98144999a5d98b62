// "Automatic Updates . . ." of the plot window: the "Auto-Update Settings" dialog with
// the seconds between checks of the data file for changes. The data set's reloads
// are held back while it is open; its OK is plot commands' enter_update_interval.
#pragma once

#include <QDialog>

#include "app/shell/Shell.h"
#include "ui/Ui.h"

class QLineEdit;
class QPushButton;

namespace zentrik {

class AutoUpdateDialog : public QDialog {
 public:
  // Shows the data set's current interval and raises its update hold until the
  // dialog is destroyed. The plot must show a data set.
  AutoUpdateDialog(Plot& plot, Ui& ui, QWidget* parent = nullptr);
  ~AutoUpdateDialog() override;

  QLineEdit* intervalField() const { return interval_; }
  QPushButton* okButton() const { return ok_; }
  QPushButton* cancelButton() const { return cancel_; }

  // OK: a number of seconds of zero or more becomes the data set's interval (0 ends
  // the automatic updates) and the dialog closes; anything else is refused with a
  // message and the dialog stays open.
  void accept() override;

 private:
  Plot& plot_;
  DataFile& data_;
  Ui& ui_;
  QLineEdit* interval_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

// The dialog; true when OK set the interval. A plot whose data set has several
// files has no automatic updates: that only beeps.
bool exec_auto_update_settings(Plot& plot, Ui& ui, QWidget* parent);

}  // namespace zentrik
