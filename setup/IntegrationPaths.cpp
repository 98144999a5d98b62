#include "setup/IntegrationPaths.h"

#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "persist/ConfigLocation.h"

namespace zentrik {
namespace {

namespace fs = std::filesystem;

std::string in_folder(const std::string& folder, std::string_view name) {
  return (fs::path(folder) / name).lexically_normal().string();
}

std::string absolute_environment(const char* name) {
  const char* value = std::getenv(name);
  return value && value[0] == '/' ? value : "";
}

// $XDG_DATA_DIRS (absolute entries only), else /usr/local/share and /usr/share.
std::vector<std::string> data_dirs() {
  std::vector<std::string> dirs;
  const char* value = std::getenv("XDG_DATA_DIRS");
  std::string list = value && *value ? value : "/usr/local/share:/usr/share";
  for (std::size_t start = 0; start <= list.size();) {
    const std::size_t end = std::min(list.find(':', start), list.size());
    const std::string dir = list.substr(start, end - start);
    if (!dir.empty() && dir[0] == '/') dirs.push_back(dir);
    start = end + 1;
  }
  return dirs;
}

std::vector<std::string> application_folders(const std::string& first) {
  std::vector<std::string> folders{first};
  for (const std::string& dir : data_dirs()) {
    const std::string folder = in_folder(dir, "applications");
    if (folder != first) folders.push_back(folder);
  }
  return folders;
}

// The value of user-dirs.dirs as the shell reads it: "$HOME/Desktop" or "/abs/path".
std::string desktop_dir_value(const std::string& value) {
  std::string text = value;
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') text = text.substr(1, text.size() - 2);
  if (text.rfind("$HOME", 0) == 0) return home_folder() + text.substr(5);
  return text.empty() || text[0] != '/' ? "" : text;
}

bool is_inside(const fs::path& path, const fs::path& folder) {
  const fs::path relative = path.lexically_relative(folder);
  return !relative.empty() && *relative.begin() != "..";
}

}  // namespace

std::string IntegrationPaths::launcher() const { return in_folder(bin_folder, kLauncherName); }
std::string IntegrationPaths::application_entry() const {
  return in_folder(applications_folder, kApplicationEntryName);
}
std::string IntegrationPaths::uninstall_entry() const { return in_folder(applications_folder, kUninstallEntryName); }
std::string IntegrationPaths::mime_package() const {
  return in_folder(in_folder(mime_folder, "packages"), kMimePackageName);
}
std::string IntegrationPaths::desktop_shortcut() const { return in_folder(desktop_folder, kDesktopShortcutName); }

std::string submenu_file_stem(std::string_view submenu) {
  std::string stem;
  for (char c : submenu) {
    if (std::isalnum(static_cast<unsigned char>(c)))
      stem += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    else if (!stem.empty() && stem.back() != '-')
      stem += '-';
  }
  while (!stem.empty() && stem.back() == '-') stem.pop_back();
  return stem.empty() ? "submenu" : stem;
}

std::string IntegrationPaths::submenu_menu_file(std::string_view submenu) const {
  return in_folder(menus_folder, std::string(kSubmenuFilePrefix) + submenu_file_stem(submenu) + ".menu");
}
std::string IntegrationPaths::submenu_directory_file(std::string_view submenu) const {
  return in_folder(directories_folder, std::string(kSubmenuFilePrefix) + submenu_file_stem(submenu) + ".directory");
}

std::string data_home() {
  const std::string value = absolute_environment("XDG_DATA_HOME");
  return value.empty() ? home_folder() + "/.local/share" : value;
}

std::string user_desktop_folder() {
  std::ifstream in(config_home() + "/user-dirs.dirs");
  constexpr std::string_view kKey = "XDG_DESKTOP_DIR=";
  for (std::string line; std::getline(in, line);) {
    if (line.rfind(kKey, 0) != 0) continue;
    const std::string folder = desktop_dir_value(line.substr(kKey.size()));
    if (!folder.empty()) return fs::path(folder).lexically_normal().string();
  }
  return in_folder(home_folder(), "Desktop");
}

IntegrationPaths user_integration_paths() {
  const std::string data = data_home();
  IntegrationPaths paths;
  paths.bin_folder = in_folder(home_folder(), ".local/bin");
  paths.applications_folder = in_folder(data, "applications");
  paths.mime_folder = in_folder(data, "mime");
  paths.menus_folder = in_folder(config_home(), "menus/applications-merged");
  paths.directories_folder = in_folder(data, "desktop-directories");
  paths.mimeapps_list = in_folder(config_home(), "mimeapps.list");
  paths.desktop_folder = user_desktop_folder();
  paths.application_search_folders = application_folders(paths.applications_folder);
  return paths;
}

IntegrationPaths system_integration_paths() {
  IntegrationPaths paths;
  paths.bin_folder = "/usr/local/bin";
  paths.applications_folder = "/usr/local/share/applications";
  paths.mime_folder = "/usr/local/share/mime";
  paths.menus_folder = "/etc/xdg/menus/applications-merged";
  paths.directories_folder = "/usr/local/share/desktop-directories";
  paths.mimeapps_list = "/etc/xdg/mimeapps.list";
  paths.desktop_folder = user_desktop_folder();
  paths.application_search_folders = application_folders(paths.applications_folder);
  return paths;
}

IntegrationPaths integration_paths_for_this_user() {
  return ::geteuid() == 0 ? system_integration_paths() : user_integration_paths();
}

bool is_integration_file(const std::string& path, const IntegrationPaths& paths) {
  for (const std::string& file : {paths.launcher(), paths.application_entry(), paths.uninstall_entry(),
                                  paths.mime_package(), paths.desktop_shortcut()})
    if (path == file) return true;
  const fs::path p(path);
  const std::string name = p.filename().string();
  const auto submenu_file = [&](const std::string& folder, std::string_view ending) {
    return p.parent_path() == fs::path(folder) && name.size() > kSubmenuFilePrefix.size() + ending.size() &&
           name.rfind(kSubmenuFilePrefix, 0) == 0 && name.ends_with(ending);
  };
  return submenu_file(paths.menus_folder, ".menu") || submenu_file(paths.directories_folder, ".directory");
}

bool is_folder_made_for(const std::string& folder, const std::string& target) {
  const fs::path path = fs::path(folder).lexically_normal();
  const fs::path home = fs::path(home_folder()).lexically_normal();
  if (std::distance(path.begin(), path.end()) <= 2 || path == home || is_inside(home, path)) return false;
  const fs::path made = fs::path(target).lexically_normal();
  return path == made || is_inside(made, path);
}

bool is_integration_folder(const std::string& path, const IntegrationPaths& paths) {
  for (const std::string& made : {paths.bin_folder, paths.applications_folder, paths.mime_folder,
                                  in_folder(paths.mime_folder, "packages"), paths.menus_folder,
                                  paths.directories_folder})
    if (is_folder_made_for(path, made)) return true;
  return false;
}

}  // namespace zentrik
