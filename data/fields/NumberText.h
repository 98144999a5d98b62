// Numbers in text: where a number starts, how far it reaches and its value, and the
// "%g"-style printing the program writes numbers with. Locale-independent throughout.
// Used by field splitting, the formula evaluator, the formatters and the file formats.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "data/fields/Chars.h"

namespace zentrik {

// A number starts at a digit, at a sign followed by a digit or by "." and a digit,
// or at "." followed by a digit. (Inline: field splitting asks it of every character.)
inline bool number_starts_at(std::string_view text, std::size_t pos) {
  if (pos >= text.size()) return false;
  char c = text[pos];
  if (is_digit(c)) return true;
  auto digit_at = [&](std::size_t at) { return at < text.size() && is_digit(text[at]); };
  if (c == '+' || c == '-') return digit_at(pos + 1) || (pos + 1 < text.size() && text[pos + 1] == '.' && digit_at(pos + 2));
  return c == '.' && digit_at(pos + 1);
}

// The end of the number that starts at pos (pos must satisfy number_starts_at):
// [+-] digits [. digits] [(e|E) [+-] digits]; an exponent letter belongs to the
// number only when a digit follows it (after an optional sign).
std::size_t number_end(std::string_view text, std::size_t pos);

// Converts the number text[pos, number_end) correctly rounded; returns its end.
// Magnitudes beyond the double range become +-HUGE_VAL, below it +-0.
std::size_t read_number(std::string_view text, std::size_t pos, double& value);

// The whole number at the start of text as "%d" and atoi read it: blanks, an optional
// sign and digits, up to the first other character; a magnitude beyond int64_t stays
// at INT64_MAX (so -INT64_MAX below). Nothing when no digit follows.
std::optional<int64_t> leading_integer(std::string_view text);

// The value as C's "%.<precision>g" prints it in the "C" locale ("%G" when upper).
std::string format_g(double value, int precision, bool upper = false);

}  // namespace zentrik
