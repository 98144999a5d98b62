// The "Enter Configuration Filename" dialog of the first start: the path of the
// configuration file, with "&Browse . . ." to pick its folder. QtUi shows it modally;
// whether the path can be written is the caller's check.
#pragma once

#include <QDialog>
#include <functional>

#include "ui/ConfigLocationDialogs.h"

class QLineEdit;
class QPushButton;

namespace zentrik {

class ConfigurationFilenameWindow : public QDialog {
  Q_OBJECT

 public:
  // Picks a folder: (parent, title, folder to start in) -> the folder, "" when cancelled.
  using FolderChooser = std::function<QString(QWidget*, const QString&, const QString&)>;

  explicit ConfigurationFilenameWindow(ConfigurationFilenameRequest& request, QWidget* parent = nullptr);

  // Replaces the desktop's folder dialog (tests).
  void setFolderChooser(FolderChooser chooser) { choose_folder_ = std::move(chooser); }
  void browse();  // "&Browse . . ."
  void accept() override;  // "OK": fills request.path

 private:
  ConfigurationFilenameRequest& request_;
  QLineEdit* path_;
  QPushButton* ok_;
  FolderChooser choose_folder_;
};

}  // namespace zentrik
