#include "display/qt/PlotFiles.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include "data/AtomicFile.h"
#include "display/qt/PngFile.h"
#include "display/qt/QtSurface.h"

namespace zentrik {
namespace {

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

bool cannot_write(const std::string& path, const std::string& why, std::string& reason) {
  reason = why.empty() ? "Can't write " + path : why;
  return false;
}

// The picture's file: the Qt writers draw into memory, and the bytes are written
// beside the old file and put in its place only when every one reached the disk, so
// that a full disk leaves the old picture as it was and is never taken for success.
class PictureFile {
 public:
  explicit PictureFile(const std::string& path) : path_(path) { buffer_.open(QIODevice::WriteOnly); }

  // The device the Qt writers write to.
  QIODevice* device() { return &buffer_; }

  bool commit(std::string& reason) {
    buffer_.close();
    const QByteArray& bytes = buffer_.data();
    ReplacingFile file(path_);
    if (file.write(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()))) && file.commit())
      return true;
    return cannot_write(path_, file.error(), reason);
  }

 private:
  std::string path_;
  QBuffer buffer_;
};

// Draws on the painter's device, white first: paper and files start blank.
void draw(QPainter& painter, int width, int height, PlotWindow& window, const RenderOptions& options,
          PaintMemory& memory, RenderResult* drawn) {
  painter.fillRect(QRect(0, 0, width, height), Qt::white);
  QtSurface surface(painter);
  RenderResult result = render(surface, width, height, window, options, memory);
  if (drawn) *drawn = std::move(result);
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
  PictureFile file(path);
  if (!write_png(image, *file.device())) return cannot_write(path, "", reason);
  return file.commit(reason);
}

bool write_plot_svg(const std::string& path, int width, int height, PlotWindow& window,
                    const RenderOptions& options, PaintMemory& memory, std::string& reason,
                    RenderResult* drawn) {
  if (!can_draw(path, width, height, reason)) return false;
  PictureFile file(path);
  QSvgGenerator generator;
  generator.setOutputDevice(file.device());
  generator.setSize(QSize(width, height));
  generator.setViewBox(QRect(0, 0, width, height));
  generator.setTitle(QStringLiteral("Zentrik plot"));
  QPainter painter;
  if (!painter.begin(&generator)) return cannot_write(path, "", reason);
  draw(painter, width, height, window, options, memory, drawn);
  if (!painter.end()) return cannot_write(path, "", reason);
  return file.commit(reason);
}

bool write_plot_pdf(const std::string& path, int width, int height, PlotWindow& window,
                    const RenderOptions& options, PaintMemory& memory, std::string& reason,
                    RenderResult* drawn) {
  if (!can_draw(path, width, height, reason)) return false;
  PictureFile file(path);
  QPdfWriter writer(file.device());
  writer.setResolution(72);  // one point per pixel
  writer.setPageSize(QPageSize(QSizeF(width, height), QPageSize::Point, QString(), QPageSize::ExactMatch));
  writer.setPageMargins(QMarginsF(0, 0, 0, 0));
  writer.setCreator(QStringLiteral("Zentrik"));
  QPainter painter;
  if (!painter.begin(&writer)) return cannot_write(path, "", reason);
  painter.setWindow(0, 0, width, height);
  draw(painter, width, height, window, options, memory, drawn);
  if (!painter.end()) return cannot_write(path, "", reason);
  return file.commit(reason);
}

}  // namespace zentrik
