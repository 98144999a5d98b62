// The five fonts of the Options menu on the toolkit's font chooser. The
// configuration keeps each font as a full record (persist/Configuration.h); the
// chooser sets its height, weight, italic, underline, strike-out and face, and
// every other field of the record stays as it was.
#pragma once

#include <QFont>
#include <QString>

#include "persist/Configuration.h"

class QWidget;

namespace zentrik {

// The font a record draws with, as the plot windows draw it (a negative height is
// the pixel size of the characters).
QFont qfont_from_record(const FontRecord& record);

// Sets the record's height (negative: the pixel size), weight (100 to 900), italic,
// underline, strike and face from the font. A font sized in points is converted at
// the screen's resolution.
void record_from_qfont(FontRecord& record, const QFont& font);

// The font chooser preset with the record; on OK the record takes the font chosen
// and true is returned.
bool choose_font(FontRecord& record, const QString& title, QWidget* parent);

}  // namespace zentrik
