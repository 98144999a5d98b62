#include "formula/Format.h"

#include <cmath>
#include <ctime>
#include <vector>

#include "data/fields/Chars.h"
#include "data/fields/NumberText.h"
#include "formula/EvalContext.h"
#include "formula/Evaluator.h"

namespace zentrik {
namespace {

constexpr std::size_t kMaxDateText = 80;

std::size_t skip_blanks(std::string_view text, std::size_t pos) {
  while (pos < text.size() && is_blank(text[pos])) ++pos;
  return pos;
}

bool displayable_as_date(double value) { return value >= 0 && value <= kLastDate; }

// The "#" flag in glibc's strftime changes case; here it keeps its customary
// meaning: no leading zeros on numbers, the long form of %c and %x, else nothing.
std::string with_hash_flag_resolved(std::string_view format) {
  static constexpr std::string_view kNumeric = "dHIjmMSUwWyY";
  std::string out;
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%' || i + 1 >= format.size()) {
      out += format[i];
      continue;
    }
    if (format[i + 1] != '#' || i + 2 >= format.size()) {
      out.append(format.substr(i, 2));
      ++i;
      continue;
    }
    char conversion = format[i + 2];
    if (kNumeric.find(conversion) != std::string_view::npos)
      out.append("%-").append(1, conversion);
    else if (conversion == 'c')
      out.append("%A, %B %-d, %Y, %H:%M:%S");
    else if (conversion == 'x')
      out.append("%A, %B %-d, %Y");
    else
      out.append("%").append(1, conversion);
    i += 2;
  }
  return out;
}

}  // namespace

std::string formatTime(double seconds, std::string_view format) {
  std::time_t t = static_cast<std::time_t>(seconds);
  std::tm local{};
  if (!localtime_r(&t, &local)) return "";
  std::string resolved = with_hash_flag_resolved(format);
  if (resolved.empty()) return "";
  // strftime gives 0 both for an empty result and for one that does not fit
  for (std::size_t size = 256; size <= 65536; size *= 4) {
    std::vector<char> buffer(size);
    std::size_t n = std::strftime(buffer.data(), size, resolved.c_str(), &local);
    if (n > 0) return std::string(buffer.data(), std::min(n, kMaxDateText));
  }
  return "";
}

std::string formatValue(double value, int precision, bool as_date, double axis_from,
                        double axis_to, std::string_view date_format) {
  if (as_date) return formatDateLabel(value, axis_from, axis_to, date_format);
  std::string text = format_g(value, precision, true);
  std::size_t e = text.find('E');
  if (e == std::string::npos) return text;
  std::size_t digits = e + 1;
  if (digits < text.size() && text[digits] == '+')
    text.erase(digits, 1);
  else if (digits < text.size() && text[digits] == '-')
    ++digits;
  std::size_t zeros = 0;
  while (digits + zeros + 1 < text.size() && text[digits + zeros] == '0') ++zeros;
  text.erase(digits, zeros);
  return text;
}

std::string formatDateLabel(double value, double axis_from, double axis_to,
                            std::string_view date_format) {
  if (!displayable_as_date(value)) return "Invalid date";
  if (!date_format.empty()) return formatTime(value, date_format);
  std::string format = "%#d-%b-%y %#H:%M";
  if (0 < axis_from && axis_from < axis_to && axis_from < value && value < axis_to) {
    double span = axis_to - axis_from;
    format = span > 2 * kSecondsPerDay ? "%#d/%#m/%y" : "%H:%M";
    if (span < 360) format += ":%S";
  }
  return formatTime(value, format);
}

std::string formatDate(double value) {
  if (!displayable_as_date(value)) return "Invalid date";
  // month/day/year, the layout that date fields read back
  return formatTime(value, "%m/%d/%Y %H:%M:%S");
}

std::string formatInterval(double seconds) {
  if (!(seconds >= 0 && seconds <= kLastDate)) return "Too large";
  struct Unit {
    double seconds;
    const char* name;
  };
  static constexpr Unit kUnits[] = {
      {1, "sec"}, {kSecondsPerMinute, "min"}, {kSecondsPerHour, "hour"}, {kSecondsPerDay, "day"},
      {kSecondsPerYear, "yr"}};
  std::size_t unit = 0;
  while (unit + 1 < std::size(kUnits) && std::fmod(seconds, kUnits[unit + 1].seconds) == 0) ++unit;
  long count = static_cast<long>(seconds / kUnits[unit].seconds);
  return std::to_string(count) + " " + kUnits[unit].name + (count == 1 ? "" : "s");
}

double parseInterval(std::string_view text, std::string& message) {
  message.clear();
  std::size_t pos = skip_blanks(text, 0);
  if (!number_starts_at(text, pos)) {
    message = "Must contain numeric value";
    return -1;
  }
  double number = 0;
  std::size_t end = read_number(text, pos, number);
  if (end - pos > 1 && text[end - 1] == '.') --end;  // a point belongs to the number only between digits
  pos = skip_blanks(text, end);
  if (pos >= text.size()) return number;
  char unit = to_upper(text[pos]);
  bool months = unit == 'M' && pos + 1 < text.size() && to_upper(text[pos + 1]) == 'O';
  switch (unit) {
    case 'D':
      return number * kSecondsPerDay;
    case 'H':
      return number * kSecondsPerHour;
    case 'M':
      return number * (months ? kSecondsPerMonth : kSecondsPerMinute);
    case 'S':
      return number;
    case 'Y':
      return number * kSecondsPerYear;
    default:
      message = "Illegal units";
      return -number;
  }
}

double readField(std::string_view text, FieldMode mode, std::string& message) {
  message.clear();
  if (text.empty()) return 0;
  switch (mode) {
    case FieldMode::Interval:
      return parseInterval(text, message);
    case FieldMode::Date: {
      EvalContext context;
      context.set_line(text);
      context.line_number = 1;
      context.sequence_number = 1;
      context.set_first_line(text);
      static constexpr std::string_view kDateFormula = "TD(1, 4)";
      std::size_t pos = 0;
      return evaluate(kDateFormula, pos, context, message, nullptr);
    }
    default: {
      std::size_t pos = skip_blanks(text, 0);
      double value = 0;
      if (number_starts_at(text, pos)) read_number(text, pos, value);
      return value;
    }
  }
}

}  // namespace zentrik
