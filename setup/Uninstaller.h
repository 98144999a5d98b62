// The uninstaller: setup started with the path of an INSTALL.LOG undoes what the log
// lists, from its last line to its first. A log is a file anyone could have edited, so
// only what lies inside the installation folder (the log's folder) or is one of the
// files and folders an installation makes on the desktop is touched; a link is
// removed itself, never followed; a folder is removed only when empty; and the lines
// left alone are told at the end.
#pragma once

#include <string>

#include "setup/IntegrationPaths.h"
#include "setup/SetupUi.h"

namespace zentrik {

struct UninstallOptions {
  int busy_folder_retry_ms = 3000;  // how long a folder that isn't empty is given
};

// Asks, then removes what log_path lists; tells every step through ui. True when the
// removal ran to its end.
bool uninstall(const std::string& log_path, const IntegrationPaths& paths, SetupUi& ui,
               const UninstallOptions& options = {});

}  // namespace zentrik
