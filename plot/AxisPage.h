// The checks of the X Axis and Y Axis pages when the user leaves them: fixed ranges,
// scale-mark start and interval, read from the fields' texts. A refusal names the
// field to return the focus to; every refusal has the caption "Error!".
#pragma once

#include <string>

namespace zentrik {

enum class AxisField { None, From, To, Start, Interval };

struct AxisPageFields {
  std::string from, to, start, interval;  // the fields' texts
  bool fixed = false;                     // "F&ixed" rather than "&Auto"
  bool automatic_marks = true;            // "&Automatic" scale marks
  bool date_axis = false;                 // X axis only: "&Date" scale type
};

struct AxisPageValues {
  AxisField refused = AxisField::None;  // None: the page is accepted
  std::string message;
  double from = 0, to = 0, start = 0, interval = 0;
};

// X Axis page: numbers, or dates and an interval with a unit on a date axis.
AxisPageValues check_x_axis_page(const AxisPageFields& fields);
// Y Axis page: plain numbers.
AxisPageValues check_y_axis_page(const AxisPageFields& fields);

}  // namespace zentrik
