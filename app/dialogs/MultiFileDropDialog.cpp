#include "app/dialogs/MultiFileDropDialog.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/dialogs/HelpWindow.h"

namespace zentrik {

MultiFileDropDialog::MultiFileDropDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QString());
  auto* layout = new QVBoxLayout(this);
  label_ = new QLabel(tr("Multi-File Drop Options:"), this);
  layout->addWidget(label_);
  lines_ = new QPushButton(tr("Concatenate &Lines"), this);
  files_ = new QPushButton(tr("Concatenate &Files"), this);
  separate_ = new QPushButton(tr("&Separate Plot For Each File"), this);
  cancel_ = new QPushButton(tr("&Cancel"), this);
  help_ = new QPushButton(tr("&Help"), this);
  for (QPushButton* button : {lines_, files_, separate_}) layout->addWidget(button);
  layout->addSpacing(8);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(cancel_);
  bottom->addWidget(help_);
  layout->addLayout(bottom);
  for (QPushButton* button : {files_, separate_, cancel_, help_}) button->setAutoDefault(false);
  lines_->setDefault(true);
  lines_->setFocus();

  connect(lines_, &QPushButton::clicked, this, [this] { choose(DropChoice::ConcatenateLines); });
  connect(files_, &QPushButton::clicked, this, [this] { choose(DropChoice::ConcatenateFiles); });
  connect(separate_, &QPushButton::clicked, this, [this] { choose(DropChoice::SeparatePlots); });
  connect(cancel_, &QPushButton::clicked, this, [this] { choose(DropChoice::Cancel); });
  connect(help_, &QPushButton::clicked, this, [] { show_help(nullptr, "data-files.md"); });
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void MultiFileDropDialog::choose(DropChoice choice) {
  choice_ = choice;
  if (choice == DropChoice::Cancel)
    reject();
  else
    accept();
}

DropChoice exec_multi_file_drop(QWidget* parent) {
  MultiFileDropDialog dialog(parent);
  dialog.setWindowModality(Qt::WindowModal);
  dialog.exec();
  return dialog.choice();
}

}  // namespace zentrik
