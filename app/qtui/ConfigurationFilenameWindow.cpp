#include "app/qtui/ConfigurationFilenameWindow.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zentrik {
namespace {

QString qt(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QString desktop_folder_dialog(QWidget* parent, const QString& title, const QString& start) {
  return QFileDialog::getExistingDirectory(parent, title, start);
}

}  // namespace

ConfigurationFilenameWindow::ConfigurationFilenameWindow(ConfigurationFilenameRequest& request, QWidget* parent)
    : QDialog(parent), request_(request), choose_folder_(desktop_folder_dialog) {
  setWindowTitle(qt(kConfigurationFilenameCaption));
  auto* text = new QLabel(qt(kConfigurationFilenameText), this);
  text->setTextFormat(Qt::PlainText);
  path_ = new QLineEdit(QString::fromStdString(request.path), this);
  path_->setObjectName("path");
  path_->setMinimumWidth(420);
  text->setBuddy(path_);
  auto* browse = new QPushButton(qt(kConfigurationBrowseLabel), this);
  browse->setAutoDefault(false);
  auto* field = new QHBoxLayout;
  field->addWidget(path_, 1);
  field->addWidget(browse);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  ok_ = buttons->button(QDialogButtonBox::Ok);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text);
  layout->addLayout(field);
  layout->addSpacing(6);
  layout->addWidget(buttons);

  // There is nothing to confirm while the field is empty.
  auto update_ok = [this] { ok_->setEnabled(!path_->text().trimmed().isEmpty()); };
  connect(path_, &QLineEdit::textChanged, this, update_ok);
  update_ok();
  connect(browse, &QPushButton::clicked, this, &ConfigurationFilenameWindow::browse);
  connect(buttons, &QDialogButtonBox::accepted, this, &ConfigurationFilenameWindow::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &ConfigurationFilenameWindow::reject);
}

void ConfigurationFilenameWindow::browse() {
  // Start in the folder of the path in the field when there is one.
  QString start = QFileInfo(path_->text().trimmed()).absolutePath();
  if (path_->text().trimmed().isEmpty() || !QFileInfo(start).isDir()) start = QDir::homePath();
  QString folder = choose_folder_(this, qt(kConfigurationBrowseTitle), start);
  if (folder.isEmpty()) return;
  while (folder.size() > 1 && folder.endsWith('/')) folder.chop(1);
  if (!folder.endsWith('/')) folder += '/';
  path_->setText(folder + qt(kConfigurationFileName));
}

void ConfigurationFilenameWindow::accept() {
  if (path_->text().trimmed().isEmpty()) return;
  request_.path = path_->text().trimmed().toStdString();
  QDialog::accept();
}

}  // namespace zentrik
