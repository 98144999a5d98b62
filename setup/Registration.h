// What an installation adds to the desktop once the files are copied: the launcher
// on PATH, the application entry that opens plot objects (with "Open With" for
// plain-text data files), the "Uninstall Zentrik" entry, the object type and its
// default application (the registration, always made), then the desktop shortcut
// and a submenu of the applications menu (the shortcuts the user chose). Every file
// and folder made and the association set go into the log; failures are told and
// the installation goes on.
#pragma once

#include <set>
#include <string>

#include "setup/InstallLog.h"
#include "setup/IntegrationPaths.h"
#include "setup/SetupUi.h"
#include "setup/WizardChecks.h"

namespace zentrik {

class Registration {
 public:
  // The copies in choices.destination's share/ folder are the shipped desktop entry
  // and MIME package.
  Registration(const InstallChoices& choices, const IntegrationPaths& paths, InstallLog& log, SetupUi& ui);

  // The launcher, the uninstall entry, the application entry, the MIME package and
  // the default application of the object type.
  void register_with_desktop();
  // The desktop shortcut and the submenu, as chosen; nothing when none was.
  void create_shortcuts();

 private:
  bool link_launcher();
  bool write_uninstall_entry();
  bool write_application_entry();
  bool register_object_type();
  bool set_default_application();
  void create_desktop_shortcut();
  // False when the entries go to Zentrik's own categories instead.
  bool create_submenu();
  std::string program_exec() const;
  std::string icon() const;
  // Writes a file, making its folders; both logged. Empty, or the system's reason.
  std::string place_file(const std::string& path, const std::string& text, mode_t mode);
  void record(std::string_view what, const std::string& path);
  std::string installed(std::string_view name) const;

  const InstallChoices& choices_;
  const IntegrationPaths& paths_;
  InstallLog& log_;
  SetupUi& ui_;
  std::string shipped_entry_;  // the package's desktop entry; empty when it has none
  std::string own_categories_;  // the shipped entry's, or Zentrik's usual ones
  std::string categories_;      // where the entries go in the applications menu
  std::set<std::string> recorded_;  // a file written twice is logged once
};

}  // namespace zentrik
