#include "persist/ConfigLocation.h"

#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "data/AtomicFile.h"

namespace zentrik {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kConfigpathPrefix = "Configpath=";

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// A path that names something other than a folder.
bool is_existing_file(const std::string& path) {
  std::error_code error;
  return !path.empty() && fs::exists(path, error) && !fs::is_directory(path, error);
}

std::vector<std::string> lines_of(const std::string& path) {
  std::vector<std::string> lines;
  std::ifstream in(path, std::ios::binary);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
  }
  return lines;
}

// The path as the filename dialog's OK takes it: relative to the folder the program
// was started in, and a folder means the file zentrik.ini in it.
std::string complete_configuration_path(const std::string& entered) {
  if (entered.empty()) return entered;
  std::error_code error;
  std::string path = fs::absolute(entered, error).string();
  if (error) path = entered;
  if (fs::is_directory(path, error)) {
    if (path.back() != '/') path += '/';
    path += kConfigurationFileName;
  }
  return path;
}

// Opening the file for appending is the test that it can be written at exit; it
// creates the file when it is absent.
bool can_append(const std::string& path, std::string& error) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) {
    error = std::strerror(errno);
    return false;
  }
  ::close(fd);
  return true;
}

bool same_file(const std::string& a, const std::string& b) {
  std::error_code error;
  return fs::equivalent(a, b, error);
}

// A file already at the new place is replaced; a move to another file system
// becomes a copy and a delete.
void move_configuration(const std::string& from, const std::string& to) {
  if (same_file(from, to)) return;  // deleting "the file already there" would delete the only copy
  std::error_code error;
  fs::remove(to, error);
  fs::rename(from, to, error);
  if (!error) return;
  if (fs::copy_file(from, to, fs::copy_options::overwrite_existing, error)) fs::remove(from, error);
}

void copy_configuration(const std::string& from, const std::string& to) {
  if (same_file(from, to)) return;
  std::error_code error;
  fs::copy_file(from, to, fs::copy_options::overwrite_existing, error);
}

// Asks until the user gives a path that can be written or accepts one that cannot;
// no path for Cancel.
std::optional<std::string> ask_configuration_path(Ui& ui) {
  const std::string proposal = proposed_configuration_path();
  ConfigurationFilenameRequest request{proposal};
  for (;;) {
    if (!ui.enterConfigurationFilename(request)) return std::nullopt;
    std::string path = complete_configuration_path(request.path);
    if (path == proposal) {
      std::error_code error;
      fs::create_directories(fs::path(path).parent_path(), error);
    }
    std::string reason;
    if (can_append(path, reason)) return path;
    Answer answer = ui.message("Error writing to configuration file:\n" + reason +
                                   "\n\nAny changes you make to program settings will not be saved on exit."
                                   "  Is that Ok?",
                               "Can not save settings!", Buttons::YesNo);
    if (answer == Answer::Yes) return path;
  }
}

}  // namespace

std::string home_folder() {
  std::string home = environment("HOME");
  if (!home.empty()) return home;
  if (const passwd* account = ::getpwuid(::getuid()); account && account->pw_dir && *account->pw_dir)
    return account->pw_dir;
  return "/";
}

std::string temporary_folder() {
  std::string folder = environment("TMPDIR");
  return folder.empty() ? "/tmp" : folder;
}

std::string config_home() {
  std::string folder = environment("XDG_CONFIG_HOME");
  if (!folder.empty() && folder.front() == '/') return folder;
  return home_folder() + "/.config";
}

std::string settings_store_path() { return config_home() + "/Vantrell/Zentrik.conf"; }

std::string read_stored_configpath() {
  for (const std::string& line : lines_of(settings_store_path()))
    if (line.starts_with(kConfigpathPrefix)) return line.substr(kConfigpathPrefix.size());
  return "";
}

bool store_configpath(const std::string& path) {
  const std::string store = settings_store_path();
  std::vector<std::string> lines = lines_of(store);
  const std::string entry = std::string(kConfigpathPrefix) + path;
  bool replaced = false;
  for (std::string& line : lines)
    if (!replaced && line.starts_with(kConfigpathPrefix)) {
      line = entry;
      replaced = true;
    }
  if (!replaced) lines.push_back(entry);
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  std::error_code ignored;
  fs::create_directories(fs::path(store).parent_path(), ignored);
  std::string error;
  return write_file_atomically(store, text, error);
}

std::string old_default_configuration_path() { return home_folder() + "/zentrik.ini"; }

std::string proposed_configuration_path() { return config_home() + "/Zentrik/Zentrik.ini"; }

std::optional<std::string> locate_configuration(Ui& ui) {
  const std::string stored = read_stored_configpath();
  if (is_existing_file(stored)) {
    store_configpath(stored);
    return stored;
  }
  const std::string old_path = old_default_configuration_path();
  std::optional<ExistingConfigurationChoice> choice;  // none: a new file
  if (is_existing_file(old_path)) {
    ExistingConfigurationRequest request{old_path};
    if (!ui.useExistingConfiguration(request)) return std::nullopt;
    choice = request.choice;
    if (choice == ExistingConfigurationChoice::UseInPlace) {
      store_configpath(old_path);
      return old_path;
    }
    if (choice == ExistingConfigurationChoice::DeleteAndChooseNew) {
      std::error_code ignored;
      fs::remove(old_path, ignored);
    }
  }
  std::optional<std::string> path = ask_configuration_path(ui);
  if (!path) return std::nullopt;
  if (choice == ExistingConfigurationChoice::MoveToNewLocation) move_configuration(old_path, *path);
  if (choice == ExistingConfigurationChoice::CopyToNewLocation) copy_configuration(old_path, *path);
  store_configpath(*path);
  return path;
}

}  // namespace zentrik
