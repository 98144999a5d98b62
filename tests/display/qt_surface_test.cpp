#include <gtest/gtest.h>

#include <limits>

#include <QFontInfo>
#include <QImage>
#include <QPainter>
#include <optional>

#include "display/qt/QtSurface.h"

namespace zentrik {
namespace {

// The box around every pixel of an image that is not white.
std::optional<QRect> ink(const QImage& image) {
  std::optional<QRect> box;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) != qRgb(255, 255, 255)) box = box ? box->united(QRect(x, y, 1, 1)) : QRect(x, y, 1, 1);
  return box;
}

class QtSurfaceTest : public ::testing::Test {
 protected:
  QtSurfaceTest() : image(200, 200, QImage::Format_RGB32) { image.fill(Qt::white); }
  QImage image;
};

TEST_F(QtSurfaceTest, ColoursHoldRedInTheLowByte) {
  {
    QPainter painter(&image);
    QtSurface surface(painter);
    surface.fillRect({10, 10, 20, 20}, 0x0000FF);
    surface.fillRect({30, 30, 40, 40}, 0xFF0000);
  }
  EXPECT_EQ(image.pixel(10, 10), qRgb(255, 0, 0));
  EXPECT_EQ(image.pixel(19, 19), qRgb(255, 0, 0));
  EXPECT_EQ(image.pixel(20, 20), qRgb(255, 255, 255));  // right and bottom edges stay out
  EXPECT_EQ(image.pixel(35, 35), qRgb(0, 0, 255));
}

TEST_F(QtSurfaceTest, ALineLeavesOutItsLastPixel) {
  {
    QPainter painter(&image);
    QtSurface surface(painter);
    surface.moveTo(10, 50);
    surface.lineTo(60, 50);
    surface.lineTo(60, 100);
  }
  EXPECT_EQ(image.pixel(10, 50), qRgb(0, 0, 0));
  EXPECT_EQ(image.pixel(60, 50), qRgb(0, 0, 0));  // drawn by the second line
  EXPECT_EQ(image.pixel(60, 99), qRgb(0, 0, 0));
  EXPECT_EQ(image.pixel(60, 100), qRgb(255, 255, 255));
  EXPECT_EQ(image.pixel(9, 50), qRgb(255, 255, 255));
}

TEST_F(QtSurfaceTest, DashedPensLeaveGaps) {
  {
    QPainter painter(&image);
    QtSurface surface(painter);
    surface.setPen({PenStyle::Dash, 1, kBlack});
    surface.line(0, 10, 100, 10);
  }
  int inked = 0;
  for (int x = 0; x < 100; ++x) inked += image.pixel(x, 10) != qRgb(255, 255, 255);
  EXPECT_GT(inked, 60);
  EXPECT_LT(inked, 90);  // dashes of 18 and gaps of 6
  EXPECT_EQ(image.pixel(20, 10), qRgb(255, 255, 255));
}

TEST_F(QtSurfaceTest, TextStandsWhereItsAlignmentSays) {
  Font font{-20, 400, false, false, false, "Arial"};
  TextExtent extent;
  {
    QPainter painter(&image);
    QtSurface surface(painter);
    surface.setFont(font);
    extent = surface.textExtent("Hello");
    surface.setBackgroundOpaque(false);
    surface.drawText(100, 50, "Hello", {HAlign::Centre, VAlign::Bottom}, false);
  }
  EXPECT_GE(extent.height, 20);
  EXPECT_GT(extent.width, 30);
  std::optional<QRect> box = ink(image);
  ASSERT_TRUE(box.has_value());
  EXPECT_LE(box->bottom(), 50);  // above its point
  EXPECT_GE(box->top(), 50 - extent.height);
  EXPECT_NEAR(box->center().x(), 100, 3);  // centred on it
}

TEST_F(QtSurfaceTest, TurnedTextReadsUpwardWithItsTopToTheLeft) {
  Font font{-20, 400, false, false, false, "Arial"};
  TextExtent extent;
  {
    QPainter painter(&image);
    QtSurface surface(painter);
    surface.setFont(font);
    extent = surface.textExtent("Hello");
    surface.setBackgroundOpaque(false);
    surface.drawText(100, 150, "Hello", {HAlign::Left, VAlign::Top}, true);
  }
  std::optional<QRect> box = ink(image);
  ASSERT_TRUE(box.has_value());
  EXPECT_GE(box->left(), 100);  // its column starts at the point
  EXPECT_LE(box->right(), 100 + extent.height);
  EXPECT_LE(box->bottom(), 150);  // and it runs upward from there
  EXPECT_GT(box->height(), box->width());
  EXPECT_GE(box->top(), 150 - extent.width - 1);
}

TEST_F(QtSurfaceTest, OpaqueTextStandsOnWhite) {
  {
    QPainter painter(&image);
    QtSurface surface(painter);
    surface.fillRect({0, 0, 200, 200}, kGray);
    surface.setFont(Font{-20, 400, false, false, false, "Arial"});
    surface.drawText(10, 10, "W", {HAlign::Left, VAlign::Top}, false);
    surface.setBackgroundOpaque(false);
    surface.drawText(10, 100, "W", {HAlign::Left, VAlign::Top}, false);
  }
  EXPECT_EQ(image.pixel(11, 11), qRgb(255, 255, 255));
  EXPECT_EQ(image.pixel(11, 101), qRgb(192, 192, 192));
}

TEST_F(QtSurfaceTest, ExcludedRectanglesStayUntouchedUntilRestore) {
  {
    QPainter painter(&image);
    QtSurface surface(painter);
    surface.save();
    surface.excludeClip({0, 0, 100, 200});
    surface.excludeClip({0, 150, 200, 200});
    surface.fillRect({0, 0, 200, 200}, kBlack);
    surface.restore();
    surface.fillRect({0, 190, 10, 200}, 0x0000FF);
  }
  EXPECT_EQ(image.pixel(50, 50), qRgb(255, 255, 255));
  EXPECT_EQ(image.pixel(150, 160), qRgb(255, 255, 255));
  EXPECT_EQ(image.pixel(150, 50), qRgb(0, 0, 0));
  EXPECT_EQ(image.pixel(5, 195), qRgb(255, 0, 0));  // the clipping ended with restore
}

TEST_F(QtSurfaceTest, TheLogicalWindowFillsTheSurface) {
  {
    QPainter painter(&image);
    QtSurface surface(painter);
    surface.setLogicalWindow(0, 0, 100, 100);
    surface.fillRect({50, 50, 100, 100}, kBlack);
  }
  EXPECT_EQ(image.pixel(99, 99), qRgb(255, 255, 255));
  EXPECT_EQ(image.pixel(101, 101), qRgb(0, 0, 0));
  EXPECT_EQ(image.pixel(199, 199), qRgb(0, 0, 0));
}

TEST(QtFont, MapsTheFontDescription) {
  QFont font = to_qfont(Font{-14, 700, true, true, false, "Arial"});
  EXPECT_EQ(font.pixelSize(), 14);
  EXPECT_EQ(font.weight(), QFont::Bold);
  EXPECT_TRUE(font.italic());
  EXPECT_TRUE(font.underline());
  EXPECT_FALSE(font.strikeOut());
  EXPECT_FALSE(QFontInfo(font).family().isEmpty());  // "Arial" found a face

  // a positive height is the whole cell
  QFont cell = to_qfont(Font{20, 0, false, false, false, ""});
  EXPECT_LE(cell.pixelSize(), 20);
  EXPECT_NEAR(QFontMetrics(cell).height(), 20, 2);
  EXPECT_EQ(cell.weight(), QFont::Normal);

  // heights from a hand-edited configuration stay within what can be drawn
  EXPECT_EQ(to_qfont(Font{std::numeric_limits<int>::min(), 400, false, false, false, ""}).pixelSize(), 2000);
  EXPECT_EQ(to_qfont(Font{-1000000, 400, false, false, false, ""}).pixelSize(), 2000);
}

}  // namespace
}  // namespace zentrik
