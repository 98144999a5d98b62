// A home folder with its XDG folders and a package folder in a temporary folder, for
// running setup's installation and uninstallation as a user would: the environment
// points every desktop folder into the sandbox, and PATH holds no database tools
// unless a test asks for the system's.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "data/TempDir.h"
#include "setup/Installer.h"
#include "setup/IntegrationPaths.h"
#include "setup/Uninstaller.h"
#include "tests/setup/ScriptedSetupUi.h"

namespace zentrik::testing {

namespace fs = std::filesystem;

// Sets (or, with nothing, unsets) an environment variable and puts the old value back.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, std::optional<std::string> value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value)
      ::setenv(name, value->c_str(), 1);
    else
      ::unsetenv(name);
  }
  ~ScopedEnv() {
    if (old_)
      ::setenv(name_, old_->c_str(), 1);
    else
      ::unsetenv(name_);
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

struct PackageFile {
  std::string source;
  std::string destination;
  std::string content;
  bool program = false;
};

inline constexpr std::string_view kShippedEntry =
    "[Desktop Entry]\n"
    "Type=Application\n"
    "Name=Zentrik\n"
    "GenericName=Data Plotter\n"
    "Comment=Plot the numbers of text data files\n"
    "Exec=zentrik3 %F\n"
    "Icon=zentrik3\n"
    "Terminal=false\n"
    "Categories=Science;DataVisualization;Education;\n"
    "MimeType=application/x-zentrik-object;text/plain;\n"
    "Keywords=plot;graph;\n";

inline constexpr std::string_view kMimePackage =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
    "  <mime-type type=\"application/x-zentrik-object\">\n"
    "    <comment>Zentrik plot object</comment>\n"
    "    <glob pattern=\"*.zko\"/>\n"
    "    <magic priority=\"60\"><match type=\"string\" offset=\"0\" value=\"#!zentrik \"/></magic>\n"
    "  </mime-type>\n"
    "</mime-info>\n";

// The configuration maker's stand-in: it writes a configuration file holding its
// arguments, one a line, and logs it as tollund3 does.
inline constexpr std::string_view kConfigurationMaker =
    "#!/bin/sh\n"
    "printf '%s\\n' \"$@\" > \"$1/zentrik.ini\"\n"
    "echo \"File Create: $1/zentrik.ini\" >> \"$1/INSTALL.LOG\"\n";

inline std::vector<PackageFile> usual_package() {
  return {{"zentrik3", "zentrik3", "#!/bin/sh\nexit 0\n", true},
          {"tollund3", "tollund3", std::string(kConfigurationMaker), true},
          {"setup", "setup", "#!/bin/sh\nexit 0\n", true},
          {"guide.md", "help/guide.md", "# Guide\n"},
          {"weather.dat", "plotdata/weather.dat", "1 2\n3 4\n"},
          {"SAMPLE_1.zko", "objects/SAMPLE_1.zko", "#!zentrik /opt/zentrik3/plotdata/weather.dat\n"},
          {"zentrik3.desktop", "share/zentrik3.desktop", std::string(kShippedEntry)},
          {"zentrik-object.xml", "share/zentrik-object.xml", std::string(kMimePackage)},
          {"zentrik3.svg", "share/zentrik3.svg", "<svg xmlns=\"http://www.w3.org/2000/svg\"/>\n"}};
}

class SetupSandbox : public ::testing::Test {
 protected:
  SetupSandbox()
      : home_env_("HOME", dir_.path("home")),
        config_env_("XDG_CONFIG_HOME", std::nullopt),
        data_env_("XDG_DATA_HOME", std::nullopt),
        data_dirs_env_("XDG_DATA_DIRS", dir_.path("system-share")),
        path_env_("PATH", dir_.path("no-tools")) {
    fs::create_directories(dir_.path("home/Desktop"));
    fs::create_directories(dir_.path("system-share/applications"));
    fs::create_directories(dir_.path("no-tools"));
    fs::create_directories(dir_.path("package"));
    options_.configuration_maker_wait_ms = 5000;
  }

  // Writes the package folder with its Zentrik3.INF listing files in their order.
  void write_package(const std::vector<PackageFile>& files, const std::string& extra_lines = "") {
    std::string list;
    for (const PackageFile& file : files) {
      const std::string path = dir_.write("package/" + file.source, file.content);
      if (file.program) fs::permissions(path, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
      list += file.source + ", " + file.destination + "\n";
    }
    dir_.write("package/Zentrik3.INF", list + extra_lines);
  }

  InstallChoices choices(const std::string& folder = "Zentrik 3") const {
    InstallChoices choices;
    choices.destination = dir_.path(folder);
    return choices;
  }

  bool run_install(const InstallChoices& choices) {
    return install(choices, dir_.path("package"), user_integration_paths(), ui_, options_);
  }
  bool run_uninstall(const std::string& log) {
    UninstallOptions options;
    options.busy_folder_retry_ms = 0;
    return uninstall(log, user_integration_paths(), ui_, options);
  }

  std::string home(std::string_view name) const { return dir_.path("home/" + std::string(name)); }
  std::string read(const std::string& path) const { return read_file(path); }
  std::string log_of(const std::string& folder) const { return read_file(folder + "/INSTALL.LOG"); }

  TempDir dir_;
  ScopedEnv home_env_, config_env_, data_env_, data_dirs_env_, path_env_;
  ScriptedSetupUi ui_;
  InstallOptions options_;
};

// Whether the text holds the line.
inline bool has_line(const std::string& text, const std::string& line) {
  return ("\n" + text).find("\n" + line + "\n") != std::string::npos;
}

}  // namespace zentrik::testing
