#include "app/batch/BatchUi.h"

#include <chrono>
#include <map>
#include <thread>

#include "ui/CalculationError.h"

namespace zentrik {
namespace {

// The answers a script takes to the program's questions, by caption.
Answer scripted_answer(const std::string& caption, Buttons buttons, bool allow_commands) {
  static const std::map<std::string, Answer> answers = {
      {"Skipped whole file!", Answer::No},         {"Use Zentrik Object?", Answer::No},
      {"Not Enough Data!", Answer::No},            {"Return to plot setup window?", Answer::No},
      {"Really cancel?", Answer::Yes},             {"Can not save settings!", Answer::No},
  };
  if (caption == "Run Command?") return allow_commands ? Answer::Yes : Answer::No;
  auto known = answers.find(caption);
  Answer answer = known != answers.end() ? known->second : Answer::No;
  switch (buttons) {
    case Buttons::Ok:
      return Answer::Ok;
    case Buttons::OkCancel:
    case Buttons::RetryCancel:
      return answer == Answer::Yes ? (buttons == Buttons::OkCancel ? Answer::Ok : Answer::Retry) : Answer::Cancel;
    default:
      return answer;
  }
}

}  // namespace

Answer BatchUi::message(const std::string& text, const std::string& caption, Buttons buttons) {
  if (silenced_.empty() || caption != silenced_) {
    std::fprintf(errors_, "%s: %s\n", caption.c_str(), text.c_str());
    std::fflush(errors_);
  }
  return scripted_answer(caption, buttons, allow_commands_);
}

bool BatchUi::fileLoadOptions(FileLoadOptionsDialog& dialog) {
  LoadOptionValues entered = dialog.values();
  if (load_options_.initial_skip) entered.initial_skip = *load_options_.initial_skip;
  if (load_options_.read_every) entered.read_every = *load_options_.read_every;
  if (load_options_.loadnum) entered.loadnum = *load_options_.loadnum;
  if (load_options_.load_condition) entered.load_condition = *load_options_.load_condition;
  // The condition is checked on the line the dialog shows: the first one after the skip,
  // as a user shows it before OK, since a skipped header need not have the columns.
  if (!entered.load_condition.empty())
    for (int32_t shown = 0; shown < entered.initial_skip && dialog.showNextLine(); ++shown) {
    }
  return dialog.accept(entered);  // a condition that fails its check cancels the load
}

void BatchUi::calculationError(CalculationErrorRequest& request) {
  std::fprintf(errors_, "Calculation Error!: %s\n", request.message_text.c_str());
  std::fflush(errors_);
  request.action = calculation_answer_;
  request.same_action = true;  // one answer for every error of the same kind
}

void BatchUi::waitDispatching(int milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace zentrik
