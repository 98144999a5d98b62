// The "File Exists!" dialog of the copy: overwrite this file, skip it or cancel the
// installation, and how to treat existing files from now on.
#pragma once

#include <QDialog>

#include "setup/SetupUi.h"

class QButtonGroup;

namespace zentrik {

class FileExistsDialog : public QDialog {
 public:
  FileExistsDialog(const QString& destination, QWidget* parent = nullptr);

  // The button that ended the dialog and the future choice; closing it is "Cancel
  // Installation".
  FileExistsAnswer answer() const { return answer_; }

 private:
  void finish(FileExistsAnswer::Button button);

  QButtonGroup* future_;
  FileExistsAnswer answer_{FileExistsAnswer::Button::CancelInstallation, OverwriteMode::Ask};
};

}  // namespace zentrik
