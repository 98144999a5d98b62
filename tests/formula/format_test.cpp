#include <gtest/gtest.h>

#include "TimeZone.h"
#include "formula/Format.h"
#include "formula/Values.h"

namespace zentrik {
namespace {

constexpr double kJan15_1030 = 979554600;  // 2001-01-15 10:30:00 UTC (tests run in UTC)
constexpr double kDay = 86400;

TEST(FormatValue, NumbersAtAPrecisionWithAShortExponent) {
  struct Case {
    double value;
    int precision;
    const char* text;
  } cases[] = {
      {1234.5678, 5, "1234.6"}, {0.00001234, 3, "1.23E-5"}, {1e20, 5, "1E20"},
      {100000, 5, "1E5"},       {1.5e10, 5, "1.5E10"},      {2e-5, 5, "2E-5"},
      {0, 5, "0"},              {-3.25, 5, "-3.25"},        {1e100, 3, "1E100"},
      {1e-300, 3, "1E-300"},    {99999, 5, "99999"},        {123456, 5, "1.2346E5"},
      {0.5, 0, "0.5"},          {-1e-7, 2, "-1E-7"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(formatValue(c.value, c.precision, false, 0, 0, ""), c.text) << c.value;
}

TEST(FormatDateLabel, ChoosesItsFormByTheAxisSpan) {
  const double v = kJan15_1030;
  EXPECT_EQ(formatDateLabel(v, v - 3600, v - 3600 + kDay, ""), "10:30");
  EXPECT_EQ(formatDateLabel(v, v - 60, v + 240, ""), "10:30:00");
  EXPECT_EQ(formatDateLabel(v, v - 10 * kDay, v + 20 * kDay, ""), "15/1/01");
  EXPECT_EQ(formatDateLabel(v, v, v + kDay, ""), "15-Jan-01 10:30");  // on the bound: outside
  EXPECT_EQ(formatDateLabel(v, 0, v + kDay, ""), "15-Jan-01 10:30");  // bound not positive
  EXPECT_EQ(formatDateLabel(v + 5, v - 60, v + 240, "%Y"), "2001");
  EXPECT_EQ(formatDateLabel(-1, 0, 0, ""), "Invalid date");
  EXPECT_EQ(formatDateLabel(2147483648.0, 0, 0, ""), "Invalid date");
  EXPECT_EQ(formatValue(v, 5, true, 0, 0, "%H"), "10");
}

TEST(FormatTime, TheHashFlagDropsLeadingZerosAndLengthensC) {
  const double v = kJan15_1030 - 5 * 3600;  // 05:30
  EXPECT_EQ(formatTime(v, "%#d-%b-%y %#H:%M:%S"), "15-Jan-01 5:30:00");
  EXPECT_EQ(formatTime(v, "%m/%#d/%y"), "01/15/01");
  EXPECT_EQ(formatTime(v, "%#m/%#I"), "1/5");
  EXPECT_EQ(formatTime(v, "%#c"), "Monday, January 15, 2001, 05:30:00");
  EXPECT_EQ(formatTime(v, "%#a %#%"), "Mon %");
  EXPECT_EQ(formatTime(v, "%Y, Week %U"), "2001, Week 02");
  EXPECT_EQ(formatTime(v, "100%"), "100%");
  std::string long_format;
  for (int i = 0; i < 30; ++i) long_format += "%Y";
  EXPECT_EQ(formatTime(v, long_format).size(), 80u);
  for (std::string_view sample : kDateFormatSamples) EXPECT_FALSE(formatTime(v, sample).empty()) << sample;
}

TEST(FormatDate, WritesWhatReadFieldReadsBack) {
  EXPECT_EQ(formatDate(kJan15_1030), "01/15/2001 10:30:00");
  EXPECT_EQ(formatDate(-5), "Invalid date");
  std::string message;
  EXPECT_EQ(readField(formatDate(kJan15_1030), FieldMode::Date, message), kJan15_1030);
  EXPECT_EQ(message, "");
  testing::ScopedTimeZone zone("America/New_York");
  EXPECT_EQ(readField(formatDate(994262400), FieldMode::Date, message), 994262400);
}

TEST(FormatInterval, PicksTheLargestUnitThatDivides) {
  struct Case {
    double seconds;
    const char* text;
  } cases[] = {
      {7200, "2 hours"}, {7260, "121 mins"},  {86400, "1 day"},       {90, "90 secs"},
      {31536000, "1 yr"}, {-1, "Too large"},  {1, "1 sec"},           {0, "0 yrs"},
      {120, "2 mins"},   {129600, "36 hours"}, {259200, "3 days"},    {2147483648.0, "Too large"},
      {63072000, "2 yrs"}, {90.5, "90 secs"},
  };
  for (const auto& c : cases) EXPECT_EQ(formatInterval(c.seconds), c.text) << c.seconds;
}

TEST(ParseInterval, ReadsANumberAndAUnitLetter) {
  struct Case {
    const char* text;
    double seconds;
    const char* message;
  } cases[] = {
      {"2 min", 120, ""},          {"2 months", 5184000, ""}, {"1.5h", 5400, ""},
      {"10", 10, ""},              {"  10  ", 10, ""},        {"3 dozen", 259200, ""},
      {"2 MO", 5184000, ""},       {"5 s", 5, ""},            {"1 y", 31536000, ""},
      {"1e1m", 600, ""},           {"5. min", -5, "Illegal units"},
      {"abc", -1, "Must contain numeric value"},
      {"", -1, "Must contain numeric value"},                 {"3 weeks", -3, "Illegal units"},
  };
  for (const auto& c : cases) {
    std::string message = "stale";
    EXPECT_EQ(parseInterval(c.text, message), c.seconds) << c.text;
    EXPECT_EQ(message, c.message) << c.text;
  }
}

TEST(ReadField, PlainIntervalAndDateModes) {
  std::string message;
  EXPECT_EQ(readField("12.5", FieldMode::Plain, message), 12.5);
  EXPECT_EQ(readField(" -3e2 x", FieldMode::Plain, message), -300);
  EXPECT_EQ(readField("abc", FieldMode::Plain, message), 0);
  EXPECT_EQ(readField("", FieldMode::Plain, message), 0);
  EXPECT_EQ(readField("2 min", FieldMode::Interval, message), 120);
  EXPECT_EQ(readField("", FieldMode::Interval, message), 0);
  EXPECT_EQ(readField("01/15/2001 10:30:00", FieldMode::Date, message), kJan15_1030);
  EXPECT_EQ(readField("", FieldMode::Date, message), 0);
  EXPECT_EQ(message, "");
  EXPECT_EQ(readField("13/01/2001", FieldMode::Date, message), ERROR_VALUE);
  EXPECT_EQ(message, "Invalid month (13)");
}

}  // namespace
}  // namespace zentrik
