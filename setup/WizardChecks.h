// The wizard's model: the choices its three pages collect, their defaults, the checks
// made when a page is left, and the review page's text. The Qt wizard shows these;
// the tests call them directly.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "setup/IntegrationPaths.h"
#include "setup/SetupUi.h"

namespace zentrik {

inline constexpr std::string_view kSetupTitle = "Zentrik Version 3.4 Setup";
inline constexpr std::string_view kBrowseTitle = "Choose the Zentrik destination folder";

struct InstallChoices {
  std::string destination;  // as the destination page's check left it
  bool start_menu = true;   // the entry in the applications menu
  bool send_to = true;      // "Open With" for plain-text data files
  bool desktop = true;      // the shortcut on the desktop
  // A submenu to create, or one of main_menu_categories(); empty: Zentrik's own
  // categories of the applications menu.
  std::string submenu;
};

// ~/.local/opt/Zentrik3 for a user, /opt/Zentrik3 for root.
std::string default_destination(bool for_root);
// Where "Browse" starts: ~/.local/opt (the home folder when there is none) or /opt.
std::string browse_start_folder(bool for_root);
// A browsed folder with "Zentrik3" added, unless its name already says "Zentrik".
std::string with_zentrik_folder(const std::string& chosen);

// The destination page's check as the page is left: the message to show (caption
// "Error!") or nothing, and then cleaned holds the folder to use (trailing "/"
// removed, "." and ".." resolved).
std::optional<std::string> destination_problem(const std::string& entered, std::string& cleaned);

// The shortcut page's check as it is left, with its question and messages shown
// through ui; true when the page may be left.
bool accept_shortcut_choices(const InstallChoices& choices, const IntegrationPaths& paths, SetupUi& ui);

// The menu folder the review page names: "none", the category, the typed submenu or
// "Applications" for the menu itself.
std::string menu_folder_text(const InstallChoices& choices);
// The review page: the folder, the menu folder and what is added where.
std::string review_text(const InstallChoices& choices);

}  // namespace zentrik
