#include "setup/SetupWizard.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "setup/DesktopFiles.h"

namespace zentrik {
namespace {

QString qt(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QLabel* wrapped_label(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setWordWrap(true);
  return label;
}

}  // namespace

DestinationPage::DestinationPage(bool for_root, SetupUi& ui) : for_root_(for_root), ui_(ui) {
  setTitle(tr("Zentrik Destination Folder"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(wrapped_label(
      tr("Setup will install Zentrik in the folder below.  To install it somewhere else, type the folder's full "
         "path or choose it with Browse."),
      this));
  auto* row = new QHBoxLayout;
  folder_ = new QLineEdit(QString::fromStdString(default_destination(for_root)), this);
  browse_ = new QPushButton(tr("B&rowse"), this);
  row->addWidget(folder_, 1);
  row->addWidget(browse_);
  layout->addLayout(row);
  layout->addStretch();
  connect(browse_, &QPushButton::clicked, this, &DestinationPage::browse);
}

void DestinationPage::browse() {
  const QString chosen = QFileDialog::getExistingDirectory(this, qt(kBrowseTitle),
                                                           QString::fromStdString(browse_start_folder(for_root_)));
  if (!chosen.isEmpty()) folder_->setText(QString::fromStdString(with_zentrik_folder(chosen.toStdString())));
}

bool DestinationPage::validatePage() {
  std::string cleaned;
  if (const auto problem = destination_problem(folder_->text().toStdString(), cleaned)) {
    ui_.message(*problem, "Error!");
    return false;
  }
  folder_->setText(QString::fromStdString(cleaned));
  return true;
}

ShortcutPage::ShortcutPage(const IntegrationPaths& paths, SetupUi& ui) : paths_(paths), ui_(ui) {
  setTitle(tr("Zentrik Shortcut Locations"));
  auto* layout = new QGridLayout(this);
  layout->addWidget(wrapped_label(tr("Add shortcuts to Zentrik in these places:"), this), 0, 0, 1, 2);
  start_menu_ = new QCheckBox(tr("Applications Menu"), this);
  send_to_ = new QCheckBox(tr("\"Open With\" Menu"), this);
  desktop_ = new QCheckBox(tr("Desktop"), this);
  int row = 1;
  for (QCheckBox* box : {start_menu_, send_to_, desktop_}) {
    box->setChecked(true);
    layout->addWidget(box, row++, 0, 1, 2);
  }
  layout->addWidget(new QLabel(tr("Applications menu submenu (empty: Zentrik's own categories):"), this), row++, 0, 1, 2);
  submenu_ = new QLineEdit(this);
  layout->addWidget(submenu_, row++, 0, 1, 2);
  layout->addWidget(new QLabel(tr("Existing folders:"), this), row++, 0, 1, 2);
  folders_ = new QListWidget(this);
  for (const std::string& category : main_menu_categories()) folders_->addItem(QString::fromStdString(category));
  layout->addWidget(folders_, row, 0, 1, 2);
  connect(folders_, &QListWidget::currentTextChanged, submenu_, &QLineEdit::setText);
  connect(start_menu_, &QCheckBox::toggled, submenu_, &QWidget::setEnabled);
  connect(start_menu_, &QCheckBox::toggled, folders_, &QWidget::setEnabled);
}

void ShortcutPage::fill(InstallChoices& choices) const {
  choices.start_menu = start_menu_->isChecked();
  choices.send_to = send_to_->isChecked();
  choices.desktop = desktop_->isChecked();
  choices.submenu = submenu_->text().trimmed().toStdString();
}

bool ShortcutPage::validatePage() {
  InstallChoices choices;
  fill(choices);
  return accept_shortcut_choices(choices, paths_, ui_);
}

ReviewPage::ReviewPage(const std::function<InstallChoices()>& choices) : choices_(choices) {
  setTitle(tr("Ready to Install Zentrik"));
  auto* layout = new QVBoxLayout(this);
  review_ = new QLabel(this);
  review_->setTextFormat(Qt::PlainText);
  review_->setWordWrap(true);
  layout->addWidget(review_);
  layout->addStretch();
  layout->addWidget(wrapped_label(tr("Press Finish to install, Back to change a choice."), this));
}

void ReviewPage::initializePage() { review_->setText(QString::fromStdString(review_text(choices_()))); }

QString ReviewPage::text() const { return review_->text(); }

SetupWizard::SetupWizard(bool for_root, const IntegrationPaths& paths, SetupUi& ui, QWidget* parent)
    : QWizard(parent) {
  setWindowTitle(qt(kSetupTitle));
  setWizardStyle(QWizard::ClassicStyle);
  setMinimumSize(560, 480);
  destination_ = new DestinationPage(for_root, ui);
  shortcuts_ = new ShortcutPage(paths, ui);
  review_ = new ReviewPage([this] { return choices(); });
  addPage(destination_);
  addPage(shortcuts_);
  addPage(review_);
}

InstallChoices SetupWizard::choices() const {
  InstallChoices choices;
  choices.destination = destination_->folderEdit()->text().toStdString();
  shortcuts_->fill(choices);
  return choices;
}

}  // namespace zentrik
