#include "app/dialogs/ObjectAttributesDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/dialogs/DialogButtons.h"
#include "app/dialogs/FileDialogs.h"
#include "app/dialogs/FileListDialog.h"
#include "app/shell/PlotCommands.h"
#include "data/MultiFile.h"

namespace zentrik {
namespace {

QString load_parameters_text(const DataFile& data) {
  QString text = QObject::tr("Initially skip %1 lines\nLoad %2 out of every %3 lines\n")
                     .arg(data.initial_skip)
                     .arg(data.loadnum)
                     .arg(data.read_every);
  if (data.load_condition.empty())
    return text + QObject::tr("No load condition");
  return text + QObject::tr("Only load lines where:  %1").arg(QString::fromStdString(data.load_condition));
}

// The program a command starts: its first word, without quotes.
QString program_of(const QString& command) {
  const std::vector<std::string> words = split_command_line(command.toStdString());
  return words.empty() ? QString() : QString::fromStdString(words.front());
}

}  // namespace

std::string command_word(const std::string& path) {
  if (path.find_first_of(" \t\"'\\") == std::string::npos) return path;
  std::string word = "\"";
  for (char c : path) {
    if (c == '"' || c == '\\') word += '\\';
    word += c;
  }
  return word + "\"";
}

ObjectAttributesDialog::ObjectAttributesDialog(Plot& plot, QWidget* parent) : QDialog(parent), plot_(plot) {
  const ObjectRecord& record = *plot.object;
  const DataFile& data = *plot.window.data;
  setWindowTitle(tr("Object Attributes"));
  auto* layout = new QVBoxLayout(this);

  auto* files_label = new QLabel(tr("Data File Name(s)"), this);
  files_ = new_data_file_list(data, this);
  files_label->setBuddy(files_);
  layout->addWidget(files_label);
  layout->addWidget(files_);

  auto* command_label = new QLabel(tr("Command To Execute Before Data File Load"), this);
  command_ = new QLineEdit(QString::fromStdString(record.sys_command), this);
  command_label->setBuddy(command_);
  browse_ = new QPushButton(tr("&Browse..."), this);
  browse_->setAutoDefault(false);
  connect(browse_, &QPushButton::clicked, this, [this] { browse(); });
  auto* command_row = new QHBoxLayout;
  command_row->addWidget(command_, 1);
  command_row->addWidget(browse_);
  layout->addWidget(command_label);
  layout->addLayout(command_row);

  exclude_ = new QCheckBox(tr("Exclude Lines When Loading"), this);
  exclude_->setChecked(record.exclude_lines != 0);
  layout->addWidget(exclude_);

  auto* parameters_box = new QGroupBox(tr("File Load Parameters"), this);
  auto* parameters_layout = new QVBoxLayout(parameters_box);
  parameters_ = new QLabel(load_parameters_text(data), parameters_box);
  parameters_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  parameters_layout->addWidget(parameters_);
  layout->addWidget(parameters_box);

  auto* version_row = new QHBoxLayout;
  version_row->addWidget(new QLabel(tr("Zentrik Version"), this));
  version_ = new QLabel(QString::fromStdString(record.version), this);
  version_row->addWidget(version_, 1);
  layout->addLayout(version_row);

  const OkCancel buttons = add_ok_cancel(*this);
  ok_ = buttons.ok;
  cancel_ = buttons.cancel;
  layout->addWidget(buttons.box);
  command_->setFocus();
}

void ObjectAttributesDialog::browse() {
  FileDialogRequest request;
  request.title = tr("Command To Execute Before Data File Load").toStdString();
  request.filter = kProgramFilter;
  // start where the program named now lives, else in the home folder
  const QFileInfo program(program_of(command_->text()));
  request.folder = (program.isAbsolute() && program.dir().exists() ? program.absolutePath() : QDir::homePath())
                       .toStdString();
  if (program.isAbsolute()) request.file_name = program.fileName().toStdString();
  const std::optional<std::string> chosen = choose_file(this, request, FileDialogKind::Open);
  if (!chosen || chosen->empty()) return;
  command_->setText(QString::fromStdString(command_word(*chosen)));
  command_->setFocus();
}

void ObjectAttributesDialog::accept() {
  apply_object_attributes(plot_, command_->text().toStdString(), exclude_->isChecked());
  QDialog::accept();
}

bool exec_object_attributes(Plot& plot, Ui& ui, QWidget* parent) {
  if (!plot.object || !plot.window.data || plot.closed) {
    ui.beep();
    return false;
  }
  const ObjectRecord before = *plot.object;
  ObjectAttributesDialog dialog(plot, parent);
  if (dialog.exec() != QDialog::Accepted) return false;
  return plot.object->sys_command != before.sys_command || plot.object->exclude_lines != before.exclude_lines;
}

}  // namespace zentrik
