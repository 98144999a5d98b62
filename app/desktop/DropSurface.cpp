#include "app/desktop/DropSurface.h"

#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFont>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QUrl>

namespace zentrik {
namespace {

QColor color_of(uint32_t bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }

}  // namespace

QStringList dropped_names(const QMimeData& mime) {
  QStringList names;
  for (const QUrl& url : mime.urls()) {
    if (url.isLocalFile())
      names << url.toLocalFile();
    else if (url.scheme() == "http" || url.scheme() == "https")
      names << url.toString();
  }
  return names;
}

bool drop_text_is_white(uint32_t bgr) {
  const int sum = static_cast<int>((bgr & 0xFF) + ((bgr >> 8) & 0xFF) + ((bgr >> 16) & 0xFF));
  return sum / 3 < 127;
}

DropSurface::DropSurface(const uint32_t& color, QMenu* context_menu, QWidget* parent)
    : QWidget(parent), color_(color), context_menu_(context_menu) {
  setAcceptDrops(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);  // the main window's keys arrive here, not at the menu bar
  setMinimumSize(200, 60);
}

void DropSurface::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), color_of(color_));
  QFont font = painter.font();
  font.setPixelSize(17);
  font.setWeight(QFont::Weight(500));
  painter.setFont(font);
  painter.setPen(drop_text_is_white(color_) ? Qt::white : Qt::black);
  // The two lines stand at one and two thirds of the height the two lines leave.
  const int line = painter.fontMetrics().height();
  const int room = height() - 2 * line;
  painter.drawText(QRect(0, room / 3, width(), line), Qt::AlignHCenter | Qt::AlignTop,
                   "To plot a file, drop it here,");
  painter.drawText(QRect(0, 2 * room / 3 + line, width(), line), Qt::AlignHCenter | Qt::AlignTop,
                   "double click here or press F");
  painter.setPen(QColor(128, 128, 128));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void DropSurface::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    if ((event->modifiers() & Qt::ControlModifier) && (event->modifiers() & Qt::ShiftModifier)) emit resetRequested();
    return;
  }
  if (event->button() == Qt::LeftButton) emit doubleClicked();
}

void DropSurface::contextMenuEvent(QContextMenuEvent* event) {
  if (context_menu_) context_menu_->exec(event->globalPos());
}

void DropSurface::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls() && !dropped_names(*event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void DropSurface::dropEvent(QDropEvent* event) {
  const QStringList names = dropped_names(*event->mimeData());
  if (names.isEmpty()) return;
  event->acceptProposedAction();
  emit filesDropped(names);
}

}  // namespace zentrik
