// The drawing surface on a QPainter: the plot window, the recorded picture, the
// printer and the image files (PNG, SVG, PDF) all draw through it. Fonts map onto
// the desktop's fonts through fontconfig ("Arial" finds its nearest match); lines
// leave out their last pixel and dashes follow the classic desktop patterns, so a
// chain of lines joins without overdrawn corners.
//
// On a QImage drawn pixel for pixel (no scaling) it is quick with curves of
// millions of points without changing a pixel: a text drawn again and again (the
// point characters) is shaped once and blended from its coverage (TextStamp), and a
// line or character that would only repaint pixels known to hold its colour
// already (SolidColumns) is left out.
#pragma once

#include <QFont>
#include <QPen>
#include <QPoint>
#include <QRect>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "display/Surface.h"
#include "display/qt/SolidColumns.h"
#include "display/qt/TextStamp.h"

class QPainter;

namespace zentrik {

// The Qt font for a font description.
QFont to_qfont(const Font& font);

class QtSurface : public Surface {
 public:
  // The painter must be active; its window is the logical rectangle drawn on.
  explicit QtSurface(QPainter& painter);
  QtSurface(const QtSurface&) = delete;
  QtSurface& operator=(const QtSurface&) = delete;

  void fillRect(const Rect& rect, uint32_t color) override;
  void moveTo(int x, int y) override;
  void lineTo(int x, int y) override;
  void setPen(const Pen& pen) override;
  void setFont(const Font& font) override;
  void setTextColor(uint32_t color) override;
  void setBackgroundOpaque(bool opaque) override;
  void drawText(int x, int y, std::string_view text, TextAlign align, bool turned) override;
  TextExtent textExtent(std::string_view text) override;
  void save() override;
  void restore() override;
  void excludeClip(const Rect& rect) override;
  void setLogicalWindow(int x, int y, int width, int height) override;

 private:
  struct State {
    QPen pen;
    bool thin_solid = true;  // solid and one pixel wide
    uint32_t text_color = kBlack;
    uint32_t text_pixel = 0xFF000000;  // the text colour as an RGB32 pixel
    bool opaque = true;
  };
  struct StampEntry {
    int font_serial = 0;
    std::string text;
    uint32_t color = 0;
    TextAlign align;
    int uses = 0;
    std::unique_ptr<TextStamp> stamp;
  };

  void update_geometry();
  void use_pen();
  void forget_columns();
  TextStamp* stamp_for(std::string_view text, TextAlign align);
  void draw_stamp(const TextStamp& stamp, int x, int y);
  bool changes_nothing(const TextStamp& stamp, int x, int y) const;

  QPainter& painter_;
  State state_;
  std::vector<State> saved_;
  QPoint current_;
  double dash_travel_ = 0;  // the length of the chain of lines drawn since the last move
  bool pen_set_ = true;     // the painter's pen is state_.pen

  // the picture's pixels, when the painter draws on a QImage of RGB32 pixels
  uchar* bits_ = nullptr;
  qsizetype bytes_per_line_ = 0;
  int image_width_ = 0, image_height_ = 0;
  bool image_unscaled_ = false;  // one device pixel per pixel
  // Worked out again after each change of the clipping or the transformation.
  bool geometry_known_ = false;
  bool translated_ = false;  // logical coordinates only move by whole pixels
  bool fast_ = false;        // translated, on the picture's pixels, clipped to one rectangle
  QPoint offset_;            // device pixel = logical pixel + offset
  QRect clip_;               // in device pixels
  SolidColumns columns_;

  int font_serial_ = 0;  // counts the font changes; stamps are for one font
  std::deque<StampEntry> stamps_;
  StampEntry* last_stamp_ = nullptr;
};

}  // namespace zentrik
