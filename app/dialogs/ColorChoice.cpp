#include "app/dialogs/ColorChoice.h"

#include <QColorDialog>

namespace zentrik {

QColor qcolor_from_bgr(uint32_t bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }

uint32_t bgr_from_qcolor(const QColor& color) {
  const QColor rgb = color.toRgb();
  return static_cast<uint32_t>(rgb.red()) | static_cast<uint32_t>(rgb.green()) << 8 |
         static_cast<uint32_t>(rgb.blue()) << 16;
}

bool choose_color(uint32_t& bgr, QWidget* parent) {
  const QColor chosen = QColorDialog::getColor(qcolor_from_bgr(bgr), parent);
  if (!chosen.isValid()) return false;
  bgr = bgr_from_qcolor(chosen);
  return true;
}

}  // namespace zentrik
