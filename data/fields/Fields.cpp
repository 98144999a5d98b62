#include "data/fields/Fields.h"

#include "data/fields/NumberText.h"

namespace zentrik {
namespace {

// Position of the next field start at or after pos, or text.size() when there is none.
std::size_t next_field_start(std::string_view text, std::size_t pos) {
  while (pos < text.size() && !number_starts_at(text, pos)) ++pos;
  return pos;
}

// Start of the n-th field counted from pos (n >= 1), or text.size() when there is none.
std::size_t nth_field_start(std::string_view text, std::size_t pos, int n) {
  std::size_t p = next_field_start(text, pos);
  for (int i = 1; i < n && p < text.size(); ++i) p = next_field_start(text, number_end(text, p));
  return p;
}

}  // namespace

int count_fields(std::string_view text) {
  int count = 0;
  for (std::size_t pos = next_field_start(text, 0); pos < text.size();
       pos = next_field_start(text, number_end(text, pos)))
    ++count;
  return count;
}

double field_value_from(std::string_view text, std::size_t& pos, int n, double def) {
  if (n < 1) {
    pos = text.size();
    return def;
  }
  std::size_t p = nth_field_start(text, pos, n);
  if (p >= text.size()) {
    pos = text.size();
    return def;
  }
  double value = 0.0;
  pos = read_number(text, p, value);
  return value;
}

double field_value(std::string_view text, int n, double def) {
  std::size_t pos = 0;
  return field_value_from(text, pos, n, def);
}

bool find_field(std::string_view text, int n, FieldSpan& field) {
  if (n < 1) return false;
  std::size_t p = nth_field_start(text, 0, n);
  if (p >= text.size()) return false;
  field.begin = p;
  field.end = read_number(text, p, field.value);
  return true;
}

void ParsedLine::parse(std::string_view text) {
  text_ = text;
  values_.clear();
  std::size_t pos = 0;
  for (double value = 0.0; next_field(text, pos, value);) values_.push_back(value);
}

}  // namespace zentrik
