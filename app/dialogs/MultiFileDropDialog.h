// The Multi-File Drop Options dialog, asked when several files are dropped on the
// main window or on a plot window: join their lines side by side, append them one
// after another, or plot each in a window of its own (app/shell/DropChoice.h).
#pragma once

#include <QDialog>

#include "app/shell/DropChoice.h"

class QLabel;
class QPushButton;

namespace zentrik {

class MultiFileDropDialog : public QDialog {
 public:
  explicit MultiFileDropDialog(QWidget* parent = nullptr);

  // The button pressed; Cancel until one is, and for Escape or the close box.
  DropChoice choice() const { return choice_; }

  QLabel* label() const { return label_; }
  QPushButton* concatenateLinesButton() const { return lines_; }
  QPushButton* concatenateFilesButton() const { return files_; }
  QPushButton* separatePlotsButton() const { return separate_; }
  QPushButton* cancelButton() const { return cancel_; }
  QPushButton* helpButton() const { return help_; }

 private:
  void choose(DropChoice choice);

  DropChoice choice_ = DropChoice::Cancel;
  QLabel* label_ = nullptr;
  QPushButton* lines_ = nullptr;
  QPushButton* files_ = nullptr;
  QPushButton* separate_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QPushButton* help_ = nullptr;
};

// The dialog, modal for parent's window only so that its Help stays usable.
DropChoice exec_multi_file_drop(QWidget* parent);

}  // namespace zentrik
