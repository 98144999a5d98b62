// Where an installation puts the files that make Zentrik part of the desktop: the
// launcher on PATH, the desktop entries, the MIME package, the menu folder, the
// default application of the object type and the desktop shortcut. A user's
// installation writes into the XDG folders of the home folder, root's into the
// system's. The installer writes exactly these names and the uninstaller removes
// nothing else outside the installation folder.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zentrik {

// The names an installation writes, the same in every place.
inline constexpr std::string_view kLauncherName = "zentrik3";
inline constexpr std::string_view kApplicationEntryName = "zentrik3.desktop";
inline constexpr std::string_view kUninstallEntryName = "zentrik3-uninstall.desktop";
inline constexpr std::string_view kMimePackageName = "zentrik-object.xml";
inline constexpr std::string_view kDesktopShortcutName = "Zentrik.desktop";
// A typed submenu is "zentrik3-NAME.menu" and "zentrik3-NAME.directory".
inline constexpr std::string_view kSubmenuFilePrefix = "zentrik3-";
inline constexpr std::string_view kObjectMimeType = "application/x-zentrik-object";

struct IntegrationPaths {
  std::string bin_folder;           // the launcher, a link to the installed program
  std::string applications_folder;  // the desktop entries
  std::string mime_folder;          // the MIME database; its packages/ holds the type
  std::string menus_folder;         // applications-merged: the menu file of a submenu
  std::string directories_folder;   // desktop-directories: the submenu's name and icon
  std::string mimeapps_list;        // where the type's default application is recorded
  std::string desktop_folder;       // the user's desktop
  // The folders searched for another program's desktop entry, most important first.
  std::vector<std::string> application_search_folders;

  std::string launcher() const;
  std::string application_entry() const;
  std::string uninstall_entry() const;
  std::string mime_package() const;
  std::string desktop_shortcut() const;
  // The files of a typed submenu.
  std::string submenu_menu_file(std::string_view submenu) const;
  std::string submenu_directory_file(std::string_view submenu) const;
};

// The part of a submenu's file names that comes from its name: letters and digits in
// lower case, every other run of characters one "-" ("My Tools" -> "my-tools").
std::string submenu_file_stem(std::string_view submenu);


// For the user: $XDG_DATA_HOME (~/.local/share), $XDG_CONFIG_HOME (~/.config),
// ~/.local/bin and the desktop folder of user-dirs.dirs (~/Desktop).
IntegrationPaths user_integration_paths();
// For root: /usr/local/bin, /usr/local/share/..., /etc/xdg/menus and
// /etc/xdg/mimeapps.list; the desktop is root's own.
IntegrationPaths system_integration_paths();
// The user's paths, or the system's when the program runs as root.
IntegrationPaths integration_paths_for_this_user();

// $XDG_DATA_HOME when it is an absolute path, else the home folder's .local/share.
std::string data_home();
// XDG_DESKTOP_DIR of user-dirs.dirs in the config folder ("$HOME/..." or an absolute
// path), else the home folder's Desktop.
std::string user_desktop_folder();

// Whether path names one of the files an installation writes there (a submenu's
// files by their prefix and ending), or one of the folders it may have created for
// them (any folder leading to one, below the home folder or the system's root).
bool is_integration_file(const std::string& path, const IntegrationPaths& paths);
bool is_integration_folder(const std::string& path, const IntegrationPaths& paths);
// Whether folder is target or a folder above it that an installation may have made:
// never "/", a folder right below it, the home folder or a folder above that.
bool is_folder_made_for(const std::string& folder, const std::string& target);

}  // namespace zentrik
