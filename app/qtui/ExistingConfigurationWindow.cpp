#include "app/qtui/ExistingConfigurationWindow.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zentrik {
namespace {

QString qt(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

ExistingConfigurationWindow::ExistingConfigurationWindow(ExistingConfigurationRequest& request, QWidget* parent)
    : QDialog(parent), request_(request) {
  setWindowTitle(qt(kExistingConfigurationCaption));
  auto* layout = new QVBoxLayout(this);
  auto* text = new QLabel(qt(kExistingConfigurationText), this);
  text->setTextFormat(Qt::PlainText);
  layout->addWidget(text);
  for (std::size_t i = 0; i < choices_.size(); ++i) {
    choices_[i] = new QRadioButton(qt(kExistingConfigurationChoiceLabels[i]), this);
    layout->addWidget(choices_[i]);
  }
  auto chosen = static_cast<std::size_t>(request.choice);
  choices_[chosen < choices_.size() ? chosen : 0]->setChecked(true);
  if (!request.old_path.empty()) {
    // Which file was found, in small print under the choices.
    auto* path = new QLabel(QString::fromStdString(request.old_path), this);
    path->setObjectName("oldPath");
    path->setTextFormat(Qt::PlainText);
    path->setTextInteractionFlags(Qt::TextSelectableByMouse);
    path->setEnabled(false);
    layout->addSpacing(6);
    layout->addWidget(path);
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  layout->addSpacing(6);
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &ExistingConfigurationWindow::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &ExistingConfigurationWindow::reject);
}

void ExistingConfigurationWindow::accept() {
  for (std::size_t i = 0; i < choices_.size(); ++i)
    if (choices_[i]->isChecked()) request_.choice = static_cast<ExistingConfigurationChoice>(i);
  QDialog::accept();
}

}  // namespace zentrik
