#include <gtest/gtest.h>

#include <vector>

#include "data/fields/Fields.h"

namespace zentrik {
namespace {

std::vector<double> all_fields(std::string_view text) {
  std::vector<double> values;
  for (int n = 1; n <= count_fields(text); ++n) values.push_back(field_value(text, n, -1));
  return values;
}

TEST(FieldSplitting, EveryNonNumberCharacterSeparates) {
  struct Case {
    const char* text;
    std::vector<double> fields;
  } cases[] = {
      {"C1=3.5 C2=-.25", {1, 3.5, 2, -0.25}},
      {"only letters", {}},
      {"", {}},
      {"+.5", {0.5}},
      {"+x", {}},
      {"5.", {5}},
      {"12,5;7", {12, 5, 7}},
      {"1.5e3", {1500}},
      {"a-3", {-3}},
      {"2001-05-07", {2001, -5, -7}},
      {"x.y", {}},
      {"12:30:45", {12, 30, 45}},
      {"1.5.3", {1.5, 0.3}},
      {"1E3", {1000}},
      {"1e", {1}},
      {"1e+", {1}},
      {"2E-2x", {0.02}},
      {"0x1A", {0, 1}},
      {"inf nan", {}},
      {"- 5 -.x", {5}},
      {"\t7\t8\r", {7, 8}},
  };
  for (const auto& c : cases) EXPECT_EQ(all_fields(c.text), c.fields) << c.text;
}

TEST(FieldSplitting, MissingFieldsGiveTheCallersDefault) {
  EXPECT_EQ(field_value("1 2", 3, -42), -42);
  EXPECT_EQ(field_value("abc", 1, 7), 7);
  EXPECT_EQ(field_value("1 2", 0, 9), 9);
  EXPECT_EQ(field_value("1 2", -1, 9), 9);
}

TEST(FieldSplitting, TheContinuingVariantReadsOneFieldAfterAnother) {
  std::string_view text = "t=1.5 u=-2 v=7";
  std::size_t pos = 0;
  EXPECT_EQ(field_value_from(text, pos, 1, 0), 1.5);
  EXPECT_EQ(pos, 5u);
  EXPECT_EQ(field_value_from(text, pos, 1, 0), -2);
  EXPECT_EQ(pos, 10u);
  EXPECT_EQ(field_value_from(text, pos, 2, -1), -1);  // only one more field
  EXPECT_EQ(pos, text.size());
  pos = 0;
  EXPECT_EQ(field_value_from(text, pos, 3, 0), 7);
}

TEST(FieldSplitting, FindFieldTellsWhereTheNumberStands) {
  FieldSpan span;
  ASSERT_TRUE(find_field("Jan -15, 2001", 1, span));
  EXPECT_EQ(span.begin, 4u);
  EXPECT_EQ(span.end, 7u);
  EXPECT_EQ(span.value, -15);
  EXPECT_FALSE(find_field("Jan -15, 2001", 3, span));
}

TEST(ParsedLine, HoldsEveryFieldOnce) {
  ParsedLine line("a=1.5 b=-2 c=3e2");
  EXPECT_EQ(line.count(), 3);
  EXPECT_EQ(line.value(1, 0), 1.5);
  EXPECT_EQ(line.value(3, 0), 300);
  EXPECT_EQ(line.value(4, -9), -9);
  EXPECT_EQ(line.value(0, -9), -9);
  line.parse("x");
  EXPECT_EQ(line.count(), 0);
  EXPECT_EQ(line.text(), "x");
}

}  // namespace
}  // namespace zentrik
