// The straightforward drawing the quick ways of QtSurface are measured against:
// every call drawn on its own with the painter, as the surface did before it took
// shortcuts: a line per lineTo, the text laid out and measured on each drawText.
// It draws on any painter: pictures, SVG and PDF documents.
#pragma once

#include <QImage>
#include <QPainter>
#include <QRegion>
#include <cmath>
#include <vector>

#include "display/Surface.h"
#include "display/qt/QtSurface.h"
#include "display/qt/TextStamp.h"

namespace zentrik::testing {

inline QColor colour_of(uint32_t color) { return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF); }

class StraightSurface : public Surface {
 public:
  explicit StraightSurface(QPainter& painter) : painter_(painter) {
    setPen(Pen{});
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setRenderHint(QPainter::TextAntialiasing, true);
    painter_.setBackgroundMode(Qt::TransparentMode);
  }
  void fillRect(const Rect& r, uint32_t color) override {
    painter_.fillRect(QRect(r.left, r.top, r.right - r.left, r.bottom - r.top), colour_of(color));
  }
  void moveTo(int x, int y) override {
    at_ = QPoint(x, y);
    travel_ = 0;
  }
  void lineTo(int x, int y) override {
    const QPoint to(x, y);
    if (to == at_) return;
    if (pen_.style() == Qt::CustomDashLine) {
      QPen pen = pen_;
      pen.setDashOffset(travel_ / pen.widthF());
      painter_.setPen(pen);
      travel_ += std::hypot(to.x() - at_.x(), to.y() - at_.y());
    }
    painter_.drawLine(at_, to);
    at_ = to;
  }
  void setPen(const Pen& pen) override {
    pen_ = QPen(colour_of(pen.color));
    pen_.setWidth(std::max(pen.width, 1));
    pen_.setCapStyle(Qt::FlatCap);
    pen_.setJoinStyle(Qt::MiterJoin);
    if (pen.style == PenStyle::Dash) pen_.setDashPattern({18, 6});
    if (pen.style == PenStyle::Dot) pen_.setDashPattern({3, 3});
    if (pen.style == PenStyle::DashDot) pen_.setDashPattern({9, 6, 3, 6});
    if (pen.style == PenStyle::DashDotDot) pen_.setDashPattern({9, 3, 3, 3, 3, 3});
    painter_.setPen(pen_);
    travel_ = 0;
  }
  void setFont(const Font& font) override { painter_.setFont(to_qfont(font)); }
  void setTextColor(uint32_t color) override { text_color_ = color; }
  void setBackgroundOpaque(bool opaque) override { opaque_ = opaque; }
  void drawText(int x, int y, std::string_view text, TextAlign align, bool turned) override {
    const QString q = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    draw_plain_text(painter_, x, y, q, text_cell(painter_.fontMetrics(), q, align), colour_of(text_color_), opaque_,
                    turned);
    painter_.setPen(pen_);
  }
  TextExtent textExtent(std::string_view text) override {
    const QString q = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    return {painter_.fontMetrics().horizontalAdvance(q), painter_.fontMetrics().height()};
  }
  void save() override {
    saved_.push_back({pen_, text_color_, opaque_});
    painter_.save();
  }
  void restore() override {
    if (saved_.empty()) return;
    pen_ = saved_.back().pen;
    text_color_ = saved_.back().text_color;
    opaque_ = saved_.back().opaque;
    saved_.pop_back();
    painter_.restore();
  }
  void excludeClip(const Rect& r) override {
    QRegion region = painter_.hasClipping() ? painter_.clipRegion() : QRegion(painter_.window());
    painter_.setClipRegion(region.subtracted(QRegion(r.left, r.top, r.right - r.left, r.bottom - r.top)));
  }
  void setLogicalWindow(int x, int y, int width, int height) override {
    if (width > 0 && height > 0) painter_.setWindow(x, y, width, height);
  }

 private:
  struct Saved {
    QPen pen;
    uint32_t text_color;
    bool opaque;
  };
  QPainter& painter_;
  QPen pen_;
  QPoint at_;
  double travel_ = 0;
  uint32_t text_color_ = kBlack;
  bool opaque_ = true;
  std::vector<Saved> saved_;
};

}  // namespace zentrik::testing
