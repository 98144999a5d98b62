#include "app/qtui/LoadProgressWindow.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QVBoxLayout>
#include <QWindow>
#include <cmath>

namespace zentrik {
namespace {

constexpr int kMinimumWidth = 320;

// A bar that shows the text it is given, untouched by QProgressBar's % placeholders.
class TextBar : public QProgressBar {
 public:
  using QProgressBar::QProgressBar;
  void setBarText(const QString& text) {
    text_ = text;
    update();
  }
  QString text() const override { return text_; }

 private:
  QString text_;
};

}  // namespace

LoadProgressWindow::LoadProgressWindow(QWidget* parent)
    : QFrame(parent, Qt::Tool | Qt::FramelessWindowHint),
      text_(new QLabel(this)),
      bar_(new TextBar(this)),
      cancel_(new QPushButton(tr("&Cancel"), this)) {
  setFrameStyle(QFrame::Panel | QFrame::Raised);
  setLineWidth(2);
  setAutoFillBackground(true);
  setFocusPolicy(Qt::StrongFocus);

  text_->setTextFormat(Qt::PlainText);
  text_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  text_->setTextInteractionFlags(Qt::NoTextInteraction);
  bar_->setRange(0, 1000);
  bar_->setTextVisible(true);
  bar_->setAlignment(Qt::AlignCenter);
  bar_->hide();

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cancel_);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(14, 8, 14, 12);
  layout->addWidget(text_);
  layout->addWidget(bar_);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetMinimumSize);

  connect(cancel_, &QPushButton::clicked, this, [this] { cancelled_.store(true); });
  // Escape in the window is the Cancel button, as long as that can be pressed.
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(escape, &QShortcut::activated, this, [this] {
    if (cancel_->isVisible() && cancel_->isEnabled()) cancel_->click();
  });
}

void LoadProgressWindow::showOver(QWidget* over, const QString& text, bool cancel_button) {
  over_ = over ? over->window() : nullptr;
  cancelled_.store(false);
  fraction_ = 0;
  size_text_.clear();
  text_->setText(text);
  cancel_->setVisible(cancel_button);
  cancel_->setEnabled(true);
  updateBar();
  winId();  // the native window must exist to be kept above the window it belongs to
  if (QWindow* handle = windowHandle())
    handle->setTransientParent(over_ && over_->windowHandle() ? over_->windowHandle() : nullptr);
  resize(0, 0);
  fitAndCentre();
  show();
  raise();
  since_dispatch_.invalidate();  // the first check paints the window at once
}

void LoadProgressWindow::setText(const QString& text) {
  if (text == text_->text()) return;
  text_->setText(text);
  if (isVisible()) fitAndCentre();
}

void LoadProgressWindow::setFraction(double fraction) {
  fraction_ = fraction;
  updateBar();
}

void LoadProgressWindow::setSizeText(const QString& size_text) {
  size_text_ = size_text;
  updateBar();
}

void LoadProgressWindow::enableCancel(bool enabled) { cancel_->setEnabled(enabled); }

void LoadProgressWindow::dismiss() {
  hide();
  cancelled_.store(false);
}

bool LoadProgressWindow::cancelled() {
  if (!since_dispatch_.isValid() || since_dispatch_.elapsed() >= kDispatchMilliseconds) {
    QCoreApplication::processEvents();
    since_dispatch_.start();
  }
  return cancelled_.load();
}

QString LoadProgressWindow::text() const { return text_->text(); }

QString LoadProgressWindow::barText() const { return bar_->isHidden() ? QString() : bar_->text(); }

void LoadProgressWindow::updateBar() {
  // NaN and negative fractions draw no bar, like 0; beyond 1 the bar is full.
  const bool shown = fraction_ > 0;
  if (shown) {
    const double fraction = std::min(fraction_, 1.0);
    const int percent = static_cast<int>(std::floor(fraction * 100));
    QString text = QString::number(percent) + QLatin1Char('%');
    if (!size_text_.isEmpty()) text += QStringLiteral(" of ") + size_text_;
    static_cast<TextBar*>(bar_)->setBarText(text);
    bar_->setValue(static_cast<int>(std::lround(fraction * bar_->maximum())));
  }
  if (shown != !bar_->isHidden()) {
    bar_->setVisible(shown);
    if (isVisible()) fitAndCentre();
  }
}

void LoadProgressWindow::fitAndCentre() {
  const QSize wanted = sizeHint().expandedTo(QSize(kMinimumWidth, 0));
  const QSize size(std::max(width(), wanted.width()), wanted.height());  // never narrower while shown
  QRect area;
  if (over_) {
    area = over_->frameGeometry();
  } else if (QScreen* screen = QGuiApplication::primaryScreen()) {
    area = screen->availableGeometry();
  }
  QRect frame(QPoint(0, 0), size);
  if (area.isValid()) frame.moveCenter(area.center());
  if (QScreen* screen = over_ ? over_->screen() : QGuiApplication::primaryScreen()) {
    const QRect available = screen->availableGeometry();
    frame.moveLeft(std::clamp(frame.left(), available.left(), std::max(available.left(), available.right() - size.width())));
    frame.moveTop(std::clamp(frame.top(), available.top(), std::max(available.top(), available.bottom() - size.height())));
  }
  setGeometry(frame);
}

}  // namespace zentrik
