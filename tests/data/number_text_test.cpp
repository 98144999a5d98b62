#include <gtest/gtest.h>

#include <cmath>

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

TEST(NumberText, OutOfRangeMagnitudes) {
  EXPECT_EQ(read("1e400"), HUGE_VAL);
  EXPECT_EQ(read("-1e400"), -HUGE_VAL);
  EXPECT_EQ(read("123456789e305"), HUGE_VAL);
  EXPECT_EQ(read("1e-400"), 0.0);
  EXPECT_TRUE(std::signbit(read("-1e-400")));
  EXPECT_EQ(read("0.000001e-320"), 0.0);
  EXPECT_EQ(read("1e99999999999999999999"), HUGE_VAL);
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
