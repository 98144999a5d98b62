#include "display/qt/TextStamp.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

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
  const QPaintDevice* device = painter.device();
  if (device && device->devType() == QInternal::Image) {
    const auto* image = static_cast<const QImage*>(device);
    if (image->format() == QImage::Format_RGB32) trial(painter, *image);
  }
}

// Draws the text with the way to try and with the plain text on copies of scratch
// backgrounds, the anchor at two places; a way is taken only when every pixel agrees.
void TextStamp::trial(QPainter& painter, const QImage& device) {
  const qreal ratio = device.devicePixelRatio();
  const int margin = std::max(4, cell_.rect.height());
  const int width = cell_.rect.width() + 2 * margin + 4, height = cell_.rect.height() + 2 * margin + 4;
  const QPoint anchor(margin - cell_.rect.left(), margin - cell_.rect.top());
  const QPoint shifts[] = {QPoint(0, 0), QPoint(1, 2)};
  auto scratch = [&] {
    QImage image(qRound(width * ratio), qRound(height * ratio), QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.setDotsPerMeterX(device.dotsPerMeterX());
    image.setDotsPerMeterY(device.dotsPerMeterY());
    return image;
  };
  auto draw_with = [&](QImage& image, QPoint at, Method method, const QColor& colour) {
    QPainter scratch_painter(&image);
    scratch_painter.setRenderHints(painter.renderHints());
    scratch_painter.setBackgroundMode(painter.backgroundMode());
    scratch_painter.setFont(font_);
    if (method == Method::Static) {
      scratch_painter.translate(at);
      scratch_painter.setPen(colour);
      scratch_painter.drawStaticText(cell_.rect.topLeft(), static_text_);
    } else {
      draw_plain_text(scratch_painter, at.x(), at.y(), text_, cell_, colour, false, false);
    }
  };

  // Which pixels the text changes, from black on white and white on black; the
  // first also gives the coverage, when the glyphs are drawn in gray levels.
  const bool device_pixels = ratio == 1.0;
  bool gray = device_pixels;
  QRect ink;
  std::vector<uint8_t> coverage(static_cast<std::size_t>(width) * height, 0);
  std::vector<bool> touched(coverage.size(), false);
  if (device_pixels) {
    QImage on_white = scratch(), on_black = scratch();
    on_white.fill(Qt::white);
    on_black.fill(Qt::black);
    draw_with(on_white, anchor, Method::Plain, Qt::black);
    draw_with(on_black, anchor, Method::Plain, Qt::white);
    for (int y = 0; y < height; ++y) {
      const auto* w = reinterpret_cast<const uint32_t*>(on_white.constScanLine(y));
      const auto* b = reinterpret_cast<const uint32_t*>(on_black.constScanLine(y));
      for (int x = 0; x < width; ++x) {
        const uint32_t white = w[x] & 0xFFFFFF, black = b[x] & 0xFFFFFF;
        if (white == 0xFFFFFF && black == 0) continue;
        const std::size_t i = static_cast<std::size_t>(y) * width + x;
        touched[i] = true;
        ink |= QRect(x, y, 1, 1);
        const uint32_t red = white & 0xFF;
        if (((white >> 8) & 0xFF) != red || (white >> 16) != red) gray = false;
        coverage[i] = static_cast<uint8_t>(255 - red);
      }
    }
    // ink reaching the scratch's edge might have gone on beyond it
    knows_ink_ = ink.isEmpty() || (ink.left() > 0 && ink.top() > 0 && ink.right() < width - 1 &&
                                   ink.bottom() < height - 1);
  }
  if (knows_ink_ && !ink.isEmpty()) {
    ink_left_ = ink.left() - anchor.x();
    for (int x = ink.left(); x <= ink.right(); ++x) {
      int top = 1, bottom = 0;
      for (int y = ink.top(); y <= ink.bottom(); ++y) {
        if (!touched[static_cast<std::size_t>(y) * width + x]) continue;
        if (top > bottom) top = y - anchor.y();
        bottom = y - anchor.y();
      }
      ink_rows_.emplace_back(top, bottom);
    }
    mask_origin_ = ink.topLeft() - anchor;
    mask_width_ = ink.width();
    mask_height_ = ink.height();
    mask_.resize(static_cast<std::size_t>(mask_width_) * mask_height_);
    for (int y = 0; y < mask_height_; ++y)
      for (int x = 0; x < mask_width_; ++x)
        mask_[static_cast<std::size_t>(y) * mask_width_ + x] =
            coverage[static_cast<std::size_t>(y + ink.top()) * width + x + ink.left()];
  }

  auto agrees = [&](auto draw_candidate) {
    for (QPoint shift : shifts) {
      QImage expected = scratch();
      fill_varied(expected);
      QImage candidate = expected.copy();
      draw_with(expected, anchor + shift, Method::Plain, color_);
      draw_candidate(candidate, anchor + shift);
      if (candidate != expected) return false;
    }
    return true;
  };
  auto blended = [&](QImage& image, QPoint at) {
    blend(image.bits(), image.bytesPerLine(), image.rect(), at.x(), at.y());
  };
  auto statically = [&](QImage& image, QPoint at) { draw_with(image, at, Method::Static, color_); };

  if (knows_ink_ && gray) {
    for (bool interpolate : {false, true}) {
      interpolate_ = interpolate;
      if (agrees(blended)) {
        method_ = Method::Blend;
        break;
      }
    }
  }
  if (method_ == Method::Plain && agrees(statically)) method_ = Method::Static;
  if (knows_ink_) {
    QImage own = scratch();
    own.fill(color_);
    const QImage before = own.copy();
    draw_with(own, anchor, Method::Plain, color_);
    keeps_own_colour_ = own == before;
  }
}

void TextStamp::draw(QPainter& painter, int x, int y) const {
  if (method_ == Method::Static) {
    painter.setPen(color_);
    painter.drawStaticText(QPoint(x + cell_.rect.left(), y + cell_.rect.top()), static_text_);
  } else {
    draw_plain_text(painter, x, y, text_, cell_, color_, false, false);
  }
}

void TextStamp::blend(uchar* bits, qsizetype bytes_per_line, const QRect& clip, int x, int y) const {
  const QRect box = QRect(x + mask_origin_.x(), y + mask_origin_.y(), mask_width_, mask_height_) & clip;
  if (box.isEmpty()) return;
  const int mx = box.left() - x - mask_origin_.x();
  for (int row = box.top(); row <= box.bottom(); ++row) {
    auto* pixel = reinterpret_cast<uint32_t*>(bits + row * bytes_per_line) + box.left();
    const uint8_t* cover = mask_.data() + static_cast<std::size_t>(row - y - mask_origin_.y()) * mask_width_ + mx;
    for (int i = 0; i < box.width(); ++i) {
      const uint32_t c = cover[i];
      if (c == 0) continue;
      if (c == 255) {
        pixel[i] = rgb_;
      } else if (interpolate_) {
        pixel[i] = interpolate_255(rgb_, c, pixel[i], 255 - c);
      } else {
        const uint32_t source = scaled_[c];
        pixel[i] = source + byte_mul(pixel[i], 255 - (source >> 24));
      }
    }
  }
}

}  // namespace zentrik
