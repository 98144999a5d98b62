// The quick ways of QtSurface on pictures (text stamps at every sub-pixel phase,
// lines and characters left out where they would change no pixel) against the
// straightforward drawing: every plot must come out pixel for pixel the same.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <functional>
#include <string>
#include <vector>

#include "ComputedPlot.h"
#include "StraightSurface.h"
#include "display/Render.h"
#include "display/qt/QtSurface.h"
#include "display/qt/SettledAnchors.h"
#include "display/qt/TextStamp.h"

namespace zentrik {
namespace {

using testing::colour_of;
using testing::ComputedPlot;
using testing::StraightSurface;

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

// The ways two Y formulas can look, one after the other.
struct Look {
  const char* name;
  std::function<void(Formula&, Formula&)> set;
};
const std::vector<Look>& looks() {
  static const std::vector<Look> all = {
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
  return all;
}

// Every look, in the window and in a picture file (whose logical window is two
// pixels wider than the picture).
void expect_every_look_the_same(ComputedPlot& plot) {
  for (const Look& look : looks())
    for (OutputMode mode : {OutputMode::Screen, OutputMode::Picture}) {
      SCOPED_TRACE(std::string(look.name) + (mode == OutputMode::Picture ? " in a picture" : " in the window"));
      Formula& a = plot.y(1);
      Formula& b = plot.y(2);
      const Formula keep_a = a, keep_b = b;
      look.set(a, b);
      expect_same_pixels(plot, {300, 250, 1, mode});
      a = keep_a;
      b = keep_b;
    }
}

TEST(QuickPainting, PlotsComeOutAsTheStraightforwardDrawingMakesThem) {
  ComputedPlot plot(noisy_lines(4000), {"C2", "C3"}, "C1");
  plot.y(1).color = 0x0000FF;
  plot.y(2).color = 0x008000;
  plot.compute();
  expect_every_look_the_same(plot);

  // zoomed into the middle: far-off points clamped, the clipping doing its work
  plot.y(1).draw_lines = 1;
  plot.window.auto_scaled = false;
  plot.window.plot_x_min = 1500;
  plot.window.plot_x_max = 1530;
  plot.window.plot_y_min = 2000;
  plot.window.plot_y_max = 6000;
  SCOPED_TRACE("zoomed");
  expect_same_pixels(plot);
  expect_same_pixels(plot, {300, 250, 1, OutputMode::Picture});
}

// A curve of many points, whose characters land on the same anchors again and again
// with lines crossing them in between: in the window and in a picture file.
TEST(QuickPainting, LongNoisyCurvesComeOutAsTheStraightforwardDrawingMakesThem) {
  ComputedPlot plot(noisy_lines(160000), {"C2", "C3"}, "C1");
  plot.y(1).draw_lines = plot.y(2).draw_lines = 1;
  plot.y(2).color = 0x008000;
  plot.compute();
  expect_same_pixels(plot);
  expect_same_pixels(plot, {300, 250, 1, OutputMode::Picture});
}

// A curve that keeps turning back over a few columns lands its characters again on
// anchors where they changed nothing before: once lines have crossed them,
// characters of another colour there must be drawn again.
TEST(QuickPainting, CurvesTurningBackComeOutAsTheStraightforwardDrawingMakesThem) {
  std::string text;
  uint32_t seed = 5;
  for (int i = 0; i < 20000; ++i) {
    seed = seed * 1103515245u + 12345u;
    const int column = (i / 20) % 120;  // X sweeps 0 to 60 and back, a pixel or so apart
    text += std::to_string(column < 60 ? column : 120 - column) + " " + std::to_string((seed >> 8) % 1000) + "\n";
  }
  ComputedPlot plot(text, {"C2"}, "C1");
  plot.y().draw_lines = 1;
  plot.y().color = 0xC02020;
  for (int black : {1, 0}) {
    SCOPED_TRACE(black ? "black points" : "points in the lines' colour");
    plot.y().black_points = black;
    plot.compute();
    expect_same_pixels(plot, {120, 100, 1, OutputMode::Screen});
    expect_same_pixels(plot, {120, 100, 1, OutputMode::Picture});
  }
}

// Lines "X Y1 Y2" crowding a few pixels: X steps every 500 lines, Y1 is noise over
// 4 values and Y2 a sawtooth over 12, so that characters land on the same pixels
// again and again (over a hundred times, until the faint edges of a character stop
// changing), with neighbours overlapping them and lines crossing them in between.
std::string crowded_lines(int count) {
  std::string text;
  uint32_t seed = 11;
  for (int i = 0; i < count; ++i) {
    seed = seed * 1103515245u + 12345u;
    text += std::to_string(i / 500) + " " + std::to_string((seed >> 8) % 4) + " " + std::to_string(i % 12) + "\n";
  }
  return text;
}

// Where most characters and lines would change no pixel (they are left out), every
// one that still would must be drawn.
TEST(QuickPainting, CrowdedPlotsComeOutAsTheStraightforwardDrawingMakesThem) {
  ComputedPlot plot(crowded_lines(30000), {"C2", "C3"}, "C1");
  plot.y(1).color = 0xFF0000;  // blue and red: blended on themselves they stay, so pixels settle
  plot.y(2).color = 0x0000FF;
  plot.compute();
  expect_every_look_the_same(plot);
}

TEST(QuickPainting, OtherPicturesAreDrawnAsBefore) {
  // a scatter of noise against noise, on the window, the printed page, a picture
  // file's scaled logical window and two device pixels per pixel
  ComputedPlot plot(noisy_lines(1500), {"C1"}, "C2");
  plot.y().draw_lines = 1;
  plot.y().color = 0x2050C0;
  plot.compute();
  expect_same_pixels(plot);
  expect_same_pixels(plot, {300, 250, 1, OutputMode::Printer});
  expect_same_pixels(plot, {300, 250, 1, OutputMode::Picture});
  expect_same_pixels(plot, {150, 120, 2, OutputMode::Screen});
}

// A script of drawing calls on a white picture, by the straightforward drawing and
// by QtSurface.
void expect_script_drawn_the_same(const std::function<void(Surface&)>& script) {
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
  expect_script_drawn_the_same(script);
}

// A curve's character, lines across it, and the same character at the same anchor
// again: once lines have crossed it, or a line of another colour has repainted pixels
// the character's colour was known to hold, it lands on pixels it shows on and must
// be drawn.
TEST(QuickPainting, CharactersAgainWhereTheyWerePaintedOverAreDrawnWhenTheyShow) {
  const TextAlign align{HAlign::Centre, VAlign::Bottom};
  constexpr uint32_t kBlue = 0xFF0000, kRed = 0x0000FF;
  auto begin = [&](Surface& surface, uint32_t pen, uint32_t text) {
    surface.setPen({PenStyle::Solid, 1, pen});
    surface.setTextColor(text);
    surface.setFont(PlotFonts{}.plot_points);
    surface.setBackgroundOpaque(false);
    for (int i = 0; i < 2; ++i) surface.drawText(10, 115, "*", align, false);  // stamped from the second on
  };
  {
    SCOPED_TRACE("after the lines that painted it over");
    expect_script_drawn_the_same([&](Surface& surface) {
      begin(surface, kBlue, kBlack);
      surface.line(110, 10, 110, 20);  // the columns know the pen's colour before the curve
      // a character, then lines up and down across its columns, then the character again on them
      std::vector<CurveStep> steps = {{50, 50, true}};
      for (int x = 40, y = 10; x <= 60; ++x) {
        y = 100 - y;
        steps.push_back({x, y});
        steps.push_back({x + 1, y});
      }
      steps.push_back({50, 50, true});
      surface.moveTo(40, 10);
      surface.drawCurve(steps, "*", align);
    });
  }
  {
    SCOPED_TRACE("after a line of another colour");
    expect_script_drawn_the_same([&](Surface& surface) {
      // blue columns around the middle one, then a red curve with blue characters: the
      // second lands after a red line over one of the blue columns
      begin(surface, kBlue, kBlue);
      for (int x = 40; x <= 60; ++x)
        if (x != 50) surface.line(x, 10, x, 90);
      surface.setPen({PenStyle::Solid, 1, kRed});
      surface.moveTo(48, 5);
      const std::vector<CurveStep> steps = {{50, 50, true}, {48, 95}, {50, 50, true}, {50, 95}, {50, 5}};
      surface.drawCurve(steps, "*", align);
    });
  }
}

// A stamp draws exactly what drawText draws, wherever it stands, through a clip too,
// and under a scaled logical window at every sub-pixel phase a row of anchors meets.
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
  std::vector<QPoint> anchors = {{45, 35}, {1, 2}, {89, 69}, {-3, 40}};
  for (int x = -2; x < 96; ++x) anchors.emplace_back(x, 30 + x % 3);
  const QRect clip(20, 10, 50, 40);
  const QRect windows[] = {QRect(), QRect(0, 0, 92, 70), QRect(3, -2, 97, 75)};
  int blended[std::size(windows)] = {};
  for (std::size_t w = 0; w < std::size(windows); ++w)
    for (const Font& font : fonts)
      for (const char* text : {"*", "+", "Wq"})
        for (uint32_t color : {0x0000FFu, 0x4080F0u, kBlack})
          for (TextAlign align : aligns)
            for (bool clipped : {false, true}) {
              const QRect& window = windows[w];
              if (clipped && !window.isNull()) continue;  // the scaled clip is the surface's to work out
              SCOPED_TRACE(std::string(text) + (clipped ? " clipped" : "") + (window.isNull() ? "" : " scaled"));
              QImage expected = background.copy(), drawn = background.copy();
              {
                QPainter plain(&expected), quick(&drawn);
                for (QPainter* p : {&plain, &quick}) {
                  p->setRenderHint(QPainter::TextAntialiasing);
                  p->setFont(to_qfont(font));
                  if (!window.isNull()) p->setWindow(window);
                  if (clipped) p->setClipRect(clip);
                }
                TextStamp stamp(quick, text, color, align);
                for (QPoint anchor : anchors) {
                  draw_plain_text(plain, anchor.x(), anchor.y(), text, stamp.cell(), colour_of(color), false, false);
                  QPoint at;
                  const QTransform device = quick.deviceTransform();
                  if (const StampMask* mask = stamp.mask_at(quick, device, anchor.x(), anchor.y(), at)) {
                    ++blended[w];
                    stamp.blend(*mask, drawn.bits(), drawn.bytesPerLine(), clipped ? clip : drawn.rect(), at);
                  } else {
                    stamp.draw(quick, anchor.x(), anchor.y());
                  }
                }
              }
              EXPECT_EQ(differences(drawn, expected), "0 pixels differ");
            }
  // the raster engine's gray antialiasing is what the offscreen platform draws with
  for (int count : blended) EXPECT_GT(count, 0);
}

// Unsettling clears exactly the anchors of its rectangle, across the words of bits
// and beyond the area's edges.
TEST(QuickPainting, SettledAnchorsUnsettleTheirRectangleOnly) {
  const QRect area(-70, 5, 200, 10);
  const QRect cuts[] = {QRect(-10, 7, 140, 3), QRect(-100, 0, 40, 40), QRect(63, 5, 2, 1), QRect(200, 0, 5, 5)};
  for (const QRect& cut : cuts) {
    SettledAnchors settled;
    settled.follow(area);
    for (int y = area.top() - 1; y <= area.bottom() + 1; ++y)
      for (int x = area.left() - 1; x <= area.right() + 1; ++x) settled.add(x, y);
    settled.unsettle(cut);
    int wrong = 0;
    for (int y = area.top() - 1; y <= area.bottom() + 1; ++y)
      for (int x = area.left() - 1; x <= area.right() + 1; ++x)
        wrong += settled.holds(x, y) != (area.contains(x, y) && !cut.contains(x, y));
    EXPECT_EQ(wrong, 0) << cut.x() << "," << cut.y() << " " << cut.width() << "x" << cut.height();
  }
}

}  // namespace
}  // namespace zentrik
