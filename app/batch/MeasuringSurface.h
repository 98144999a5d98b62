// A surface that measures texts with the real fonts but draws nothing: the batch
// mode's stand-in for the screen paint whose statistics texts and quantity band the
// picture then takes, without drawing millions of points twice.
#pragma once

#include "display/qt/QtSurface.h"

namespace zentrik {

class MeasuringSurface : public QtSurface {
 public:
  // The painter's device sets the measures (an image of the picture's size).
  explicit MeasuringSurface(QPainter& painter) : QtSurface(painter) {}

  void fillRect(const Rect&, uint32_t) override {}
  void lineTo(int, int) override {}
  void drawText(int, int, std::string_view, TextAlign, bool) override {}
  void drawCurve(std::span<const CurveStep>, std::string_view, TextAlign) override {}
};

}  // namespace zentrik
