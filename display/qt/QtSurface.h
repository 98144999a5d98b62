// The drawing surface on a QPainter: the plot window, the recorded picture, the
// printer and the image files (PNG, SVG, PDF) all draw through it. Fonts map onto
// the desktop's fonts through fontconfig ("Arial" finds its nearest match); lines
// leave out their last pixel and dashes follow the classic desktop patterns, so a
// chain of lines joins without overdrawn corners.
//
// On a QImage (the window's picture, PNG files, under a scaled logical window too)
// it is quick with curves of millions of points without changing a pixel: a text
// drawn again and again (the point characters) is shaped once and blended from its
// coverage (TextStamp), a character that would change no pixel where it lands
// (SettledAnchors) is left out, and so is a line that would only repaint pixels
// known to hold its colour already (SolidColumns, VerticalLines).
//
// In SVG and PDF documents a chain of lines in one pen is one path, and the point
// characters drawn along it follow it: one path per formula instead of an element
// per line.
#pragma once

#include <QFont>
#include <QPainterPath>
#include <QPen>
#include <QPoint>
#include <QRect>
#include <QTransform>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "display/Surface.h"
#include "display/qt/SettledAnchors.h"
#include "display/qt/SolidColumns.h"
#include "display/qt/TextStamp.h"
#include "display/qt/VerticalLines.h"

class QImage;
class QPainter;

namespace zentrik {

// The Qt font for a font description.
QFont to_qfont(const Font& font);

class QtSurface : public Surface {
 public:
  // The painter must be active; its window is the logical rectangle drawn on.
  explicit QtSurface(QPainter& painter);
  ~QtSurface() override;
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
  void drawCurve(std::span<const CurveStep> steps, std::string_view character, TextAlign align) override;
  TextExtent textExtent(std::string_view text) override;
  void save() override;
  void restore() override;
  void excludeClip(const Rect& rect) override;
  void setLogicalWindow(int x, int y, int width, int height) override;

 private:
  struct State {
    QPen pen;
    uint32_t pen_pixel = 0xFF000000;  // the pen's colour as an RGB32 pixel
    bool thin_solid = true;           // solid and one pixel wide
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
  // A document's chain of lines in one pen, and the point characters drawn while it
  // grew, drawn after it.
  struct PathBatch {
    QPainterPath path;
    QPen pen;
    QPoint end;  // where the path's last subpath stands
    QString text;
    QPoint text_origin;  // the text's baseline start from its anchor
    QColor text_color;
    std::vector<QPoint> anchors;
  };

  // A thin line straight up or down as it lands: its device column and the rows it
  // paints, clipped.
  struct ColumnRun {
    int column = 0, top = 0, bottom = 0;
  };

  void update_geometry();
  std::optional<QRect> probe_clip();
  void use_pen();
  void forget_columns();
  bool skips_vertical_line(QPoint to);
  // inline: every line of a curve asks
  [[gnu::always_inline]] bool vertical_run(QPoint from, QPoint to, ColumnRun& run);
  void draw_line(QPoint to);
  void draw_text_plainly(int x, int y, std::string_view text, TextAlign align, bool turned);
  void unsettle_device(const QRect& box);
  void draw_through_painter(QPoint to);
  TextStamp* stamp_for(std::string_view text, TextAlign align);
  void draw_stamp(TextStamp& stamp, int x, int y);
  bool columns_hold(const StampMask& mask, QPoint at) const;
  void follow_stamp(const TextStamp& stamp);
  void add_to_path(QPoint to);
  void draw_in_document(int x, int y, std::string_view text, TextAlign align);
  void flush_path();

  QPainter& painter_;
  State state_;
  std::vector<State> saved_;
  QPoint current_;
  double dash_travel_ = 0;  // the length of the chain of lines drawn since the last move
  bool pen_set_ = true;     // the painter's pen is state_.pen

  // the picture's pixels, when the painter draws on a QImage of RGB32 pixels
  QImage* image_ = nullptr;
  uchar* bits_ = nullptr;
  qsizetype bytes_per_line_ = 0;
  bool document_ = false;  // an SVG or PDF document: lines go into paths

  // Worked out again after each change of the clipping or the mapping.
  bool geometry_known_ = false;
  bool pixels_ = false;      // stamps blend into the pixels: plain source-over, clipped to one rectangle
  bool translated_ = false;  // and logical pixels are device pixels moved by whole pixels
  bool columnar_ = false;    // and logical rows are device rows, columns not widened
  QTransform device_;        // logical to device pixels: scaling and moving only while pixels_
  QTransform device_inverse_;
  QPoint offset_;  // translated_: device pixel = logical pixel + offset
  QRect clip_;     // pixels_: the device pixels drawing reaches
  SolidColumns columns_;  // columnar_: the runs of device pixels known to hold the pen's colour
  VerticalLines vertical_;
  bool vertical_known_ = false;  // vertical_ is probed for the present mapping
  SettledAnchors settled_;       // where the followed stamp's character would change nothing
  const TextStamp* followed_ = nullptr;
  uint32_t followed_pixel_ = 0;  // its colour as an RGB32 pixel

  int font_serial_ = 0;  // counts the font changes; stamps are for one font
  std::deque<StampEntry> stamps_;
  StampEntry* last_stamp_ = nullptr;

  PathBatch batch_;
};

}  // namespace zentrik
