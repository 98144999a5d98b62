#include "formula/FormulaCheck.h"

#include "data/fields/Chars.h"
#include "formula/EvalContext.h"
#include "formula/Evaluator.h"

namespace zentrik {
namespace {

constexpr std::string_view kFormulaCharacters =
    "0123456789.,\\?+-*/^%()<>=#&|!eABCDEFGILNOSTVX :";

bool is_quote(char c) { return c == '"' || c == '\''; }

class FormulaChecker {
 public:
  FormulaChecker(std::string_view text, std::string_view label, std::string* accumulator,
                 SampleLine line, Ui& ui)
      : text_(text), label_(label), accumulator_(accumulator), ui_(ui) {
    context_.set_line(line.text);
    context_.line_number = line.number;
    context_.sequence_number = 1;
    context_.set_first_line(line.text);
  }

  bool run() {
    if (text_.empty()) {
      if (accumulator_) accumulator_->append("\nZero-length formula");
      return false;
    }
    if (!characters_allowed()) return false;
    std::size_t question = text_.find('?');
    std::string_view value_part = text_.substr(0, question);
    std::size_t pos = 0;
    if (!evaluates(value_part, pos)) return false;
    if (pos < value_part.size() && value_part[pos] == '\\') {
      ++pos;
      if (!evaluates(value_part, pos)) return false;
    }
    if (!all_consumed(value_part, pos)) return false;
    if (question == std::string_view::npos) return true;
    std::string_view condition = text_.substr(question + 1);
    pos = 0;
    return evaluates(condition, pos) && all_consumed(condition, pos);
  }

 private:
  // Outside quoted strings only the characters of the language may stand.
  bool characters_allowed() {
    for (std::size_t i = 0; i < text_.size(); ++i) {
      char c = text_[i];
      if (is_quote(c)) {
        std::size_t close = text_.find(c, i + 1);
        if (close == std::string_view::npos)
          return report("Missing closing quote in " + std::string(label_) + ": \"" + c + "\"");
        i = close;
      } else if (kFormulaCharacters.find(c) == std::string_view::npos) {
        return report("Illegal character in " + std::string(label_) + ": \"" + c + "\"");
      }
    }
    return true;
  }

  bool evaluates(std::string_view part, std::size_t& pos) {
    std::string message;
    if (evaluate(part, pos, context_, message, &scratch_) != ERROR_VALUE) return true;
    std::string text = "Error in " + std::string(label_);
    if (pos < part.size()) text += " just before \"" + std::string(part.substr(pos)) + "\"";
    return report(text + ":\n" + message);
  }

  bool all_consumed(std::string_view part, std::size_t pos) {
    if (pos >= part.size()) return true;
    return report("Unprocessed characters: \"" + std::string(part.substr(pos)) + "\"");
  }

  bool report(const std::string& message) {
    if (accumulator_)
      accumulator_->append("\n").append(message);
    else
      ui_.showError(message, "Error!");
    return false;
  }

  std::string_view text_;
  std::string_view label_;
  std::string* accumulator_;
  Ui& ui_;
  EvalContext context_;
  AvgState scratch_;  // AVG() is accepted in a formula
};

}  // namespace

std::string normalizeFormulaText(std::string_view text) {
  std::size_t begin = 0, end = text.size();
  while (begin < end && is_blank(text[begin])) ++begin;
  while (end > begin && is_blank(text[end - 1])) --end;
  std::string out(text.substr(begin, end - begin));
  char quote = 0;
  for (char& c : out) {
    if (quote) {
      if (c == quote) quote = 0;
    } else if (is_quote(c)) {
      quote = c;
    } else {
      c = to_upper(c);
    }
  }
  return out;
}

bool checkFormula(std::string_view text, std::string_view label, std::string* accumulator,
                  SampleLine first_included, Ui& ui) {
  return FormulaChecker(text, label, accumulator, first_included, ui).run();
}

bool checkCondition(std::string_view condition, std::string_view sample_line,
                    std::string_view first_line, Ui& ui) {
  std::string text = normalizeFormulaText(condition);
  if (text.empty()) return true;
  EvalContext context;
  context.set_line(sample_line);
  context.line_number = 1;
  context.sequence_number = 1;
  context.set_first_line(first_line);
  std::string message;
  std::size_t pos = 0;
  if (evaluate(text, pos, context, message, nullptr) == ERROR_VALUE) {
    ui.showError("Error in conditional formula:\n\n" + message, "Error!");
    return false;
  }
  if (pos < text.size()) {
    ui.showError("Unprocessed characters in conditional formula:\n\n\"" + text.substr(pos) + "\"",
                 "Error!");
    return false;
  }
  return true;
}

}  // namespace zentrik
