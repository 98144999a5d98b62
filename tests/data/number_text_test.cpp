#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <optional>
#include <random>
#include <string>

#include "data/fields/NumberText.h"

namespace zentrik {
namespace {

double read(std::string_view text) {
  double value = 0;
  read_number(text, 0, value);
  return value;
}

TEST(NumberText, ConversionIsCorrectlyRounded) {
  EXPECT_EQ(read("0.1"), 0.1);
  EXPECT_EQ(read("2.2250738585072011e-308"), 2.2250738585072011e-308);
  EXPECT_EQ(read("4.9406564584124654e-324"), 4.9406564584124654e-324);
  // exactly halfway between 1 and the next double: ties to even
  EXPECT_EQ(read("1.00000000000000011102230246251565404236316680908203125"), 1.0);
  EXPECT_EQ(read("1.00000000000000011102230246251565404236316680908203126"),
            std::nextafter(1.0, 2.0));
  EXPECT_EQ(read("+17"), 17);
  EXPECT_EQ(read("-.25"), -0.25);
  EXPECT_EQ(read("5."), 5);
  EXPECT_EQ(read("1e0000000000000000000000002"), 100);
}

// Short numbers take a faster road than long ones; both must give the value that
// from_chars gives, which rounds correctly.
TEST(NumberText, ShortAndLongNumbersAgreeWithCorrectRounding) {
  const char* cases[] = {"12.513000", "0.1", "0.3", "9007199254740993", "9007199254740992",
                         "123456789012345678", "1.7976931348623157e308", "3.14159e-22",
                         "3.14159e-23", "8.5e22", "-0", "0.000123", "1e22", "1e23",
                         "4503599627370497.5", "99999999999999999999", "2.5e-3", "7e-10"};
  for (const char* text : cases) {
    std::string_view s = text;
    double expected = 0;
    std::from_chars(s.data() + (s[0] == '-'), s.data() + s.size(), expected);
    if (s[0] == '-') expected = -expected;
    double value = read(s);
    EXPECT_EQ(std::memcmp(&value, &expected, sizeof value), 0) << text;
  }
}

// Runs of digits of every length, ended by every kind of character (and by the end
// of the text), give the correctly rounded value and the right end.
TEST(NumberText, DigitRunsOfEveryLengthAndEnding) {
  std::mt19937_64 random(20261208);
  const char endings[] = {' ', ',', '.', 'e', ':', '/', '\x7f', '\xff', '\xfa', '\0', 'x'};
  for (int round = 0; round < 20000; ++round) {
    std::string number;
    if (random() % 3 == 0) number += "-+"[random() % 2];
    int integer_digits = static_cast<int>(random() % 21), fraction_digits = static_cast<int>(random() % 12);
    for (int i = 0; i < integer_digits; ++i) number += static_cast<char>('0' + random() % 10);
    if (fraction_digits > 0 || integer_digits == 0) {
      number += '.';
      for (int i = 0; i < std::max(fraction_digits, 1); ++i) number += static_cast<char>('0' + random() % 10);
    }
    std::string text = number;
    int tail = static_cast<int>(random() % 10);  // 0: the number ends the text
    for (int i = 0; i < tail; ++i) text += endings[random() % sizeof endings];
    if (tail > 0 && text[number.size()] == '.') text[number.size()] = ' ';  // a second point is no part
    if (tail > 0 && text[number.size()] == 'e') text[number.size()] = 'x';
    std::string_view digits = number;
    if (digits[0] == '+') digits.remove_prefix(1);
    double expected = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), expected);
    double value = 0;
    std::size_t end = read_number(text, 0, value);
    ASSERT_EQ(end, number.size()) << text;
    ASSERT_EQ(std::memcmp(&value, &expected, sizeof value), 0) << text;
  }
}

TEST(NumberText, OutOfRangeMagnitudes) {
  EXPECT_EQ(read("1e400"), HUGE_VAL);
  EXPECT_EQ(read("-1e400"), -HUGE_VAL);
  EXPECT_EQ(read("123456789e305"), HUGE_VAL);
  EXPECT_EQ(read("1e-400"), 0.0);
  EXPECT_TRUE(std::signbit(read("-1e-400")));
  EXPECT_EQ(read("0.000001e-320"), 0.0);
  EXPECT_EQ(read("1e99999999999999999999"), HUGE_VAL);
}

TEST(NumberText, LeadingWholeNumbersReadAsAtoiReadsThem) {
  struct Case {
    const char* text;
    std::optional<int64_t> value;
  } cases[] = {
      {"42", 42},
      {" \t\r\n\v\f-17 apples", -17},        // every blank before the number
      {"+8x", 8},
      {"0.75", 0},                             // the whole part only
      {"007", 7},
      {"9223372036854775807", INT64_MAX},
      {"99999999999999999999999", INT64_MAX},  // the magnitude stays at the largest
      {"-99999999999999999999999", -INT64_MAX},
      {"", std::nullopt},
      {"   ", std::nullopt},
      {"-", std::nullopt},
      {"+ 5", std::nullopt},                   // no blank between sign and digits
      {".5", std::nullopt},
      {"x12", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(leading_integer(c.text), c.value) << '"' << c.text << '"';
}

TEST(Chars, BlanksAreSkippedUpToTheFirstOtherCharacter) {
  EXPECT_EQ(skip_blanks(" \t\n\v\f\rx ", 0), 6u);
  EXPECT_EQ(skip_blanks("a  b", 1), 3u);
  EXPECT_EQ(skip_blanks("ab", 1), 1u);
  EXPECT_EQ(skip_blanks("   ", 1), 3u);
  EXPECT_EQ(skip_blanks("", 0), 0u);
  EXPECT_EQ(skip_blanks("\x01\xa0", 0), 0u);  // control and high characters are no blanks
}

TEST(NumberText, StartAndEndOfANumber) {
  EXPECT_TRUE(number_starts_at("-.5", 0));
  EXPECT_FALSE(number_starts_at("-.", 0));
  EXPECT_FALSE(number_starts_at("e5", 0));
  EXPECT_FALSE(number_starts_at("", 0));
  EXPECT_EQ(number_end("12.5e-3x", 0), 7u);
  EXPECT_EQ(number_end("12e-x", 0), 2u);
  EXPECT_EQ(number_end("1.2.3", 0), 3u);
}

TEST(NumberText, FormatGMatchesPrintf) {
  EXPECT_EQ(format_g(1234.5678, 5), "1234.6");
  EXPECT_EQ(format_g(1e20, 10), "1e+20");
  EXPECT_EQ(format_g(1e20, 5, true), "1E+20");
  EXPECT_EQ(format_g(0.1, 8), "0.1");
  EXPECT_EQ(format_g(9999999999, 10), "9999999999");
}

}  // namespace
}  // namespace zentrik
