// The Ui of the batch mode: every message goes to standard error as its caption,
// ": " and its text, questions take the answers a script needs (no start-over, no
// companion object, no re-include, no return to setup, Yes to cancelling), the load
// options are the command line's, and calculation errors get the --on-error answer.
#pragma once

#include <cstdio>
#include <optional>
#include <string>

#include "ui/FileLoadOptions.h"
#include "ui/Ui.h"

namespace zentrik {

class BatchUi : public Ui {
 public:
  explicit BatchUi(std::FILE* errors = stderr) : errors_(errors) {}

  // Load options to enter in the File Load Options dialog; unset ones keep what
  // the dialog shows.
  struct LoadOptions {
    std::optional<int32_t> initial_skip, read_every, loadnum;
    std::optional<std::string> load_condition;
  };
  void setLoadOptions(LoadOptions options) { load_options_ = std::move(options); }
  void setCalculationAnswer(CalculationAction action) { calculation_answer_ = action; }
  // The answer to a question about running a plot object's pre-load command.
  void setAllowCommands(bool allow) { allow_commands_ = allow; }

  Answer message(const std::string& text, const std::string& caption, Buttons buttons = Buttons::Ok) override;
  void errorSound() override {}
  void beep() override {}
  void setWaitCursor(bool) override {}
  void progressShow(const std::string&, bool) override {}
  void progressSetText(const std::string&) override {}
  void progressSetFraction(double) override {}
  void progressSetSizeText(const std::string&) override {}
  bool progressCancelled() override { return false; }
  void progressHide() override {}
  void progressEnableCancel(bool) override {}
  bool fileLoadOptions(FileLoadOptionsDialog& dialog) override;
  void calculationError(CalculationErrorRequest& request) override;
  // The configuration is never looked for or moved in batch mode.
  bool useExistingConfiguration(ExistingConfigurationRequest&) override { return false; }
  bool enterConfigurationFilename(ConfigurationFilenameRequest&) override { return false; }
  void waitDispatching(int milliseconds) override;

  // Messages with this caption are not printed (while "" none is silenced).
  void setSilenced(std::string caption) { silenced_ = std::move(caption); }

 private:
  std::FILE* errors_;
  LoadOptions load_options_;
  CalculationAction calculation_answer_ = CalculationAction::CancelAndClose;
  bool allow_commands_ = false;
  std::string silenced_;
};

}  // namespace zentrik
