#include "data/LoadOptionsDialog.h"

#include "formula/FormulaCheck.h"

namespace zentrik {

LoadOptionsDialog::LoadOptionsDialog(int fd, std::string path, LoadOptionValues initial,
                                     bool& drop_prompt, Ui& ui)
    : reader_(fd), path_(std::move(path)), values_(std::move(initial)), drop_prompt_(drop_prompt),
      ui_(ui) {
  show_first_line();
  first_line_ = line_;
}

void LoadOptionsDialog::show_first_line() {
  std::string_view line;
  reader_.rewind();
  shown_ = reader_.next(line) ? 1 : 0;
  line_ = std::string(line);
}

std::string LoadOptionsDialog::captionLine() const {
  std::string text = "Line " + std::to_string(shown_);
  if (total_ >= 0) return text + " out of " + std::to_string(total_) + " in " + path_;
  return text + " from " + path_;
}

bool LoadOptionsDialog::showNextLine() {
  std::string_view line;
  if (!reader_.next(line)) {
    ui_.beep();
    return false;
  }
  ++shown_;
  line_ = std::string(line);
  return true;
}

void LoadOptionsDialog::countLines() {
  long long total = shown_;
  for (std::string_view line; reader_.next(line);) ++total;
  total_ = total;
  show_first_line();
  ui_.message("Found " + std::to_string(total) + " lines in " + path_ + ".", "Done.");
}

bool LoadOptionsDialog::accept(const LoadOptionValues& entered) {
  LoadOptionValues values = entered;
  values.load_condition = normalizeFormulaText(entered.load_condition);
  if (!checkCondition(values.load_condition, line_, first_line_, ui_)) return false;
  drop_prompt_ = !values.dont_show_again;
  values_ = values;
  return true;
}

}  // namespace zentrik
