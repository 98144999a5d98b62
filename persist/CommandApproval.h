// Whether the pre-load command of a plot object may run. A plot object file can come
// from anywhere, and its command runs with the user's rights, so a command runs only
// once the user has seen it in full and said Yes; the Yes is remembered for that
// object and that exact command in the approved-commands list of the configuration.
// Used by the opening of plot objects, their writer and the reload of their data.
#pragma once

#include <string>
#include <vector>

#include "ui/Ui.h"

namespace zentrik {

// Who decides about a command that is not approved yet: the user (the desktop
// program), or the batch mode's option to run every command or none.
enum class CommandPolicy { Ask, Always, Never };

enum class CommandRun {
  Ran,       // the command ran to its end
  Failed,    // it could not be started; the user has been told
  Declined,  // the user said No, or the policy forbids it
};

class CommandApproval {
 public:
  // approved holds the entries "<object path>\t<command>" and stays the caller's;
  // the path is absolute, without "." and ".." steps.
  CommandApproval(std::vector<std::string>& approved, CommandPolicy policy, Ui& ui);

  // Whether the command may run for the object without asking.
  bool allows(const std::string& object_path, const std::string& command) const;
  // Records the command as approved for the object, in place of an earlier one.
  void approve(const std::string& object_path, const std::string& command);

  // Runs the command before the object's data is loaded when it is approved, when
  // the policy allows it, or when the user says Yes to seeing it (the Yes is recorded).
  CommandRun run_before_load(const std::string& object_path, const std::string& command);

 private:
  std::vector<std::string>& approved_;
  CommandPolicy policy_;
  Ui& ui_;
};

}  // namespace zentrik
