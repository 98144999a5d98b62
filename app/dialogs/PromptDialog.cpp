#include "app/dialogs/PromptDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/dialogs/DialogButtons.h"

namespace zentrik {
namespace {

TextPrompter& prompter_in_use() {
  static TextPrompter prompter;
  return prompter;
}

}  // namespace

PromptDialog::PromptDialog(QWidget* parent, const QString& caption, const QString& label, const QString& initial,
                           const QStringList& offered)
    : QDialog(parent) {
  setWindowTitle(caption);
  auto* layout = new QVBoxLayout(this);
  label_ = new QLabel(label, this);
  label_->setWordWrap(true);
  layout->addWidget(label_);
  if (offered.isEmpty()) {
    field_ = new QLineEdit(this);
    layout->addWidget(field_);
  } else {
    combo_ = new QComboBox(this);
    combo_->setEditable(true);
    combo_->setInsertPolicy(QComboBox::NoInsert);  // the caller keeps its own list
    combo_->addItems(offered);
    field_ = combo_->lineEdit();
    layout->addWidget(combo_);
  }
  label_->setBuddy(combo_ ? static_cast<QWidget*>(combo_) : field_);
  field_->setText(initial);
  field_->selectAll();
  field_->setFocus();

  const OkCancel buttons = add_ok_cancel(*this);
  ok_ = buttons.ok;
  cancel_ = buttons.cancel;
  layout->addWidget(buttons.box);
  setMinimumWidth(380);
}

QString PromptDialog::text() const { return field_->text(); }

void PromptDialog::setText(const QString& text) {
  field_->setText(text);
  field_->selectAll();
}

std::optional<std::string> prompt_for_text(QWidget* parent, const std::string& caption, const std::string& label,
                                           const std::string& initial, const std::vector<std::string>& offered) {
  if (prompter_in_use()) return prompter_in_use()(PromptRequest{caption, label, initial, offered});
  QStringList entries;
  for (const std::string& entry : offered) entries << QString::fromStdString(entry);
  PromptDialog dialog(parent, QString::fromStdString(caption), QString::fromStdString(label),
                      QString::fromStdString(initial), entries);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.text().toStdString();
}

void set_text_prompter(TextPrompter prompter) { prompter_in_use() = std::move(prompter); }

}  // namespace zentrik
