// A plot window's ways out: its points as a delimited text file ("&Output To File . . ."),
// its drawing on the clipboard ("&Copy To Clipboard"), on a printer ("&Print . . .") and
// as a PNG, SVG or PDF file ("Export Picture . . ."). The plot window calls them from its
// menu and keys; each tells the user through the Ui why it did not get done.
#pragma once

#include <QSize>
#include <string>

#include "display/Render.h"
#include "persist/Configuration.h"
#include "plot/PlotWindow.h"
#include "ui/Ui.h"

class QPrinter;
class QWidget;

namespace zentrik {

// The "Output Options" dialog, then the save dialog "Output Plot Data" (starting in
// outputdir, asking before overwriting), then one line per included data line as the
// batch mode writes them. outputdir follows the chosen file's folder unless freeze_dirs.
// False when cancelled or failed (the user was told why).
bool output_plot_to_file(PlotWindow& window, Configuration& config, Ui& ui, QWidget* parent);

// The plot drawn as a picture of size pixels (the window's drawing area) and put on the
// clipboard as image/png, image/svg+xml and an image for programs that take Qt's own.
bool copy_plot_to_clipboard(PlotWindow& window, const Configuration& config, PaintMemory& memory, QSize size,
                            Ui& ui);

// The print dialog (no page ranges, no selection); on its OK, print_plot. False when it
// was cancelled or printing failed.
bool print_plot_with_dialog(PlotWindow& window, const Configuration& config, PaintMemory& memory, QSize size,
                            const std::string& title, Ui& ui, QWidget* parent);

// The print job's name for a window titled title: its first 30 characters, each white
// space character replaced by "_".
std::string print_document_name(const std::string& title);

// Prints one page on a ready printer: the window's size (aspect kept) fills the printable
// area less one inch on each side, drawn with a title band and a closed frame. A failure
// is told as "Print operation could not be completed." ("Print error!").
bool print_plot(QPrinter& printer, PlotWindow& window, const Configuration& config, PaintMemory& memory, QSize size,
                const std::string& title, Ui& ui);

// The save dialog "Export Picture" (starting in outputdir, asking before overwriting) and
// the picture at size pixels in the format of the name's extension (.png, .svg or .pdf).
// An existing file is replaced only by a complete picture. outputdir follows the chosen
// file's folder unless freeze_dirs. A failure is told as "Can't write <path>:\n\n<reason>"
// ("Export Error!").
bool export_plot_picture(PlotWindow& window, Configuration& config, PaintMemory& memory, QSize size, Ui& ui,
                         QWidget* parent);

}  // namespace zentrik
