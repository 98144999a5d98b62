#include <gtest/gtest.h>

#include <clocale>
#include <ctime>
#include <string>

#include "TimeZone.h"
#include "formula/Format.h"
#include "formula/TimeLocale.h"
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

// What the C library's strftime writes for the local time of seconds.
std::string library_text(double seconds, const char* format) {
  const std::time_t t = static_cast<std::time_t>(seconds);
  std::tm local{};
  localtime_r(&t, &local);
  char buffer[256];
  return std::string(buffer, std::strftime(buffer, sizeof buffer, format, &local));
}

constexpr double kMarch15_1830 = kJan15_1030 + 59 * kDay + 8 * 3600;  // a Thursday, "Mär" in German

TEST(FormatTime, WritesWhatTheLibraryWritesInTheLocaleOfLcTime) {
  const char* formats[] = {"%a %A %b %B %d %e %m %y %Y", "%c", "%x %X %z %Z", "%H:%M:%S %I %j %U %W %w",
                           "%a, %X", "%D %T %R %F", "100%% %n%t%h"};
  const double times[] = {kJan15_1030, kMarch15_1830, 0, kLastDate};
  for (double v : times)
    for (const char* format : formats) EXPECT_EQ(formatTime(v, format), library_text(v, format)) << format;
  EXPECT_EQ(formatTime(kMarch15_1830, "%p %r"), library_text(kMarch15_1830, "%p %r"));
  testing::ScopedTimeLocale german("utf8");
  if (!german.ok()) GTEST_SKIP() << "localedef cannot build the test locale";
  for (double v : times)
    for (const char* format : formats) EXPECT_EQ(formatTime(v, format), library_text(v, format)) << format;
  EXPECT_EQ(formatTime(kMarch15_1830, "%a %#d. %B, %b"), "Do 15. März, Mär");
}

TEST(FormatTime, AmPmIsNeverEmpty) {
  const double morning = kJan15_1030 - 5 * 3600;
  EXPECT_EQ(formatTime(morning, "%p"), "AM");
  EXPECT_EQ(formatTime(kMarch15_1830, "%#I:%M %p"), "6:30 PM");
  testing::ScopedTimeLocale german("utf8");
  if (!german.ok()) GTEST_SKIP() << "localedef cannot build the test locale";
  ASSERT_EQ(library_text(morning, "%p"), "");  // the locale itself has none
  EXPECT_EQ(formatTime(morning, "%p"), "AM");
  EXPECT_EQ(formatTime(morning, "%#p"), "AM");
  EXPECT_EQ(formatTime(kMarch15_1830, "%P"), "pm");
  EXPECT_EQ(formatTime(kMarch15_1830, "%r"), "06:30:00 PM");
  EXPECT_EQ(formatTime(kMarch15_1830, "%A, %#I:%M %p"), "Donnerstag, 6:30 PM");
  for (std::string_view sample : kDateFormatSamples) {
    if (sample.find("%p") == std::string_view::npos) continue;
    const std::string text = formatTime(kMarch15_1830, sample);
    EXPECT_TRUE(text.ends_with(" PM")) << sample << ": " << text;
  }
}

// Every face of the program takes LC_TIME from the user's settings; whatever else
// differs (the character set of LC_TIME, LC_CTYPE, LC_NUMERIC) the texts are the same,
// in UTF-8, and dialog fields keep the form they read back.
TEST(FormatTime, TextsDependOnLcTimeAloneAndAreUtf8) {
  const char* format = "%a %#d. %B %Y %b %p";
  std::string utf8, latin1, other_categories;
  {
    testing::ScopedTimeLocale german("utf8");
    if (!german.ok()) GTEST_SKIP() << "localedef cannot build the test locale";
    utf8 = formatTime(kMarch15_1830, format);
    const std::string ctype = std::setlocale(LC_CTYPE, nullptr), numeric = std::setlocale(LC_NUMERIC, nullptr);
    std::setlocale(LC_CTYPE, "C.UTF-8");
    std::setlocale(LC_NUMERIC, "C.UTF-8");
    other_categories = formatTime(kMarch15_1830, format);
    std::setlocale(LC_CTYPE, ctype.c_str());
    std::setlocale(LC_NUMERIC, numeric.c_str());
    EXPECT_EQ(formatDate(kJan15_1030), "01/15/2001 10:30:00");
    std::string many;
    for (int i = 0; i < 30; ++i) many += "%B";
    std::string twenty;
    for (int i = 0; i < 20; ++i) twenty += "März";
    EXPECT_EQ(formatTime(kMarch15_1830, many), twenty);  // 80 characters, not bytes
  }
  {
    testing::ScopedTimeLocale german("iso88591");
    ASSERT_TRUE(german.ok());
    latin1 = formatTime(kMarch15_1830, format);
  }
  EXPECT_EQ(utf8, "Do 15. März 2001 Mär PM");
  EXPECT_EQ(latin1, utf8);
  EXPECT_EQ(other_categories, utf8);
  EXPECT_EQ(formatTime(kMarch15_1830, "%d\xB0 M\xC3\xA4rz"), "15\xC2\xB0 M\xC3\xA4rz");  // a Latin-1 byte beside UTF-8
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
