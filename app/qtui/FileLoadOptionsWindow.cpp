#include "app/qtui/FileLoadOptionsWindow.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <limits>

namespace zentrik {
namespace {

QString qt(const std::string& text) { return QString::fromStdString(text); }

// A spin box for one of the numbers; an initial value outside the usual range (from
// a plot object) widens the range rather than being changed behind the user's back.
QSpinBox* number_box(int minimum, int maximum, int value, const char* name, QWidget* parent) {
  auto* box = new QSpinBox(parent);
  box->setObjectName(name);
  box->setRange(std::min(minimum, value), std::max(maximum, value));
  box->setValue(value);
  box->setAccelerated(true);
  return box;
}

}  // namespace

FileLoadOptionsWindow::FileLoadOptionsWindow(FileLoadOptionsDialog& dialog,
                                             std::function<void(const std::string&)> help, QWidget* parent)
    : QDialog(parent), dialog_(dialog), help_(std::move(help)) {
  setWindowTitle(tr("File Load Options"));
  const LoadOptionValues& values = dialog_.values();
  constexpr int kMaximum = std::numeric_limits<int32_t>::max();

  caption_line_ = new QLabel(this);
  caption_line_->setObjectName("captionLine");
  caption_line_->setTextFormat(Qt::PlainText);
  caption_line_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  line_ = new QLineEdit(this);
  line_->setObjectName("line");
  line_->setReadOnly(true);
  line_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  line_->setMinimumWidth(460);
  next_line_ = new QPushButton(tr("&Show Next Line"), this);
  count_ = new QPushButton(tr("Cou&nt Lines"), this);

  skip_ = number_box(0, kMaximumSkip, values.initial_skip, "initialSkip", this);
  load_ = number_box(0, kMaximum, values.loadnum, "loadnum", this);
  every_ = number_box(1, kMaximum, values.read_every, "readEvery", this);
  condition_ = new QLineEdit(qt(values.load_condition), this);
  condition_->setObjectName("condition");
  condition_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  dont_show_ = new QCheckBox(tr("Don't show this dialog box before &File Load"), this);
  dont_show_->setChecked(values.dont_show_again);

  ok_ = new QPushButton(tr("&OK"), this);
  ok_->setDefault(true);
  cancel_ = new QPushButton(tr("&Cancel"), this);
  auto* help_button = new QPushButton(tr("&Help"), this);
  help_button->setVisible(static_cast<bool>(help_));
  auto* defaults = new QPushButton(tr("Set As &Defaults"), this);
  defaults->setEnabled(false);
  for (QPushButton* button : {next_line_, count_, cancel_, help_button, defaults}) button->setAutoDefault(false);

  auto* stepping = new QHBoxLayout;
  stepping->addWidget(next_line_);
  stepping->addWidget(count_);
  stepping->addStretch();

  auto* numbers = new QGridLayout;
  numbers->addWidget(new QLabel(tr("Initially skip"), this), 0, 0);
  numbers->addWidget(skip_, 0, 1);
  numbers->addWidget(new QLabel(tr("Lines"), this), 0, 2, 1, 3);
  numbers->addWidget(new QLabel(tr("Load"), this), 1, 0);
  numbers->addWidget(load_, 1, 1);
  numbers->addWidget(new QLabel(tr("out of every"), this), 1, 2);
  numbers->addWidget(every_, 1, 3);
  numbers->addWidget(new QLabel(tr("lines"), this), 1, 4);
  numbers->setColumnStretch(5, 1);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  for (QPushButton* button : {ok_, cancel_, help_button, defaults}) buttons->addWidget(button);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(caption_line_);
  layout->addWidget(line_);
  layout->addLayout(stepping);
  layout->addSpacing(8);
  layout->addLayout(numbers);
  layout->addSpacing(8);
  layout->addWidget(new QLabel(tr("Only load lines where the following conditions are TRUE"), this));
  layout->addWidget(condition_);
  layout->addWidget(dont_show_);
  layout->addSpacing(8);
  layout->addLayout(buttons);

  connect(next_line_, &QPushButton::clicked, this, &FileLoadOptionsWindow::showNextLine);
  connect(count_, &QPushButton::clicked, this, &FileLoadOptionsWindow::countLines);
  connect(ok_, &QPushButton::clicked, this, &FileLoadOptionsWindow::accept);
  connect(cancel_, &QPushButton::clicked, this, &FileLoadOptionsWindow::reject);
  connect(help_button, &QPushButton::clicked, this, [this] {
    if (help_) help_(kHelpPage);
  });

  refreshLine();
  condition_->setFocus();
}

LoadOptionValues FileLoadOptionsWindow::entered() const {
  LoadOptionValues values;
  values.initial_skip = skip_->value();
  values.loadnum = load_->value();
  values.read_every = every_->value();
  values.load_condition = condition_->text().toStdString();
  values.dont_show_again = dont_show_->isChecked();
  return values;
}

void FileLoadOptionsWindow::accept() {
  // A spin box still being typed into holds its text only: take it first.
  for (QSpinBox* box : {skip_, load_, every_}) box->interpretText();
  if (dialog_.accept(entered())) {
    QDialog::accept();
    return;
  }
  condition_->setFocus();
  condition_->selectAll();
}

void FileLoadOptionsWindow::refreshLine() {
  caption_line_->setText(qt(dialog_.captionLine()));
  line_->setText(qt(dialog_.lineText()));
  line_->setCursorPosition(0);
}

void FileLoadOptionsWindow::showNextLine() {
  if (!dialog_.showNextLine()) {
    next_line_->setEnabled(false);  // the end of the file: it has beeped
    ok_->setFocus();
    return;
  }
  refreshLine();
}

void FileLoadOptionsWindow::countLines() {
  const QList<QPushButton*> busy = {ok_, cancel_, next_line_, count_};
  for (QPushButton* button : busy) button->setEnabled(false);
  caption_line_->setText(tr("Counting lines . . ."));
  caption_line_->repaint();
  dialog_.countLines();  // shows line 1 again and reports the total itself
  for (QPushButton* button : busy) button->setEnabled(true);  // line 1 again: there is a next line
  refreshLine();
  count_->setFocus();
}

}  // namespace zentrik
