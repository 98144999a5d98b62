// The "File Load Options" dialog: the line of the file shown, the skip / every / load
// numbers, the load condition and the buttons that step through the file. The
// behaviour lives in the FileLoadOptionsDialog the loader hands over
// (data/LoadOptionsDialog.h); this window only draws it. QtUi::fileLoadOptions
// shows it modally.
#pragma once

#include <QDialog>
#include <functional>
#include <string>

#include "ui/FileLoadOptions.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace zentrik {

class FileLoadOptionsWindow : public QDialog {
  Q_OBJECT

 public:
  // The page of the user guide "&Help" opens (it describes the load options);
  // without a help hook the button is not shown.
  static constexpr const char* kHelpPage = "data-files.md";
  static constexpr int kMaximumSkip = 4000000;

  FileLoadOptionsWindow(FileLoadOptionsDialog& dialog, std::function<void(const std::string&)> help,
                        QWidget* parent = nullptr);

  // What the fields hold now.
  LoadOptionValues entered() const;

  void accept() override;  // "&OK": only when the dialog accepts the entered values

 private:
  void refreshLine();
  void showNextLine();
  void countLines();

  FileLoadOptionsDialog& dialog_;
  std::function<void(const std::string&)> help_;
  QLabel* caption_line_;
  QLineEdit* line_;
  QSpinBox* skip_;
  QSpinBox* load_;
  QSpinBox* every_;
  QLineEdit* condition_;
  QCheckBox* dont_show_;
  QPushButton* ok_;
  QPushButton* cancel_;
  QPushButton* next_line_;
  QPushButton* count_;
};

}  // namespace zentrik
