#include "display/qt/TextStamp.h"

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zentrik {
namespace {

// The two roundings QPainter's raster engine blends antialiased glyphs with: the
// source scaled by its coverage plus the destination scaled by the rest, or one
// interpolation of both.
inline uint32_t byte_mul(uint32_t x, uint32_t a) {
  uint32_t t = (x & 0xff00ff) * a;
  t = (t + ((t >> 8) & 0xff00ff) + 0x800080) >> 8;
  t &= 0xff00ff;
  x = ((x >> 8) & 0xff00ff) * a;
  x = (x + ((x >> 8) & 0xff00ff) + 0x800080);
  x &= 0xff00ff00;
  return x | t;
}

inline uint32_t interpolate_255(uint32_t x, uint32_t a, uint32_t y, uint32_t b) {
  uint32_t t = (x & 0xff00ff) * a + (y & 0xff00ff) * b;
  t = (t + ((t >> 8) & 0xff00ff) + 0x800080) >> 8;
  t &= 0xff00ff;
  x = ((x >> 8) & 0xff00ff) * a + ((y >> 8) & 0xff00ff) * b;
  x = (x + ((x >> 8) & 0xff00ff) + 0x800080);
  x &= 0xff00ff00;
  return x | t;
}

// One row of pixels blended with the colour at their coverages (0 leaves a pixel as
// it is, 255 gives the colour); whether any pixel changed. Four pixels at a time
// where SSE2 is there, with the same arithmetic per channel in 16-bit lanes
// (products of two bytes and their rounding stay below 65536).
template <bool Interpolate>
bool blend_row(uint32_t* pixel, const uint8_t* cover, int count, uint32_t rgb, const uint32_t* scaled) {
  int i = 0;
  uint32_t changed = 0;
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  const __m128i half = _mm_set1_epi16(0x80);
  const __m128i full = _mm_set1_epi32(255);
  const __m128i colour = _mm_unpacklo_epi8(_mm_set1_epi32(static_cast<int>(rgb)), zero);
  // a byte per 32-bit lane spread over the four 16-bit lanes of its pixel's channels
  auto spread = [](__m128i bytes, bool high) {
    const __m128i pairs = _mm_or_si128(bytes, _mm_slli_epi32(bytes, 16));
    return high ? _mm_unpackhi_epi32(pairs, pairs) : _mm_unpacklo_epi32(pairs, pairs);
  };
  auto rounded = [&](__m128i t) {
    return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(t, _mm_srli_epi16(t, 8)), half), 8);
  };
  __m128i differ = zero;
  for (; i + 4 <= count; i += 4) {
    const __m128i before = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixel + i));
    const __m128i low = _mm_unpacklo_epi8(before, zero), high = _mm_unpackhi_epi8(before, zero);
    __m128i after;
    if constexpr (Interpolate) {
      const __m128i a = _mm_set_epi32(cover[i + 3], cover[i + 2], cover[i + 1], cover[i]);
      const __m128i rest = _mm_sub_epi32(full, a);
      const __m128i low_mix =
          _mm_add_epi16(_mm_mullo_epi16(colour, spread(a, false)), _mm_mullo_epi16(low, spread(rest, false)));
      const __m128i high_mix =
          _mm_add_epi16(_mm_mullo_epi16(colour, spread(a, true)), _mm_mullo_epi16(high, spread(rest, true)));
      after = _mm_packus_epi16(rounded(low_mix), rounded(high_mix));
    } else {
      const __m128i source =
          _mm_set_epi32(static_cast<int>(scaled[cover[i + 3]]), static_cast<int>(scaled[cover[i + 2]]),
                        static_cast<int>(scaled[cover[i + 1]]), static_cast<int>(scaled[cover[i]]));
      const __m128i rest = _mm_sub_epi32(full, _mm_srli_epi32(source, 24));
      const __m128i kept = _mm_packus_epi16(rounded(_mm_mullo_epi16(low, spread(rest, false))),
                                            rounded(_mm_mullo_epi16(high, spread(rest, true))));
      after = _mm_add_epi32(source, kept);
    }
    differ = _mm_or_si128(differ, _mm_xor_si128(before, after));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(pixel + i), after);
  }
  changed = _mm_movemask_epi8(_mm_cmpeq_epi8(differ, zero)) != 0xFFFF;
#endif
  for (; i < count; ++i) {
    const uint32_t before = pixel[i], a = cover[i];
    uint32_t after;
    if constexpr (Interpolate) {
      after = interpolate_255(rgb, a, before, 255 - a);
    } else {
      after = scaled[a] + byte_mul(before, 255 - (scaled[a] >> 24));
    }
    changed |= before ^ after;
    pixel[i] = after;
  }
  return changed != 0;
}

// A background of varied opaque colours, the same on every trial.
void fill_varied(QImage& image) {
  uint32_t seed = 12345;
  for (int y = 0; y < image.height(); ++y) {
    auto* row = reinterpret_cast<uint32_t*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      seed = seed * 1664525u + 1013904223u;
      row[x] = 0xFF000000u | (seed >> 8);
    }
  }
}

// Scratch pictures larger than this are not made: the text is drawn plainly.
constexpr qint64 kMaxScratchPixels = 4 << 20;

// Whether an axis maps whole pixels onto whole pixels: moving the scratch along it
// by whole pixels then changes no rounding.
bool whole_axis(qreal scale, qreal offset) {
  return scale == std::floor(scale) && offset == std::floor(offset) && std::abs(offset) < 1e6;
}

// Scratch pixels standing for the device pixels of `area`, drawn on through a
// painter with the device's mapping moved by the area's corner.
struct Scratch {
  QImage image;
  QRect area;
  QTransform transform;

  Scratch(const QRect& device_area, const QTransform& device)
      : image(device_area.size(), QImage::Format_RGB32),
        area(device_area),
        transform(device * QTransform::fromTranslate(-device_area.left(), -device_area.top())) {}

  const uint32_t* row(int device_y) const {
    return reinterpret_cast<const uint32_t*>(image.constScanLine(device_y - area.top()));
  }
};

}  // namespace

TextCell text_cell(const QFontMetrics& metrics, const QString& text, TextAlign align) {
  const int width = metrics.horizontalAdvance(text);
  const int height = metrics.height();
  int dx = 0;
  if (align.horizontal == HAlign::Centre) dx = -width / 2;
  if (align.horizontal == HAlign::Right) dx = -width;
  const int dy = align.vertical == VAlign::Top ? 0 : -height;
  return {QRect(dx, dy, width, height), metrics.ascent()};
}

void draw_plain_text(QPainter& painter, int x, int y, const QString& text, const TextCell& cell, const QColor& color,
                     bool opaque, bool turned) {
  if (turned) {
    painter.save();
    painter.translate(x, y);
    painter.rotate(-90);  // reading upward
  } else {
    painter.translate(x, y);
  }
  if (opaque) painter.fillRect(cell.rect, Qt::white);
  painter.setPen(color);
  painter.drawText(QPoint(cell.rect.left(), cell.rect.top() + cell.ascent), text);
  if (turned)
    painter.restore();
  else
    painter.translate(-x, -y);
}

TextStamp::TextStamp(QPainter& painter, const QString& text, uint32_t color, TextAlign align)
    : text_(text),
      font_(painter.font()),
      color_(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF),
      rgb_(color_.rgb()),
      cell_(text_cell(painter.fontMetrics(), text, align)),
      static_text_(text) {
  static_text_.setTextFormat(Qt::PlainText);
  static_text_.setPerformanceHint(QStaticText::AggressiveCaching);
  static_text_.prepare(QTransform(), font_);
  for (uint32_t coverage = 0; coverage < 256; ++coverage) scaled_.push_back(byte_mul(rgb_, coverage));
}

void TextStamp::draw(QPainter& painter, int x, int y) const {
  if (method_ == Method::Static && painter.deviceTransform() == device_) {
    painter.setPen(color_);
    painter.drawStaticText(QPoint(x + cell_.rect.left(), y + cell_.rect.top()), static_text_);
  } else {
    draw_plain_text(painter, x, y, text_, cell_, color_, false, false);
  }
}

// The origin's device position is worked out as QTransform::translate works it out
// when the painter moves to the anchor and then to the baseline's start for
// drawText (the mapping only scales and moves), so that equal fractional parts mean
// equal glyph pixels.
const StampMask* TextStamp::mask_at(QPainter& painter, const QTransform& device, int x, int y, QPoint& at) {
  if (method_ != Method::Blend) return nullptr;
  if (device.m11() != device_.m11() || device.m22() != device_.m22() || device.dx() != device_.dx() ||
      device.dy() != device_.dy())
    forget_masks(device);
  const qreal ox = (device_.dx() + x * device_.m11()) + cell_.rect.left() * device_.m11();
  const qreal oy = (device_.dy() + y * device_.m22()) + (cell_.rect.top() + cell_.ascent) * device_.m22();
  // left of or above the device the raster engine rounds the other way: drawn plainly
  if (!(ox >= 0 && oy >= 0 && ox < 1e6 && oy < 1e6)) return nullptr;
  at = QPoint(static_cast<int>(ox), static_cast<int>(oy));  // not negative: truncation is the floor
  const std::pair<double, double> phase(ox - at.x(), oy - at.y());
  if (phase == last_phase_) return last_mask_;
  auto found = masks_.find(phase);
  if (found == masks_.end()) {
    found = masks_.emplace(phase, make_mask(painter, device, x, y, at)).first;
    if (method_ != Method::Blend) return nullptr;
  }
  last_phase_ = phase;
  last_mask_ = found->second->usable ? found->second.get() : nullptr;
  return last_mask_;
}

void TextStamp::forget_masks(const QTransform& device) {
  device_ = device;
  masks_.clear();
  last_phase_ = {-1, -1};
  last_mask_ = nullptr;
  reach_ = QRect();
}

// The device pixels around the text at the anchor, with a margin of at least its
// height. Along an axis not mapped in whole pixels the scratch keeps the device's
// own coordinates (it starts at 0). Empty when too large to be worth it.
QRect TextStamp::scratch_area(const QTransform& device, int x, int y) const {
  const QRectF cell = device.mapRect(QRectF(cell_.rect.translated(x, y)));
  const int margin = std::max(4, static_cast<int>(std::ceil(cell.height())));
  QRect area = cell.toAlignedRect().adjusted(-margin, -margin, margin, margin);
  if (!whole_axis(device.m11(), device.dx())) area.setLeft(0);
  if (!whole_axis(device.m22(), device.dy())) area.setTop(0);
  if (area.isEmpty() || static_cast<qint64>(area.width()) * area.height() > kMaxScratchPixels) return QRect();
  return area;
}

// Draws the text black on white and white on black at the anchor on scratch pixels
// for the device pixels around it: what changes is the ink, and black on white gives
// its coverage, when the glyphs are drawn in gray levels. The first mask also
// decides, by a trial, whether blending gives the plain drawing's pixels.
std::unique_ptr<StampMask> TextStamp::make_mask(QPainter& painter, const QTransform& device, int x, int y,
                                                QPoint at) {
  auto mask = std::make_unique<StampMask>();
  const QRect area = scratch_area(device, x, y);
  if (area.isEmpty()) return mask;

  auto draw_on = [&](Scratch& scratch, const QColor& colour) {
    QPainter scratch_painter(&scratch.image);
    scratch_painter.setRenderHints(painter.renderHints());
    scratch_painter.setTransform(scratch.transform);
    scratch_painter.setFont(font_);
    draw_plain_text(scratch_painter, x, y, text_, cell_, colour, false, false);
  };
  Scratch on_white(area, device), on_black(area, device);
  on_white.image.fill(Qt::white);
  on_black.image.fill(Qt::black);
  draw_on(on_white, Qt::black);
  draw_on(on_black, Qt::white);

  QRect ink;
  bool gray = true;
  for (int dy = area.top(); dy <= area.bottom(); ++dy) {
    const uint32_t* w = on_white.row(dy);
    const uint32_t* b = on_black.row(dy);
    for (int i = 0; i < area.width(); ++i) {
      const uint32_t white = w[i] & 0xFFFFFF, black = b[i] & 0xFFFFFF;
      if (white == 0xFFFFFF && black == 0) continue;
      ink |= QRect(area.left() + i, dy, 1, 1);
      const uint32_t red = white & 0xFF;
      if (((white >> 8) & 0xFF) != red || (white >> 16) != red) gray = false;
    }
  }
  // Ink reaching the scratch's edge might go on beyond it, unless that edge is the
  // device's own (nothing lies beyond it there).
  const bool knows_ink = ink.isEmpty() || ((ink.left() > area.left() || area.left() == 0) &&
                                           (ink.top() > area.top() || area.top() == 0) &&
                                           ink.right() < area.right() && ink.bottom() < area.bottom());
  if (!knows_ink) return mask;
  if (!gray) {
    // not blended anywhere: a static text where the mapping is a translation, else the plain text
    tried_ = true;
    method_ = Method::Plain;
    if (device.type() <= QTransform::TxTranslate) {
      Scratch expected(area, device), candidate(area, device);
      fill_varied(expected.image);
      candidate.image = expected.image.copy();
      draw_on(expected, color_);
      {
        QPainter scratch_painter(&candidate.image);
        scratch_painter.setRenderHints(painter.renderHints());
        scratch_painter.setTransform(candidate.transform);
        scratch_painter.setPen(color_);
        scratch_painter.drawStaticText(QPoint(x + cell_.rect.left(), y + cell_.rect.top()), static_text_);
      }
      if (candidate.image == expected.image) method_ = Method::Static;
    }
    return mask;
  }

  if (!ink.isEmpty()) {
    mask->origin = ink.topLeft() - at;
    mask->width = ink.width();
    mask->height = ink.height();
    mask->coverage.resize(static_cast<std::size_t>(mask->width) * mask->height);
    for (int row = 0; row < mask->height; ++row) {
      const uint32_t* w = on_white.row(ink.top() + row);
      const uint32_t* b = on_black.row(ink.top() + row);
      for (int column = 0; column < mask->width; ++column) {
        const int i = ink.left() + column - area.left();
        // a pixel that changes on black but not on white has no coverage to blend with
        if ((w[i] & 0xFFFFFF) == 0xFFFFFF && (b[i] & 0xFFFFFF) != 0) return mask;
        mask->coverage[static_cast<std::size_t>(row) * mask->width + column] =
            static_cast<uint8_t>(255 - (w[i] & 0xFF));
      }
    }
    for (int column = 0; column < mask->width; ++column) {
      int top = 1, bottom = 0;
      for (int row = 0; row < mask->height; ++row) {
        if (!mask->coverage[static_cast<std::size_t>(row) * mask->width + column]) continue;
        if (top > bottom) top = mask->origin.y() + row;
        bottom = mask->origin.y() + row;
      }
      mask->ink_rows.emplace_back(top, bottom);
    }
  }
  if (!tried_) {
    tried_ = true;
    interpolate_ = false;
    if (!blends_like_drawing(painter, device, x, y, at, *mask)) {
      interpolate_ = true;
      if (!blends_like_drawing(painter, device, x, y, at, *mask)) {
        method_ = Method::Plain;
        return mask;
      }
    }
  }
  mask->keeps_own_colour = keeps_own_colour(*mask);
  mask->usable = true;
  reach_ |= QRect(mask->origin, QSize(mask->width, mask->height));
  return mask;
}

// The plain drawing and the blend on the same varied background, around the anchor.
bool TextStamp::blends_like_drawing(QPainter& painter, const QTransform& device, int x, int y, QPoint at,
                                    const StampMask& mask) {
  const QRect area = scratch_area(device, x, y);
  Scratch expected(area, device);
  fill_varied(expected.image);
  QImage candidate = expected.image.copy();
  {
    QPainter scratch_painter(&expected.image);
    scratch_painter.setRenderHints(painter.renderHints());
    scratch_painter.setTransform(expected.transform);
    scratch_painter.setFont(font_);
    draw_plain_text(scratch_painter, x, y, text_, cell_, color_, false, false);
  }
  blend(mask, candidate.bits(), candidate.bytesPerLine(), candidate.rect(), at - area.topLeft());
  return candidate == expected.image;
}

bool TextStamp::keeps_own_colour(const StampMask& mask) const {
  for (uint8_t coverage : mask.coverage)
    if (coverage && blended(rgb_, coverage) != rgb_) return false;
  return true;
}

uint32_t TextStamp::blended(uint32_t pixel, uint32_t coverage) const {
  uint8_t cover = static_cast<uint8_t>(coverage);
  if (interpolate_)
    blend_row<true>(&pixel, &cover, 1, rgb_, scaled_.data());
  else
    blend_row<false>(&pixel, &cover, 1, rgb_, scaled_.data());
  return pixel;
}

bool TextStamp::blend(const StampMask& mask, uchar* bits, qsizetype bytes_per_line, const QRect& clip,
                      QPoint at) const {
  const int left = at.x() + mask.origin.x(), top = at.y() + mask.origin.y();
  const int from_x = std::max(left, clip.left()), to_x = std::min(left + mask.width - 1, clip.right());
  const int from_y = std::max(top, clip.top()), to_y = std::min(top + mask.height - 1, clip.bottom());
  if (from_x > to_x) return false;
  bool changed = false;
  for (int row = from_y; row <= to_y; ++row) {
    auto* pixel = reinterpret_cast<uint32_t*>(bits + row * bytes_per_line) + from_x;
    const uint8_t* cover = mask.coverage.data() + static_cast<std::size_t>(row - top) * mask.width + (from_x - left);
    changed |= interpolate_ ? blend_row<true>(pixel, cover, to_x - from_x + 1, rgb_, scaled_.data())
                            : blend_row<false>(pixel, cover, to_x - from_x + 1, rgb_, scaled_.data());
  }
  return changed;
}

}  // namespace zentrik
