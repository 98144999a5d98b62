#include "plot/AxisPage.h"

#include "data/fields/Chars.h"
#include "data/fields/NumberText.h"
#include "formula/Format.h"
#include "formula/Values.h"

namespace zentrik {
namespace {

constexpr double kLargestRangeEnd = 5.5e299;

AxisPageValues refuse(AxisField field, std::string message) {
  AxisPageValues values;
  values.refused = field;
  values.message = std::move(message);
  return values;
}

// A date field reads through TD(); plain fields read as the C library reads numbers.
bool read(const std::string& text, FieldMode mode, double& value, std::string& error) {
  value = readField(text, mode, error);
  return error.empty();
}

// The whole text is one number (blanks around it allowed).
bool whole_number(const std::string& text, double& value) {
  std::size_t pos = 0;
  while (pos < text.size() && is_blank(text[pos])) ++pos;
  if (!number_starts_at(text, pos)) return false;
  pos = read_number(text, pos, value);
  while (pos < text.size() && is_blank(text[pos])) ++pos;
  return pos == text.size();
}

std::string range_message(char axis, bool ordered) {
  return ordered ? std::string(1, axis) + " axis spans too large of a range."
                 : std::string(1, axis) + " axis fixed FROM value must be less than TO value.";
}

bool check_fixed_range(char axis, const AxisPageValues& values, AxisPageValues& refusal) {
  if (!(values.from < values.to)) {
    refusal = refuse(AxisField::From, range_message(axis, false));
    return false;
  }
  if (values.from < -kLargestRangeEnd || values.to > kLargestRangeEnd) {
    refusal = refuse(AxisField::From, range_message(axis, true));
    return false;
  }
  return true;
}

}  // namespace

AxisPageValues check_x_axis_page(const AxisPageFields& fields) {
  FieldMode value_mode = fields.date_axis ? FieldMode::Date : FieldMode::Plain;
  AxisPageValues values;
  std::string error;
  if (!read(fields.from, value_mode, values.from, error)) {
    if (fields.fixed) return refuse(AxisField::From, "Error in fixed \"Start\" value:\n\n" + error);
    values.from = RANGE_UNSET_LOW;
  }
  if (!read(fields.to, value_mode, values.to, error)) {
    if (fields.fixed) return refuse(AxisField::To, "Error in fixed \"To\" value:\n\n" + error);
    values.to = RANGE_UNSET_HIGH;
  }
  AxisPageValues refusal;
  if (fields.fixed && !check_fixed_range('X', values, refusal)) return refusal;
  FieldMode interval_mode = fields.date_axis ? FieldMode::Interval : FieldMode::Plain;
  if (!read(fields.interval, interval_mode, values.interval, error))
    return refuse(AxisField::Interval, "Error in scale marks \"Interval\" value:\n\n" + error);
  if (values.interval < 0) return refuse(AxisField::Interval, "Scale marks \"Interval\" value must be positive.");
  if (!read(fields.start, value_mode, values.start, error)) {
    if (!fields.automatic_marks) return refuse(AxisField::Start, "Error in tick marks \"Start\" value:\n\n" + error);
    values.start = 0;
  }
  return values;
}

AxisPageValues check_y_axis_page(const AxisPageFields& fields) {
  AxisPageValues values;
  struct Entry {
    const std::string& text;
    double& value;
    AxisField field;
  } entries[] = {{fields.from, values.from, AxisField::From},
                 {fields.to, values.to, AxisField::To},
                 {fields.start, values.start, AxisField::Start},
                 {fields.interval, values.interval, AxisField::Interval}};
  for (const Entry& entry : entries)
    if (!whole_number(entry.text, entry.value)) return refuse(entry.field, "Please enter a number.");
  AxisPageValues refusal;
  if (fields.fixed && !check_fixed_range('Y', values, refusal)) return refusal;
  return values;
}

}  // namespace zentrik
