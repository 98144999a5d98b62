// Dates and times of day read out of a line of text in one of seven layouts and
// turned into seconds since 1970 (the text taken as local time). The evaluator
// calls it for TD() and TDF(); the axis dialogs reach it through readField.
#pragma once

#include <string>
#include <string_view>

namespace zentrik {

// The layouts, by code:
//   1 day, month name, year, time   15 Jan 2001 10:30:00
//   2 month name, day, year, time   Jan 15, 2001 10:30 PM
//   3 month name, day, time, year   Mon Jan 15 10:30:00 EST 2001
//   4 month/day/year, time          01/15/2001 10:30
//   5 day/month/year, time          15-01-01
//   6 DDMMYY or DDMMYYYY, time      150101
//   7 YYMMDD or YYYYMMDD, time      20010115 13:00
inline constexpr int kDateCodes = 7;

// Reads the date that begins at field `start` (1 .. 32767) of text in layout `code`
// (1 .. kDateCodes). Returns the seconds, or ERROR_VALUE with message set.
double read_date(std::string_view text, int start, int code, std::string& message);

}  // namespace zentrik
