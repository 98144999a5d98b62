#include "app/qtui/CalculationErrorWindow.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

namespace zentrik {

CalculationErrorWindow::CalculationErrorWindow(CalculationErrorRequest& request, QWidget* parent)
    : QDialog(parent), request_(request) {
  setWindowTitle(tr("Calculation Error!"));
  setWindowFlag(Qt::WindowCloseButtonHint, false);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);

  auto* icon = new QLabel(this);
  const int size = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
  icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning, nullptr, this).pixmap(size, size));
  icon->setAlignment(Qt::AlignTop);
  auto* message = new QLabel(QString::fromStdString(request.message_text), this);
  message->setObjectName("message");
  message->setTextFormat(Qt::PlainText);
  message->setTextInteractionFlags(Qt::TextSelectableByMouse);
  message->setWordWrap(true);
  message->setMinimumWidth(420);
  auto* top = new QHBoxLayout;
  top->addWidget(icon);
  top->addWidget(message, 1);

  auto* group = new QButtonGroup(this);
  auto* choices_box = new QGroupBox(this);
  auto* choices_layout = new QVBoxLayout(choices_box);
  for (std::size_t i = 0; i < choices_.size(); ++i) {
    choices_[i] = new QRadioButton(QString::fromUtf8(kCalculationActionLabels[i].data(),
                                                     static_cast<qsizetype>(kCalculationActionLabels[i].size())),
                                   choices_box);
    group->addButton(choices_[i], static_cast<int>(i));
    choices_layout->addWidget(choices_[i]);
  }
  const auto plot_to_here = static_cast<std::size_t>(CalculationAction::PlotToHere);
  choices_[plot_to_here]->setEnabled(!request.plot_to_here_disabled);
  auto preselected = static_cast<std::size_t>(request.action);
  if (preselected >= choices_.size() || !choices_[preselected]->isEnabled())
    preselected = static_cast<std::size_t>(CalculationAction::ExcludeLine);  // a greyed choice cannot be taken
  choices_[preselected]->setChecked(true);

  same_action_ = new QCheckBox(tr("&Take the same action on all occurences of this error"), this);
  same_action_->setChecked(request.same_action);

  auto* offending = new QLineEdit(QString::fromStdString(request.offending_line), this);
  offending->setObjectName("offendingLine");
  offending->setReadOnly(true);
  offending->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  offending->setCursorPosition(0);
  auto* offending_label = new QLabel(tr("Offending Line"), this);
  offending_label->setBuddy(offending);

  auto* view_file = new QPushButton(tr("&View File"), this);
  view_file->setAutoDefault(false);
  view_file->setEnabled(static_cast<bool>(request.view_file));
  auto* ok = new QPushButton(tr("&OK"), this);
  ok->setDefault(true);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(view_file);
  buttons->addStretch();
  buttons->addWidget(ok);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(choices_box);
  layout->addWidget(same_action_);
  layout->addWidget(offending_label);
  layout->addWidget(offending);
  layout->addLayout(buttons);

  connect(view_file, &QPushButton::clicked, this, [this] {
    if (request_.view_file) request_.view_file();
  });
  connect(ok, &QPushButton::clicked, this, &CalculationErrorWindow::accept);
  choices_[preselected]->setFocus();
}

void CalculationErrorWindow::accept() {
  for (std::size_t i = 0; i < choices_.size(); ++i)
    if (choices_[i]->isChecked()) request_.action = static_cast<CalculationAction>(i);
  request_.same_action = same_action_->isChecked();
  QDialog::accept();
}

}  // namespace zentrik
