// zentrik3: with an output option the plot is made headless (batch mode); without
// one the desktop program starts.
#include <QApplication>
#include <QGuiApplication>
#include <QtGlobal>

#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/batch/Batch.h"
#include "app/batch/BatchOptions.h"
#include "app/batch/BatchUi.h"
#include "app/desktop/Desktop.h"
#include "app/shell/CommandLine.h"

int main(int argc, char** argv) {
  using namespace zentrik;
  // A file grown past the user's size limit is a failed write with a message, as a
  // full disk is, not the end of the program with a half-written file.
  std::signal(SIGXFSZ, SIG_IGN);
  BatchOptions options;
  std::string error;
  if (!parse_batch_options(argc, argv, options, error)) {
    std::fprintf(stderr, "zentrik3: %s\nTry 'zentrik3 --help' for more information.\n", error.c_str());
    return 2;
  }
  if (options.help) {
    std::fputs(batch_usage().c_str(), stdout);
    return 0;
  }
  if (options.version) {
    std::puts("zentrik3 3.4");
    return 0;
  }
  if (!options.batch()) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("Zentrik");
    QApplication::setApplicationVersion("3.4");
    QGuiApplication::setDesktopFileName("zentrik3");
    setlocale(LC_NUMERIC, "C");  // numbers in files keep the point whatever the desktop's language
    return run_desktop(command_line_text(argc, argv));
  }
  // Drawing needs fonts, and fonts a QGuiApplication; without a display it runs offscreen.
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  // The toolkit's own notes (a missing runtime folder and the like) are no business
  // of a script reading standard error; its critical errors still are.
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "zentrik3: %s\n", qPrintable(text));
  });
  QGuiApplication application(argc, argv);
  // The toolkit takes the user's locale; numbers in files keep the point.
  setlocale(LC_NUMERIC, "C");
  BatchUi ui;
  return run_batch(options, ui, stdout, stderr);
}
