// The installation after the wizard: the installation folder, the log, the copy of
// every file the package list names (on a worker thread, with the overwrite modes and
// the "File Exists!" question), the registration with the desktop and the shortcuts,
// the closing message, and tollund3 started with the installation folder.
#pragma once

#include <string>

#include "setup/IntegrationPaths.h"
#include "setup/SetupUi.h"
#include "setup/WizardChecks.h"

namespace zentrik {

struct InstallOptions {
  int configuration_maker_wait_ms = 10000;  // how long tollund3 is waited for
};

// Installs the files that package_folder's Zentrik3.INF names into
// choices.destination and tells the outcome through ui. True when nothing stopped it.
bool install(const InstallChoices& choices, const std::string& package_folder, const IntegrationPaths& paths,
             SetupUi& ui, const InstallOptions& options = {});

// Whether a package file replaces an existing one without asking: the programs
// themselves (names beginning "Zentrik3", "tollund3" or "setup" in any case).
bool replaces_without_asking(const std::string& source);

// The folder of the running program: setup installs the package it came with.
std::string running_program_folder();

}  // namespace zentrik
