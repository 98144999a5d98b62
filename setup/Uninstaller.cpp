#include "setup/Uninstaller.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <set>
#include <vector>

#include "data/AtomicFile.h"
#include "persist/ConfigLocation.h"
#include "setup/DesktopFiles.h"
#include "setup/FileCopy.h"
#include "setup/InstallLog.h"
#include "tollund/Installer.h"

namespace zentrik {
namespace {

namespace fs = std::filesystem;

// The refused lines named in the closing warning; more are counted.
constexpr std::size_t kRefusedLinesShown = 20;

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
  return text;
}

// An absolute path written as the installer writes one: no empty, "." or ".." names.
bool is_plain_absolute_path(const std::string& path) {
  if (path.size() < 2 || path.front() != '/' || path.back() == '/') return false;
  for (const fs::path& name : fs::path(path).relative_path())
    if (name.empty() || name == "." || name == "..") return false;
  return path.find("//") == std::string::npos;
}

bool is_inside(const fs::path& path, const fs::path& folder) {
  const fs::path relative = path.lexically_relative(folder);
  return !relative.empty() && relative != "." && *relative.begin() != "..";
}

// Every folder between folder and path is a real folder, none a link: a link there
// would lead the removal outside.
bool reached_without_links(const fs::path& folder, const fs::path& path) {
  fs::path current = folder;
  const fs::path relative = path.lexically_relative(folder);
  for (auto name = relative.begin(); name != relative.end() && std::next(name) != relative.end(); ++name) {
    current /= *name;
    struct stat st {};
    if (::lstat(current.c_str(), &st) != 0) return true;  // nothing beyond it to remove
    if (S_ISLNK(st.st_mode)) return false;
  }
  return true;
}

bool is_symlink(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

bool entry_exists(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0;
}

class Removal {
 public:
  Removal(const std::string& installation, const IntegrationPaths& paths, SetupUi& ui, const UninstallOptions& options)
      : installation_(installation), paths_(paths), ui_(ui), options_(options) {}

  void undo(const std::string& line) {
    const std::string_view text = trimmed(line);
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos) return;
    const std::string_view what = text.substr(0, colon);
    const std::string target(trimmed(text.substr(colon + 1)));
    bool done = true;
    if (what == kMadeDir) {
      done = remove_folder(target);
    } else if (what == kFileOverwrite) {
      done = remove_overwritten_file(target);
    } else if (what == kFileCopy || what == kFileCreate) {
      done = may_remove_file(target);
      if (done && !kept_.contains(target)) remove_file(target);
    } else if (what == kAssociation) {
      done = undo_association(target);
    }
    if (!done) refused_.emplace_back(text);
  }

  bool touched_desktop() const { return touched_desktop_; }

  void tell_refused(const std::string& log_path) {
    if (refused_.empty()) return;
    std::string text = "These lines of " + log_path +
                       " name things that a Zentrik installation does not make there.  They were left alone:\n";
    for (std::size_t i = 0; i < refused_.size() && i < kRefusedLinesShown; ++i) text += "\n" + refused_[i];
    if (refused_.size() > kRefusedLinesShown)
      text += "\n. . . and " + std::to_string(refused_.size() - kRefusedLinesShown) + " more";
    ui_.message(text, "Warning!");
  }

 private:
  // The installation folder or something in it, reached without a link.
  bool in_installation(const std::string& path) const {
    if (installation_ == "/") return false;
    return path == installation_.string() ||
           (is_inside(path, installation_) && reached_without_links(installation_, path));
  }

  // A folder the installation made: inside it, for it (above it), or for the desktop.
  bool may_remove_folder(const std::string& path) const {
    if (!is_plain_absolute_path(path)) return false;
    return in_installation(path) || is_integration_folder(path, paths_) ||
           is_folder_made_for(path, installation_.string());
  }

  bool may_remove_file(const std::string& path) {
    if (!is_plain_absolute_path(path)) return false;
    if (in_installation(path)) return true;
    if (!is_integration_file(path, paths_)) return false;
    // The launcher is a link; a program of that name that is not one is somebody else's.
    if (path == paths_.launcher() && entry_exists(path) && !is_symlink(path)) return false;
    touched_desktop_ = true;
    return true;
  }

  bool remove_folder(const std::string& folder) {
    if (!may_remove_folder(folder)) return false;
    if (!entry_exists(folder)) return true;  // already gone
    if (is_symlink(folder)) {
      remove_file(folder);
      return true;
    }
    int failure = ::rmdir(folder.c_str()) == 0 ? 0 : errno;
    const bool busy = failure == ENOTEMPTY || failure == EEXIST;
    // Only the installation's own folders are waited for and told about; the
    // desktop's folders and those above the installation are others' too.
    if (busy && !in_installation(folder)) return true;
    if (busy) {
      ui_.waitDispatching(options_.busy_folder_retry_ms);
      failure = ::rmdir(folder.c_str()) == 0 ? 0 : errno;
    }
    if (failure == 0 || failure == ENOENT) return true;
    ui_.message("Error removing " + folder + ":\n\n" + std::strerror(failure) +
                    "\n\nThere may have been files added to this folder since Zentrik was installed.  You will "
                    "have to remove this folder and any files it contains manually.",
                "Error!");
    return true;
  }

  // The configuration file tollund3 kept may lie outside: it is asked about like any
  // overwritten file.
  bool remove_overwritten_file(const std::string& path) {
    const bool configuration = path == read_stored_configpath() || path == old_location_configuration_path();
    if (!may_remove_file(path) && !(configuration && is_plain_absolute_path(path))) return false;
    if (!entry_exists(path)) return true;
    if (ui_.message("The file " + path + " was overwritten during the installation process.  Do you want to remove it now?",
                    "Remove file?", Buttons::YesNo) == Answer::Yes)
      remove_file(path);
    else
      kept_.insert(path);  // an earlier installation's line for it doesn't remove it either
    return true;
  }

  void remove_file(const std::string& path) {
    if (::unlink(path.c_str()) == 0) {
      // The database goes without the type while its packages/ folder is still there:
      // without that folder the tool can't run and the type would stay in it.
      if (path == paths_.mime_package())
        refresh_mime_database(paths_.mime_folder, [this](int ms) { ui_.waitDispatching(ms); });
      return;
    }
    if (errno == ENOENT) return;
    const int failure = errno;
    ui_.message("Could not remove " + path + "\n\n" + std::strerror(failure), "Could not reomve file!");
  }

  // The default application goes only from the list the installation wrote it to,
  // and only while it still names Zentrik.
  bool undo_association(const std::string& text) {
    const auto association = parse_association(text);
    if (!association || association->mimeapps_list != paths_.mimeapps_list ||
        association->mime_type != kObjectMimeType || association->entry_id != kApplicationEntryName)
      return false;
    const auto list = read_file_text(association->mimeapps_list);
    if (!list) return true;
    const std::string changed = without_default_application(*list, kObjectMimeType, kApplicationEntryName);
    std::string error;
    // A list that held nothing but Zentrik's default goes with it.
    if (changed.find_first_not_of(" \t\r\n") == std::string::npos && !is_symlink(association->mimeapps_list) &&
        ::unlink(association->mimeapps_list.c_str()) == 0)
      return true;
    if (changed != *list && !write_file_atomically(association->mimeapps_list, changed, error))
      ui_.message("Could not remove the association of Zentrik objects from " + association->mimeapps_list +
                      "\n\n" + error,
                  "Error!");
    return true;
  }

  const fs::path installation_;
  const IntegrationPaths& paths_;
  SetupUi& ui_;
  const UninstallOptions& options_;
  std::vector<std::string> refused_;
  std::set<std::string> kept_;  // overwritten files the user keeps
  bool touched_desktop_ = false;
};

bool has_lines(const std::vector<std::string>& lines) {
  for (const std::string& line : lines)
    if (!trimmed(line).empty()) return true;
  return false;
}

}  // namespace

bool uninstall(const std::string& log_path, const IntegrationPaths& paths, SetupUi& ui,
               const UninstallOptions& options) {
  std::string error;
  const auto lines = read_install_log(log_path, error);
  if (!lines) {
    ui.message("Could not open " + log_path + "\n\n" + error, "Error!");
    return false;
  }
  if (ui.message("This program will remove Zentrik from your system.  Are you sure you wish to proceed?",
                 "Really uninstall Zentrik?", Buttons::YesNo) != Answer::Yes)
    return false;
  ui.statusShow("\nRemoving Zentrik...", false);
  if (!has_lines(*lines)) {
    ui.statusHide();
    ui.message(log_path + " is corrupt.  This program can not proceed.", "Error!");
    return false;
  }
  std::error_code absolute_error;
  const fs::path log = fs::absolute(log_path, absolute_error).lexically_normal();
  Removal removal(log.parent_path().string(), paths, ui, options);
  for (auto line = lines->rbegin(); line != lines->rend(); ++line) removal.undo(*line);
  if (removal.touched_desktop()) refresh_desktop_database(paths.applications_folder, [&ui](int ms) { ui.waitDispatching(ms); });
  ui.statusHide();
  removal.tell_refused(log_path);
  ui.message("Zentrik has been removed from the system.", "Uninstall complete.");
  return true;
}

}  // namespace zentrik
