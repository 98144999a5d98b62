// Plots drawn into SVG and PDF documents through QtSurface against the
// straightforward drawing (a call per line and per character): each formula's curve
// is one path instead of an element per line, its characters follow it once each,
// and the document looks the same.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <QSvgRenderer>
#include <QXmlStreamReader>
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>

#include "ComputedPlot.h"
#include "StraightSurface.h"
#include "display/Render.h"
#include "display/qt/QtSurface.h"

namespace zentrik {
namespace {

using testing::ComputedPlot;
using testing::StraightSurface;

constexpr int kWidth = 300, kHeight = 250;

// Lines "X Y1 Y2": X rising, Y1 noise, Y2 a slow sawtooth.
std::string noisy_lines(int count) {
  std::string text;
  uint32_t seed = 3;
  for (int i = 0; i < count; ++i) {
    seed = seed * 1103515245u + 12345u;
    text += std::to_string(i) + " " + std::to_string((seed >> 8) % 1000) + " " + std::to_string(i % 400) + "\n";
  }
  return text;
}

// Renders the plot as the picture files are drawn, onto a painter on the device.
template <typename Surface>
void draw(QPaintDevice& device, ComputedPlot& plot) {
  QPainter painter(&device);
  painter.setWindow(0, 0, kWidth, kHeight);
  painter.fillRect(QRect(0, 0, kWidth, kHeight), Qt::white);
  auto surface = std::make_unique<Surface>(painter);
  RenderOptions options;
  options.mode = OutputMode::Picture;
  PaintMemory memory;
  render(*surface, kWidth, kHeight, plot.window, options, memory);
}

template <typename Surface>
QByteArray svg_of(ComputedPlot& plot) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator generator;
  generator.setOutputDevice(&buffer);
  generator.setSize(QSize(kWidth, kHeight));
  generator.setViewBox(QRect(0, 0, kWidth, kHeight));
  draw<Surface>(generator, plot);
  return buffer.data();
}

template <typename Surface>
QByteArray pdf_of(ComputedPlot& plot) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    writer.setResolution(72);
    writer.setPageSize(QPageSize(QSizeF(kWidth, kHeight), QPageSize::Point, QString(), QPageSize::ExactMatch));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    draw<Surface>(writer, plot);
  }
  return buffer.data();
}

// How many paths a PDF strokes: the "S" operators of its compressed content streams.
int pdf_strokes(const QByteArray& pdf) {
  int strokes = 0;
  for (qsizetype at = pdf.indexOf("stream\n"); at >= 0; at = pdf.indexOf("stream\n", at)) {
    const qsizetype start = at + 7, end = pdf.indexOf("endstream", start);
    if (end < 0) break;
    at = end + 9;
    if (static_cast<uint8_t>(pdf[start]) != 0x78) continue;  // not a zlib stream (a font's, say)
    // qUncompress wants the length first, and takes 0 as "unknown"
    const QByteArray content = qUncompress(QByteArray(4, '\0') + pdf.mid(start, end - start));
    strokes += static_cast<int>(content.count("\nS\n"));
  }
  return strokes;
}

// How many elements of each kind an SVG holds.
struct Elements {
  int strokes = 0;  // paths, polylines and lines
  int texts = 0;
};
Elements elements(const QByteArray& svg) {
  Elements found;
  QXmlStreamReader xml(svg);
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    if (xml.name() == QStringLiteral("path") || xml.name() == QStringLiteral("polyline") ||
        xml.name() == QStringLiteral("line"))
      ++found.strokes;
    if (xml.name() == QStringLiteral("text")) ++found.texts;
  }
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  return found;
}

QImage rasterised(const QByteArray& svg) {
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  image.fill(Qt::white);
  QSvgRenderer renderer(svg);
  EXPECT_TRUE(renderer.isValid());
  QPainter painter(&image);
  renderer.render(&painter);
  return image;
}

// Of the pixels either picture draws on, the share that differ clearly (by more
// than a quarter in a channel): bevelled corners and characters drawn once instead
// of twice are slight.
double clearly_different(const QImage& a, const QImage& b) {
  long drawn = 0, different = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
      if (p == qRgb(255, 255, 255) && q == qRgb(255, 255, 255)) continue;
      ++drawn;
      const int most = std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                 std::abs(qBlue(p) - qBlue(q))});
      if (most > 64) ++different;
    }
  return drawn ? static_cast<double>(different) / drawn : 0;
}

class Documents : public ::testing::Test {
 protected:
  Documents() : plot(noisy_lines(3000), {"C2", "C3"}, "C1") {
    plot.y(1).color = 0xFF0000;
    plot.y(1).draw_lines = 1;  // lines and points
    plot.y(2).color = 0x0000FF;
    plot.y(2).draw_lines = 1;  // a dashed line only
    plot.y(2).draw_points = 0;
    plot.y(2).line_type = LineType::Dash;
    plot.compute();
  }
  ComputedPlot plot;
};

TEST_F(Documents, AnSvgDrawsEachCurveAsOnePathThatLooksTheSame) {
  const QByteArray straight = svg_of<StraightSurface>(plot), quick = svg_of<QtSurface>(plot);
  // the axes, marks and band alone, for the elements that are not the curves
  for (std::size_t i : {1u, 2u}) plot.y(i).enabled = false;
  const Elements frame = elements(svg_of<QtSurface>(plot));
  for (std::size_t i : {1u, 2u}) plot.y(i).enabled = true;

  const Elements before = elements(straight), after = elements(quick);
  EXPECT_GT(before.strokes, frame.strokes + 2000);  // an element per line
  EXPECT_EQ(after.strokes, frame.strokes + 2);      // a path per curve
  EXPECT_GT(after.texts, frame.texts + 1000);       // the characters, each once
  EXPECT_LE(after.texts, before.texts);
  EXPECT_LT(clearly_different(rasterised(quick), rasterised(straight)), 0.01);

  // lines alone: a path is much smaller than its lines one by one
  plot.y(1).draw_points = 0;
  EXPECT_LT(svg_of<QtSurface>(plot).size() * 4, svg_of<StraightSurface>(plot).size());
}

TEST_F(Documents, APdfDrawsEachCurveAsOnePath) {
  const int straight = pdf_strokes(pdf_of<StraightSurface>(plot)), quick = pdf_strokes(pdf_of<QtSurface>(plot));
  for (std::size_t i : {1u, 2u}) plot.y(i).enabled = false;
  const int frame = pdf_strokes(pdf_of<QtSurface>(plot));
  EXPECT_GT(straight, frame + 2000);
  EXPECT_EQ(quick, frame + 2);
}

}  // namespace
}  // namespace zentrik
