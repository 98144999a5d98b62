#include <gtest/gtest.h>

#include "TimeZone.h"
#include "formula/EvalHelpers.h"

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

}  // namespace
}  // namespace zentrik
