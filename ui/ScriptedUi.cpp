#include "ui/ScriptedUi.h"

#include <chrono>
#include <stdexcept>
#include <tuple>
#include <thread>

namespace zentrik {

void ScriptedUi::queueAnswer(Answer answer) {
  std::lock_guard lock(mutex_);
  answers_.push_back(answer);
}

void ScriptedUi::cancelAtCheck(int n) {
  std::lock_guard lock(mutex_);
  cancel_at_check_ = n;
}

std::vector<ScriptedUi::Shown> ScriptedUi::messages() const {
  std::lock_guard lock(mutex_);
  return messages_;
}

ScriptedUi::Shown ScriptedUi::lastMessage() const {
  std::lock_guard lock(mutex_);
  if (messages_.empty()) throw std::logic_error("no message was shown");
  return messages_.back();
}

int ScriptedUi::sounds() const {
  std::lock_guard lock(mutex_);
  return sounds_;
}

int ScriptedUi::cancelChecks() const {
  std::lock_guard lock(mutex_);
  return cancel_checks_;
}

std::vector<std::string> ScriptedUi::progressLog() const {
  std::lock_guard lock(mutex_);
  return progress_log_;
}

std::size_t ScriptedUi::pendingAnswers() const {
  std::lock_guard lock(mutex_);
  return answers_.size();
}

Answer ScriptedUi::message(const std::string& text, const std::string& caption, Buttons buttons) {
  std::lock_guard lock(mutex_);
  messages_.push_back({text, caption, buttons});
  if (buttons == Buttons::Ok) return Answer::Ok;
  if (answers_.empty()) throw std::logic_error("unexpected question: " + caption + ": " + text);
  Answer answer = answers_.front();
  answers_.pop_front();
  return answer;
}

void ScriptedUi::errorSound() {
  std::lock_guard lock(mutex_);
  ++sounds_;
}

void ScriptedUi::beep() {
  std::lock_guard lock(mutex_);
  ++beeps_;
}

int ScriptedUi::beeps() const {
  std::lock_guard lock(mutex_);
  return beeps_;
}

void ScriptedUi::queueCalculationChoice(CalculationAction action, bool same_action) {
  std::lock_guard lock(mutex_);
  calculation_choices_.emplace_back(action, same_action);
}

std::vector<CalculationErrorRequest> ScriptedUi::calculationErrors() const {
  std::lock_guard lock(mutex_);
  return calculation_errors_;
}

void ScriptedUi::calculationError(CalculationErrorRequest& request) {
  std::lock_guard lock(mutex_);
  calculation_errors_.push_back(request);
  if (calculation_choices_.empty())
    throw std::logic_error("unexpected Calculation Error! dialog: " + request.message_text);
  std::tie(request.action, request.same_action) = calculation_choices_.front();
  calculation_choices_.pop_front();
}

void ScriptedUi::queueExistingConfigurationChoice(ExistingConfigurationChoice choice) {
  std::lock_guard lock(mutex_);
  existing_configuration_choices_.emplace_back(choice);
}

void ScriptedUi::queueExistingConfigurationCancel() {
  std::lock_guard lock(mutex_);
  existing_configuration_choices_.emplace_back(std::nullopt);
}

std::vector<ExistingConfigurationRequest> ScriptedUi::existingConfigurationRequests() const {
  std::lock_guard lock(mutex_);
  return existing_configuration_requests_;
}

bool ScriptedUi::useExistingConfiguration(ExistingConfigurationRequest& request) {
  std::lock_guard lock(mutex_);
  existing_configuration_requests_.push_back(request);
  if (existing_configuration_choices_.empty())
    throw std::logic_error("unexpected Use Existing Configuration File? dialog: " + request.old_path);
  std::optional<ExistingConfigurationChoice> choice = existing_configuration_choices_.front();
  existing_configuration_choices_.pop_front();
  if (!choice) return false;
  request.choice = *choice;
  return true;
}

void ScriptedUi::queueConfigurationFilename(std::string path) {
  std::lock_guard lock(mutex_);
  configuration_filenames_.emplace_back(std::move(path));
}

void ScriptedUi::queueConfigurationFilenameCancel() {
  std::lock_guard lock(mutex_);
  configuration_filenames_.emplace_back(std::nullopt);
}

std::vector<ConfigurationFilenameRequest> ScriptedUi::configurationFilenameRequests() const {
  std::lock_guard lock(mutex_);
  return configuration_filename_requests_;
}

bool ScriptedUi::enterConfigurationFilename(ConfigurationFilenameRequest& request) {
  std::lock_guard lock(mutex_);
  configuration_filename_requests_.push_back(request);
  if (configuration_filenames_.empty())
    throw std::logic_error("unexpected Enter Configuration Filename dialog: " + request.path);
  std::optional<std::string> path = std::move(configuration_filenames_.front());
  configuration_filenames_.pop_front();
  if (!path) return false;
  request.path = std::move(*path);
  return true;
}

void ScriptedUi::reset() {
  std::lock_guard lock(mutex_);
  existing_configuration_choices_.clear();
  existing_configuration_requests_.clear();
  configuration_filenames_.clear();
  configuration_filename_requests_.clear();
  calculation_choices_.clear();
  calculation_errors_.clear();
  answers_.clear();
  load_options_.clear();
  messages_.clear();
  progress_log_.clear();
  sounds_ = beeps_ = cancel_at_check_ = cancel_checks_ = 0;
  cancelled_ = false;
}

void ScriptedUi::queueLoadOptions(LoadOptionsScript script) {
  std::lock_guard lock(mutex_);
  load_options_.push_back(std::move(script));
}

void ScriptedUi::queueLoadOptions(LoadOptionValues values) {
  queueLoadOptions([values](FileLoadOptionsDialog& dialog) { return dialog.accept(values); });
}

void ScriptedUi::queueLoadOptionsCancel() {
  queueLoadOptions([](FileLoadOptionsDialog&) { return false; });
}

bool ScriptedUi::fileLoadOptions(FileLoadOptionsDialog& dialog) {
  LoadOptionsScript script;
  {
    std::lock_guard lock(mutex_);
    if (load_options_.empty()) throw std::logic_error("unexpected File Load Options dialog");
    script = std::move(load_options_.front());
    load_options_.pop_front();
  }
  return script(dialog);  // the script may show messages: the lock is not held
}

void ScriptedUi::setWaitCursor(bool on) {
  std::lock_guard lock(mutex_);
  progress_log_.push_back(on ? "wait: on" : "wait: off");
}

void ScriptedUi::progressShow(const std::string& text, bool cancel_button) {
  std::lock_guard lock(mutex_);
  cancelled_ = false;
  progress_log_.push_back("show: " + text + (cancel_button ? "" : " (no cancel)"));
}

void ScriptedUi::progressSetText(const std::string& text) {
  std::lock_guard lock(mutex_);
  progress_log_.push_back("text: " + text);
}

void ScriptedUi::progressSetFraction(double fraction) {
  std::lock_guard lock(mutex_);
  progress_log_.push_back("fraction: " + std::to_string(fraction));
}

void ScriptedUi::progressSetSizeText(const std::string& size_text) {
  std::lock_guard lock(mutex_);
  progress_log_.push_back("size: " + size_text);
}

bool ScriptedUi::progressCancelled() {
  std::lock_guard lock(mutex_);
  ++cancel_checks_;
  if (cancel_checks_ == cancel_at_check_) cancelled_ = true;
  return cancelled_;
}

void ScriptedUi::progressHide() {
  std::lock_guard lock(mutex_);
  cancelled_ = false;
  progress_log_.push_back("hide");
}

void ScriptedUi::progressEnableCancel(bool enabled) {
  std::lock_guard lock(mutex_);
  progress_log_.push_back(enabled ? "cancel: on" : "cancel: off");
}

void ScriptedUi::waitDispatching(int milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace zentrik
