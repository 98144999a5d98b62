// A SetupUi for tests: questions and "File Exists!" dialogs are answered from queues,
// Cancel is pressed while a chosen status text shows, and every message, status text
// and dialog is recorded for the tests to compare word for word.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <string>
#include <thread>
#include <vector>

#include "setup/SetupUi.h"

namespace zentrik::testing {

class ScriptedSetupUi : public SetupUi {
 public:
  struct Shown {
    std::string text;
    std::string caption;
  };

  void queueAnswer(Answer answer) { answers_.push_back(answer); }
  void queueFileExists(FileExistsAnswer::Button button, OverwriteMode future = OverwriteMode::Ask) {
    file_exists_answers_.push_back({button, future});
  }
  // Cancel is pressed once, at the first look while the status window shows text.
  void pressCancelDuring(const std::string& text) { cancel_during_.push_back(text); }

  Answer message(const std::string& text, const std::string& caption, Buttons buttons) override {
    messages.push_back({text, caption});
    if (buttons == Buttons::Ok) return Answer::Ok;
    if (answers_.empty()) {
      ADD_FAILURE() << "unexpected question: " << caption << ": " << text;
      return Answer::No;
    }
    const Answer answer = answers_.front();
    answers_.pop_front();
    return answer;
  }
  void beep() override { ++beeps; }
  void statusShow(const std::string& text, bool cancel_button) override {
    status.push_back(text);
    status_cancel_button = cancel_button;
    shown_ = true;
  }
  void statusSetText(const std::string& text) override { status.push_back(text); }
  bool statusCancelPressed() override {
    for (auto pending = cancel_during_.begin(); pending != cancel_during_.end(); ++pending)
      if (shown_ && !status.empty() && status.back() == *pending) {
        cancel_during_.erase(pending);
        return true;
      }
    return false;
  }
  void statusHide() override { shown_ = false; }
  FileExistsAnswer fileExists(const std::string& destination) override {
    file_exists.push_back(destination);
    if (file_exists_answers_.empty()) {
      ADD_FAILURE() << "unexpected File Exists! for " << destination;
      return {FileExistsAnswer::Button::SkipFile, OverwriteMode::Never};
    }
    const FileExistsAnswer answer = file_exists_answers_.front();
    file_exists_answers_.pop_front();
    return answer;
  }
  void waitDispatching(int milliseconds) override {
    waited_ms += milliseconds;
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  }

  // Whether every queued answer was used.
  bool allAnswered() const { return answers_.empty() && file_exists_answers_.empty() && cancel_during_.empty(); }
  std::vector<std::string> captions() const {
    std::vector<std::string> all;
    for (const Shown& shown : messages) all.push_back(shown.caption);
    return all;
  }

  std::vector<Shown> messages;
  std::vector<std::string> status;
  std::vector<std::string> file_exists;
  bool status_cancel_button = false;  // as the status window was last shown
  int beeps = 0;
  long waited_ms = 0;

 private:
  std::deque<Answer> answers_;
  std::deque<FileExistsAnswer> file_exists_answers_;
  std::vector<std::string> cancel_during_;
  bool shown_ = false;
};

}  // namespace zentrik::testing
