// Character classes of the "C" locale, without the locale lookups of <cctype>:
// the formula language, field splitting and date reading use only these.
#pragma once

namespace zentrik {

inline bool is_digit(char c) { return c >= '0' && c <= '9'; }
inline bool is_letter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
// blank, tab, line feed, vertical tab, form feed, carriage return
inline bool is_blank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
inline char to_upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace zentrik
