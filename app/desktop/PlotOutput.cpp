#include "app/desktop/PlotOutput.h"

#include <QBuffer>
#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QSvgGenerator>
#include <algorithm>
#include <cmath>

#include "app/dialogs/FileDialogs.h"
#include "app/dialogs/OutputOptionsDialog.h"
#include "app/shell/RenderSettings.h"
#include "data/DataFile.h"
#include "display/Output.h"
#include "display/qt/PlotFiles.h"
#include "display/qt/QtSurface.h"
#include "persist/SetupFile.h"

namespace zentrik {
namespace {

constexpr int kDocumentNameLength = 30;
const char* const kPngType = "image/png";
const char* const kSvgType = "image/svg+xml";

// Whether the window holds computed points for its X formula and every enabled Y
// formula: a window still loading or computing has none to give.
bool has_points(const PlotWindow& window) {
  const FormulaList& formulas = window.definition.formulas;
  if (!window.data || formulas.empty()) return false;
  const auto needed = static_cast<std::size_t>(window.data->loaded_count()) + 1;
  for (std::size_t f = 0; f < formulas.size(); ++f) {
    const Formula& formula = formulas[f];
    if ((f == 0 || formula.enabled) && (!formula.points || formula.points->size() < needed)) return false;
  }
  return true;
}

bool tell_not_ready(Ui& ui) {
  ui.showError("The plot is not ready yet; try again once it has been drawn.", "Error!");
  return false;
}

RenderOptions options_for(const Configuration& config, OutputMode mode, Ui& ui) {
  RenderOptions options = render_options(config, mode);
  options.ui = &ui;
  return options;
}

bool fits_picture(QSize size) {
  return size.width() >= 1 && size.height() >= 1 && size.width() <= kMaxPictureSide &&
         size.height() <= kMaxPictureSide;
}

// White first, as on paper: the picture mode draws no background of its own.
void draw_picture(QPainter& painter, QSize size, PlotWindow& window, const RenderOptions& options,
                  PaintMemory& memory) {
  painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
  QtSurface surface(painter);
  render(surface, size.width(), size.height(), window, options, memory);
}

bool plot_not_copied(Ui& ui, const std::string& why) {
  ui.showError(why + ", plot not copied!", "Error!");
  return false;
}

bool export_failed(Ui& ui, const std::string& path, const std::string& reason) {
  ui.showError("Can't write " + path + ":\n\n" + reason, "Export Error!");
  return false;
}

}  // namespace

bool output_plot_to_file(PlotWindow& window, Configuration& config, Ui& ui, QWidget* parent) {
  if (!has_points(window)) return tell_not_ready(ui);
  const std::optional<OutputOptions> options = exec_output_options(config, window.zoomed, parent);
  if (!options) return false;
  FileDialogRequest request;
  request.title = "Output Plot Data";
  request.filter = "All Files|*.*||";
  request.folder = config.outputdir;
  request.confirm_overwrite = true;
  const std::optional<std::string> path = choose_file(parent, request, FileDialogKind::Save);
  if (!path || path->empty()) return false;
  if (!output_to_file(window, *options, *path, ui)) return false;
  follow_chosen_folder(config.outputdir, *path, config.freeze_dirs != 0);
  return true;
}

bool copy_plot_to_clipboard(PlotWindow& window, const Configuration& config, PaintMemory& memory, QSize size,
                            Ui& ui) {
  if (!has_points(window)) return tell_not_ready(ui);
  QClipboard* clipboard = qobject_cast<QGuiApplication*>(QCoreApplication::instance())
                              ? QGuiApplication::clipboard()
                              : nullptr;
  if (!clipboard) return plot_not_copied(ui, "Clipboard in use");
  if (!fits_picture(size)) return plot_not_copied(ui, "Metafile not created");
  const RenderOptions options = options_for(config, OutputMode::Picture, ui);

  QImage image(size, QImage::Format_RGB32);
  if (image.isNull()) return plot_not_copied(ui, "Memory allocation failed");
  {
    QPainter painter(&image);
    draw_picture(painter, size, window, options, memory);
  }
  QByteArray png;
  {
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG"))
      return plot_not_copied(ui, "Metafile not created");
  }

  QByteArray svg;
  {
    QBuffer buffer(&svg);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setTitle(QStringLiteral("Zentrik plot"));
    QPainter painter;
    if (!painter.begin(&generator)) return plot_not_copied(ui, "Metafile not created");
    draw_picture(painter, size, window, options, memory);
    if (!painter.end() || svg.isEmpty()) return plot_not_copied(ui, "Metafile not created");
  }

  auto* data = new QMimeData;
  data->setData(kPngType, png);
  data->setData(kSvgType, svg);
  data->setImageData(image);
  clipboard->setMimeData(data);
  // Another program that keeps hold of the clipboard leaves its own content there.
  const QMimeData* now = clipboard->mimeData();
  if (now != data && !(now && now->hasFormat(kPngType) && now->data(kPngType) == png))
    return plot_not_copied(ui, "Clipboard in use");
  return true;
}

bool print_plot_with_dialog(PlotWindow& window, const Configuration& config, PaintMemory& memory, QSize size,
                            const std::string& title, Ui& ui, QWidget* parent) {
  if (!has_points(window)) return tell_not_ready(ui);
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(QString::fromStdString(print_document_name(title)));
  QPrintDialog dialog(&printer, parent);
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
  dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
  dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
  if (dialog.exec() != QDialog::Accepted) return false;
  return print_plot(printer, window, config, memory, size, title, ui);
}

std::string print_document_name(const std::string& title) {
  QList<uint> characters = QString::fromStdString(title).toUcs4();
  if (characters.size() > kDocumentNameLength) characters.resize(kDocumentNameLength);
  for (uint& character : characters)
    if (QChar::isSpace(static_cast<char32_t>(character))) character = '_';
  return QString::fromUcs4(reinterpret_cast<const char32_t*>(characters.constData()), characters.size())
      .toStdString();
}

bool print_plot(QPrinter& printer, PlotWindow& window, const Configuration& config, PaintMemory& memory, QSize size,
                const std::string& title, Ui& ui) {
  if (!has_points(window)) return tell_not_ready(ui);
  const auto failed = [&ui] {
    ui.showError("Print operation could not be completed.", "Print error!");
    return false;
  };
  printer.setDocName(QString::fromStdString(print_document_name(title)));
  // The printable area of the page less an inch on every side, in the printer's pixels.
  const int inch_x = printer.logicalDpiX(), inch_y = printer.logicalDpiY();
  const QRect area(inch_x, inch_y, printer.width() - 2 * inch_x, printer.height() - 2 * inch_y);
  if (size.width() < 1 || size.height() < 1 || area.width() < 1 || area.height() < 1) return failed();

  QPainter painter;
  if (!painter.begin(&printer)) return failed();
  // The window's pixels keep their aspect: the tighter of the two scales serves both.
  const double scale = std::min(static_cast<double>(area.width()) / size.width(),
                                static_cast<double>(area.height()) / size.height());
  painter.setViewport(area.x(), area.y(), std::max(1, static_cast<int>(std::lround(size.width() * scale))),
                      std::max(1, static_cast<int>(std::lround(size.height() * scale))));
  painter.setWindow(0, 0, size.width(), size.height());
  {
    QtSurface surface(painter);
    render(surface, size.width(), size.height(), window, options_for(config, OutputMode::Printer, ui), memory);
  }
  if (!painter.end()) return failed();
  return true;
}

bool export_plot_picture(PlotWindow& window, Configuration& config, PaintMemory& memory, QSize size, Ui& ui,
                         QWidget* parent) {
  if (!has_points(window)) return tell_not_ready(ui);
  FileDialogRequest request;
  request.title = "Export Picture";
  request.filter = "PNG Images|*.png|SVG Drawings|*.svg|PDF Documents|*.pdf||";
  request.default_extension = "png";
  request.folder = config.outputdir;
  request.confirm_overwrite = true;
  const std::optional<std::string> chosen = choose_file(parent, request, FileDialogKind::Save);
  if (!chosen || chosen->empty()) return false;
  const std::string& path = *chosen;

  using Writer = bool (*)(const std::string&, int, int, PlotWindow&, const RenderOptions&, PaintMemory&,
                          std::string&, RenderResult*);
  const QString extension = QFileInfo(QString::fromStdString(path)).suffix().toLower();
  Writer writer = nullptr;
  if (extension == "png")
    writer = write_plot_png;
  else if (extension == "svg")
    writer = write_plot_svg;
  else if (extension == "pdf")
    writer = write_plot_pdf;
  else
    return export_failed(ui, path, "A picture is exported as a PNG image (.png), an SVG drawing (.svg) or a "
                                   "PDF document (.pdf); the name must end in one of these.");

  // The writers put the picture in place whole: a file it replaces is never left half written.
  std::string reason;
  if (!writer(path, size.width(), size.height(), window, options_for(config, OutputMode::Picture, ui), memory,
              reason, nullptr))
    return export_failed(ui, path, reason);
  follow_chosen_folder(config.outputdir, path, config.freeze_dirs != 0);
  return true;
}

}  // namespace zentrik
