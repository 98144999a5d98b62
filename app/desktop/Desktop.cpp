#include "app/desktop/Desktop.h"

#include <QApplication>
#include <QTimer>

#include "app/desktop/MainWindow.h"
#include "app/desktop/SingleInstance.h"
#include "app/dialogs/AboutDialog.h"
#include "app/dialogs/HelpWindow.h"
#include "app/qtui/QtUi.h"
#include "persist/ConfigLocation.h"
#include "persist/Configuration.h"

namespace zentrik {

int run_desktop(const std::string& command_line) {
  QtUi ui;
  if (SingleInstance::passToRunningInstance(command_line, ui)) return 0;
  SingleInstance instance;
  instance.listen();  // without the socket the program still works; later starts open their own

  const std::optional<std::string> config_path = locate_configuration(ui);
  if (!config_path) return 0;  // the user cancelled the choice of the configuration file
  Configuration config = read_configuration(*config_path);
  const Configuration startup = config;
  ui.setErrorBeep(config.err_beep != 0);
  if (config.first_run()) show_disclaimer(nullptr);

  MainWindow window(config, startup, *config_path, ui);
  ui.setHelp([&window](const std::string& page) { show_help(&window, page); });
  ui.setMainWindow(&window);
  window.show();
  QObject::connect(&instance, &SingleInstance::commandLineReceived, &window,
                   [&window](const QString& text) { window.passFile(text.toStdString()); });
  if (!command_line.empty())
    QTimer::singleShot(0, &window, [&window, command_line] { window.processCommandLine(command_line); });
  QApplication::setQuitOnLastWindowClosed(false);
  return QApplication::exec();
}

}  // namespace zentrik
