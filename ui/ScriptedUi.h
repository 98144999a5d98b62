// A Ui for tests: answers come from a queue, and every message, sound and progress
// step is recorded so that tests can assert exact texts and captions.
#pragma once

#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "ui/Ui.h"

namespace zentrik {

class ScriptedUi : public Ui {
 public:
  struct Shown {
    std::string text;
    std::string caption;
    Buttons buttons;
  };

  // Answers for the next questions, in order. A message with only an OK button
  // takes no answer from the queue; a question with no queued answer is a test
  // fault and throws std::logic_error.
  void queueAnswer(Answer answer);
  // What the user does in the next File Load Options dialog: the script returns
  // true for OK (normally after dialog.accept) and false for Cancel. A dialog
  // with no queued script is a test fault and throws std::logic_error.
  using LoadOptionsScript = std::function<bool(FileLoadOptionsDialog&)>;
  void queueLoadOptions(LoadOptionsScript script);
  // The usual script: enter these values and press OK.
  void queueLoadOptions(LoadOptionValues values);
  void queueLoadOptionsCancel();
  int beeps() const;

  // The choice made in the next "Calculation Error!" dialog; a dialog with no queued
  // choice is a test fault and throws std::logic_error.
  void queueCalculationChoice(CalculationAction action, bool same_action = false);
  // Every such dialog shown, as it was filled.
  std::vector<CalculationErrorRequest> calculationErrors() const;
  // The choice made in the next "Use Existing Configuration File?" dialog, or its
  // Cancel; a dialog with nothing queued is a test fault and throws std::logic_error.
  void queueExistingConfigurationChoice(ExistingConfigurationChoice choice);
  void queueExistingConfigurationCancel();
  // Every such dialog shown, as it was filled.
  std::vector<ExistingConfigurationRequest> existingConfigurationRequests() const;

  // The path entered in the next "Enter Configuration Filename" dialog before OK,
  // or its Cancel; a dialog with nothing queued is a test fault and throws
  // std::logic_error.
  void queueConfigurationFilename(std::string path);
  void queueConfigurationFilenameCancel();
  // Every such dialog shown, with the path it proposed.
  std::vector<ConfigurationFilenameRequest> configurationFilenameRequests() const;

  // Forgets everything recorded and queued, for the next case of a table.
  void reset();

  // Cancel is pressed at the n-th cancel check (1-based); 0 never presses it.
  void cancelAtCheck(int n);

  std::vector<Shown> messages() const;
  Shown lastMessage() const;
  int sounds() const;
  int cancelChecks() const;
  // Every progress call, one line each: "show: <text>", "text: <text>",
  // "fraction: <f>", "size: <text>", "cancel: on"/"cancel: off", "hide";
  // and "wait: on"/"wait: off". The accessors return copies: other threads may add.
  std::vector<std::string> progressLog() const;
  std::size_t pendingAnswers() const;

  Answer message(const std::string& text, const std::string& caption,
                 Buttons buttons = Buttons::Ok) override;
  void errorSound() override;
  void beep() override;
  bool fileLoadOptions(FileLoadOptionsDialog& dialog) override;
  void calculationError(CalculationErrorRequest& request) override;
  bool useExistingConfiguration(ExistingConfigurationRequest& request) override;
  bool enterConfigurationFilename(ConfigurationFilenameRequest& request) override;
  void setWaitCursor(bool on) override;
  void progressShow(const std::string& text, bool cancel_button) override;
  void progressSetText(const std::string& text) override;
  void progressSetFraction(double fraction) override;
  void progressSetSizeText(const std::string& size_text) override;
  bool progressCancelled() override;
  void progressHide() override;
  void progressEnableCancel(bool enabled) override;
  void waitDispatching(int milliseconds) override;

 private:
  mutable std::mutex mutex_;  // update threads show messages too
  std::deque<Answer> answers_;
  std::vector<Shown> messages_;
  std::vector<std::string> progress_log_;
  std::deque<LoadOptionsScript> load_options_;
  std::deque<std::pair<CalculationAction, bool>> calculation_choices_;
  std::vector<CalculationErrorRequest> calculation_errors_;
  std::deque<std::optional<ExistingConfigurationChoice>> existing_configuration_choices_;  // empty: Cancel
  std::vector<ExistingConfigurationRequest> existing_configuration_requests_;
  std::deque<std::optional<std::string>> configuration_filenames_;  // empty: Cancel
  std::vector<ConfigurationFilenameRequest> configuration_filename_requests_;
  int sounds_ = 0;
  int beeps_ = 0;
  int cancel_at_check_ = 0;
  int cancel_checks_ = 0;
  bool cancelled_ = false;
};

}  // namespace zentrik
