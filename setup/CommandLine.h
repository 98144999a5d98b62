// What setup's command line asks for: an installation (no argument, or one of 11
// characters or fewer), an uninstallation with the path of an INSTALL.LOG, or
// nothing but an error message.
#pragma once

#include <string>

namespace zentrik {

struct SetupCommand {
  enum class Kind { Install, Uninstall, Unknown };
  Kind kind = Kind::Install;
  std::string log_path;  // for Uninstall
  std::string message;   // for Unknown, shown with the caption "Error!"
};

// The arguments after the program's name, joined by blanks as one command line.
SetupCommand parse_setup_command(int argc, const char* const* argv);

}  // namespace zentrik
