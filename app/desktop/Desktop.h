// The start of the desktop program: hand the command line to a running instance,
// or find the configuration, show the disclaimer on a first run, open the main
// window, listen for later starts, plot the named files and run until the main
// window closes. A QApplication must exist.
#pragma once

#include <string>

namespace zentrik {

// The exit status of the desktop program; command_line holds the file names.
int run_desktop(const std::string& command_line);

}  // namespace zentrik
