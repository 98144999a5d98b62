#include "setup/Registration.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <filesystem>

#include "data/AtomicFile.h"
#include "setup/DesktopFiles.h"
#include "setup/FileCopy.h"

namespace zentrik {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kUsualCategories = "Science;DataVisualization;Education;";
// The entries of a typed submenu belong to no main category: only the submenu shows them.
constexpr std::string_view kSubmenuCategories = "X-Zentrik3;";
constexpr std::string_view kPlainTextType = "text/plain";

constexpr std::string_view kLauncherFailure =
    "An error occured while attempting to register the application with the operating system.  The installation "
    "will proceed but may not be complete.";
constexpr std::string_view kUninstallFailure =
    "An error occured while attempting to register the application's uninstall information with the operating "
    "system.  The installation will proceed but may not be complete.";
constexpr std::string_view kObjectTypeFailure =
    "The Zentrik Object type or file extension \".ZKO\" was not registered with the operating system.  You will not "
    "be able to double-click on a Zentrik object in a file manager window to open it.";
constexpr std::string_view kFallbackToApplications =
    "The menu entries will be added to Zentrik's own categories of the \"Applications\" menu.";

// The first entry id of a mimeapps.list value ("a.desktop;b.desktop;").
std::string first_entry(const std::string& value) { return value.substr(0, value.find(';')); }

std::string lower_case(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

}  // namespace

Registration::Registration(const InstallChoices& choices, const IntegrationPaths& paths, InstallLog& log,
                           SetupUi& ui)
    : choices_(choices), paths_(paths), log_(log), ui_(ui) {
  shipped_entry_ = read_file_text(installed("share/" + std::string(kApplicationEntryName))).value_or("");
  own_categories_ = desktop_entry_key(shipped_entry_, "Categories");
  if (own_categories_.empty()) own_categories_ = kUsualCategories;
  categories_ = own_categories_;
  if (choices_.start_menu && !choices_.submenu.empty()) {
    const auto category = main_menu_category(choices_.submenu);
    categories_ = category ? *category + ";" : std::string(kSubmenuCategories);
  }
}

std::string Registration::installed(std::string_view name) const {
  return (fs::path(choices_.destination) / name).string();
}

void Registration::record(std::string_view what, const std::string& path) {
  if (recorded_.insert(std::string(what) + path).second) log_.record(what, path);
}

std::string Registration::place_file(const std::string& path, const std::string& text, mode_t mode) {
  std::vector<std::string> made;
  const auto failure = create_folders(fs::path(path).parent_path().string(), made);
  for (const std::string& folder : made) record(kMadeDir, folder);
  if (failure) return failure->folder + ": " + (failure->reason.empty() ? "Not a folder" : failure->reason);
  std::string error;
  if (!write_file_replacing(path, text, mode, error)) return error;
  record(kFileCreate, path);
  return "";
}

std::string Registration::program_exec() const { return exec_argument(installed("zentrik3")) + " %F"; }

std::string Registration::icon() const {
  const std::string svg = installed("share/zentrik3.svg");
  std::error_code error;
  return fs::is_regular_file(svg, error) ? svg : "";
}

void Registration::register_with_desktop() {
  ui_.statusSetText("\nUpdating Desktop Registration . . .");
  if (!link_launcher()) ui_.message(std::string(kLauncherFailure), "Error!");
  if (!write_uninstall_entry()) ui_.message(std::string(kUninstallFailure), "Error!");
  if (!register_object_type()) ui_.message(std::string(kObjectTypeFailure), "Error!");
}

// The launcher is a link to the program, made beside the old one and renamed over
// it; what is there and is not a link is somebody else's and stays.
bool Registration::link_launcher() {
  const std::string launcher = paths_.launcher();
  std::vector<std::string> made;
  const auto failure = create_folders(paths_.bin_folder, made);
  for (const std::string& folder : made) record(kMadeDir, folder);
  std::error_code error;
  const fs::file_status status = fs::symlink_status(launcher, error);
  if (failure || (fs::exists(status) && !fs::is_symlink(status))) return false;
  const std::string temp = launcher + ".setup-new";
  ::unlink(temp.c_str());
  if (::symlink(installed("zentrik3").c_str(), temp.c_str()) != 0) return false;
  if (::rename(temp.c_str(), launcher.c_str()) != 0) {
    ::unlink(temp.c_str());
    return false;
  }
  record(kFileCreate, launcher);
  return true;
}

bool Registration::write_uninstall_entry() {
  DesktopEntryKeys keys;
  keys.name = "Uninstall Zentrik";
  keys.comment = "Shortcut To Uninstall Zentrik";
  keys.exec = exec_argument(installed("setup")) + " " + exec_argument(installed(kInstallLogName));
  keys.icon = icon();
  keys.categories = categories_;
  keys.no_display = !choices_.start_menu;
  return place_file(paths_.uninstall_entry(), desktop_entry_text("", keys), 0644).empty();
}

bool Registration::write_application_entry() {
  DesktopEntryKeys keys;
  keys.exec = program_exec();
  keys.try_exec = installed("zentrik3");
  keys.icon = icon();
  keys.categories = categories_;
  keys.mime_types = std::string(kObjectMimeType) + ";" + (choices_.send_to ? std::string(kPlainTextType) + ";" : "");
  keys.no_display = !choices_.start_menu;
  return place_file(paths_.application_entry(), desktop_entry_text(shipped_entry_, keys), 0644).empty();
}

bool Registration::register_object_type() {
  bool registered = write_application_entry();
  const auto package = read_file_text(installed("share/" + std::string(kMimePackageName)));
  registered = package && !package->empty() && place_file(paths_.mime_package(), *package, 0644).empty() && registered;
  return set_default_application() && registered;
}

// Another program's default is replaced only when the user agrees.
bool Registration::set_default_application() {
  const auto text = read_file_text(paths_.mimeapps_list);
  if (!text) return false;
  const std::string current = default_application(*text, kObjectMimeType);
  if (!current.empty() && lower_case(current).find("zentrik") == std::string::npos) {
    const std::string name = application_name(first_entry(current), paths_.application_search_folders);
    if (ui_.message("The filename extension \".ZKO\" is already associated with the program \"" + name +
                        "\".  Do you want Setup to overwrite this association and associate the \".ZKO\" extension "
                        "with Zentrik?",
                    "Overwrite file association?", Buttons::YesNo) == Answer::No)
      return false;
  }
  std::vector<std::string> made;
  const auto failure = create_folders(fs::path(paths_.mimeapps_list).parent_path().string(), made);
  for (const std::string& folder : made) record(kMadeDir, folder);
  std::string error;
  if (failure ||
      !write_file_atomically(paths_.mimeapps_list,
                             with_default_application(*text, kObjectMimeType, kApplicationEntryName), error))
    return false;
  record(kAssociation,
         association_text({std::string(kObjectMimeType), std::string(kApplicationEntryName), paths_.mimeapps_list}));
  return true;
}

void Registration::create_shortcuts() {
  if (!choices_.desktop && !choices_.send_to && !choices_.start_menu) return;
  ui_.statusSetText("\nCreating Shortcuts . . .");
  if (choices_.desktop) create_desktop_shortcut();
  // "Open With" is the plain-text type in the application entry, already written.
  if (choices_.start_menu && categories_ == kSubmenuCategories && !create_submenu()) {
    categories_ = own_categories_;
    write_uninstall_entry();
    write_application_entry();
  }
}

void Registration::create_desktop_shortcut() {
  std::error_code error;
  if (!fs::is_directory(paths_.desktop_folder, error)) {
    ui_.message("Could not find the desktop folder " + paths_.desktop_folder +
                    "!  No shortcut will be placed on the desktop!",
                "Error!");
    return;
  }
  DesktopEntryKeys keys;
  keys.comment = "Shortcut To Zentrik";
  keys.exec = program_exec();
  keys.try_exec = installed("zentrik3");
  keys.icon = icon();
  keys.categories = own_categories_;
  // Desktops start only entries they may execute.
  if (!place_file(paths_.desktop_shortcut(), desktop_entry_text(shipped_entry_, keys), 0755).empty())
    ui_.message("Could not creat the folder shortcut.", "Error!");
}

bool Registration::create_submenu() {
  const std::string menu_file = paths_.submenu_menu_file(choices_.submenu);
  const std::string directory_file = paths_.submenu_directory_file(choices_.submenu);
  for (const std::string& file : {menu_file, directory_file}) {
    std::error_code error;
    const fs::file_status status = fs::symlink_status(file, error);
    if (fs::exists(status) && !fs::is_regular_file(status)) {
      ui_.message("The applications menu submenu you specified is not a submenu (folder).  " +
                      std::string(kFallbackToApplications),
                  "Error!");
      return false;
    }
  }
  const std::string directory_name = fs::path(directory_file).filename().string();
  const std::pair<std::string, std::string> files[] = {
      {directory_file, submenu_directory_text(choices_.submenu, icon().empty() ? "zentrik3" : icon())},
      {menu_file, submenu_menu_text(choices_.submenu, directory_name,
                                    {std::string(kApplicationEntryName), std::string(kUninstallEntryName)})}};
  for (const auto& [path, text] : files) {
    if (const std::string error = place_file(path, text, 0644); !error.empty()) {
      ui_.message("Could not create the applications menu submenu\n\n" + path + "\n\n" + error + "\n\n" +
                      std::string(kFallbackToApplications),
                  "Error!");
      return false;
    }
  }
  return true;
}

}  // namespace zentrik
