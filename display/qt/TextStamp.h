// A short text drawn again and again in one font, colour and alignment (a plot's
// point characters), measured and shaped once. On a raster picture a trial on
// scratch pictures like it picks the quickest way of drawing it that gives exactly
// the pixels of QPainter::drawText: its coverage blended straight into the pixels,
// or a QStaticText, or else the plain text. The trial also records which pixels
// the text touches, so that QtSurface can leave out a text that would change none.
// QtSurface owns the stamps; draw_plain_text is its ordinary way of drawing text.
#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QStaticText>
#include <QString>
#include <cstdint>
#include <utility>
#include <vector>

#include "display/Surface.h"

class QPainter;

namespace zentrik {

// Where a text's cell lies relative to its anchor, in the text's own direction.
struct TextCell {
  QRect rect;      // the cell, relative to the anchor
  int ascent = 0;  // the baseline below the cell's top
};
TextCell text_cell(const QFontMetrics& metrics, const QString& text, TextAlign align);

// The text at the anchor in the painter's font, on a white cell when opaque, reading
// upward when turned; leaves the painter's pen at the text colour.
void draw_plain_text(QPainter& painter, int x, int y, const QString& text, const TextCell& cell, const QColor& color,
                     bool opaque, bool turned);

class TextStamp {
 public:
  enum class Method { Blend, Static, Plain };

  // Measures and shapes the text in the painter's font (transparent, unturned). When
  // the painter draws on a QImage the trial is made on scratch images of its format.
  TextStamp(QPainter& painter, const QString& text, uint32_t color, TextAlign align);

  Method method() const { return method_; }
  const TextCell& cell() const { return cell_; }

  // Draws at the anchor (logical coordinates) through the painter, by the static text
  // or the plain text; leaves the painter's pen at the text colour.
  void draw(QPainter& painter, int x, int y) const;
  // Blends the coverage into RGB32 pixels with the anchor at device pixel (x, y),
  // inside clip (device pixels). Only for Method::Blend.
  void blend(uchar* bits, qsizetype bytes_per_line, const QRect& clip, int x, int y) const;

  // The pixels the text changes, known after a trial: per column from ink_left(),
  // the rows top..bottom relative to the anchor (top > bottom: none).
  bool knows_ink() const { return knows_ink_; }
  int ink_left() const { return ink_left_; }
  const std::vector<std::pair<int, int>>& ink_rows() const { return ink_rows_; }
  // Drawn on pixels of its own colour, it leaves them as they are.
  bool keeps_own_colour() const { return keeps_own_colour_; }

 private:
  void trial(QPainter& painter, const QImage& device);

  QString text_;
  QFont font_;
  QColor color_;
  uint32_t rgb_ = 0;  // the colour as an opaque RGB32 pixel
  TextCell cell_;
  QStaticText static_text_;
  Method method_ = Method::Plain;
  bool interpolate_ = false;  // which of the two blend roundings matched
  std::vector<uint32_t> scaled_;  // the colour scaled by each coverage
  // the coverage of the ink's bounding box, whose top-left corner lies at mask_origin_ from the anchor
  std::vector<uint8_t> mask_;
  QPoint mask_origin_;
  int mask_width_ = 0, mask_height_ = 0;
  bool knows_ink_ = false;
  int ink_left_ = 0;
  std::vector<std::pair<int, int>> ink_rows_;
  bool keeps_own_colour_ = false;
};

}  // namespace zentrik
