#include "setup/WizardChecks.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "persist/ConfigLocation.h"
#include "setup/DesktopFiles.h"

namespace zentrik {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kRootDestination = "/opt/Zentrik3";
constexpr std::string_view kUserDestination = ".local/opt/Zentrik3";

std::string upper_case(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

// An entry of that name that is something other than a plain file.
bool exists_as_other_than_file(const std::string& path) {
  std::error_code error;
  const fs::file_status status = fs::symlink_status(path, error);
  return fs::exists(status) && !fs::is_regular_file(status);
}

}  // namespace

std::string default_destination(bool for_root) {
  if (for_root) return std::string(kRootDestination);
  return (fs::path(home_folder()) / kUserDestination).lexically_normal().string();
}

std::string browse_start_folder(bool for_root) {
  if (for_root) return "/opt";
  const std::string opt = fs::path(default_destination(false)).parent_path().string();
  std::error_code error;
  return fs::is_directory(opt, error) ? opt : home_folder();
}

std::string with_zentrik_folder(const std::string& chosen) {
  if (upper_case(chosen).find("ZENTRIK") != std::string::npos) return chosen;
  return chosen + (!chosen.empty() && chosen.back() == '/' ? "" : "/") + "Zentrik3";
}

std::optional<std::string> destination_problem(const std::string& entered, std::string& cleaned) {
  std::string path = entered;
  while (!path.empty() && path.back() == '/') path.pop_back();
  if (entered.empty()) return "You must specify a destination folder.";
  if (std::any_of(entered.begin(), entered.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }))
    return "You may not use control characters (such as line breaks) in the destination folder name.";
  if (entered.front() != '/') return "You must specify an absolute destination path name (one beginning with \"/\").";
  path = fs::path(path.empty() ? "/" : path).lexically_normal().string();
  while (path.size() > 1 && path.back() == '/') path.pop_back();  // "/opt/x/.." leaves "/opt/"
  if (path == "/") return "Zentrik may not be installed in the root folder.  You must specify a subfolder";
  cleaned = path;
  return std::nullopt;
}

bool accept_shortcut_choices(const InstallChoices& choices, const IntegrationPaths& paths, SetupUi& ui) {
  if (!choices.start_menu && !choices.send_to && !choices.desktop) {
    ui.beep();
    if (ui.message("You have elected not to install any shortcuts to the program.  Are you sure this is correct?",
                   "Warning!", Buttons::YesNo) != Answer::Yes)
      return false;
  }
  if (!choices.start_menu || choices.submenu.empty() || main_menu_category(choices.submenu)) return true;
  if (choices.submenu.find_first_of("\\/") != std::string::npos) {
    ui.message("Sorry, this program does not support submenus deeper than one level below the \"Applications\" "
               "menu.  Please enter a program group that appears on, or can be created on, the \"Applications\" "
               "menu.",
               "Illegal program submenu!");
    return false;
  }
  if (exists_as_other_than_file(paths.submenu_menu_file(choices.submenu)) ||
      exists_as_other_than_file(paths.submenu_directory_file(choices.submenu))) {
    ui.message("The applications menu submenu you specified exists but is not a submenu (folder).", "Error!");
    return false;
  }
  return true;
}

std::string menu_folder_text(const InstallChoices& choices) {
  if (!choices.start_menu) return "none";
  if (choices.submenu.empty()) return "Applications";
  if (const auto category = main_menu_category(choices.submenu)) return *category;
  return choices.submenu;
}

std::string review_text(const InstallChoices& choices) {
  const auto shortcut = [](bool added, std::string_view where) {
    return std::string("A shortcut will ") + (added ? "" : "NOT ") + std::string(where) + "\n";
  };
  return "Destination folder:\n    " + choices.destination + "\n\nApplications menu folder:\n    " +
         menu_folder_text(choices) + "\n\n" + shortcut(choices.desktop, "be added to the desktop") +
         shortcut(choices.send_to, "be added to the Open With menu");
}

}  // namespace zentrik
