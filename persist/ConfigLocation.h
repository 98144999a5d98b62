// Where the configuration file lives: the user's folders the defaults come from, the
// per-user settings store that records the file's path ("Configpath" in
// $XDG_CONFIG_HOME/Vantrell/Zentrik.conf), and the start-up dialogue that finds or
// chooses the file. Used by the start-up and by the configuration's defaults.
#pragma once

#include <optional>
#include <string>

#include "ui/Ui.h"

namespace zentrik {

// $HOME, else the home folder of the user's account, else "/".
std::string home_folder();
// $TMPDIR, else "/tmp".
std::string temporary_folder();
// $XDG_CONFIG_HOME when it is an absolute path, else the home folder's ".config".
std::string config_home();

// The settings store: a text file of "name=value" lines.
std::string settings_store_path();
// The stored "Configpath" value; empty when the store or the value is missing.
std::string read_stored_configpath();
// Records path as "Configpath", keeping the store's other lines; false when the
// store cannot be written.
bool store_configpath(const std::string& path);

// The place older versions kept the file: the home folder's zentrik.ini.
std::string old_default_configuration_path();
// The path the filename dialog proposes: Zentrik/Zentrik.ini in the config folder.
std::string proposed_configuration_path();

// The configuration file to read now and write at exit. The stored path is used
// when it names an existing file; otherwise the user decides, through ui, what
// happens to a file at the old default place and which path to use. The choice is
// stored. No path means the user cancelled: the program ends.
std::optional<std::string> locate_configuration(Ui& ui);

}  // namespace zentrik
