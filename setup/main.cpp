// setup: without arguments it installs the package it was started from (the folder
// that holds it) after the wizard; with the path of an INSTALL.LOG it uninstalls.
// Exit status 0 when it did what was asked, 1 otherwise.
#include <unistd.h>

#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "setup/BackgroundWindow.h"
#include "setup/CommandLine.h"
#include "setup/Installer.h"
#include "setup/QtSetupUi.h"
#include "setup/SetupWizard.h"
#include "setup/Uninstaller.h"

namespace {

using namespace zentrik;

constexpr int kBackgroundPauseMs = 500;

bool display_available() {
  for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
    if (const char* value = std::getenv(name); value && *value) return true;
  return false;
}

// The background window covers the desktop while the wizard runs and stays behind
// every window that follows.
bool run_installation() {
  const bool for_root = ::geteuid() == 0;
  const IntegrationPaths paths = integration_paths_for_this_user();
  BackgroundWindow background;
  QtSetupUi ui(&background);
  background.showFullScreen();
  ui.waitDispatching(kBackgroundPauseMs);
  SetupWizard wizard(for_root, paths, ui, &background);
  if (wizard.exec() != QDialog::Accepted) return false;
  return install(wizard.choices(), running_program_folder(), paths, ui);
}

}  // namespace

int main(int argc, char** argv) {
  const SetupCommand command = parse_setup_command(argc, argv);
  if (!display_available()) {
    std::fprintf(stderr, "setup: a display is needed (DISPLAY or WAYLAND_DISPLAY is not set)\n");
    return 1;
  }
  // The toolkit gets no options from the command line: it is the log's path or nothing.
  static int toolkit_argc = 1;
  static char name[] = "setup";
  static char* toolkit_argv[] = {name, nullptr};
  QApplication application(toolkit_argc, toolkit_argv);

  switch (command.kind) {
    case SetupCommand::Kind::Unknown:
      QtSetupUi().message(command.message, "Error!");
      return 1;
    case SetupCommand::Kind::Uninstall: {
      QtSetupUi ui;
      return uninstall(command.log_path, integration_paths_for_this_user(), ui) ? 0 : 1;
    }
    case SetupCommand::Kind::Install:
      return run_installation() ? 0 : 1;
  }
  return 1;
}
