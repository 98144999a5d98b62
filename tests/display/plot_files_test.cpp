#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QSvgRenderer>
#include <QXmlStreamReader>
#include <fstream>
#include <sstream>

#include "ComputedPlot.h"
#include "data/TempDir.h"
#include "display/qt/PlotFiles.h"
#include "display/qt/PngFile.h"

namespace zentrik {
namespace {

using testing::ComputedPlot;
using testing::TempDir;

std::string file_text(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class PlotFiles : public ::testing::Test {
 protected:
  PlotFiles() : plot("0 0\n10 100\n") {
    plot.definition().xlab = "Seconds";
    plot.definition().ylab = "Volts";
    plot.window.title = "Run 5";
    plot.compute();
  }
  ComputedPlot plot;
  RenderOptions options;
  PaintMemory memory;
  TempDir dir;
  std::string reason;
};

TEST_F(PlotFiles, APngHasItsSizeAndShowsTheFrame) {
  options.mode = OutputMode::Printer;
  std::string path = dir.path("plot.png");
  RenderResult drawn;
  ASSERT_TRUE(write_plot_png(path, 640, 480, plot.window, options, memory, reason, &drawn)) << reason;
  QImage image(QString::fromStdString(path));
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.width(), 640);
  EXPECT_EQ(image.height(), 480);
  const RenderLayout& l = drawn.layout;
  ASSERT_GT(l.left, 0);
  ASSERT_LT(l.top, l.bottom);
  auto black = [&](int x, int y) { return image.pixel(x, y) == qRgb(0, 0, 0); };
  // the closed frame: the vertical axis, the horizontal axis and the top line
  for (int y = l.top; y < l.bottom; y += 7) EXPECT_TRUE(black(l.left, y)) << y;
  for (int x = l.left; x < 640; x += 7) EXPECT_TRUE(black(x, l.bottom)) << x;
  for (int x = l.left + 1; x < 640; x += 7) EXPECT_TRUE(black(x, l.top)) << x;
  // the paper is white away from the drawing
  EXPECT_EQ(image.pixel(l.left + 5, l.top + 5), qRgb(255, 255, 255));
}

// Pictures of one pixel, odd sizes, noise in every channel and plain runs, from
// pixels with and without alpha, come back from their PNG exactly (alpha dropped);
// a device that takes nothing is a failure.
TEST(PngFile, APngHoldsEveryPixelOfThePicture) {
  uint32_t seed = 9;
  auto noise = [&] {
    seed = seed * 1103515245u + 12345u;
    return seed >> 8;
  };
  for (QSize size : {QSize(1, 1), QSize(3, 2), QSize(97, 61), QSize(800, 40)}) {
    for (QImage::Format format : {QImage::Format_RGB32, QImage::Format_ARGB32_Premultiplied}) {
      SCOPED_TRACE(std::to_string(size.width()) + "x" + std::to_string(size.height()));
      QImage picture(size, format);
      picture.fill(Qt::white);
      for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
          if ((x + y) % 5 != 0) picture.setPixel(x, y, 0xFF000000u | (noise() & 0xFFFFFFu));
      QBuffer buffer;
      buffer.open(QIODevice::WriteOnly);
      ASSERT_TRUE(write_png(picture, buffer));
      QImage back = QImage::fromData(buffer.data(), "PNG");
      ASSERT_FALSE(back.isNull());
      EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), picture.convertToFormat(QImage::Format_RGB32));
    }
  }
  QBuffer closed;
  EXPECT_FALSE(write_png(QImage(4, 4, QImage::Format_RGB32), closed));
}

TEST_F(PlotFiles, AnSvgParsesAndHoldsTheLabels) {
  options.mode = OutputMode::Printer;
  std::string path = dir.path("plot.svg");
  ASSERT_TRUE(write_plot_svg(path, 500, 400, plot.window, options, memory, reason)) << reason;
  std::string svg = file_text(path);
  QXmlStreamReader xml(QByteArray::fromStdString(svg));
  QStringList texts;
  while (!xml.atEnd()) {
    if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QStringLiteral("text"))
      texts << xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
  }
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  for (const char* label : {"Run 5", "Seconds", "Volts", "0", "2.5", "10", "100", "Std Dev"})
    EXPECT_TRUE(texts.contains(QString::fromUtf8(label))) << label;
  QSvgRenderer renderer(QByteArray::fromStdString(svg));
  EXPECT_TRUE(renderer.isValid());
}

TEST_F(PlotFiles, APdfIsAPdfDocument) {
  std::string path = dir.path("plot.pdf");
  ASSERT_TRUE(write_plot_pdf(path, 500, 400, plot.window, options, memory, reason)) << reason;
  std::string pdf = file_text(path);
  EXPECT_EQ(pdf.substr(0, 4), "%PDF");
  EXPECT_NE(pdf.find("%%EOF"), std::string::npos);
}

TEST_F(PlotFiles, FailuresComeWithAReason) {
  std::string missing = dir.path("no-such-folder/plot");
  EXPECT_FALSE(write_plot_png(missing + ".png", 500, 400, plot.window, options, memory, reason));
  EXPECT_EQ(reason, "No such file or directory");
  EXPECT_FALSE(write_plot_svg(missing + ".svg", 500, 400, plot.window, options, memory, reason));
  EXPECT_EQ(reason, "No such file or directory");
  EXPECT_FALSE(write_plot_pdf(missing + ".pdf", 500, 400, plot.window, options, memory, reason));
  EXPECT_EQ(reason, "No such file or directory");

  // A disk that fills up fails the picture and keeps the one it was to replace.
  for (const std::string name : {"old.png", "old.svg", "old.pdf"}) {
    const std::string old = dir.write(name, "an older picture");
    testing::FileSizeLimit full_disk(1024);
    bool written = name.ends_with("png")   ? write_plot_png(old, 500, 400, plot.window, options, memory, reason)
                   : name.ends_with("svg") ? write_plot_svg(old, 500, 400, plot.window, options, memory, reason)
                                           : write_plot_pdf(old, 500, 400, plot.window, options, memory, reason);
    EXPECT_FALSE(written) << name;
    EXPECT_EQ(reason, "File too large") << name;
    EXPECT_EQ(testing::read_file(old), "an older picture") << name;
  }

  EXPECT_FALSE(write_plot_png(dir.path("a.png"), 0, 400, plot.window, options, memory, reason));
  EXPECT_EQ(reason, "The picture size 0 x 400 is outside 1 to 16000 pixels.");
  EXPECT_FALSE(write_plot_pdf(dir.path("a.pdf"), 500, 16001, plot.window, options, memory, reason));
  EXPECT_EQ(reason, "The picture size 500 x 16001 is outside 1 to 16000 pixels.");
  EXPECT_FALSE(write_plot_svg("", 500, 400, plot.window, options, memory, reason));
  EXPECT_EQ(reason, "No file name was given for the plot.");
}

}  // namespace
}  // namespace zentrik
