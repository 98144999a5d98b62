#include "setup/Installer.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <future>

#include "setup/ChildProcess.h"
#include "setup/DesktopFiles.h"
#include "setup/FileCopy.h"
#include "setup/InstallLog.h"
#include "setup/PackageList.h"
#include "setup/Registration.h"

namespace zentrik {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kCanceled = "Installation canceled!";
constexpr std::string_view kLogFailure = "Could not open the install log for writing:\n\n";
constexpr std::string_view kReady = "Zentrik version 3.4 is installed and ready to use.  ";

std::string upper_case(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

// A word as a shell reads it back: quoted when it holds anything but letters, digits
// and "/._+-".
std::string shell_word(const std::string& word) {
  if (!word.empty() && std::all_of(word.begin(), word.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || std::string_view("/._+-").find(c) != std::string_view::npos;
      }))
    return word;
  std::string quoted = "'";
  for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::string local_time_text() {
  const std::time_t now = std::time(nullptr);
  char text[32] = "";
  if (!::ctime_r(&now, text)) return "\n";
  return text;  // ends in a line feed
}

struct CopyOutcome {
  bool copied = false;
  std::string error;
};

class Installation {
 public:
  Installation(const InstallChoices& choices, const std::string& package_folder, const IntegrationPaths& paths,
               SetupUi& ui, const InstallOptions& options)
      : choices_(choices),
        package_folder_(package_folder),
        paths_(paths),
        ui_(ui),
        options_(options),
        log_(in_installation(kInstallLogName)) {}

  bool run() {
    std::vector<std::string> made;
    if (create_installation_folder(made) && start_log(made)) copy_package();
    if (stop_.empty()) {
      Registration registration(choices_, paths_, log_, ui_);
      registration.register_with_desktop();
      registration.create_shortcuts();
      const WaitStep wait = [this](int ms) { ui_.waitDispatching(ms); };
      refresh_mime_database(paths_.mime_folder, wait);
      refresh_desktop_database(paths_.applications_folder, wait);
    }
    return finish();
  }

 private:
  std::string in_installation(std::string_view name) const {
    return (fs::path(choices_.destination) / name).string();
  }

  void stop(std::string_view text) {
    if (stop_.empty()) stop_ = text;
  }

  bool record(std::string_view what, const std::string& path) {
    if (log_.record(what, path)) return true;
    stop(std::string(kLogFailure) + log_.error());
    return false;
  }

  bool confirm_cancel() {
    return ui_.message("Are you sure you want to cancel the installation?", "Really cancel?", Buttons::YesNo) ==
           Answer::Yes;
  }

  bool create_installation_folder(std::vector<std::string>& made) {
    const auto failure = create_folders(choices_.destination, made);
    if (!failure) return true;
    if (failure->reason.empty())
      stop(failure->folder + " exists and is not a folder!");
    else
      stop("Could not create the destination folder:\n\n" + failure->folder + "\n\n" + failure->reason);
    return false;
  }

  bool start_log(const std::vector<std::string>& made) {
    std::string text = "Installation Started " + local_time_text() + "Title: Zentrik Version 3.4 For Linux\n";
    for (const std::string& folder : made) text += std::string(kMadeDir) + ": " + folder + "\n";
    text += std::string(kFileCreate) + ": " + log_.path() + "\n";
    if (log_.append(text)) return true;
    stop(std::string(kLogFailure) + log_.error());
    return false;
  }

  void copy_package() {
    const std::string list_path = (fs::path(package_folder_) / kPackageListName).string();
    PackageList list(list_path);
    if (!list.is_open()) {
      stop("Could not open " + list_path + ":\n\n" + list.error());
      return;
    }
    ui_.statusShow("\nCopying Files . . .", true);
    for (std::string line; stop_.empty() && list.next_line(line);) {
      if (ui_.statusCancelPressed() && confirm_cancel()) {
        stop(kCanceled);
        break;
      }
      if (const auto entry = parse_package_line(line)) {
        ui_.statusSetText("\nCopying " + entry->source + " . . .");
        install_file(*entry);
      }
    }
  }

  void install_file(const PackageEntry& entry) {
    if (const std::string problem = package_entry_problem(entry); !problem.empty()) {
      ui_.message(problem + "  The file is skipped.", "Error!");
      return;
    }
    const std::string source = (fs::path(package_folder_) / entry.source).string();
    const std::string destination = in_installation(destination_path(entry));
    std::error_code error;
    if (!fs::exists(source, error)) {
      ui_.message("The source file " + source +
                      " is missing.  The installation will continue but will not be complete and may not function "
                      "correctly.  Please download a new package from our web site and re-install.",
                  "Missing File!");
      return;
    }
    if (fs::is_directory(destination, error)) {
      stop("Could not copy file:\n\n" + destination + "\n\nIt exists and is a folder!");
      return;
    }
    const bool existed = fs::exists(fs::symlink_status(destination, error));
    if (should_copy(entry.source, destination, existed) && make_folders_for(destination))
      copy_while_dispatching(source, destination, existed);
  }

  // Files that don't exist yet are copied in every mode; "never" only keeps existing ones.
  bool should_copy(const std::string& source_name, const std::string& destination, bool existed) {
    if (!existed || mode_ == OverwriteMode::Always || replaces_without_asking(source_name)) return true;
    if (mode_ == OverwriteMode::Never) return false;
    for (;;) {
      const FileExistsAnswer answer = ui_.fileExists(destination);
      if (answer.button != FileExistsAnswer::Button::CancelInstallation) {
        mode_ = answer.future;
        return answer.button == FileExistsAnswer::Button::Overwrite;
      }
      if (confirm_cancel()) {
        stop(kCanceled);
        return false;
      }
    }
  }

  bool make_folders_for(const std::string& destination) {
    std::vector<std::string> made;
    const auto failure = create_folders(fs::path(destination).parent_path().string(), made);
    for (const std::string& folder : made)
      if (!record(kMadeDir, folder)) return false;
    if (failure)
      stop("Could not copy file:\n\n" + failure->folder + "\n\n" +
           (failure->reason.empty() ? "It exists and is not a folder!" : failure->reason));
    return !failure;
  }

  // The copy runs on a worker thread while the status window stays live; a Cancel
  // confirmed meanwhile ends the installation once the copy is over.
  void copy_while_dispatching(const std::string& source, const std::string& destination, bool existed) {
    std::future<CopyOutcome> copy = std::async(std::launch::async, [source, destination] {
      CopyOutcome outcome;
      outcome.copied = copy_file_replacing(source, destination, outcome.error);
      return outcome;
    });
    bool canceling = false;
    for (bool done = false; !done;) {
      done = copy.wait_for(std::chrono::milliseconds(0)) == std::future_status::ready;
      if (!canceling && ui_.statusCancelPressed() && confirm_cancel()) {
        canceling = true;
        ui_.statusSetText("\nCanceling . . .");
      }
      if (!done) ui_.waitDispatching(10);
    }
    const CopyOutcome outcome = copy.get();
    if (outcome.copied)
      record(existed ? kFileOverwrite : kFileCopy, destination);
    else if (!canceling)
      ui_.message("Setup was unable to copy " + source + " to " + destination +
                      ".  The installation will continue but may not be complete.  You should make sure the "
                      "destination drive is not full or write protected, then re-install.",
                  "Could not copy file!");
    if (canceling) stop(kCanceled);
  }

  std::string uninstall_hint() const {
    if (choices_.start_menu) return "If you wish to uninstall Zentrik, use \"Uninstall Zentrik\" in the applications menu.";
    return "If you wish to uninstall Zentrik, run \"" + shell_word(in_installation("setup")) + " " +
           shell_word(log_.path()) + "\".";
  }

  bool finish() {
    ui_.statusHide();
    if (stop_.find("canceled") != std::string::npos) {
      ui_.message(stop_ + "  Remove the destination folder to remove the partial installation.", "Canceled!");
      return false;
    }
    if (!stop_.empty()) {
      ui_.message(stop_ + "\n\nZentrik installation failed!", "Error!");
      return false;
    }
    ui_.message(std::string(kReady) + uninstall_hint(), "Installation Complete!");
    const std::string maker = in_installation("tollund3");
    if (!run_and_wait(maker, {choices_.destination}, options_.configuration_maker_wait_ms,
                      [this](int ms) { ui_.waitDispatching(ms); }))
      ui_.message("Could not execute the following command:\n\n" + maker + " " + choices_.destination,
                  "Command Execution Error!");
    return true;
  }

  const InstallChoices& choices_;
  const std::string& package_folder_;
  const IntegrationPaths& paths_;
  SetupUi& ui_;
  const InstallOptions& options_;
  InstallLog log_;
  OverwriteMode mode_ = OverwriteMode::Ask;
  std::string stop_;  // why the installation stopped; empty while it goes on
};

}  // namespace

bool replaces_without_asking(const std::string& source) {
  const std::string name = upper_case(source);
  return name.rfind("ZENTRIK3", 0) == 0 || name.rfind("TOLLUND3", 0) == 0 || name.rfind("SETUP", 0) == 0;
}

std::string running_program_folder() {
  std::error_code error;
  const fs::path program = fs::read_symlink("/proc/self/exe", error);
  return error ? fs::current_path(error).string() : program.parent_path().string();
}

bool install(const InstallChoices& choices, const std::string& package_folder, const IntegrationPaths& paths,
             SetupUi& ui, const InstallOptions& options) {
  return Installation(choices, package_folder, paths, ui, options).run();
}

}  // namespace zentrik
