// Numbers in text: where a number starts, how far it reaches and its value, and the
// "%g"-style printing the program writes numbers with. Locale-independent throughout.
// Used by field splitting, the formula evaluator, the formatters and the file formats.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zentrik {

// A number starts at a digit, at a sign followed by a digit or by "." and a digit,
// or at "." followed by a digit.
bool number_starts_at(std::string_view text, std::size_t pos);

// The end of the number that starts at pos (pos must satisfy number_starts_at):
// [+-] digits [. digits] [(e|E) [+-] digits]; an exponent letter belongs to the
// number only when a digit follows it (after an optional sign).
std::size_t number_end(std::string_view text, std::size_t pos);

// Converts the number text[pos, number_end) correctly rounded; returns its end.
// Magnitudes beyond the double range become +-HUGE_VAL, below it +-0.
std::size_t read_number(std::string_view text, std::size_t pos, double& value);

// The value as C's "%.<precision>g" prints it in the "C" locale ("%G" when upper).
std::string format_g(double value, int precision, bool upper = false);

}  // namespace zentrik
