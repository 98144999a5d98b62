#include "setup/FileExistsDialog.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zentrik {

FileExistsDialog::FileExistsDialog(const QString& destination, QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("File Exists!"));
  auto* layout = new QVBoxLayout(this);
  auto* text = new QLabel(tr("The file \n\n") + destination + tr("\n\n already exists.  Is it ok to overwrite it?"), this);
  text->setTextFormat(Qt::PlainText);
  text->setWordWrap(true);
  layout->addWidget(text);

  auto* buttons = new QHBoxLayout;
  const std::pair<QString, FileExistsAnswer::Button> labels[] = {
      {tr("Overwrite"), FileExistsAnswer::Button::Overwrite},
      {tr("Skip File"), FileExistsAnswer::Button::SkipFile},
      {tr("Cancel Installation"), FileExistsAnswer::Button::CancelInstallation}};
  for (const auto& [label, button] : labels) {
    auto* push = new QPushButton(label, this);
    push->setAutoDefault(false);
    if (button == FileExistsAnswer::Button::Overwrite) push->setDefault(true);
    connect(push, &QPushButton::clicked, this, [this, button = button] { finish(button); });
    buttons->addWidget(push);
  }
  layout->addLayout(buttons);

  auto* box = new QGroupBox(tr("On Future Existing Files . . ."), this);
  auto* choices = new QVBoxLayout(box);
  future_ = new QButtonGroup(this);
  const std::pair<QString, OverwriteMode> futures[] = {
      {tr("Never overwrite, don't ask again"), OverwriteMode::Never},
      {tr("Always overwrite, don't ask again"), OverwriteMode::Always},
      {tr("Keep Asking"), OverwriteMode::Ask}};
  for (const auto& [label, mode] : futures) {
    auto* choice = new QRadioButton(label, box);
    future_->addButton(choice, static_cast<int>(mode));
    choices->addWidget(choice);
    if (mode == OverwriteMode::Ask) choice->setChecked(true);
  }
  layout->addWidget(box);
}

void FileExistsDialog::finish(FileExistsAnswer::Button button) {
  answer_ = {button, static_cast<OverwriteMode>(future_->checkedId())};
  accept();
}

}  // namespace zentrik
