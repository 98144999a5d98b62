#include "formula/TimeDate.h"

#include <climits>
#include <ctime>

#include "data/fields/Chars.h"
#include "data/fields/Fields.h"
#include "data/fields/NumberText.h"
#include "formula/LocalTime.h"
#include "formula/Values.h"

namespace zentrik {
namespace {

struct DateParts {
  double year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

// The month (1 .. 12) whose abbreviation the word at pos begins with, or 0.
int month_of_word(std::string_view text, std::size_t pos) {
  static constexpr std::string_view kMonths[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                                 "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
  if (pos + 3 > text.size()) return 0;
  for (int m = 0; m < 12; ++m) {
    bool same = true;
    for (std::size_t i = 0; i < 3; ++i) same = same && to_upper(text[pos + i]) == kMonths[m][i];
    if (same) return m + 1;
  }
  return 0;
}

// Walks the text of one date; every read advances pos.
class DateScanner {
 public:
  DateScanner(std::string_view text, std::size_t pos) : text_(text), pos_(pos) {}

  std::size_t pos() const { return pos_; }
  void move_to(std::size_t pos) { pos_ = pos; }
  bool at_end() const { return pos_ >= text_.size(); }

  // Skips characters that are neither digits nor letters and reads the number there;
  // false when a letter comes first or the text ends.
  bool read_number_after_separators(double& value) {
    while (!at_end() && !is_digit(text_[pos_]) && !is_letter(text_[pos_])) ++pos_;
    if (at_end() || is_letter(text_[pos_])) return false;
    pos_ = read_number(text_, pos_, value);
    return true;
  }

  // From pos on, passes characters up to the first letter (a digit on the way fails)
  // and reads the month name there, leaving pos behind the word.
  int month_name_ahead() {
    while (!at_end() && !is_letter(text_[pos_])) {
      if (is_digit(text_[pos_])) return 0;
      ++pos_;
    }
    return month_name_here();
  }

  // From pos back, passes characters up to the word before (a digit on the way
  // fails) and reads the month name of that word, leaving pos behind the word.
  int month_name_behind() {
    std::size_t p = pos_;
    while (p > 0 && !is_letter(text_[p - 1])) {
      if (is_digit(text_[p - 1])) return 0;
      --p;
    }
    if (p == 0) return 0;
    while (p > 0 && is_letter(text_[p - 1])) --p;
    pos_ = p;
    return month_name_here();
  }

  // The separator ("/" or "-") and the unsigned number behind it; message on failure.
  bool read_separated_number(double& value, std::string& message) {
    if (at_end() || (text_[pos_] != '/' && text_[pos_] != '-')) {
      message = "Invalid date, missing field separator (/ or -)";
      return false;
    }
    ++pos_;
    if (at_end() || !is_digit(text_[pos_])) {
      message = "Invalid date, missing field";
      return false;
    }
    pos_ = read_number(text_, pos_, value);
    return true;
  }

  // An optional time of day: hour and minute are taken only together and in range;
  // then an optional second, AM/PM and a three-letter zone name (not applied).
  void read_time_of_day(DateParts& parts) {
    std::size_t p = skip_blanks(text_, pos_);
    if (p >= text_.size() || !is_digit(text_[p])) return;
    double hour = 0, minute = 0;
    p = read_number(text_, p, hour);
    if (!(hour >= 0 && hour <= 24) || p >= text_.size() || text_[p] != ':') return;
    ++p;
    if (p >= text_.size() || !is_digit(text_[p])) return;
    p = read_number(text_, p, minute);
    if (!(minute >= 0 && minute < 60)) return;
    parts.hour = hour;
    parts.minute = minute;
    pos_ = p;
    if (pos_ + 1 < text_.size() && text_[pos_] == ':' && is_digit(text_[pos_ + 1]))
      pos_ = read_number(text_, pos_ + 1, parts.second);
    read_am_pm(parts);
    skip_zone_name();
  }

 private:
  int month_name_here() {
    if (at_end()) return 0;
    int month = month_of_word(text_, pos_);
    while (!at_end() && is_letter(text_[pos_])) ++pos_;
    return month;
  }

  void read_am_pm(DateParts& parts) {
    pos_ = skip_blanks(text_, pos_);
    if (text_.size() - pos_ < 2) return;
    if (pos_ + 2 < text_.size() && is_letter(text_[pos_ + 2])) return;
    char first = to_upper(text_[pos_]);
    if (to_upper(text_[pos_ + 1]) != 'M' || (first != 'A' && first != 'P')) return;
    if (first == 'P' && parts.hour < 12) parts.hour += 12;
    if (first == 'A' && parts.hour == 12) parts.hour = 0;
    pos_ += 2;
  }

  void skip_zone_name() {
    pos_ = skip_blanks(text_, pos_);
    if (pos_ + 3 > text_.size()) return;
    for (std::size_t i = 0; i < 3; ++i)
      if (!is_letter(text_[pos_ + i])) return;
    if (pos_ + 3 < text_.size() && is_letter(text_[pos_ + 3])) return;
    pos_ += 3;
  }

  std::string_view text_;
  std::size_t pos_;
};

std::string erroneous_date(int start) {
  return "Erroneous date starting with field " + std::to_string(start);
}

// Codes 1 to 3: a month name beside the day's number.
bool read_named_month(std::string_view text, const FieldSpan& day_field, int start, int code,
                      DateParts& parts, std::string& message) {
  DateScanner scan(text, code == 1 ? day_field.end : day_field.begin);
  int month = code == 1 ? scan.month_name_ahead() : scan.month_name_behind();
  if (month == 0 || scan.at_end()) {
    message = erroneous_date(start);
    return false;
  }
  parts.month = month;
  bool ok = true;
  if (code == 1) {
    parts.day = day_field.value;
    ok = scan.read_number_after_separators(parts.year);
    if (ok) scan.read_time_of_day(parts);
  } else {
    // the day is read again behind the month name, where it has no sign of its own
    ok = scan.read_number_after_separators(parts.day);
    if (ok && code == 2) {
      ok = scan.read_number_after_separators(parts.year);
      if (ok) scan.read_time_of_day(parts);
    } else if (ok) {
      scan.read_time_of_day(parts);
      ok = scan.read_number_after_separators(parts.year);
    }
  }
  if (!ok) message = erroneous_date(start);
  return ok;
}

// Codes 4 and 5: three numbers joined by "/" or "-".
bool read_slashed(std::string_view text, const FieldSpan& first, int code, DateParts& parts,
                  std::string& message) {
  DateScanner scan(text, first.end);
  double second = 0, third = 0;
  if (!scan.read_separated_number(second, message) || !scan.read_separated_number(third, message))
    return false;
  parts.month = code == 4 ? first.value : second;
  parts.day = code == 4 ? second : first.value;
  parts.year = third;
  scan.read_time_of_day(parts);
  return true;
}

// Codes 6 and 7: one run of 6 or 8 digits.
bool read_digit_run(std::string_view text, const FieldSpan& field, int code, DateParts& parts,
                    std::string& message) {
  std::size_t begin = field.end;
  while (begin > 0 && is_digit(text[begin - 1])) --begin;
  std::size_t length = 0;
  while (length < 9 && begin + length < text.size() && is_digit(text[begin + length])) ++length;
  if (length != 6 && length != 8) {
    message = "Invalid value for date format " + std::to_string(code);
    return false;
  }
  auto digits = [&](std::size_t from, std::size_t count) {
    double value = 0;
    for (std::size_t i = 0; i < count; ++i) value = value * 10 + (text[begin + from + i] - '0');
    return value;
  };
  std::size_t year_digits = length - 4;
  if (code == 6) {
    parts.day = digits(0, 2);
    parts.month = digits(2, 2);
    parts.year = digits(4, year_digits);
  } else {
    parts.year = digits(0, year_digits);
    parts.month = digits(year_digits, 2);
    parts.day = digits(year_digits + 2, 2);
  }
  DateScanner scan(text, begin + length);
  scan.read_time_of_day(parts);
  return true;
}

bool check_range(double value, double low, double high, const char* name, std::string& message) {
  if (value >= low && value <= high) return true;
  message = std::string("Invalid ") + name + " (" + format_g(value, 10) + ")";
  return false;
}

// Two-digit years, the range of every part, then the local-time conversion.
double seconds_of(DateParts parts, std::string& message) {
  if (parts.year < 69)
    parts.year += 2000;
  else if (parts.year < 100)
    parts.year += 1900;
  if (!check_range(parts.month, 1, 12, "month", message) ||
      !check_range(parts.day, 1, 31, "day", message) ||
      !check_range(parts.hour, 0, 23, "hour", message) ||
      !check_range(parts.minute, 0, 59, "minute", message) ||
      !check_range(parts.second, 0, 59, "second", message))
    return ERROR_VALUE;
  auto year_error = [&] {
    message = "Illegal year (" + format_g(parts.year, 10) + "), must be > 1969 and < 2038";
    return ERROR_VALUE;
  };
  // years far outside 1970 .. 2038 never reach the library, whose fields are ints
  if (!(parts.year >= 1800 && parts.year <= 2200)) return year_error();
  std::time_t seconds =
      local_to_seconds(static_cast<int>(parts.year), static_cast<int>(parts.month), static_cast<int>(parts.day),
                       static_cast<int>(parts.hour), static_cast<int>(parts.minute), static_cast<int>(parts.second));
  if (seconds < 0 || seconds > INT32_MAX) return year_error();
  return static_cast<double>(seconds);
}

}  // namespace

double read_date(std::string_view text, int start, int code, std::string& message) {
  FieldSpan field;
  if (!find_field(text, start, field)) {
    message = "Invalid column number for date:  " + std::to_string(start);
    return ERROR_VALUE;
  }
  DateParts parts;
  bool ok = false;
  if (code <= 3)
    ok = read_named_month(text, field, start, code, parts, message);
  else if (code <= 5)
    ok = read_slashed(text, field, code, parts, message);
  else
    ok = read_digit_run(text, field, code, parts, message);
  return ok ? seconds_of(parts, message) : ERROR_VALUE;
}

}  // namespace zentrik
