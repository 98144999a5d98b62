// The toolkit's colour chooser for "Drop Su&rface Color . . .". Colours are kept as the
// configuration writes them: 0x00BBGGRR, red in the low byte.
#pragma once

#include <cstdint>

#include <QColor>

class QWidget;

namespace zentrik {

QColor qcolor_from_bgr(uint32_t bgr);
uint32_t bgr_from_qcolor(const QColor& color);  // the alpha channel is dropped

// The toolkit's colour chooser preset with bgr; on OK bgr takes the colour chosen
// and true is returned.
bool choose_color(uint32_t& bgr, QWidget* parent);

}  // namespace zentrik
