#include "data/fields/NumberText.h"

#include "data/fields/Chars.h"

#include <charconv>
#include <cstdint>
#include <cmath>
#include <limits>

namespace zentrik {
namespace {

bool digit_at(std::string_view text, std::size_t pos) {
  return pos < text.size() && is_digit(text[pos]);
}

std::size_t skip_digits(std::string_view text, std::size_t pos) {
  while (digit_at(text, pos)) ++pos;
  return pos;
}

// from_chars reports magnitudes outside the double range without a value; decide
// between overflow and underflow from the decimal exponent of the leading digit.
double out_of_range_value(std::string_view number) {
  bool negative = !number.empty() && number[0] == '-';
  long long leading_exponent = 0;
  bool seen_nonzero = false;
  bool after_point = false;
  long long zeros_after_point = 0;
  long long integer_digits_from_nonzero = 0;
  std::size_t i = 0;
  if (i < number.size() && (number[i] == '+' || number[i] == '-')) ++i;
  for (; i < number.size(); ++i) {
    char c = number[i];
    if (c == '.') {
      after_point = true;
    } else if (is_digit(c)) {
      if (!seen_nonzero && c != '0') seen_nonzero = true;
      if (!after_point && seen_nonzero) ++integer_digits_from_nonzero;
      if (after_point && !seen_nonzero) ++zeros_after_point;
    } else {
      break;  // exponent letter
    }
  }
  leading_exponent = integer_digits_from_nonzero > 0 ? integer_digits_from_nonzero - 1
                                                     : -(zeros_after_point + 1);
  if (i < number.size()) {  // exponent: clamp while accumulating, only its sign matters here
    ++i;
    bool exp_negative = false;
    if (number[i] == '+' || number[i] == '-') exp_negative = number[i++] == '-';
    long long e = 0;
    for (; i < number.size() && is_digit(number[i]); ++i)
      e = std::min<long long>(e * 10 + (number[i] - '0'), 1'000'000'000LL);
    leading_exponent += exp_negative ? -e : e;
  }
  double magnitude = leading_exponent > 0 ? HUGE_VAL : 0.0;
  return negative ? -magnitude : magnitude;
}

// Appends the run of digits at p to mantissa (wrapping past 19 digits: the caller
// gives up then) and returns the end of the run. The tightest loop of loading.
inline const char* take_digits(const char* p, const char* stop, uint64_t& mantissa) {
  uint64_t m = mantissa;
  for (; p < stop; ++p) {
    const unsigned digit = static_cast<unsigned char>(*p) - unsigned{'0'};
    if (digit > 9) break;
    m = m * 10 + digit;
  }
  mantissa = m;
  return p;
}

// Most numbers in data files have few digits: with a mantissa below 2^53 and a
// decimal exponent within +-22, both factors are exact doubles and one division or
// multiplication rounds correctly. Reads the number in one pass; false (with end
// unset) sends it to the general conversion.
bool read_short_number(std::string_view text, std::size_t pos, double& value, std::size_t& end) {
  static constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                            1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                            1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  const char* p = text.data() + pos;
  const char* const stop = text.data() + text.size();
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  uint64_t mantissa = 0;
  const char* run = p;
  p = take_digits(p, stop, mantissa);
  int digits = static_cast<int>(p - run), exponent = 0;
  if (p < stop && *p == '.') {
    run = ++p;
    p = take_digits(p, stop, mantissa);
    exponent = -static_cast<int>(p - run);
    digits -= exponent;
  }
  if (digits > 19) return false;
  if (p < stop && (*p == 'e' || *p == 'E')) {
    const char* e = p + 1;
    bool exponent_negative = false;
    if (e < stop && (*e == '+' || *e == '-')) exponent_negative = *e++ == '-';
    if (e < stop && is_digit(*e)) {
      int written = 0;
      for (; e < stop && is_digit(*e); ++e) {
        if (written > 1000) return false;
        written = written * 10 + (*e - '0');
      }
      exponent += exponent_negative ? -written : written;
      p = e;
    }
  }
  if (mantissa > (uint64_t{1} << 53) || exponent < -22 || exponent > 22) return false;
  double m = static_cast<double>(mantissa);
  value = exponent < 0 ? m / kPowersOfTen[-exponent] : m * kPowersOfTen[exponent];
  if (negative) value = -value;
  end = static_cast<std::size_t>(p - text.data());
  return true;
}

}  // namespace

std::size_t number_end(std::string_view text, std::size_t pos) {
  if (text[pos] == '+' || text[pos] == '-') ++pos;
  pos = skip_digits(text, pos);
  if (pos < text.size() && text[pos] == '.') pos = skip_digits(text, pos + 1);
  if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
    std::size_t e = pos + 1;
    if (e < text.size() && (text[e] == '+' || text[e] == '-')) ++e;
    if (digit_at(text, e)) pos = skip_digits(text, e);
  }
  return pos;
}

std::size_t read_number(std::string_view text, std::size_t pos, double& value) {
  std::size_t end = 0;
  if (read_short_number(text, pos, value, end)) return end;
  end = number_end(text, pos);
  std::string_view number = text.substr(pos, end - pos);
  // from_chars takes no leading "+"
  std::string_view unsigned_part = number[0] == '+' ? number.substr(1) : number;
  auto [ptr, ec] = std::from_chars(unsigned_part.data(), unsigned_part.data() + unsigned_part.size(),
                                   value, std::chars_format::general);
  if (ec == std::errc::result_out_of_range) value = out_of_range_value(number);
  (void)ptr;
  return end;
}

std::optional<int64_t> leading_integer(std::string_view text) {
  std::size_t pos = skip_blanks(text, 0);
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
  if (!digit_at(text, pos)) return std::nullopt;
  int64_t n = 0;
  for (; digit_at(text, pos); ++pos) {
    const int digit = text[pos] - '0';
    n = n > (INT64_MAX - digit) / 10 ? INT64_MAX : n * 10 + digit;
  }
  return negative ? -n : n;
}

std::string format_g(double value, int precision, bool upper) {
  char buffer[400];
  if (precision < 0) precision = 0;
  if (precision > 60) precision = 60;
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value,
                                 std::chars_format::general, precision);
  if (ec != std::errc()) return upper ? "NAN" : "nan";
  std::string text(buffer, end);
  if (upper)
    for (char& c : text)
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

}  // namespace zentrik
