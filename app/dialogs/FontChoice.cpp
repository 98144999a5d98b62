#include "app/dialogs/FontChoice.h"

#include <QFontDialog>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <cmath>

#include "app/shell/RenderSettings.h"
#include "display/Font.h"
#include "display/qt/QtSurface.h"

namespace zentrik {
namespace {

double screen_dpi() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const double dpi = screen ? screen->logicalDotsPerInchY() : 0;
  return dpi > 0 ? dpi : 96.0;
}

}  // namespace

QFont qfont_from_record(const FontRecord& record) { return to_qfont(font_of(record)); }

void record_from_qfont(FontRecord& record, const QFont& font) {
  int pixels = font.pixelSize();
  if (pixels <= 0) pixels = static_cast<int>(std::lround(std::max(font.pointSizeF(), 1.0) * screen_dpi() / 72.0));
  record.height = -std::max(pixels, 1);
  record.weight = std::clamp(static_cast<int>(font.weight()), 100, 900);
  record.italic = font.italic() ? 1 : 0;
  record.underline = font.underline() ? 1 : 0;
  record.strike = font.strikeOut() ? 1 : 0;
  record.face = font.family().toStdString();
}

bool choose_font(FontRecord& record, const QString& title, QWidget* parent) {
  // The chooser offers sizes in points: the record's pixels are shown as points.
  QFont initial = qfont_from_record(record);
  if (initial.pixelSize() > 0) initial.setPointSizeF(initial.pixelSize() * 72.0 / screen_dpi());
  bool ok = false;
  const QFont chosen = QFontDialog::getFont(&ok, initial, parent, title);
  if (!ok) return false;
  record_from_qfont(record, chosen);
  return true;
}

}  // namespace zentrik
