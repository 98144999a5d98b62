#include "app/dialogs/ExtensionsDialog.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/dialogs/DialogButtons.h"
#include "app/dialogs/FileDialogs.h"

namespace zentrik {
namespace {

QString qstring(const std::string& text) { return QString::fromStdString(text); }

// The table without one row. The table is rebuilt from the two values it would be
// stored as, so what remains is exactly what the configuration keeps of it.
SetupFileTable without_row(const SetupFileTable& table, std::size_t index) {
  std::string filters;
  std::vector<std::string> psu_files;
  for (std::size_t i = 0; i < table.rows().size(); ++i) {
    if (i == index) continue;
    const SetupFileRow& row = table.rows()[i];
    filters += row.description + "|" + row.filter + "|";
    if (!row.setup_file.empty() && row.filter.starts_with("*."))
      psu_files.push_back(row.filter.substr(1) + " " + row.setup_file);
  }
  return SetupFileTable::from_settings(filters + "|", psu_files);
}

}  // namespace

ExtensionsDialog::ExtensionsDialog(const std::string& filters, const std::vector<std::string>& psu_files,
                                   std::string settingsdir, Ui& ui, QWidget* parent)
    : QDialog(parent),
      table_(SetupFileTable::from_settings(filters, psu_files)),
      settingsdir_(std::move(settingsdir)),
      ui_(ui) {
  setWindowTitle(tr("Data Filename Extensions"));
  auto* layout = new QVBoxLayout(this);

  list_ = new QTreeWidget(this);
  list_->setColumnCount(3);
  list_->setHeaderLabels({tr("Description"), tr("Filter"), tr("Plot Setup File")});
  list_->setRootIsDecorated(false);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setAllColumnsShowFocus(true);
  list_->header()->setStretchLastSection(true);
  layout->addWidget(list_, 1);

  auto* fields = new QGridLayout;
  description_ = new QLineEdit(this);
  filter_ = new QLineEdit(this);
  filter_->setPlaceholderText(tr("*.dat"));
  setup_file_ = new QLineEdit(this);
  browse_ = new QPushButton(tr("&Browse . . ."), this);
  auto add_label = [&](const QString& text, QWidget* buddy, int row) {
    auto* label = new QLabel(text, this);
    label->setBuddy(buddy);
    fields->addWidget(label, row, 0);
  };
  add_label(tr("&Description:"), description_, 0);
  fields->addWidget(description_, 0, 1, 1, 2);
  add_label(tr("F&ilter:"), filter_, 1);
  fields->addWidget(filter_, 1, 1, 1, 2);
  add_label(tr("&Plot Setup File:"), setup_file_, 2);
  fields->addWidget(setup_file_, 2, 1);
  fields->addWidget(browse_, 2, 2);
  layout->addLayout(fields);

  auto* row_buttons = new QHBoxLayout;
  add_ = new QPushButton(tr("&Add"), this);
  enter_edits_ = new QPushButton(tr("&Enter Edits"), this);
  remove_ = new QPushButton(tr("&Remove"), this);
  for (QPushButton* button : {add_, enter_edits_, remove_}) {
    button->setAutoDefault(false);
    row_buttons->addWidget(button);
  }
  browse_->setAutoDefault(false);
  row_buttons->addStretch();
  layout->addLayout(row_buttons);

  const OkCancel buttons = add_ok_cancel(*this);
  ok_ = buttons.ok;
  cancel_ = buttons.cancel;
  layout->addWidget(buttons.box);

  connect(description_, &QLineEdit::textEdited, this, [this](const QString& text) { refuseBar(description_, text); });
  connect(filter_, &QLineEdit::textEdited, this, [this](const QString& text) { refuseBar(filter_, text); });
  connect(description_, &QLineEdit::textChanged, this, &ExtensionsDialog::updateButtons);
  connect(filter_, &QLineEdit::textChanged, this, &ExtensionsDialog::updateButtons);
  connect(list_, &QTreeWidget::itemSelectionChanged, this, &ExtensionsDialog::showSelected);
  connect(add_, &QPushButton::clicked, this, &ExtensionsDialog::addRow);
  connect(enter_edits_, &QPushButton::clicked, this, &ExtensionsDialog::enterEdits);
  connect(remove_, &QPushButton::clicked, this, &ExtensionsDialog::removeRow);
  connect(browse_, &QPushButton::clicked, this, &ExtensionsDialog::browse);

  refill(-1);
  resize(560, 380);
  description_->setFocus();
}

int ExtensionsDialog::selectedRow() const {
  const QList<QTreeWidgetItem*> selected = list_->selectedItems();
  return selected.isEmpty() ? -1 : list_->indexOfTopLevelItem(selected.first());
}

void ExtensionsDialog::selectRow(int row) {
  QTreeWidgetItem* item = row >= 0 ? list_->topLevelItem(row) : nullptr;
  if (item) {
    list_->setCurrentItem(item);
    item->setSelected(true);
  } else {
    list_->clearSelection();
  }
}

SetupFileRow ExtensionsDialog::fieldsRow() const {
  return SetupFileRow{description_->text().trimmed().toStdString(), filter_->text().trimmed().toStdString(),
                      setup_file_->text().trimmed().toStdString()};
}

void ExtensionsDialog::addRow() {
  if (!add_enabled(description_->text().toStdString(), filter_->text().toStdString())) return;
  const RowField refused = table_.add(fieldsRow(), ui_);
  if (refused != RowField::None) return focusRefused(refused);
  refill(-1);
  list_->scrollToItem(list_->topLevelItem(list_->topLevelItemCount() - 1));
  description_->clear();
  filter_->clear();
  setup_file_->clear();
  description_->setFocus();
}

void ExtensionsDialog::enterEdits() {
  const int row = selectedRow();
  if (row < 0) return;
  const RowField refused = table_.enter_edits(static_cast<std::size_t>(row), fieldsRow(), ui_);
  if (refused != RowField::None) return focusRefused(refused);
  refill(row);
}

void ExtensionsDialog::removeRow() {
  const int row = selectedRow();
  if (row < 0) return;
  table_ = without_row(table_, static_cast<std::size_t>(row));
  refill(-1);
  description_->clear();
  filter_->clear();
  setup_file_->clear();
}

void ExtensionsDialog::browse() {
  FileDialogRequest request;
  request.title = "Select Plot Setup File";
  request.filter = "Plot Setup Files|*.psu|All Files|*.*||";
  request.folder = settingsdir_;
  const QString current = setup_file_->text().trimmed();
  if (!current.isEmpty()) {
    const QFileInfo info(current);
    if (info.isAbsolute() && info.dir().exists()) request.folder = info.absolutePath().toStdString();
    request.file_name = info.fileName().toStdString();
  }
  if (std::optional<std::string> chosen = choose_file(this, request, FileDialogKind::Open))
    setup_file_->setText(qstring(*chosen));
}

// A "|" would break the filter text the table is stored as: it is taken out again
// at once, and the cursor stays where it was.
void ExtensionsDialog::refuseBar(QLineEdit* field, const QString& text) {
  if (check_typed_field(text.toStdString(), ui_)) return;
  const int cursor = field->cursorPosition();
  const int bars_before = text.left(cursor).count('|');
  QString cleaned = text;
  cleaned.remove('|');
  field->setText(cleaned);
  field->setCursorPosition(cursor - bars_before);
  field->setFocus();
}

void ExtensionsDialog::showSelected() {
  const int row = selectedRow();
  if (row >= 0) {
    const SetupFileRow& shown = table_.rows()[static_cast<std::size_t>(row)];
    description_->setText(qstring(shown.description));
    filter_->setText(qstring(shown.filter));
    setup_file_->setText(qstring(shown.setup_file));
  }
  updateButtons();
}

void ExtensionsDialog::refill(int selected) {
  const QSignalBlocker blocker(list_);
  list_->clear();
  for (const SetupFileRow& row : table_.rows())
    list_->addTopLevelItem(new QTreeWidgetItem({qstring(row.description), qstring(row.filter), qstring(row.setup_file)}));
  list_->resizeColumnToContents(0);
  list_->resizeColumnToContents(1);
  selectRow(selected);
  updateButtons();
}

void ExtensionsDialog::updateButtons() {
  const bool filled = add_enabled(description_->text().toStdString(), filter_->text().toStdString());
  add_->setEnabled(filled);
  enter_edits_->setEnabled(filled && selectedRow() >= 0);
  remove_->setEnabled(selectedRow() >= 0);
}

void ExtensionsDialog::focusRefused(RowField field) {
  QLineEdit* edit = field == RowField::Description ? description_ : filter_;
  edit->setFocus();
  edit->selectAll();
}

bool exec_filename_extensions(std::string& filters, std::vector<std::string>& psu_files,
                              const std::string& settingsdir, Ui& ui, QWidget* parent) {
  ExtensionsDialog dialog(filters, psu_files, settingsdir, ui, parent);
  if (dialog.exec() != QDialog::Accepted) return false;
  filters = dialog.table().filters();
  psu_files = dialog.table().psu_files();
  return true;
}

}  // namespace zentrik
