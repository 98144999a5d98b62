// Where a thin line straight down or up lands on a raster picture: for each
// logical x, the device column it paints and which rows between its ends, as the
// raster engine draws it (it leaves out one end, and rounds a narrowed column,
// under a picture's logical window, its own way). Found once per mapping by drawing
// such lines on scratch pixels, three columns apart, with the mapping's own
// arithmetic across. QtSurface leaves out the lines whose pixels hold their colour
// already (SolidColumns).
#pragma once

#include <QImage>
#include <QPainter>
#include <QPen>
#include <QTransform>
#include <cmath>
#include <vector>

namespace zentrik {

class VerticalLines {
 public:
  struct Landing {
    int column = 0;
    int from_top = 1, from_bottom = 0;  // the painted rows: top + from_top .. bottom - from_bottom
    bool known = false;
  };

  // Rows mapped one to one in whole pixels, columns not widened (a line one pixel
  // wide stays one column wide) and narrowed only a little, as a picture's logical
  // window narrows them (lines three logical columns apart land two or more apart).
  static bool applies(const QTransform& device) {
    return device.type() <= QTransform::TxScale && device.m22() == 1 && device.dy() == std::floor(device.dy()) &&
           std::abs(device.dy()) < 1e6 && device.m11() >= 0.75 && device.m11() <= 1 && std::abs(device.dx()) < 1e6;
  }

  bool probed_for(const QTransform& device) const { return probed_ && mapping_ == device; }

  // Draws the lines of each logical x over the device's width with this pen.
  void probe(const QTransform& device, int device_width, QPainter::RenderHints hints, const QPen& pen) {
    mapping_ = device;
    probed_ = true;
    first_ = static_cast<int>(std::floor((-2 - device.dx()) / device.m11()));
    const int last = static_cast<int>(std::ceil((device_width + 2 - device.dx()) / device.m11()));
    down_.assign(static_cast<std::size_t>(last - first_ + 1), Landing{});
    up_ = down_;
    if (device_width <= 0) return;
    // rows 1 to 5 of the scratch stand for the logical rows 1 to 5
    const QTransform scratch_mapping = device * QTransform::fromTranslate(0, -device.dy());
    QImage scratch(device_width, 7, QImage::Format_RGB32);
    for (bool down : {true, false})
      for (int residue = 0; residue < 3; ++residue) {
        scratch.fill(Qt::white);
        {
          QPainter painter(&scratch);
          painter.setRenderHints(hints);
          painter.setTransform(scratch_mapping);
          painter.setPen(pen);
          for (int x = first_ + residue; x <= last; x += 3)
            painter.drawLine(QPoint(x, down ? 1 : 5), QPoint(x, down ? 5 : 1));  // one call each, as drawn
        }
        for (int x = first_ + residue; x <= last; x += 3)
          (down ? down_ : up_)[static_cast<std::size_t>(x - first_)] = landing(scratch, x * device.m11() + device.dx());
      }
  }

  // The landing of a line at logical x going down (or up); null when unknown.
  const Landing* at(int x, bool down) const {
    const auto& landings = down ? down_ : up_;
    if (x < first_ || x - first_ >= static_cast<int>(landings.size())) return nullptr;
    const Landing& landing = landings[static_cast<std::size_t>(x - first_)];
    return landing.known ? &landing : nullptr;
  }

 private:
  // The one painted column within a pixel of where the line was aimed (its
  // neighbours lie three logical pixels away) and its run of rows.
  static Landing landing(const QImage& scratch, double aimed) {
    Landing found;
    int columns = 0;
    const int near = static_cast<int>(std::floor(aimed));
    for (int column = std::max(near - 1, 0); column <= std::min(near + 1, scratch.width() - 1); ++column) {
      int first = -1, last = -1, count = 0;
      for (int y = 0; y < scratch.height(); ++y)
        if (scratch.pixel(column, y) != qRgb(255, 255, 255)) {
          if (first < 0) first = y;
          last = y;
          ++count;
        }
      if (count == 0) continue;
      ++columns;
      found = {column, first - 1, 5 - last, first >= 1 && last <= 5 && count == last - first + 1 && count >= 3};
    }
    if (columns != 1) found.known = false;
    return found;
  }

  bool probed_ = false;
  QTransform mapping_;
  int first_ = 0;  // the logical x of the first landing
  std::vector<Landing> down_, up_;
};

}  // namespace zentrik
