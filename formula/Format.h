// How values become text and back: numbers at a precision, time/date values as
// calendar text (local time), intervals with a unit such as "5 mins", and the
// reading of axis-dialog fields as numbers, intervals or dates. Used by scale-mark
// labels, the statistics box, messages, the axis dialogs and output files.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace zentrik {

// The largest value that can be shown as a date (2^31 - 1 seconds).
inline constexpr double kLastDate = 2147483647.0;

// Interval units in seconds.
inline constexpr double kSecondsPerMinute = 60;
inline constexpr double kSecondsPerHour = 3600;
inline constexpr double kSecondsPerDay = 86400;
inline constexpr double kSecondsPerMonth = 2592000;  // 30 days
inline constexpr double kSecondsPerYear = 31536000;  // 365 days

// The date formats the X axis page offers, in the order shown.
inline constexpr std::array<std::string_view, 14> kDateFormatSamples = {
    "%#d-%b-%y %#H:%M:%S", "%B %d, %Y %#I:%M:%S %p", "%a %b %d %H:%M:%S %Y",
    "%m/%#d/%y %#H:%M:%S", "%#d/%m/%y %#I:%M:%S %p", "%x %X %z",
    "%c",                  "%a, %b %d, %Y",          "%A, %#I:%M %p",
    "%m/%y",               "%b %#d '%y",             "%a, %X",
    "%Y, Week %U",         "%#c"};

// A label: as a date through formatDateLabel, else the number with `precision`
// significant digits ("%G", exponent without "+" or leading zeros: 1.5E10, 2E-5).
std::string formatValue(double value, int precision, bool as_date, double axis_from,
                        double axis_to, std::string_view date_format);

// A date label in date_format, or (when it is empty) a form chosen by the axis span.
std::string formatDateLabel(double value, double axis_from, double axis_to,
                            std::string_view date_format);

// A date for a dialog field, written so that readField reads it back in date mode.
std::string formatDate(double value);

// The value of a strftime format (with the "#" flag: "%#d" drops leading zeros,
// "%#c" is the long date and time) at the local time of seconds, at most 80 characters.
std::string formatTime(double seconds, std::string_view format);

// An interval with the largest unit that divides it: "1 sec", "121 mins", "3 days".
std::string formatInterval(double seconds);

// Seconds of an interval text such as "2 min", "1.5h", "10"; a negative number with
// message set when the text has no number or an unknown unit.
double parseInterval(std::string_view text, std::string& message);

enum class FieldMode { Plain, Interval, Date };

// The number in a dialog field: an empty field reads 0; a date is month/day/year
// with an optional time. message is set (and the value not usable) on failure.
double readField(std::string_view text, FieldMode mode, std::string& message);

}  // namespace zentrik
