// Character classes of the "C" locale, without the locale lookups of <cctype>:
// the formula language, field splitting and date reading use only these; and the
// one blank skipper of the file formats, the loader and the formatters.
#pragma once

#include <cstddef>
#include <string_view>

namespace zentrik {

inline bool is_digit(char c) { return c >= '0' && c <= '9'; }
inline bool is_letter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
// blank, tab, line feed, vertical tab, form feed, carriage return
inline bool is_blank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
// Where the blanks that start at pos end: pos itself when none stands there.
inline std::size_t skip_blanks(std::string_view text, std::size_t pos) {
  while (pos < text.size() && is_blank(text[pos])) ++pos;
  return pos;
}
inline char to_upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace zentrik
