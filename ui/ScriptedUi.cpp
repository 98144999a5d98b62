#include "ui/ScriptedUi.h"

#include <stdexcept>

namespace zentrik {

const ScriptedUi::Shown& ScriptedUi::lastMessage() const {
  if (messages_.empty()) throw std::logic_error("no message was shown");
  return messages_.back();
}

Answer ScriptedUi::message(const std::string& text, const std::string& caption, Buttons buttons) {
  messages_.push_back({text, caption, buttons});
  if (buttons == Buttons::Ok) return Answer::Ok;
  if (answers_.empty()) throw std::logic_error("unexpected question: " + caption + ": " + text);
  Answer answer = answers_.front();
  answers_.pop_front();
  return answer;
}

void ScriptedUi::setWaitCursor(bool on) { progress_log_.push_back(on ? "wait: on" : "wait: off"); }

void ScriptedUi::progressShow(const std::string& text, bool cancel_button) {
  cancelled_ = false;
  progress_log_.push_back("show: " + text + (cancel_button ? "" : " (no cancel)"));
}

void ScriptedUi::progressSetText(const std::string& text) { progress_log_.push_back("text: " + text); }

void ScriptedUi::progressSetFraction(double fraction) {
  progress_log_.push_back("fraction: " + std::to_string(fraction));
}

void ScriptedUi::progressSetSizeText(const std::string& size_text) {
  progress_log_.push_back("size: " + size_text);
}

bool ScriptedUi::progressCancelled() {
  ++cancel_checks_;
  if (cancel_checks_ == cancel_at_check_) cancelled_ = true;
  return cancelled_;
}

void ScriptedUi::progressHide() {
  cancelled_ = false;
  progress_log_.push_back("hide");
}

}  // namespace zentrik
