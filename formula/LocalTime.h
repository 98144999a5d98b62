// A local calendar time turned into seconds since 1970 exactly as the C library's
// mktime turns it, without asking the library every time: with TZ unset the library
// looks at the zone file on every mktime. read_date (TD in formulas) uses it.
#pragma once

#include <ctime>

namespace zentrik {

// What std::mktime gives for these fields (month 1 .. 12; days past the end of the
// month carry into the next) with the daylight-saving state left to the library:
// times that a change of offset skips or repeats are the library's to place.
std::time_t local_to_seconds(int year, int month, int day, int hour, int minute, int second);

}  // namespace zentrik
