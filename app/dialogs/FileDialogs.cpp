#include "app/dialogs/FileDialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>

namespace zentrik {
namespace {

FileChooser& chooser_in_use() {
  static FileChooser chooser;
  return chooser;
}

}  // namespace

QString qt_file_filter(const std::string& filter) {
  const QStringList parts = QString::fromStdString(filter).split('|');
  QStringList filters;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    if (parts[i].isEmpty() && parts[i + 1].isEmpty()) break;  // the "||" that ends the list
    QString patterns = parts[i + 1];
    patterns.replace(';', ' ');
    filters << parts[i] + " (" + patterns.simplified() + ")";
  }
  return filters.join(";;");
}

std::optional<std::string> choose_file_with_dialog(QWidget* parent, const FileDialogRequest& request,
                                                   FileDialogKind kind) {
  QFileDialog dialog(parent, QString::fromStdString(request.title), QString::fromStdString(request.folder),
                     qt_file_filter(request.filter));
  if (kind == FileDialogKind::Open) {
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
  } else {
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (!request.confirm_overwrite) dialog.setOption(QFileDialog::DontConfirmOverwrite);
  }
  if (!request.default_extension.empty()) dialog.setDefaultSuffix(QString::fromStdString(request.default_extension));
  if (!request.file_name.empty()) dialog.selectFile(QString::fromStdString(request.file_name));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().first().toStdString();
}

std::optional<std::string> choose_file(QWidget* parent, const FileDialogRequest& request, FileDialogKind kind) {
  if (chooser_in_use()) return chooser_in_use()(request, kind);
  return choose_file_with_dialog(parent, request, kind);
}

void set_file_chooser(FileChooser chooser) { chooser_in_use() = std::move(chooser); }

}  // namespace zentrik
