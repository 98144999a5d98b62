// "File&name Extensions . . ." of the main window: the "Data Filename Extensions"
// dialog over persist/SetupFileTable.h, which owns the rows and their checks. Rows
// bind a data file extension to the plot setup file new plots of such files start
// from and give the data file dialog its filters.
#pragma once

#include <string>
#include <vector>

#include <QDialog>

#include "persist/SetupFileTable.h"
#include "ui/Ui.h"

class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace zentrik {

class ExtensionsDialog : public QDialog {
 public:
  ExtensionsDialog(const std::string& filters, const std::vector<std::string>& psu_files, std::string settingsdir,
                   Ui& ui, QWidget* parent = nullptr);

  const SetupFileTable& table() const { return table_; }

  QTreeWidget* rowList() const { return list_; }  // one item per row: description, filter, setup file
  QLineEdit* descriptionField() const { return description_; }
  QLineEdit* filterField() const { return filter_; }
  QLineEdit* setupFileField() const { return setup_file_; }
  QPushButton* browseButton() const { return browse_; }
  QPushButton* addButton() const { return add_; }
  QPushButton* enterEditsButton() const { return enter_edits_; }
  QPushButton* removeButton() const { return remove_; }
  QPushButton* okButton() const { return ok_; }
  QPushButton* cancelButton() const { return cancel_; }

  // The selected row (which fills the fields), or -1.
  int selectedRow() const;
  void selectRow(int row);

 private:
  void addRow();
  void enterEdits();
  void removeRow();
  void browse();
  void refuseBar(QLineEdit* field, const QString& text);
  void showSelected();
  void refill(int selected);
  void updateButtons();
  void focusRefused(RowField field);
  SetupFileRow fieldsRow() const;

  SetupFileTable table_;
  std::string settingsdir_;
  Ui& ui_;
  QTreeWidget* list_ = nullptr;
  QLineEdit* description_ = nullptr;
  QLineEdit* filter_ = nullptr;
  QLineEdit* setup_file_ = nullptr;
  QPushButton* browse_ = nullptr;
  QPushButton* add_ = nullptr;
  QPushButton* enter_edits_ = nullptr;
  QPushButton* remove_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

// The dialog; on OK filters and psu_files are rebuilt from its rows and true is
// returned. The setup file chooser starts in settingsdir.
bool exec_filename_extensions(std::string& filters, std::vector<std::string>& psu_files,
                              const std::string& settingsdir, Ui& ui, QWidget* parent);

}  // namespace zentrik
