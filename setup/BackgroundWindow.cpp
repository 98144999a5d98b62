#include "setup/BackgroundWindow.h"

#include <QLinearGradient>
#include <algorithm>
#include <QPainter>

#include "setup/WizardChecks.h"

namespace zentrik {
namespace {

QString title() { return QString::fromUtf8(kSetupTitle.data(), static_cast<qsizetype>(kSetupTitle.size())); }

}  // namespace

BackgroundWindow::BackgroundWindow() {
  setWindowTitle(title());
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void BackgroundWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QLinearGradient gradient(0, 0, 0, height());
  gradient.setColorAt(0, QColor(0, 0, 168));
  gradient.setColorAt(1, QColor(0, 0, 16));
  painter.fillRect(rect(), gradient);

  QFont font = painter.font();
  font.setPixelSize(std::max(24, height() / 14));
  font.setBold(true);
  font.setItalic(true);
  painter.setFont(font);
  const int margin = font.pixelSize() / 2;
  const int shadow = std::max(2, font.pixelSize() / 16);
  const QRect area = rect().adjusted(margin, margin, -margin, -margin);
  painter.setPen(Qt::black);
  painter.drawText(area.translated(shadow, shadow), Qt::AlignLeft | Qt::AlignTop, title());
  painter.setPen(Qt::white);
  painter.drawText(area, Qt::AlignLeft | Qt::AlignTop, title());
}

}  // namespace zentrik
