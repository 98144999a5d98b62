// "Object Attrib&utes . . ." of the plot window: the "Object Attributes" dialog of the
// plot object a window belongs to. It lists the data files, edits the command run
// before the data file is loaded and the "Exclude Lines When Loading" switch, and
// shows the load parameters and the version of the program that wrote the object.
// Its OK is plot commands' apply_object_attributes.
#pragma once

#include <QDialog>

#include "app/shell/Shell.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace zentrik {

// The filter of "&Browse...": programs on Linux have no extension of their own.
inline constexpr const char* kProgramFilter = "Programs|*|All Files|*||";

// A chosen program as one word of a command: quoted when it holds blanks or quotes.
std::string command_word(const std::string& path);

class ObjectAttributesDialog : public QDialog {
 public:
  // The plot must belong to an object and show a data set.
  explicit ObjectAttributesDialog(Plot& plot, QWidget* parent = nullptr);

  QListWidget* fileList() const { return files_; }
  QLineEdit* commandField() const { return command_; }
  QPushButton* browseButton() const { return browse_; }
  QCheckBox* excludeLines() const { return exclude_; }
  QLabel* loadParameters() const { return parameters_; }
  QLabel* version() const { return version_; }
  QPushButton* okButton() const { return ok_; }
  QPushButton* cancelButton() const { return cancel_; }

  // OK: the command and the switch go into the object, which is marked changed when
  // either differs.
  void accept() override;

 private:
  void browse();

  Plot& plot_;
  QListWidget* files_ = nullptr;
  QLineEdit* command_ = nullptr;
  QPushButton* browse_ = nullptr;
  QCheckBox* exclude_ = nullptr;
  QLabel* parameters_ = nullptr;
  QLabel* version_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

// The dialog; true when OK changed the object. Without an object it only beeps.
bool exec_object_attributes(Plot& plot, Ui& ui, QWidget* parent);

}  // namespace zentrik
