#include "app/dialogs/AboutDialog.h"

#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <QWindow>

#include "persist/PlotObject.h"

namespace zentrik {
namespace {

QPushButton* add_ok_button(QDialog* dialog, QVBoxLayout* layout) {
  auto* buttons = new QDialogButtonBox(dialog);
  QPushButton* ok = buttons->addButton(QObject::tr("OK"), QDialogButtonBox::AcceptRole);
  ok->setDefault(true);
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  layout->addWidget(buttons);
  return ok;
}

QLabel* paragraph(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setTextFormat(Qt::PlainText);
  label->setWordWrap(true);
  return label;
}

}  // namespace

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("About Zentrik"));
  auto* layout = new QVBoxLayout(this);
  name_ = new QLabel(tr("Zentrik"), this);
  QFont big = name_->font();
  big.setPointSizeF(big.pointSizeF() * 1.8);
  big.setBold(true);
  name_->setFont(big);
  name_->setAlignment(Qt::AlignCenter);
  version_ = new QLabel(tr("Version") + " " + QString::fromUtf8(kProgramVersion.data(), kProgramVersion.size()), this);
  version_->setAlignment(Qt::AlignCenter);
  auto* what = new QLabel(tr("X-Y plots and histograms of ASCII data files"), this);
  what->setAlignment(Qt::AlignCenter);
  layout->addWidget(name_);
  layout->addWidget(version_);
  layout->addSpacing(6);
  layout->addWidget(what);
  layout->addSpacing(6);
  ok_ = add_ok_button(this, layout);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

// Centred on the desktop rather than over the main window.
void AboutDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  const QScreen* screen = windowHandle() && windowHandle()->screen() ? windowHandle()->screen()
                                                                     : QGuiApplication::primaryScreen();
  if (!screen) return;
  QRect frame = frameGeometry();
  frame.moveCenter(screen->availableGeometry().center());
  move(frame.topLeft());
}

DisclaimerDialog::DisclaimerDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("Zentrik"));
  auto* layout = new QVBoxLayout(this);
  heading_ = new QLabel(tr("DISCLAIMER:"), this);
  QFont bold = heading_->font();
  bold.setBold(true);
  heading_->setFont(bold);
  warranty_ = paragraph(tr("This software is provided AS IS, with no waranty expressed or implied.  Responsibility "
                           "for interpreting and determining the accuracy of this program's output rests solely on "
                           "the user."),
                        this);
  liability_ = paragraph(tr("Vantrell and it's parties are in no way liable for any losses or  injuries incurred as a "
                            "result of any use of this or any other program."),
                         this);
  layout->addWidget(heading_);
  layout->addWidget(warranty_);
  layout->addWidget(liability_);
  ok_ = add_ok_button(this, layout);
  setMinimumWidth(420);
}

void show_about(QWidget* parent) {
  AboutDialog dialog(parent);
  dialog.exec();
}

void show_disclaimer(QWidget* parent) {
  DisclaimerDialog dialog(parent);
  dialog.exec();
}

}  // namespace zentrik
