// The drawing surface on a QPainter: the plot window, the recorded picture, the
// printer and the image files (PNG, SVG, PDF) all draw through it. Fonts map onto
// the desktop's fonts through fontconfig ("Arial" finds its nearest match); lines
// leave out their last pixel and dashes follow the classic desktop patterns, so a
// chain of lines joins without overdrawn corners.
#pragma once

#include <QFont>
#include <QPen>
#include <QPoint>
#include <vector>

#include "display/Surface.h"

class QPainter;

namespace zentrik {

// The Qt font for a font description.
QFont to_qfont(const Font& font);

class QtSurface : public Surface {
 public:
  // The painter must be active; its window is the logical rectangle drawn on.
  explicit QtSurface(QPainter& painter);

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
    uint32_t text_color = kBlack;
    bool opaque = true;
  };
  QPainter& painter_;
  State state_;
  std::vector<State> saved_;
  QPoint current_;
  double dash_travel_ = 0;  // the length of the chain of lines drawn since the last move
};

}  // namespace zentrik
