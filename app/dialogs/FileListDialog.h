// "&File List" of the plot window: the "Data Files" dialog listing the files of the
// window's data set ("Data File Name(s)"), closed with "&Dismiss".
#pragma once

#include <QDialog>

class QListWidget;
class QPushButton;

namespace zentrik {

class DataFile;

// The list of a data set's files as plot commands' data_file_names gives it; it
// scrolls sideways to its widest entry. Used by the Object Attributes dialog too.
QListWidget* new_data_file_list(const DataFile& data, QWidget* parent);

class FileListDialog : public QDialog {
 public:
  explicit FileListDialog(const DataFile& data, QWidget* parent = nullptr);

  QListWidget* list() const { return list_; }
  QPushButton* dismissButton() const { return dismiss_; }

 private:
  QListWidget* list_ = nullptr;
  QPushButton* dismiss_ = nullptr;
};

void exec_file_list(const DataFile& data, QWidget* parent);

}  // namespace zentrik
