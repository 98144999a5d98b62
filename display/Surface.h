// The drawing surface the renderer paints on: filled rectangles, lines from a
// current position, aligned text (optionally turned to read upward), text
// measurement, pens, fonts, saved state, clip exclusion and a logical window. The
// desktop draws it with QPainter (window, recorded picture, printer, image files);
// tests record it. Coordinates are integer pixels, y growing downward; colours are
// 0x00BBGGRR (red in the low byte).
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "display/Font.h"

namespace zentrik {

inline constexpr uint32_t kBlack = 0x000000;
inline constexpr uint32_t kWhite = 0xFFFFFF;
inline constexpr uint32_t kGray = 0xC0C0C0;

// A rectangle that holds the pixels left <= x < right and top <= y < bottom.
struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
  friend bool operator==(const Rect&, const Rect&) = default;
};

enum class PenStyle { Solid, Dash, Dot, DashDot, DashDotDot };

struct Pen {
  PenStyle style = PenStyle::Solid;
  int width = 1;
  uint32_t color = kBlack;
  friend bool operator==(const Pen&, const Pen&) = default;
};

enum class HAlign { Left, Centre, Right };
enum class VAlign { Top, Bottom };

// Where a text stands relative to its point. For turned text the alignment holds in
// the text's own direction: "left" is its lower end, "top" its left side.
struct TextAlign {
  HAlign horizontal = HAlign::Left;
  VAlign vertical = VAlign::Top;
  friend bool operator==(const TextAlign&, const TextAlign&) = default;
};

// One step along a formula's curve: a line from the current position to (x, y), or
// the curve's character anchored at (x, y).
struct CurveStep {
  int x = 0, y = 0;
  bool character = false;
};

struct TextExtent {
  int width = 0;   // along the text
  int height = 0;  // the font's cell height
};

class Surface {
 public:
  virtual ~Surface() = default;

  virtual void fillRect(const Rect& rect, uint32_t color) = 0;
  virtual void moveTo(int x, int y) = 0;
  // A line from the current position with the selected pen; (x, y) becomes current.
  virtual void lineTo(int x, int y) = 0;
  virtual void setPen(const Pen& pen) = 0;
  virtual void setFont(const Font& font) = 0;
  virtual void setTextColor(uint32_t color) = 0;
  // Opaque: texts are drawn on a white cell; transparent: the background shows.
  virtual void setBackgroundOpaque(bool opaque) = 0;
  // The text in the selected font and text colour; turned text reads upward.
  virtual void drawText(int x, int y, std::string_view text, TextAlign align, bool turned = false) = 0;
  // The extent of the text in the selected font, unturned.
  virtual TextExtent textExtent(std::string_view text) = 0;
  // Pen, font, text colour, background mode and clipping.
  virtual void save() = 0;
  virtual void restore() = 0;
  // Nothing drawn later appears inside the rectangle (until restore).
  virtual void excludeClip(const Rect& rect) = 0;
  // The rectangle of logical coordinates that fills the whole surface.
  virtual void setLogicalWindow(int x, int y, int width, int height) = 0;

  // The steps of a curve in order, as lineTo and drawText (unturned) draw them one
  // by one. A surface that draws long curves quicker in batches overrides it.
  virtual void drawCurve(std::span<const CurveStep> steps, std::string_view character, TextAlign align) {
    for (const CurveStep& step : steps)
      if (step.character)
        drawText(step.x, step.y, character, align, false);
      else
        lineTo(step.x, step.y);
  }

  void line(int x0, int y0, int x1, int y1) {
    moveTo(x0, y0);
    lineTo(x1, y1);
  }
};

}  // namespace zentrik
