// A short text drawn again and again in one font, colour and alignment (a plot's
// point characters), measured and shaped once. On a raster picture the text's
// coverage is taken from scratch pixels once per sub-pixel phase its origin falls
// on (one phase when the device's mapping is in whole pixels, a few hundred under a
// scaled logical window), and blended straight into the picture's pixels from then
// on; a trial on scratch pixels makes sure the blend gives exactly the pixels of
// QPainter::drawText, or else picks a QStaticText or the plain text. The masks also
// say which pixels the text touches, so that QtSurface can leave out a text that
// would change none. QtSurface owns the stamps; draw_plain_text is its ordinary way
// of drawing text.
#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QPoint>
#include <QRect>
#include <QStaticText>
#include <QString>
#include <QTransform>
#include <cstdint>
#include <map>
#include <memory>
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

// What a text does to the device's pixels when its origin falls on one sub-pixel
// phase: the coverage over the box of its ink, placed from the device pixel the
// origin falls in.
struct StampMask {
  QPoint origin;  // the box's top-left corner, from the origin's device pixel
  int width = 0, height = 0;
  std::vector<uint8_t> coverage;  // row by row; 0 where the text leaves the pixel alone
  // Per column of the box, the rows touched (from the origin's device pixel); top > bottom: none.
  std::vector<std::pair<int, int>> ink_rows;
  bool keeps_own_colour = false;  // blended on pixels of its colour, it leaves them so
  bool usable = false;            // the ink is known and its coverage is a gray level
};

class TextStamp {
 public:
  enum class Method { Blend, Static, Plain };

  // Measures and shapes the text in the painter's font (transparent, unturned).
  TextStamp(QPainter& painter, const QString& text, uint32_t color, TextAlign align);

  const TextCell& cell() const { return cell_; }
  // Blend until a trial has shown otherwise; decided by the first mask made.
  Method method() const { return method_; }

  // Draws at the anchor (logical coordinates) through the painter, by the static text
  // or the plain text; leaves the painter's pen at the text colour.
  void draw(QPainter& painter, int x, int y) const;

  // For a painter on an RGB32 QImage whose logical-to-device mapping is `device`
  // (scaling and moving only): the mask for the anchor's phase, made on first need,
  // and in `at` the device pixel the text's origin falls in. Null when the text
  // cannot be blended there: it is then drawn through the painter.
  const StampMask* mask_at(QPainter& painter, const QTransform& device, int x, int y, QPoint& at);

  // Blends the mask into RGB32 pixels with the origin at device pixel `at`, inside
  // clip (device pixels); whether any pixel changed.
  bool blend(const StampMask& mask, uchar* bits, qsizetype bytes_per_line, const QRect& clip, QPoint at) const;

  // The box (from the origin's device pixel) that holds every mask made so far.
  const QRect& reach() const { return reach_; }

 private:
  void forget_masks(const QTransform& device);
  QRect scratch_area(const QTransform& device, int x, int y) const;
  std::unique_ptr<StampMask> make_mask(QPainter& painter, const QTransform& device, int x, int y, QPoint at);
  bool blends_like_drawing(QPainter& painter, const QTransform& device, int x, int y, QPoint at,
                           const StampMask& mask);
  bool keeps_own_colour(const StampMask& mask) const;
  uint32_t blended(uint32_t pixel, uint32_t coverage) const;

  QString text_;
  QFont font_;
  QColor color_;
  uint32_t rgb_ = 0;  // the colour as an opaque RGB32 pixel
  TextCell cell_;
  QStaticText static_text_;
  Method method_ = Method::Blend;
  bool tried_ = false;        // the trial that decides the method has been made
  bool interpolate_ = false;  // which of the two blend roundings matched
  std::vector<uint32_t> scaled_;  // the colour scaled by each coverage

  // the masks for one device mapping, by the fractional parts of the origin's device position
  QTransform device_;
  std::map<std::pair<double, double>, std::unique_ptr<StampMask>> masks_;
  std::pair<double, double> last_phase_{-1, -1};
  const StampMask* last_mask_ = nullptr;
  QRect reach_;
};

}  // namespace zentrik
