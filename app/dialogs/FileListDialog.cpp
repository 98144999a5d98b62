#include "app/dialogs/FileListDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/shell/PlotCommands.h"

namespace zentrik {

QListWidget* new_data_file_list(const DataFile& data, QWidget* parent) {
  auto* list = new QListWidget(parent);
  for (const std::string& name : data_file_names(data)) list->addItem(QString::fromStdString(name));
  list->setWordWrap(false);
  list->setTextElideMode(Qt::ElideNone);
  list->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  // wide enough for a usual path; longer ones scroll
  list->setMinimumWidth(list->fontMetrics().averageCharWidth() * 60);
  list->setMinimumHeight(list->fontMetrics().height() * 6);
  return list;
}

FileListDialog::FileListDialog(const DataFile& data, QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("Data Files"));
  auto* layout = new QVBoxLayout(this);
  auto* label = new QLabel(tr("Data File Name(s)"), this);
  list_ = new_data_file_list(data, this);
  label->setBuddy(list_);
  layout->addWidget(label);
  layout->addWidget(list_);
  auto* buttons = new QDialogButtonBox(this);
  dismiss_ = buttons->addButton(tr("&Dismiss"), QDialogButtonBox::AcceptRole);
  dismiss_->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons);
}

void exec_file_list(const DataFile& data, QWidget* parent) {
  FileListDialog dialog(data, parent);
  dialog.exec();
}

}  // namespace zentrik
