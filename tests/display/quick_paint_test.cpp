// The quick ways of QtSurface (held-back polylines, text stamps, leaving out what
// would repaint pixels in their own colour) against the straightforward drawing:
// every plot must come out pixel for pixel the same.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QRegion>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "ComputedPlot.h"
#include "display/Render.h"
#include "display/qt/QtSurface.h"
#include "display/qt/TextStamp.h"

namespace zentrik {
namespace {

using testing::ComputedPlot;

QColor colour_of(uint32_t color) { return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF); }

// Every call drawn on its own with the painter, as the surface did before it took
// shortcuts: a line per lineTo, the text laid out and measured on each drawText.
class StraightSurface : public Surface {
 public:
  explicit StraightSurface(QPainter& painter) : painter_(painter) {
    setPen(Pen{});
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setRenderHint(QPainter::TextAntialiasing, true);
    painter_.setBackgroundMode(Qt::TransparentMode);
  }
  void fillRect(const Rect& r, uint32_t color) override {
    painter_.fillRect(QRect(r.left, r.top, r.right - r.left, r.bottom - r.top), colour_of(color));
  }
  void moveTo(int x, int y) override {
    at_ = QPoint(x, y);
    travel_ = 0;
  }
  void lineTo(int x, int y) override {
    const QPoint to(x, y);
    if (to == at_) return;
    if (pen_.style() == Qt::CustomDashLine) {
      QPen pen = pen_;
      pen.setDashOffset(travel_ / pen.widthF());
      painter_.setPen(pen);
      travel_ += std::hypot(to.x() - at_.x(), to.y() - at_.y());
    }
    painter_.drawLine(at_, to);
    at_ = to;
  }
  void setPen(const Pen& pen) override {
    pen_ = QPen(colour_of(pen.color));
    pen_.setWidth(std::max(pen.width, 1));
    pen_.setCapStyle(Qt::FlatCap);
    pen_.setJoinStyle(Qt::MiterJoin);
    if (pen.style == PenStyle::Dash) pen_.setDashPattern({18, 6});
    if (pen.style == PenStyle::Dot) pen_.setDashPattern({3, 3});
    if (pen.style == PenStyle::DashDot) pen_.setDashPattern({9, 6, 3, 6});
    if (pen.style == PenStyle::DashDotDot) pen_.setDashPattern({9, 3, 3, 3, 3, 3});
    painter_.setPen(pen_);
    travel_ = 0;
  }
  void setFont(const Font& font) override { painter_.setFont(to_qfont(font)); }
  void setTextColor(uint32_t color) override { text_color_ = color; }
  void setBackgroundOpaque(bool opaque) override { opaque_ = opaque; }
  void drawText(int x, int y, std::string_view text, TextAlign align, bool turned) override {
    const QString q = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    draw_plain_text(painter_, x, y, q, text_cell(painter_.fontMetrics(), q, align), colour_of(text_color_), opaque_,
                    turned);
    painter_.setPen(pen_);
  }
  TextExtent textExtent(std::string_view text) override {
    const QString q = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    return {painter_.fontMetrics().horizontalAdvance(q), painter_.fontMetrics().height()};
  }
  void save() override {
    saved_.push_back({pen_, text_color_, opaque_});
    painter_.save();
  }
  void restore() override {
    if (saved_.empty()) return;
    pen_ = saved_.back().pen;
    text_color_ = saved_.back().text_color;
    opaque_ = saved_.back().opaque;
    saved_.pop_back();
    painter_.restore();
  }
  void excludeClip(const Rect& r) override {
    QRegion region = painter_.hasClipping() ? painter_.clipRegion() : QRegion(painter_.window());
    painter_.setClipRegion(region.subtracted(QRegion(r.left, r.top, r.right - r.left, r.bottom - r.top)));
  }
  void setLogicalWindow(int x, int y, int width, int height) override {
    if (width > 0 && height > 0) painter_.setWindow(x, y, width, height);
  }

 private:
  struct Saved {
    QPen pen;
    uint32_t text_color;
    bool opaque;
  };
  QPainter& painter_;
  QPen pen_;
  QPoint at_;
  double travel_ = 0;
  uint32_t text_color_ = kBlack;
  bool opaque_ = true;
  std::vector<Saved> saved_;
};

// Lines "X Y1 Y2": X rising, Y1 noise, Y2 a slow sawtooth.
std::string noisy_lines(int count) {
  std::string text;
  uint32_t seed = 7;
  for (int i = 0; i < count; ++i) {
    seed = seed * 1103515245u + 12345u;
    text += std::to_string(i) + " " + std::to_string((seed >> 8) % 10000) + " " + std::to_string(i % 700) + "\n";
  }
  return text;
}

struct Picture {
  int width = 300, height = 250;
  qreal ratio = 1;
  OutputMode mode = OutputMode::Screen;
};

template <typename MakeSurface>
QImage paint(ComputedPlot& plot, const Picture& picture, MakeSurface make_surface) {
  QImage image(qRound(picture.width * picture.ratio), qRound(picture.height * picture.ratio), QImage::Format_RGB32);
  image.setDevicePixelRatio(picture.ratio);
  image.fill(Qt::white);
  QPainter painter(&image);
  auto surface = make_surface(painter);
  RenderOptions options;
  options.mode = picture.mode;
  PaintMemory memory;
  render(*surface, picture.width, picture.height, plot.window, options, memory);
  surface.reset();
  painter.end();
  return image;
}

// How many pixels differ, and where the first one is.
std::string differences(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return "sizes differ";
  long count = 0;
  std::string first;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.pixel(x, y) != b.pixel(x, y) && count++ == 0) first = " first at " + std::to_string(x) + "," + std::to_string(y);
  return std::to_string(count) + " pixels differ" + first;
}

void expect_same_pixels(ComputedPlot& plot, const Picture& picture = {}) {
  const QImage straight =
      paint(plot, picture, [](QPainter& p) { return std::make_unique<StraightSurface>(p); });
  const QImage quick = paint(plot, picture, [](QPainter& p) { return std::make_unique<QtSurface>(p); });
  EXPECT_EQ(differences(quick, straight), "0 pixels differ");
}

TEST(QuickPainting, PlotsComeOutAsTheStraightforwardDrawingMakesThem) {
  ComputedPlot plot(noisy_lines(4000), {"C2", "C3"}, "C1");
  plot.y(1).color = 0x0000FF;
  plot.y(2).color = 0x008000;
  plot.compute();
  struct Look {
    const char* name;
    std::function<void(Formula&, Formula&)> set;
  };
  const std::vector<Look> looks = {
      {"points and lines", [](Formula& a, Formula&) { a.draw_lines = 1; }},
      {"points only", [](Formula&, Formula&) {}},
      {"lines only", [](Formula& a, Formula& b) { a.draw_lines = b.draw_lines = 1, a.draw_points = b.draw_points = 0; }},
      {"black points", [](Formula& a, Formula& b) { a.draw_lines = b.draw_lines = a.black_points = 1; }},
      {"same colour", [](Formula& a, Formula& b) { a.draw_lines = b.draw_lines = 1, b.color = a.color; }},
      {"dashes and a wide line",
       [](Formula& a, Formula& b) {
         a.draw_lines = b.draw_lines = 1;
         a.line_type = LineType::DashDot;
         b.line_width = 3;
       }},
  };
  for (const Look& look : looks) {
    SCOPED_TRACE(look.name);
    Formula& a = plot.y(1);
    Formula& b = plot.y(2);
    const Formula keep_a = a, keep_b = b;
    look.set(a, b);
    expect_same_pixels(plot);
    a = keep_a;
    b = keep_b;
  }

  // zoomed into the middle: far-off points clamped, the clipping doing its work
  plot.y(1).draw_lines = 1;
  plot.window.auto_scaled = false;
  plot.window.plot_x_min = 1500;
  plot.window.plot_x_max = 1530;
  plot.window.plot_y_min = 2000;
  plot.window.plot_y_max = 6000;
  SCOPED_TRACE("zoomed");
  expect_same_pixels(plot);
}

TEST(QuickPainting, OtherPicturesAreDrawnAsBefore) {
  // a scatter of noise against noise, then on pictures the shortcuts don't apply to:
  // the printed page, a scaled logical window, two device pixels per pixel
  ComputedPlot plot(noisy_lines(1500), {"C1"}, "C2");
  plot.y().draw_lines = 1;
  plot.y().color = 0x2050C0;
  plot.compute();
  expect_same_pixels(plot);
  expect_same_pixels(plot, {300, 250, 1, OutputMode::Printer});
  expect_same_pixels(plot, {300, 250, 1, OutputMode::Picture});
  expect_same_pixels(plot, {150, 120, 2, OutputMode::Screen});
}

// Lines up and down fill a band of columns, then characters in the lines' colour
// step down across the band's lower edge: each one that would still change a pixel
// must be drawn, whichever end of a line the painter leaves out.
TEST(QuickPainting, CharactersAtTheEdgeOfPaintedColumnsAreDrawn) {
  auto script = [](Surface& surface) {
    surface.setPen({PenStyle::Solid, 1, 0x0000FF});
    surface.setTextColor(0x0000FF);  // full channels: blending it on itself keeps it
    surface.setFont(PlotFonts{}.plot_points);
    surface.setBackgroundOpaque(false);
    surface.drawText(10, 110, "*", {HAlign::Centre, VAlign::Bottom}, false);  // a character seen before
    for (int x = 40; x < 80; ++x) {
      surface.moveTo(x, x % 2 ? 80 : 20);  // up from 80 in odd columns, down to 80 in even ones
      surface.lineTo(x, x % 2 ? 20 : 80);
      surface.lineTo(x, 50);
    }
    for (int y = 40; y < 100; ++y) {
      surface.drawText(60, y, "*", {HAlign::Centre, VAlign::Bottom}, false);
      surface.lineTo(60 + y % 3, 30);  // lines between the characters, mostly straight up
    }
  };
  QImage straight(120, 120, QImage::Format_RGB32), quick(120, 120, QImage::Format_RGB32);
  straight.fill(Qt::white);
  quick.fill(Qt::white);
  {
    QPainter painter(&straight);
    StraightSurface surface(painter);
    script(surface);
  }
  {
    QPainter painter(&quick);
    QtSurface surface(painter);
    script(surface);
  }
  EXPECT_EQ(differences(quick, straight), "0 pixels differ");
}

// A stamp draws exactly what drawText draws, wherever it stands, through a clip too.
TEST(QuickPainting, StampsDrawWhatDrawTextDraws) {
  QImage background(90, 70, QImage::Format_RGB32);
  uint32_t seed = 99;
  for (int y = 0; y < background.height(); ++y)
    for (int x = 0; x < background.width(); ++x) {
      seed = seed * 1664525u + 1013904223u;
      background.setPixel(x, y, 0xFF000000u | (seed >> 8));
    }
  const Font fonts[] = {PlotFonts{}.plot_points, Font{-15, 700, true, true, false, "Arial"}};
  const TextAlign aligns[] = {{HAlign::Centre, VAlign::Bottom}, {HAlign::Right, VAlign::Top}};
  const QPoint anchors[] = {{45, 35}, {1, 2}, {89, 69}, {-3, 40}};
  const QRect clip(20, 10, 50, 40);
  int blended = 0;
  for (const Font& font : fonts)
    for (const char* text : {"*", "+", "Wq"})
      for (uint32_t color : {0x0000FFu, 0x4080F0u, kBlack})
        for (TextAlign align : aligns)
          for (bool clipped : {false, true}) {
            SCOPED_TRACE(std::string(text) + (clipped ? " clipped" : ""));
            QImage expected = background.copy(), drawn = background.copy();
            {
              QPainter plain(&expected), quick(&drawn);
              for (QPainter* p : {&plain, &quick}) {
                p->setRenderHint(QPainter::TextAntialiasing);
                p->setFont(to_qfont(font));
                if (clipped) p->setClipRect(clip);
              }
              const TextStamp stamp(quick, text, color, align);
              blended += stamp.method() == TextStamp::Method::Blend;
              for (QPoint at : anchors) {
                draw_plain_text(plain, at.x(), at.y(), text, stamp.cell(), colour_of(color), false, false);
                if (stamp.method() == TextStamp::Method::Blend)
                  stamp.blend(drawn.bits(), drawn.bytesPerLine(), clipped ? clip : drawn.rect(), at.x(), at.y());
                else
                  stamp.draw(quick, at.x(), at.y());
              }
            }
            EXPECT_EQ(differences(drawn, expected), "0 pixels differ");
          }
  // the raster engine's gray antialiasing is what the offscreen platform draws with
  EXPECT_GT(blended, 0);
}

}  // namespace
}  // namespace zentrik
