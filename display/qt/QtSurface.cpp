#include "display/qt/QtSurface.h"

#include <QColor>
#include <QFontMetrics>
#include <QPainter>
#include <QRegion>
#include <QString>
#include <algorithm>
#include <cmath>

namespace zentrik {
namespace {

QColor to_qcolor(uint32_t color) { return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF); }

QString to_qstring(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QRect to_qrect(const Rect& rect) { return QRect(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top); }

// Dashes and gaps in pen widths, as the classic desktop draws its one-pixel pens.
QList<qreal> dash_pattern(PenStyle style) {
  switch (style) {
    case PenStyle::Dash: return {18, 6};
    case PenStyle::Dot: return {3, 3};
    case PenStyle::DashDot: return {9, 6, 3, 6};
    case PenStyle::DashDotDot: return {9, 3, 3, 3, 3, 3};
    case PenStyle::Solid: break;
  }
  return {};
}

QPen to_qpen(const Pen& pen) {
  QPen qpen(to_qcolor(pen.color));
  qpen.setWidth(std::max(pen.width, 1));
  qpen.setCapStyle(Qt::FlatCap);
  qpen.setJoinStyle(Qt::MiterJoin);
  if (pen.style != PenStyle::Solid) qpen.setDashPattern(dash_pattern(pen.style));
  return qpen;
}

// The default height of a font whose height is 0.
constexpr int kDefaultPixelHeight = 12;

}  // namespace

QFont to_qfont(const Font& font) {
  QFont qfont(font.face.empty() ? QStringLiteral("Sans Serif") : QString::fromStdString(font.face));
  const int height = font.height == 0 ? -kDefaultPixelHeight : font.height;
  const int pixels = std::clamp(height < 0 ? -height : height, 1, 2000);
  qfont.setPixelSize(pixels);
  if (height > 0) {
    // a positive height is the whole character cell, leading included
    const int cell = QFontMetrics(qfont).height();
    if (cell > 0) qfont.setPixelSize(std::max(1, pixels * pixels / cell));
  }
  qfont.setWeight(static_cast<QFont::Weight>(std::clamp(font.weight == 0 ? 400 : font.weight, 1, 1000)));
  qfont.setItalic(font.italic);
  qfont.setUnderline(font.underline);
  qfont.setStrikeOut(font.strike);
  return qfont;
}

QtSurface::QtSurface(QPainter& painter) : painter_(painter) {
  state_.pen = to_qpen(Pen{});
  painter_.setPen(state_.pen);
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.setRenderHint(QPainter::TextAntialiasing, true);
  painter_.setBackgroundMode(Qt::TransparentMode);  // the opaque text cell is filled here
}

void QtSurface::fillRect(const Rect& rect, uint32_t color) { painter_.fillRect(to_qrect(rect), to_qcolor(color)); }

void QtSurface::moveTo(int x, int y) {
  current_ = QPoint(x, y);
  dash_travel_ = 0;
}

// A chain of short lines (a formula's curve) keeps its dashes going from one line
// to the next instead of starting each line with a dash.
void QtSurface::lineTo(int x, int y) {
  QPoint to(x, y);
  // Lines leave out their last pixel, so a line to where it stands covers none; a
  // curve of millions of points mostly repeats pixels.
  if (to == current_) return;
  if (state_.pen.style() == Qt::CustomDashLine) {
    QPen pen = state_.pen;
    pen.setDashOffset(dash_travel_ / pen.widthF());
    painter_.setPen(pen);
    dash_travel_ += std::hypot(to.x() - current_.x(), to.y() - current_.y());
  }
  painter_.drawLine(current_, to);
  current_ = to;
}

void QtSurface::setPen(const Pen& pen) {
  state_.pen = to_qpen(pen);
  painter_.setPen(state_.pen);
  dash_travel_ = 0;
}

void QtSurface::setFont(const Font& font) { painter_.setFont(to_qfont(font)); }

void QtSurface::setTextColor(uint32_t color) { state_.text_color = color; }

void QtSurface::setBackgroundOpaque(bool opaque) { state_.opaque = opaque; }

void QtSurface::drawText(int x, int y, std::string_view text, TextAlign align, bool turned) {
  const QString qtext = to_qstring(text);
  const QFontMetrics metrics = painter_.fontMetrics();
  const int width = metrics.horizontalAdvance(qtext);
  const int height = metrics.height();
  // the cell's top-left corner relative to the point, in the text's own direction
  int dx = 0;
  if (align.horizontal == HAlign::Centre) dx = -width / 2;
  if (align.horizontal == HAlign::Right) dx = -width;
  const int dy = align.vertical == VAlign::Top ? 0 : -height;
  const QRect cell(dx, dy, width, height);
  if (turned) {
    painter_.save();
    painter_.translate(x, y);
    painter_.rotate(-90);  // reading upward
  } else {
    painter_.translate(x, y);
  }
  if (state_.opaque) painter_.fillRect(cell, Qt::white);
  painter_.setPen(to_qcolor(state_.text_color));
  painter_.drawText(QPoint(dx, dy + metrics.ascent()), qtext);
  if (turned) {
    painter_.restore();
  } else {
    painter_.translate(-x, -y);
    painter_.setPen(state_.pen);
  }
}

TextExtent QtSurface::textExtent(std::string_view text) {
  const QFontMetrics metrics = painter_.fontMetrics();
  return {metrics.horizontalAdvance(to_qstring(text)), metrics.height()};
}

void QtSurface::save() {
  saved_.push_back(state_);
  painter_.save();
}

void QtSurface::restore() {
  if (saved_.empty()) return;
  state_ = saved_.back();
  saved_.pop_back();
  painter_.restore();
}

void QtSurface::excludeClip(const Rect& rect) {
  QRegion region = painter_.hasClipping() ? painter_.clipRegion() : QRegion(painter_.window());
  painter_.setClipRegion(region.subtracted(QRegion(to_qrect(rect))));
}

void QtSurface::setLogicalWindow(int x, int y, int width, int height) {
  if (width > 0 && height > 0) painter_.setWindow(x, y, width, height);
}

}  // namespace zentrik
