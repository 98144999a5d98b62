#include "formula/Format.h"

#include <langinfo.h>

#include <cmath>
#include <ctime>
#include <cwchar>
#include <string>
#include <vector>

#include "data/fields/Chars.h"
#include "data/fields/NumberText.h"
#include "formula/EvalContext.h"
#include "formula/Evaluator.h"

namespace zentrik {
namespace {

constexpr std::size_t kMaxDateText = 80;

bool displayable_as_date(double value) { return value >= 0 && value <= kLastDate; }

// Whether the locale names the half of the day of the hour; German, for one, does not.
bool has_am_pm(const std::tm& local) {
  const char* marker = nl_langinfo(local.tm_hour < 12 ? AM_STR : PM_STR);
  return marker && *marker;
}

// The "#" flag in glibc's strftime changes case; here it keeps its customary
// meaning: no leading zeros on numbers, the long form of %c and %x, else nothing.
// Where the locale has no AM / PM, "%p" (and "%r", which holds it) writes AM / PM.
std::string resolved_format(std::string_view format, const std::tm& local) {
  static constexpr std::string_view kNumeric = "dHIjmMSUwWyY";
  std::string out;
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%' || i + 1 >= format.size()) {
      out += format[i];
      continue;
    }
    const bool hash = format[i + 1] == '#' && i + 2 < format.size();
    const char conversion = format[i + (hash ? 2 : 1)];
    i += hash ? 2 : 1;
    if (hash && kNumeric.find(conversion) != std::string_view::npos)
      out.append("%-").append(1, conversion);
    else if (hash && conversion == 'c')
      out.append("%A, %B %-d, %Y, %H:%M:%S");
    else if (hash && conversion == 'x')
      out.append("%A, %B %-d, %Y");
    else if ((conversion == 'p' || conversion == 'P' || conversion == 'r') && !has_am_pm(local))
      out.append(conversion == 'r' ? "%I:%M:%S " : "")
          .append(local.tm_hour < 12 ? (conversion == 'P' ? "am" : "AM") : (conversion == 'P' ? "pm" : "PM"));
    else
      out.append("%").append(1, conversion);
  }
  return out;
}

// A format's bytes as characters: UTF-8 where they are, else each byte as the
// Latin-1 character (formats from older files).
std::wstring as_characters(std::string_view text) {
  std::wstring out;
  for (std::size_t i = 0; i < text.size();) {
    const auto byte = static_cast<unsigned char>(text[i]);
    const std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
    char32_t code = length == 1 ? byte : byte & (0x7F >> length);
    bool valid = byte < 0x80 || (byte >= 0xC2 && byte <= 0xF4 && i + length <= text.size());
    for (std::size_t k = 1; valid && k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      valid = (next & 0xC0) == 0x80;
      code = code << 6 | (next & 0x3F);
    }
    valid = valid && (length != 3 || code >= 0x800) && (length != 4 || (code >= 0x10000 && code <= 0x10FFFF)) &&
            !(code >= 0xD800 && code <= 0xDFFF);
    out += static_cast<wchar_t>(valid ? code : byte);
    i += valid ? length : 1;
  }
  return out;
}

std::string as_utf8(std::wstring_view text) {
  std::string out;
  out.reserve(text.size());
  for (wchar_t character : text) {
    const auto code = static_cast<char32_t>(character);
    if (code < 0x80) {
      out += static_cast<char>(code);
    } else if (code < 0x800) {
      out += static_cast<char>(0xC0 | code >> 6);
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      out += static_cast<char>(0xE0 | code >> 12);
      out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | code >> 18);
      out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
      out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    }
  }
  return out;
}

}  // namespace

std::string formatTime(double seconds, std::string_view format) {
  std::time_t t = static_cast<std::time_t>(seconds);
  std::tm local{};
  if (!localtime_r(&t, &local)) return "";
  const std::wstring resolved = as_characters(resolved_format(format, local));
  if (resolved.empty()) return "";
  // The wide form takes the names of LC_TIME as characters whatever its character
  // set; the text is UTF-8. wcsftime gives 0 both for an empty result and for one
  // that does not fit.
  wchar_t first_try[256];
  std::size_t n = std::wcsftime(first_try, std::size(first_try), resolved.c_str(), &local);
  if (n > 0) return as_utf8(std::wstring_view(first_try, std::min(n, kMaxDateText)));
  for (std::size_t size = 1024; size <= 65536; size *= 4) {
    std::vector<wchar_t> buffer(size);
    n = std::wcsftime(buffer.data(), size, resolved.c_str(), &local);
    if (n > 0) return as_utf8(std::wstring_view(buffer.data(), std::min(n, kMaxDateText)));
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
