// Field splitting: the numbers that stand in a line of text, counted and read by
// position. Every character that cannot start a number separates fields. A leaf used
// by the formula evaluator, the loader and everything that reads data lines.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include <vector>

#include "data/fields/NumberText.h"

namespace zentrik {

// Where one field stands in a text and what it converts to.
struct FieldSpan {
  std::size_t begin = 0;
  std::size_t end = 0;
  double value = 0.0;
};

// Number of fields in text (0 for an empty or field-less text).
int count_fields(std::string_view text);

// Value of field n (from 1), or def when text has fewer than n fields.
double field_value(std::string_view text, int n, double def);

// Continuing variant: counts n fields from pos on (field 1 is the first field that
// starts at or after pos). On success pos is left at the end of field n; otherwise
// pos is left at the end of the text and def is returned.
double field_value_from(std::string_view text, std::size_t& pos, int n, double def);

// Reads the next field that starts at or after pos and leaves pos behind it; false
// (pos at the end) when no field is left. (Inline: every field of every line of a
// calculation passes here.)
inline bool next_field(std::string_view text, std::size_t& pos, double& value) {
  while (pos < text.size() && !number_starts_at(text, pos)) ++pos;
  if (pos >= text.size()) return false;
  pos = read_number(text, pos, value);
  return true;
}

// Finds field n (from 1) with its position; false when text has fewer than n fields.
bool find_field(std::string_view text, int n, FieldSpan& field);

// A line parsed once: its text, its field count and every field's value in order.
class ParsedLine {
 public:
  ParsedLine() = default;
  explicit ParsedLine(std::string_view text) { parse(text); }

  void parse(std::string_view text);
  std::string_view text() const { return text_; }
  int count() const { return static_cast<int>(values_.size()); }
  // field n (from 1), or def when the line has fewer than n fields
  double value(int n, double def) const {
    return n >= 1 && n <= count() ? values_[static_cast<std::size_t>(n - 1)] : def;
  }

 private:
  std::string_view text_;
  std::vector<double> values_;
};

}  // namespace zentrik
