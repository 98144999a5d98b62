#include "display/qt/QtSurface.h"

#include <QColor>
#include <QFontMetrics>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QRegion>
#include <QString>
#include <algorithm>
#include <cstdlib>
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

// Stamps kept per surface; texts beyond them are drawn plainly.
constexpr std::size_t kStamps = 256;

bool whole(qreal value) { return value == std::floor(value) && std::abs(value) < 1e6; }

// Which rows a thin line straight down (or up) from row 1 to row 5 paints, as the
// raster engine draws it: it leaves out one end, and which one is found here once.
struct VerticalRows {
  int from_top = 1, from_bottom = 0;  // the painted rows: top + from_top .. bottom - from_bottom
  bool known = false;
};
VerticalRows probe_vertical_rows(bool down) {
  QImage image(1, 7, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    painter.setPen(to_qpen(Pen{}));
    painter.drawLine(QPoint(0, down ? 1 : 5), QPoint(0, down ? 5 : 1));
  }
  int first = -1, last = -1, count = 0;
  for (int y = 0; y < 7; ++y)
    if (image.pixel(0, y) != qRgb(255, 255, 255)) {
      if (first < 0) first = y;
      last = y;
      ++count;
    }
  VerticalRows rows;
  rows.known = first >= 1 && last <= 5 && count == last - first + 1 && count >= 3;
  if (rows.known) rows = {first - 1, 5 - last, true};
  return rows;
}
const VerticalRows& vertical_rows(bool down) {
  static const VerticalRows downward = probe_vertical_rows(true), upward = probe_vertical_rows(false);
  return down ? downward : upward;
}

}  // namespace

QFont to_qfont(const Font& font) {
  QFont qfont(font.face.empty() ? QStringLiteral("Sans Serif") : QString::fromStdString(font.face));
  const int height = font.height == 0 ? -kDefaultPixelHeight : font.height;
  // The size is taken as a 64-bit magnitude: the most negative height has no int negation.
  const int pixels = static_cast<int>(std::clamp<long long>(std::llabs(static_cast<long long>(height)), 1, 2000));
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
  QPaintDevice* device = painter_.device();
  if (painter_.isActive() && device && device->devType() == QInternal::Image &&
      painter_.paintEngine()->type() == QPaintEngine::Raster) {
    auto* image = static_cast<QImage*>(device);
    if (image->format() == QImage::Format_RGB32) {
      // the painter holds the only reference while it paints: no copy is made here
      bits_ = image->bits();
      bytes_per_line_ = image->bytesPerLine();
      image_width_ = image->width();
      image_height_ = image->height();
      image_unscaled_ = image->devicePixelRatio() == 1.0;
    }
  }
}

// Which quick ways hold under the painter's present transformation and clipping.
// While they don't, nothing drawn is followed, so the columns start afresh.
void QtSurface::update_geometry() {
  if (geometry_known_) return;
  geometry_known_ = true;
  translated_ = fast_ = false;
  const QTransform transform = painter_.combinedTransform();
  translated_ = transform.type() <= QTransform::TxTranslate && whole(transform.dx()) && whole(transform.dy());
  fast_ = translated_ && bits_ && image_unscaled_ &&
          painter_.compositionMode() == QPainter::CompositionMode_SourceOver && painter_.opacity() == 1.0 &&
          !painter_.testRenderHint(QPainter::Antialiasing);
  if (fast_) {
    offset_ = QPoint(static_cast<int>(transform.dx()), static_cast<int>(transform.dy()));
    clip_ = QRect(0, 0, image_width_, image_height_);
    if (painter_.hasClipping()) {
      const QRegion region = painter_.clipRegion();
      fast_ = region.rectCount() <= 1;
      clip_ &= region.boundingRect().translated(offset_);
    }
  }
  if (!fast_) columns_.reset(image_width_, columns_.color());
}

void QtSurface::use_pen() {
  if (pen_set_) return;
  painter_.setPen(state_.pen);
  pen_set_ = true;
}

void QtSurface::forget_columns() {
  if (fast_) columns_.reset(image_width_, columns_.color());
}

void QtSurface::fillRect(const Rect& rect, uint32_t color) {
  painter_.fillRect(to_qrect(rect), to_qcolor(color));
  update_geometry();
  if (!fast_) return;
  const QRect filled = to_qrect(rect).translated(offset_) & clip_;
  for (int x = filled.left(); x <= filled.right(); ++x) columns_.cut(x, filled.top(), filled.bottom());
}

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
  update_geometry();
  if (fast_) {
    // what the columns know stays true under lines of their colour, of any width or dashes
    const uint32_t color = state_.pen.color().rgb();
    if (columns_.color() != color) columns_.reset(image_width_, color);
    const VerticalRows& rows = vertical_rows(y > current_.y());
    if (state_.thin_solid && to.x() == current_.x() && rows.known) {
      // a line straight up or down: left out when its column already holds its colour
      // on the rows it would paint
      const int column = x + offset_.x();
      const int from = current_.y() + offset_.y(), end = y + offset_.y();
      const int top = std::max(std::min(from, end) + rows.from_top, clip_.top());
      const int bottom = std::min(std::max(from, end) - rows.from_bottom, clip_.bottom());
      if (column < clip_.left() || column > clip_.right() || top > bottom || columns_.holds(column, top, bottom)) {
        current_ = to;
        return;
      }
      columns_.add(column, top, bottom);
    }
  }
  use_pen();
  if (state_.pen.style() == Qt::CustomDashLine) {
    QPen pen = state_.pen;
    pen.setDashOffset(dash_travel_ / pen.widthF());
    painter_.setPen(pen);
    pen_set_ = false;
    dash_travel_ += std::hypot(to.x() - current_.x(), to.y() - current_.y());
  }
  painter_.drawLine(current_, to);
  current_ = to;
}

void QtSurface::setPen(const Pen& pen) {
  state_.pen = to_qpen(pen);
  state_.thin_solid = pen.style == PenStyle::Solid && pen.width <= 1;
  painter_.setPen(state_.pen);
  pen_set_ = true;
  dash_travel_ = 0;
}

void QtSurface::setFont(const Font& font) {
  painter_.setFont(to_qfont(font));
  ++font_serial_;
}

void QtSurface::setTextColor(uint32_t color) {
  state_.text_color = color;
  state_.text_pixel = to_qcolor(color).rgb();
}

void QtSurface::setBackgroundOpaque(bool opaque) { state_.opaque = opaque; }

void QtSurface::drawText(int x, int y, std::string_view text, TextAlign align, bool turned) {
  if (!turned && !state_.opaque) {
    update_geometry();
    if (translated_) {
      if (const TextStamp* stamp = stamp_for(text, align)) {
        draw_stamp(*stamp, x, y);
        return;
      }
    }
  }
  const QString qtext = to_qstring(text);
  draw_plain_text(painter_, x, y, qtext, text_cell(painter_.fontMetrics(), qtext, align),
                  to_qcolor(state_.text_color), state_.opaque, turned);
  pen_set_ = false;
  forget_columns();
}

// The stamp of a text in the present font, colour and alignment, made when the text
// comes a second time; none for a text drawn once.
TextStamp* QtSurface::stamp_for(std::string_view text, TextAlign align) {
  const uint32_t color = state_.text_color;
  auto matches = [&](const StampEntry& entry) {
    return entry.font_serial == font_serial_ && entry.color == color && entry.align == align && entry.text == text;
  };
  StampEntry* entry = last_stamp_ && matches(*last_stamp_) ? last_stamp_ : nullptr;
  for (auto it = stamps_.begin(); !entry && it != stamps_.end(); ++it)
    if (matches(*it)) entry = &*it;
  if (!entry) {
    if (stamps_.size() >= kStamps) {
      // make room by forgetting the texts that came only once
      std::erase_if(stamps_, [](const StampEntry& e) { return !e.stamp; });
      last_stamp_ = nullptr;
      if (stamps_.size() >= kStamps) return nullptr;
    }
    entry = &stamps_.emplace_back();
    entry->font_serial = font_serial_;
    entry->text = std::string(text);
    entry->color = color;
    entry->align = align;
  }
  last_stamp_ = entry;
  if (!entry->stamp && ++entry->uses >= 2) {
    entry->stamp = std::make_unique<TextStamp>(painter_, to_qstring(text), color, align);
    pen_set_ = false;
  }
  return entry->stamp.get();
}

// Whether every pixel the stamp would touch at the anchor already holds its colour
// (or lies outside the clipping).
bool QtSurface::changes_nothing(const TextStamp& stamp, int x, int y) const {
  int column = x + stamp.ink_left();
  for (auto [top, bottom] : stamp.ink_rows()) {
    if (top <= bottom && column >= clip_.left() && column <= clip_.right()) {
      const int from = std::max(y + top, clip_.top()), to = std::min(y + bottom, clip_.bottom());
      if (from <= to && !columns_.holds(column, from, to)) return false;
    }
    ++column;
  }
  return true;
}

void QtSurface::draw_stamp(const TextStamp& stamp, int x, int y) {
  if (!fast_ || !stamp.knows_ink()) {
    stamp.draw(painter_, x, y);
    pen_set_ = false;
    forget_columns();
    return;
  }
  const int device_x = x + offset_.x(), device_y = y + offset_.y();
  const bool keeps = stamp.keeps_own_colour() && state_.text_pixel == columns_.color();
  if (keeps && changes_nothing(stamp, device_x, device_y)) return;
  if (stamp.method() == TextStamp::Method::Blend) {
    stamp.blend(bits_, bytes_per_line_, clip_, device_x, device_y);
  } else {
    stamp.draw(painter_, x, y);
    pen_set_ = false;
  }
  if (keeps) return;
  int column = device_x + stamp.ink_left();
  for (auto [top, bottom] : stamp.ink_rows()) columns_.cut(column++, device_y + top, device_y + bottom);
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
  pen_set_ = false;
  ++font_serial_;
  geometry_known_ = false;
}

void QtSurface::excludeClip(const Rect& rect) {
  QRegion region = painter_.hasClipping() ? painter_.clipRegion() : QRegion(painter_.window());
  painter_.setClipRegion(region.subtracted(QRegion(to_qrect(rect))));
  geometry_known_ = false;
}

void QtSurface::setLogicalWindow(int x, int y, int width, int height) {
  if (width > 0 && height > 0) painter_.setWindow(x, y, width, height);
  geometry_known_ = false;
}

}  // namespace zentrik
