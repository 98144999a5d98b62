#include "formula/Evaluator.h"

#include <cmath>

#include "data/fields/Chars.h"
#include "data/fields/NumberText.h"
#include "formula/Functions.h"
#include "formula/TimeDate.h"

namespace zentrik {
namespace {

constexpr int kMaxFieldNumber = 32767;

bool is_quote(char c) { return c == '"' || c == '\''; }

// One evaluation: the text, the cursor and where the result's message goes.
class Evaluator {
 public:
  Evaluator(std::string_view text, std::size_t pos, EvalContext& context, std::string& message,
            AvgState* holder)
      : text_(text), pos_(pos), context_(context), message_(message), holder_(holder) {}

  std::size_t pos() const { return pos_; }
  // Set once the nesting limit was met; the whole evaluation has failed then, even
  // where a construct would have dropped the failed part (a V default not needed).
  bool too_complex() const { return too_complex_; }
  // Whether a construct failed (and set the message) in this evaluation.
  bool failed() const { return failed_; }

  // boolean -> {"!"} comparison { ("&" | "|") {"!"} comparison }
  double boolean() {
    double left = negated_comparison();
    while (left != ERROR_VALUE) {
      skip_blanks();
      if (!at('&') && !at('|')) break;
      char op = text_[pos_++];
      skip_blanks();
      bool decided = op == '&' ? left == 0 : left != 0;
      // A decided outcome skips a parenthesised operand unread, so X>4 & (C5>0)
      // never touches C5 on short lines.
      if (decided && at('(')) return skip_to_close(left);
      double right = negated_comparison();
      if (right == ERROR_VALUE) return ERROR_VALUE;
      left = op == '&' ? (left != 0 && right != 0) : (left != 0 || right != 0);
    }
    return left;
  }

 private:
  double negated_comparison() {
    bool negate = false;
    for (skip_blanks(); at('!'); skip_blanks()) {
      negate = !negate;
      ++pos_;
    }
    double value = comparison();
    if (value == ERROR_VALUE || !negate) return value;
    return value == 0 ? 1.0 : 0.0;
  }

  double skip_to_close(double left) {
    std::size_t close = text_.find(')', pos_);
    if (close == std::string_view::npos) return fail("Unbalanced parenthesis");
    pos_ = close + 1;
    return left;
  }

  // comparison -> sum [ ("<" | "<=" | ">" | ">=" | "=" | "#" | "#=" | "<>") sum ]
  double comparison() {
    double left = sum();
    if (left == ERROR_VALUE) return ERROR_VALUE;
    skip_blanks();
    if (!at('<') && !at('>') && !at('=') && !at('#')) return left;
    char relation = text_[pos_++];
    bool or_equal = false, differs = relation == '#';
    if (relation != '=' && at('=')) {
      or_equal = true;
      ++pos_;
    } else if (relation == '<' && at('>')) {
      differs = true;
      ++pos_;
    }
    double right = sum();
    if (right == ERROR_VALUE) return ERROR_VALUE;
    bool result;
    if (differs)
      result = left != right;
    else if (relation == '<')
      result = or_equal ? left <= right : left < right;
    else if (relation == '>')
      result = or_equal ? left >= right : left > right;
    else
      result = left == right;
    return result ? 1.0 : 0.0;
  }

  // sum -> product { ("+" | "-") product }
  double sum() {
    double left = product();
    while (left != ERROR_VALUE) {
      skip_blanks();
      if (!at('+') && !at('-')) break;
      char op = text_[pos_++];
      double right = product();
      if (right == ERROR_VALUE) return ERROR_VALUE;
      left = op == '+' ? left + right : left - right;
    }
    return left;
  }

  // product -> primary { ("*" | "/" | "^" | "%") primary }
  double product() {
    double left = primary();
    while (left != ERROR_VALUE) {
      skip_blanks();
      if (!at('*') && !at('/') && !at('^') && !at('%')) break;
      char op = text_[pos_++];
      double right = primary();
      if (right == ERROR_VALUE) return ERROR_VALUE;
      left = apply_product(op, left, right);
    }
    return left;
  }

  double apply_product(char op, double left, double right) {
    switch (op) {
      case '*':
        return left * right;
      case '/':
        if (right == 0) return fail("Divide by zero");
        return left / right;
      case '^':
        return std::pow(left, right);
      default: {
        int32_t dividend = to_int32(left), divisor = to_int32(right);
        if (divisor == 0) return fail("Divide by zero");
        if (divisor == -1) return 0.0;  // INT32_MIN % -1 overflows in C
        return dividend % divisor;
      }
    }
  }

  // The depth of nested primaries bounds the recursion of every construct.
  struct NestingGuard {
    explicit NestingGuard(int& depth) : depth_(depth) { ++depth_; }
    ~NestingGuard() { --depth_; }
    int& depth_;
  };

  double primary() {
    NestingGuard guard(depth_);
    if (depth_ > kMaxFormulaNesting) {
      too_complex_ = true;
      return fail("Formula too complex");
    }
    skip_blanks();
    if (pos_ >= text_.size()) return illegal_character(text_.empty() ? "" : text_.substr(text_.size() - 1));
    char c = text_[pos_];
    if (is_digit(c) || ((c == '+' || c == '-' || c == '.') && number_starts_at(text_, pos_))) return literal();
    if (is_quote(c)) return quoted_string();
    if (c == '(') return parenthesised();
    switch (c) {
      case 'C': case 'L': case 'N': case 'S': case 'A': case 'I': case 'T':
        return letter_construct(c);
      case 'V':
        ++pos_;
        return value_number();
      case 'F':
        ++pos_;
        return first_line_column();
      case 'X':
        ++pos_;
        return context_.field_count();
      default:
        return illegal_character(text_.substr(pos_, 1));
    }
  }

  // A number literal. A lone digit (as in C2, *2, +1) is the common case and is
  // taken without the general conversion.
  double literal() {
    char c = text_[pos_];
    bool lone_digit = is_digit(c) && (pos_ + 1 >= text_.size() || !continues_number(text_[pos_ + 1]));
    if (lone_digit) {
      ++pos_;
      return c - '0';
    }
    double value = 0;
    pos_ = read_number(text_, pos_, value);
    return value;
  }

  static bool continues_number(char c) { return is_digit(c) || c == '.' || c == 'e' || c == 'E'; }

  double illegal_character(std::string_view c) {
    return fail(std::string("Illegal or misplaced character:  \"").append(c).append("\""));
  }

  // quoted -> ('"' | "'") text same-quote: 1 when the line contains the text
  double quoted_string() {
    char quote = text_[pos_];
    std::size_t close = text_.find(quote, pos_ + 1);
    if (close == std::string_view::npos) return fail("Missing closing quote");
    std::string_view wanted = text_.substr(pos_ + 1, close - pos_ - 1);
    pos_ = close + 1;
    if (wanted.empty()) return context_.line_text().empty() ? 1.0 : 0.0;
    return context_.line_text().find(wanted) != std::string_view::npos ? 1.0 : 0.0;
  }

  double parenthesised() {
    ++pos_;
    double value = boolean();
    if (value == ERROR_VALUE) return ERROR_VALUE;
    skip_blanks();
    if (!at(')')) return fail("Unbalanced parenthesis (missing close)");
    ++pos_;
    return value;
  }

  // C, L, N and S begin a construct unless a function name goes on from them;
  // A, I and T begin only function names.
  double letter_construct(char first) {
    ++pos_;
    skip_blanks();
    const BuiltinFunction* function = pos_ < text_.size() ? find_builtin(first, text_[pos_]) : nullptr;
    if (function) return call(*function);
    if (only_functions_begin_with(first)) return fail("Unknown function");
    switch (first) {
      case 'C':
        return column();
      case 'L':
        return context_.line_number;
      case 'N':
        return context_.first_fields().count();
      default:
        return context_.sequence_number;
    }
  }

  // The number operand of C, V and F: a whole primary truncated toward zero; 0 with
  // the message set when it fails or lies outside 1 .. 32767.
  int field_operand(const char* illegal_message) {
    double operand = primary();
    if (operand == ERROR_VALUE) return 0;
    int32_t n = to_int32(operand);
    if (n < 1 || n > kMaxFieldNumber) {
      fail(illegal_message);
      return 0;
    }
    return n;
  }

  double column() {
    int n = field_operand("Illegal column number");
    if (n == 0) return ERROR_VALUE;
    double value = 0;
    if (!context_.field(n, value)) return fail("Invalid column number:  " + std::to_string(n));
    return value;
  }

  // V n [":" d]: field n, or the default d; without a default a missing field is
  // MISSING_VALUE and sets the missing mark.
  double value_number() {
    int n = field_operand("Illegal value number");
    if (n == 0) return ERROR_VALUE;
    double fallback = MISSING_VALUE;
    skip_blanks();
    if (at(':')) {
      ++pos_;
      fallback = primary();
    }
    double value = fallback;
    context_.field(n, value);
    if (value == MISSING_VALUE) {
      context_.missing = true;
      return MISSING_VALUE;
    }
    if (value == ERROR_VALUE) return fail("Invalid value number:  " + std::to_string(n));
    return value;
  }

  double first_line_column() {
    int n = field_operand("Illegal first-line column number");
    if (n == 0) return ERROR_VALUE;
    if (n > context_.first_fields().count())
      return fail("Invalid first-line column number:  " + std::to_string(n));
    return context_.first_fields().value(n, ERROR_VALUE);
  }

  // The name is read letter by letter with blanks allowed after each letter; the
  // first letter has been taken and pos is at the second.
  double call(const BuiltinFunction& function) {
    for (std::size_t i = 1; i < function.name.size(); ++i) {
      if (!at(function.name[i])) return fail("Unknown function");
      ++pos_;
      skip_blanks();
    }
    switch (function.form) {
      case ArgumentForm::OnePrimary:
        return one_argument(function);
      case ArgumentForm::AvgPair:
        return average();
      default:
        return time_date();
    }
  }

  double one_argument(const BuiltinFunction& function) {
    if (pos_ >= text_.size()) return fail("Missing function argument");
    double x = primary();
    if (x == ERROR_VALUE) return ERROR_VALUE;
    const char* error = nullptr;
    double value = function.apply(x, &error);
    return error ? fail(error) : value;
  }

  // AVG(x, n): the mean of x over blocks of n evaluations, kept in the holder.
  double average() {
    if (!at('(')) return fail("Missing function argument");
    ++pos_;
    AvgState* holder = holder_;
    holder_ = nullptr;  // an AVG inside an argument has no holder
    double x = boolean();
    double n = ERROR_VALUE;
    if (x != ERROR_VALUE) n = average_count();
    holder_ = holder;
    if (n == ERROR_VALUE) return ERROR_VALUE;
    if (!holder_) return fail("Inappropriate use of AVG()");
    holder_->avg_sum += x;
    if (holder_->avg_count < INT32_MAX) ++holder_->avg_count;
    if (holder_->avg_count < to_int32(n)) return AVG_PENDING;
    double mean = holder_->avg_sum / holder_->avg_count;
    holder_->reset_avg();
    return mean;
  }

  // ", n )" behind AVG's first argument
  double average_count() {
    skip_blanks();
    if (!at(',')) return fail("Incorrect number of function parameters");
    ++pos_;
    double n = boolean();
    if (n == ERROR_VALUE) return ERROR_VALUE;
    skip_blanks();
    if (!at(')')) return fail("Incorrect number of function parameters");
    ++pos_;
    return n;
  }

  // TD(start, code), TDF(start, code) or TD('text', code)
  double time_date() {
    std::string_view text = context_.line_text();
    if (at('F')) {
      text = context_.first_line();
      ++pos_;
      skip_blanks();
    }
    if (!at('(')) return fail("Usage:  TD(start_field, format)");
    ++pos_;
    skip_blanks();
    int start = 1;
    if (pos_ < text_.size() && is_quote(text_[pos_])) {
      std::size_t close = text_.find(text_[pos_], pos_ + 1);
      if (close == std::string_view::npos) return fail("Missing closing quote in TD() constant");
      text = text_.substr(pos_ + 1, close - pos_ - 1);
      pos_ = close + 1;
    } else {
      double first = sum();
      if (first == ERROR_VALUE) return ERROR_VALUE;
      int32_t n = to_int32(first);
      if (n < 1 || n > kMaxFieldNumber) return fail("Illegal time/date parameter 1");
      start = n;
    }
    skip_blanks();
    if (!at(',')) return fail("Usage:  TD(start_field, format)");
    ++pos_;
    skip_blanks();
    if (!number_starts_at(text_, pos_)) return fail("Illegal time/date code");
    double code_value = 0;
    pos_ = read_number(text_, pos_, code_value);
    int32_t code = to_int32(code_value);
    if (code < 1 || code > kDateCodes) return fail("Illegal time/date code");
    if (!at(')')) return fail("Missing closing paren on TD");
    ++pos_;
    double seconds = read_date(text, start, code, message_);
    failed_ = failed_ || seconds == ERROR_VALUE;
    return seconds;
  }

  bool at(char c) const { return pos_ < text_.size() && text_[pos_] == c; }
  void skip_blanks() {
    while (pos_ < text_.size() && is_blank(text_[pos_])) ++pos_;
  }

  double fail(std::string_view message) {
    message_.assign(message);
    failed_ = true;
    return ERROR_VALUE;
  }

  std::string_view text_;
  std::size_t pos_;
  EvalContext& context_;
  std::string& message_;
  AvgState* holder_;
  int depth_ = 0;
  bool too_complex_ = false;
  bool failed_ = false;
};

}  // namespace

double evaluate(std::string_view text, std::size_t& pos, EvalContext& context,
                std::string& message, AvgState* holder) {
  context.missing = false;
  Evaluator evaluator(text, pos, context, message, holder);
  double value = evaluator.boolean();
  pos = evaluator.pos();
  if (evaluator.too_complex()) {
    message = "Formula too complex";
    value = ERROR_VALUE;
  } else if (value == ERROR_VALUE && !evaluator.failed()) {
    // the reserved value itself, written in the formula or standing in the data
    message = "Illegal value (" + format_g(ERROR_VALUE, 10) + ")";
  }
  if (value == ERROR_VALUE) context.missing = false;
  return value;
}

}  // namespace zentrik
