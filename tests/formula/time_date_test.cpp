#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <random>
#include <vector>

#include "TimeZone.h"
#include "formula/EvalHelpers.h"
#include "formula/LocalTime.h"

namespace zentrik {
namespace {

using testing::eval;

// The test programs run with TZ=UTC.
constexpr double kJan15 = 979516800;  // 2001-01-15 00:00:00 UTC
constexpr double kHour = 3600, kMinute = 60;

struct DateCase {
  const char* formula;
  const char* line;
  double value;
};

TEST(TimeDate, EveryLayoutReadsTheSameDay) {
  const DateCase cases[] = {
      {"TD(1, 1)", "15 Jan 2001", kJan15},
      {"TD(1, 1)", "15-JANUARY-2001", kJan15},
      {"TD(1, 2)", "Jan 15 2001", kJan15},
      {"TD(1, 2)", "jan-15-01", kJan15},  // the day is read again behind the month name
      {"TD(1, 3)", "Mon Jan 15 2001", kJan15},
      {"TD(1, 4)", "01/15/01", kJan15},
      {"TD(1, 5)", "15-01-2001", kJan15},
      {"TD(1, 7)", "010115", kJan15},
      {"TD(1, 7)", "20010115", kJan15},
      {"TD(1, 6)", "150101", kJan15},
      {"TD(1, 6)", "15012001", kJan15},
      {"TD(2, 4)", "7 01/15/01", kJan15},
      {"TD ( 1 , 4)", "01/15/01", kJan15},
      {"TD(1+1, 4)", "7 01/15/01", kJan15},
      {"TD(1, 4)", "02/31/2001", 983577600},  // carried into March
      {"TD(1, 4)", "01/15/99", 916358400},    // 99 is 1999
  };
  for (const DateCase& c : cases) {
    auto r = eval(c.formula, c.line);
    EXPECT_EQ(r.value, c.value) << c.formula << " on " << c.line << ": " << r.message;
  }
}

TEST(TimeDate, TimeOfDayWithSecondsAmPmAndZoneNames) {
  const DateCase cases[] = {
      {"TD(1, 1)", "15 Jan 2001 10:30:00", kJan15 + 10 * kHour + 30 * kMinute},
      {"TD(1, 2)", "Jan 15, 2001 10:30 PM", kJan15 + 22 * kHour + 30 * kMinute},
      {"TD(1, 3)", "Mon Jan 15 10:30:05 EST 2001", kJan15 + 10 * kHour + 30 * kMinute + 5},
      {"TD(1, 4)", "01/15/01 10:30 PM", kJan15 + 22 * kHour + 30 * kMinute},
      {"TD(1, 4)", "01/15/01 10:30 pm", kJan15 + 22 * kHour + 30 * kMinute},
      {"TD(1, 4)", "01/15/01 12:15 AM", kJan15 + 15 * kMinute},
      {"TD(1, 4)", "01/15/01 12:15 PM", kJan15 + 12 * kHour + 15 * kMinute},
      {"TD(1, 4)", "01/15/01 13:00 PM", kJan15 + 13 * kHour},
      {"TD(1, 4)", "01/15/01 10:30 PMX", kJan15 + 10 * kHour + 30 * kMinute},  // a word, not PM
      {"TD(1, 7)", "20010115 13:00", kJan15 + 13 * kHour},
      {"TD(1, 4)", "01/15/01 10:75", kJan15},  // minute out of range: no time taken
      {"TD(1, 4)", "01/15/01 25:00", kJan15},
      {"TD(1, 4)", "01/15/01 10", kJan15},
  };
  for (const DateCase& c : cases) {
    auto r = eval(c.formula, c.line);
    EXPECT_EQ(r.value, c.value) << c.formula << " on " << c.line << ": " << r.message;
  }
}

TEST(TimeDate, FirstLineAndQuotedConstants) {
  testing::Line line{"02/20/01", "01/15/01"};
  EXPECT_EQ(eval("TDF(1, 4)", line).value, kJan15);
  EXPECT_EQ(eval("TD F (1, 4)", line).value, kJan15);
  EXPECT_EQ(eval("TD('01/15/2001', 4)", "").value, kJan15);
  EXPECT_EQ(eval("TD(\"15 Jan 2001\", 1)", "").value, kJan15);
  EXPECT_EQ(eval("TD(1, 4) > TD('01/15/2001', 4)", "02/20/01").value, 1);
  EXPECT_EQ(eval("TD(1, 4) > TD('01/15/2001', 4)", "01/10/01").value, 0);
}

TEST(TimeDate, ErrorsAndRanges) {
  struct Case {
    const char* formula;
    const char* line;
    const char* message;
  } cases[] = {
      {"TD(1, 4)", "13/15/01", "Invalid month (13)"},
      {"TD(1, 5)", "32/01/01", "Invalid day (32)"},
      {"TD(1, 4)", "01/15/01 24:00", "Invalid hour (24)"},
      {"TD(1, 4)", "01/15/01 10:30:75", "Invalid second (75)"},
      {"TD(1, 7)", "20011315", "Invalid month (13)"},
      {"TD(1, 4)", "01.15.01", "Invalid date, missing field separator (/ or -)"},
      {"TD(1, 4)", "01/x", "Invalid date, missing field"},
      {"TD(1, 4)", "01/15", "Invalid date, missing field separator (/ or -)"},
      {"TD(1, 7)", "2001011", "Invalid value for date format 7"},
      {"TD(1, 6)", "1501011234", "Invalid value for date format 6"},
      {"TD(1, 4)", "01/15/1960", "Illegal year (1960), must be > 1969 and < 2038"},
      {"TD(1, 4)", "01/15/68", "Illegal year (2068), must be > 1969 and < 2038"},
      {"TD(1, 4)", "01/15/69", "Illegal year (1969), must be > 1969 and < 2038"},
      {"TD(1, 4)", "02/01/2038", "Illegal year (2038), must be > 1969 and < 2038"},
      {"TD(1, 8)", "", "Illegal time/date code"},
      {"TD(1, 0)", "", "Illegal time/date code"},
      {"TD(1, X)", "", "Illegal time/date code"},
      {"TD(0, 4)", "", "Illegal time/date parameter 1"},
      {"TD(C9, 4)", "1", "Invalid column number:  9"},
      {"TD 1, 4", "", "Usage:  TD(start_field, format)"},
      {"TD(1 4)", "", "Usage:  TD(start_field, format)"},
      {"TD('01/15/01' 4)", "", "Usage:  TD(start_field, format)"},
      {"TD('01/15/01, 4)", "", "Missing closing quote in TD() constant"},
      {"TD(1, 4 )", "01/15/01", "Missing closing paren on TD"},
      {"TD(4, 4)", "01/15/01", "Invalid column number for date:  4"},
      {"TD(1, 1)", "15 2001", "Erroneous date starting with field 1"},
      {"TD(1, 1)", "15 Foo 2001", "Erroneous date starting with field 1"},
      {"TD(1, 1)", "15 Jan", "Erroneous date starting with field 1"},
      {"TD(1, 1)", "15 Jan x2001", "Erroneous date starting with field 1"},
      {"TD(1, 2)", "15 2001", "Erroneous date starting with field 1"},
      {"TD(2, 2)", "7 Jan 15 x", "Erroneous date starting with field 2"},
      {"TD(1, 2)", "1 Jan 15 2001", "Erroneous date starting with field 1"},
  };
  for (const auto& c : cases) {
    auto r = eval(c.formula, c.line);
    EXPECT_EQ(r.value, ERROR_VALUE) << c.formula << " on " << c.line;
    EXPECT_EQ(r.message, c.message) << c.formula << " on " << c.line;
  }
}

// Absurd fields end in the range messages without overflowing the library's ints.
TEST(TimeDate, AbsurdFieldsAreRangeErrors) {
  struct Case {
    const char* formula;
    const char* line;
    const char* message;
  } cases[] = {
      {"TD(1, 4)", "01/15/9999999999", "Illegal year (9999999999), must be > 1969 and < 2038"},
      {"TD(1, 4)", "01/15/1e300", "Illegal year (1e+300), must be > 1969 and < 2038"},
      {"TD(1, 4)", "2147483648/15/01", "Invalid month (2147483648)"},
      {"TD(1, 4)", "01/2147483648/01", "Invalid day (2147483648)"},
      {"TD(1, 4)", "01/15/-2147483649", "Invalid date, missing field"},
      {"TD(2147483648, 4)", "", "Illegal time/date parameter 1"},
      {"TD(1, 2147483648)", "", "Illegal time/date code"},
  };
  for (const auto& c : cases) {
    auto r = eval(c.formula, c.line);
    EXPECT_EQ(r.message, c.message) << c.formula << " on " << c.line;
  }
  EXPECT_EQ(eval("TD(1, 4)", "01/15/01 2147483648:00").value, kJan15);
}

TEST(TimeDate, LocalTimeWithDaylightSaving) {
  testing::ScopedTimeZone zone("America/New_York");
  EXPECT_EQ(eval("TD(1, 4)", "01/15/2001 12:00").value, 979578000);  // EST: 17:00 UTC
  EXPECT_EQ(eval("TD(1, 4)", "07/04/2001 12:00").value, 994262400);  // EDT: 16:00 UTC
  // 12/31/69 23:00 in New York is already 1970 in UTC
  EXPECT_EQ(eval("TD(1, 4)", "12/31/69 23:00").value, 14400);
}

struct LocalFields {
  int year, month, day, hour, minute, second;
};

std::time_t library_seconds(const LocalFields& f) {
  std::tm fields{};
  fields.tm_year = f.year - 1900;
  fields.tm_mon = f.month - 1;
  fields.tm_mday = f.day;
  fields.tm_hour = f.hour;
  fields.tm_min = f.minute;
  fields.tm_sec = f.second;
  fields.tm_isdst = -1;
  return std::mktime(&fields);
}

// Every quarter hour of a year, each day by its own date.
void add_quarter_hours(int year, std::vector<LocalFields>& times) {
  const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
  const int days[] = {31, leap ? 29 : 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  for (int month = 1; month <= 12; ++month)
    for (int day = 1; day <= days[month - 1]; ++day)
      for (int minutes = 0; minutes < 24 * 60; minutes += 15)
        times.push_back({year, month, day, minutes / 60, minutes % 60, 7});
}

// The library places a repeated time by the offset of its previous answer: both runs
// start from the same answer, then convert the same times in the same order.
void expect_as_library(const std::vector<LocalFields>& times, const char* order) {
  std::vector<std::time_t> ours, library;
  library_seconds(times.front());
  for (const LocalFields& f : times)
    ours.push_back(local_to_seconds(f.year, f.month, f.day, f.hour, f.minute, f.second));
  library_seconds(times.front());
  for (const LocalFields& f : times) library.push_back(library_seconds(f));
  for (std::size_t i = 0; i < times.size(); ++i) {
    const LocalFields& f = times[i];
    ASSERT_EQ(ours[i], library[i]) << order << " " << std::getenv("TZ") << ": " << f.year << "-" << f.month << "-"
                                   << f.day << " " << f.hour << ":" << f.minute << ":" << f.second;
  }
}

TEST(LocalTime, AgreesWithTheLibraryAcrossDaylightSavingChanges) {
  for (const char* zone : {"Europe/Berlin", "America/New_York", "Australia/Lord_Howe", "UTC"}) {
    testing::ScopedTimeZone scoped(zone);
    std::vector<LocalFields> times;
    for (int year : {1971, 2001, 2037}) add_quarter_hours(year, times);
    expect_as_library(times, "forward");
    std::reverse(times.begin(), times.end());
    expect_as_library(times, "backward");
    // jumping about: each time far from the one before, days carried past the month's end
    std::mt19937 random(20010115);
    std::shuffle(times.begin(), times.end(), random);
    times.resize(20000);
    for (std::size_t i = 0; i < times.size(); i += 97) times[i].day += 28;
    expect_as_library(times, "shuffled");
  }
}

// Every order of four times, one far from the changes in winter and in summer, one
// skipped and one repeated, zone after zone: the library places repeated times by the
// offset of its previous answer, and a zone's stretch says nothing about another's.
TEST(LocalTime, AnyOrderAndZoneAgreesWithTheLibrary) {
  struct ZoneTimes {
    const char* zone;
    LocalFields skipped, repeated;
  } zones[] = {
      {"Europe/Berlin", {2001, 3, 25, 2, 30, 0}, {2001, 10, 28, 2, 30, 0}},
      {"America/New_York", {2037, 3, 8, 2, 15, 0}, {2037, 11, 1, 1, 45, 0}},
      {"Australia/Lord_Howe", {2001, 10, 28, 2, 10, 0}, {2001, 3, 25, 1, 40, 0}},
      {"UTC", {2001, 3, 25, 2, 30, 0}, {2001, 10, 28, 2, 30, 0}},
  };
  for (const ZoneTimes& z : zones) {
    testing::ScopedTimeZone scoped(z.zone);
    const LocalFields four[] = {{2001, 1, 15, 12, 0, 0}, {2001, 7, 15, 12, 0, 0}, z.skipped, z.repeated};
    std::vector<LocalFields> times;
    for (int order = 0; order < 256; ++order)
      for (int place = 0; place < 4; ++place) times.push_back(four[order >> (2 * place) & 3]);
    times.push_back(four[0]);  // what the next zone begins with
    expect_as_library(times, "in turn");
  }
}

// TD places skipped and repeated local times where the library does.
TEST(LocalTime, TdReadsChangesOfOffsetAsTheLibrary) {
  struct Case {
    const char* zone;
    const char* line;
    LocalFields fields;
  } cases[] = {
      {"Europe/Berlin", "03/25/2001 02:30", {2001, 3, 25, 2, 30, 0}},     // skipped
      {"Europe/Berlin", "10/28/2001 02:30", {2001, 10, 28, 2, 30, 0}},    // repeated
      {"Europe/Berlin", "10/28/2001 03:00", {2001, 10, 28, 3, 0, 0}},
      {"America/New_York", "03/08/2037 02:15", {2037, 3, 8, 2, 15, 0}},  // skipped
      {"America/New_York", "11/01/2037 01:45", {2037, 11, 1, 1, 45, 0}},  // repeated
      {"Australia/Lord_Howe", "10/28/2001 02:10", {2001, 10, 28, 2, 10, 0}},  // half an hour skipped
      {"Australia/Lord_Howe", "03/25/2001 01:40", {2001, 3, 25, 1, 40, 0}},  // half an hour repeated
  };
  for (const auto& c : cases) {
    testing::ScopedTimeZone scoped(c.zone);
    for (LocalFields before : {LocalFields{2001, 1, 15, 12, 0, 0}, LocalFields{2001, 7, 15, 12, 0, 0}}) {
      library_seconds(before);
      const double read = eval("TD(1, 4)", c.line).value;
      library_seconds(before);
      EXPECT_EQ(read, static_cast<double>(library_seconds(c.fields))) << c.zone << " " << c.line;
    }
  }
}

}  // namespace
}  // namespace zentrik
