// A Ui for tests: answers come from a queue, and every message, sound and progress
// step is recorded so that tests can assert exact texts and captions.
#pragma once

#include <deque>
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
  void queueAnswer(Answer answer) { answers_.push_back(answer); }
  // Cancel is pressed at the n-th cancel check (1-based); 0 never presses it.
  void cancelAtCheck(int n) { cancel_at_check_ = n; }

  const std::vector<Shown>& messages() const { return messages_; }
  const Shown& lastMessage() const;
  int sounds() const { return sounds_; }
  int cancelChecks() const { return cancel_checks_; }
  // Every progress call, one line each: "show: <text>", "text: <text>",
  // "fraction: <f>", "size: <text>", "hide"; and "wait: on"/"wait: off".
  const std::vector<std::string>& progressLog() const { return progress_log_; }
  std::size_t pendingAnswers() const { return answers_.size(); }

  Answer message(const std::string& text, const std::string& caption,
                 Buttons buttons = Buttons::Ok) override;
  void errorSound() override { ++sounds_; }
  void setWaitCursor(bool on) override;
  void progressShow(const std::string& text, bool cancel_button) override;
  void progressSetText(const std::string& text) override;
  void progressSetFraction(double fraction) override;
  void progressSetSizeText(const std::string& size_text) override;
  bool progressCancelled() override;
  void progressHide() override;

 private:
  std::deque<Answer> answers_;
  std::vector<Shown> messages_;
  std::vector<std::string> progress_log_;
  int sounds_ = 0;
  int cancel_at_check_ = 0;
  int cancel_checks_ = 0;
  bool cancelled_ = false;
};

}  // namespace zentrik
