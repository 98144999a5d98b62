#include <gtest/gtest.h>

#include "formula/Values.h"
#include "plot/AxisPage.h"

namespace zentrik {
namespace {

TEST(XAxisPage, RefusesWhatCannotBeAFixedRangeOrInterval) {
  struct Case {
    AxisPageFields fields;
    AxisField field;
    const char* message;
  } cases[] = {
      {{"0", "10", "0", "2", true, false, false}, AxisField::None, ""},
      {{"5", "5", "0", "0", true, true, false}, AxisField::From, "X axis fixed FROM value must be less than TO value."},
      {{"-6e299", "1", "0", "0", true, true, false}, AxisField::From, "X axis spans too large of a range."},
      {{"0", "1", "0", "-1", false, true, false}, AxisField::Interval, "Scale marks \"Interval\" value must be positive."},
      {{"0", "1", "0", "0", false, true, false}, AxisField::None, ""},  // 0: automatic marks
      {{"13/01/2001", "01/20/2001", "0", "1 day", true, true, true}, AxisField::From,
       "Error in fixed \"Start\" value:\n\nInvalid month (13)"},
      {{"01/10/2001", "x", "0", "1 day", true, true, true}, AxisField::To,
       "Error in fixed \"To\" value:\n\nInvalid column number for date:  1"},
      {{"01/10/2001", "01/20/2001", "0", "3 weeks", true, true, true}, AxisField::Interval,
       "Error in scale marks \"Interval\" value:\n\nIllegal units"},
      {{"01/10/2001", "01/20/2001", "soon", "1 day", true, false, true}, AxisField::Start,
       "Error in tick marks \"Start\" value:\n\nInvalid column number for date:  1"},
  };
  for (const auto& c : cases) {
    AxisPageValues values = check_x_axis_page(c.fields);
    EXPECT_EQ(values.refused, c.field) << c.fields.from << " " << c.fields.interval;
    EXPECT_EQ(values.message, c.message);
  }
}

TEST(XAxisPage, AutomaticFieldsThatDoNotReadTakeTheirDefaults) {
  AxisPageValues values = check_x_axis_page({"x", "y", "soon", "2 hours", false, true, true});
  EXPECT_EQ(values.refused, AxisField::None);
  EXPECT_EQ(values.from, RANGE_UNSET_LOW);
  EXPECT_EQ(values.to, RANGE_UNSET_HIGH);
  EXPECT_EQ(values.start, 0);
  EXPECT_EQ(values.interval, 7200);

  AxisPageValues dates = check_x_axis_page({"01/15/2001", "01/16/2001", "", "1 day", true, true, true});
  EXPECT_EQ(dates.from, 979516800);  // the tests run in UTC
  EXPECT_EQ(dates.to, 979516800 + 86400);
}

TEST(YAxisPage, WantsNumbersAndAnOrderedFixedRange) {
  struct Case {
    AxisPageFields fields;
    AxisField field;
    const char* message;
  } cases[] = {
      {{"-1", "1", "0", "0.5", true, false}, AxisField::None, ""},
      {{"1", "-1", "0", "0", true, true}, AxisField::From, "Y axis fixed FROM value must be less than TO value."},
      {{"1", "-1", "0", "0", false, true}, AxisField::None, ""},
      {{"0", "7e299", "0", "0", true, true}, AxisField::From, "Y axis spans too large of a range."},
      {{"0", "1", "2x", "0", true, true}, AxisField::Start, "Please enter a number."},
      {{"", "1", "0", "0", false, true}, AxisField::From, "Please enter a number."},
  };
  for (const auto& c : cases) {
    AxisPageValues values = check_y_axis_page(c.fields);
    EXPECT_EQ(values.refused, c.field) << c.fields.from << " " << c.fields.to;
    EXPECT_EQ(values.message, c.message);
  }
}

}  // namespace
}  // namespace zentrik
