#include "persist/CommandApproval.h"

#include <algorithm>
#include <filesystem>

#include "data/MultiFile.h"

namespace zentrik {
namespace {

std::string absolute_path(const std::string& path) {
  std::error_code error;
  std::filesystem::path absolute = std::filesystem::absolute(path, error);
  return (error ? std::filesystem::path(path) : absolute).lexically_normal().string();
}

std::string entry_of(const std::string& object_path, const std::string& command) {
  return absolute_path(object_path) + '\t' + command;
}

}  // namespace

CommandApproval::CommandApproval(std::vector<std::string>& approved, CommandPolicy policy, Ui& ui)
    : approved_(approved), policy_(policy), ui_(ui) {}

bool CommandApproval::allows(const std::string& object_path, const std::string& command) const {
  if (policy_ == CommandPolicy::Always) return true;
  if (policy_ == CommandPolicy::Never) return false;
  return std::find(approved_.begin(), approved_.end(), entry_of(object_path, command)) != approved_.end();
}

void CommandApproval::approve(const std::string& object_path, const std::string& command) {
  const std::string prefix = absolute_path(object_path) + '\t';
  std::erase_if(approved_, [&](const std::string& entry) { return entry.starts_with(prefix); });
  approved_.push_back(prefix + command);
}

CommandRun CommandApproval::run_before_load(const std::string& object_path, const std::string& command) {
  if (policy_ == CommandPolicy::Never) {
    ui_.message("The pre-load command of the plot object " + absolute_path(object_path) +
                    " was not run:\n\n" + command,
                "Command Not Run");
    return CommandRun::Declined;
  }
  if (!allows(object_path, command)) {
    const std::string question = "The plot object " + absolute_path(object_path) +
                                 " runs this command before its data is loaded:\n\n" + command +
                                 "\n\nRun it?";
    if (ui_.message(question, "Run Command?", Buttons::YesNo) != Answer::Yes) return CommandRun::Declined;
    approve(object_path, command);
  }
  return run_preload_command(command, ui_) ? CommandRun::Ran : CommandRun::Failed;
}

}  // namespace zentrik
