#include "display/qt/PlotFiles.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include "display/qt/QtSurface.h"

namespace zentrik {
namespace {

QString to_qpath(const std::string& path) { return QString::fromLocal8Bit(path.data(), static_cast<qsizetype>(path.size())); }

// What must hold before any file is made: a path, a sensible size, fonts to draw with.
bool can_draw(const std::string& path, int width, int height, std::string& reason) {
  if (path.empty()) {
    reason = "No file name was given for the plot.";
    return false;
  }
  if (width < 1 || height < 1 || width > kMaxPictureSide || height > kMaxPictureSide) {
    reason = "The picture size " + std::to_string(width) + " x " + std::to_string(height) +
             " is outside 1 to " + std::to_string(kMaxPictureSide) + " pixels.";
    return false;
  }
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
    reason = "Plots can only be drawn while a QGuiApplication runs.";
    return false;
  }
  return true;
}

bool cannot_write(const std::string& path, std::string& reason) {
  reason = "Can't write " + path;
  return false;
}

// Draws on the painter's device, white first: paper and files start blank.
void draw(QPainter& painter, int width, int height, PlotWindow& window, const RenderOptions& options,
          PaintMemory& memory, RenderResult* drawn) {
  painter.fillRect(QRect(0, 0, width, height), Qt::white);
  QtSurface surface(painter);
  RenderResult result = render(surface, width, height, window, options, memory);
  if (drawn) *drawn = std::move(result);
}

// A file that the painter could not finish is left empty or missing.
bool written(const std::string& path) {
  QFileInfo info(to_qpath(path));
  return info.isFile() && info.size() > 0;
}

}  // namespace

bool write_plot_png(const std::string& path, int width, int height, PlotWindow& window,
                    const RenderOptions& options, PaintMemory& memory, std::string& reason,
                    RenderResult* drawn) {
  if (!can_draw(path, width, height, reason)) return false;
  QImage image(width, height, QImage::Format_RGB32);
  if (image.isNull()) {
    reason = "Not enough memory for a picture of " + std::to_string(width) + " x " + std::to_string(height) +
             " pixels.";
    return false;
  }
  QPainter painter(&image);
  draw(painter, width, height, window, options, memory, drawn);
  painter.end();
  if (!image.save(to_qpath(path), "PNG")) return cannot_write(path, reason);
  return true;
}

bool write_plot_svg(const std::string& path, int width, int height, PlotWindow& window,
                    const RenderOptions& options, PaintMemory& memory, std::string& reason,
                    RenderResult* drawn) {
  if (!can_draw(path, width, height, reason)) return false;
  QSvgGenerator generator;
  generator.setFileName(to_qpath(path));
  generator.setSize(QSize(width, height));
  generator.setViewBox(QRect(0, 0, width, height));
  generator.setTitle(QStringLiteral("Zentrik plot"));
  QPainter painter;
  if (!painter.begin(&generator)) return cannot_write(path, reason);
  draw(painter, width, height, window, options, memory, drawn);
  if (!painter.end() || !written(path)) return cannot_write(path, reason);
  return true;
}

bool write_plot_pdf(const std::string& path, int width, int height, PlotWindow& window,
                    const RenderOptions& options, PaintMemory& memory, std::string& reason,
                    RenderResult* drawn) {
  if (!can_draw(path, width, height, reason)) return false;
  QPdfWriter writer(to_qpath(path));
  writer.setResolution(72);  // one point per pixel
  writer.setPageSize(QPageSize(QSizeF(width, height), QPageSize::Point, QString(), QPageSize::ExactMatch));
  writer.setPageMargins(QMarginsF(0, 0, 0, 0));
  writer.setCreator(QStringLiteral("Zentrik"));
  QPainter painter;
  if (!painter.begin(&writer)) return cannot_write(path, reason);
  painter.setWindow(0, 0, width, height);
  draw(painter, width, height, window, options, memory, drawn);
  if (!painter.end() || !written(path)) return cannot_write(path, reason);
  return true;
}

}  // namespace zentrik
