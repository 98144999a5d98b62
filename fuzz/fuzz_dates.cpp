// Any date text in each of TD's seven layouts, and any text as TD's arguments and as a
// date display format: a date read is a whole second between 1970 and 2038 or an
// error with a message; TD in a formula reads what the layout reader reads; a date
// written in its layout, as a dialog field or as an interval reads back as the same
// seconds; display formats stay within their length.
// Input: the layout code, the start field, the layout text, a line feed, the line.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <string_view>

#include "formula/EvalContext.h"
#include "formula/Evaluator.h"
#include "formula/Format.h"
#include "formula/TimeDate.h"
#include "formula/Values.h"
#include "fuzz/FuzzSupport.h"

using namespace zentrik;
using zentrik::fuzz::expect;

namespace {

// Characters of a UTF-8 text: every byte that does not continue a character.
std::size_t characters(std::string_view text) {
  std::size_t n = 0;
  for (char c : text) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return n;
}


// How each layout writes a date, by code (index 0 unused); the day's number is the
// first field of each.
constexpr const char* kLayoutWriters[kDateCodes + 1] = {
    "",  "%d %b %Y %H:%M:%S", "%b %d, %Y %I:%M:%S %p", "%a %b %d %H:%M:%S UTC %Y",
    "%m/%d/%Y %H:%M:%S", "%d-%m-%y %H:%M:%S", "%d%m%Y %H:%M:%S", "%Y%m%d %H:%M:%S"};

bool same(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

double evaluate_on(std::string_view formula, std::string_view line, std::string& message) {
  EvalContext context;
  context.set_line(line);
  context.set_first_line(line);
  context.line_number = 1;
  context.sequence_number = 1;
  std::size_t pos = 0;
  message.clear();
  return evaluate(formula, pos, context, message, nullptr);
}

void check_read_back(double seconds, int code) {
  std::string message;
  const std::string written = formatTime(seconds, kLayoutWriters[code]);
  expect(same(read_date(written, 1, code, message), seconds), "a date written in its layout reads back");
  const std::string field = formatDate(seconds);
  expect(same(readField(field, FieldMode::Date, message), seconds), "a date field reads back");
  const std::string interval = formatInterval(seconds);
  expect(same(parseInterval(interval, message), seconds), "an interval reads back");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setenv("TZ", "UTC", 1);  // local time without gaps or repeated hours: dates read back one way
  tzset();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  if (size < 2) return 0;
  const int code = 1 + bytes[0] % kDateCodes;
  const int start = 1 + bytes[1] % 8;
  const std::string_view rest(reinterpret_cast<const char*>(bytes) + 2, size - 2);
  const std::size_t cut = rest.find('\n');
  const std::string_view layout = rest.substr(0, cut);
  const std::string_view line = cut == std::string_view::npos ? std::string_view() : rest.substr(cut + 1);

  std::string message;
  const double seconds = read_date(line, start, code, message);
  if (seconds == ERROR_VALUE) {
    expect(!message.empty(), "a date that cannot be read says why");
  } else {
    expect(seconds >= 0 && seconds <= kLastDate && seconds == std::floor(seconds),
           "a date is a whole second from 1970 to 2038");
    check_read_back(seconds, code);
  }

  // TD in a formula: the field and the quoted forms read what the layout reader reads.
  std::string td_message;
  const std::string args = std::to_string(start) + "," + std::to_string(code) + ")";
  expect(same(evaluate_on("TD(" + args, line, td_message), seconds), "TD reads what the layout reader reads");
  expect(same(evaluate_on("TDF(" + args, line, td_message), seconds), "TDF reads the first line");
  if (start == 1 && line.find_first_of("'\"") == std::string_view::npos) {
    const std::string quoted = "TD('" + std::string(line) + "'," + std::to_string(code) + ")";
    expect(same(evaluate_on(quoted, "", td_message), seconds), "TD of a quoted date reads it");
  }

  // Any text as TD's arguments and as a display format.
  const double any = evaluate_on("TD(" + std::string(layout) + ")", line, td_message);
  expect(any != ERROR_VALUE || !td_message.empty(), "a failed TD says why");
  const double shown = seconds == ERROR_VALUE ? static_cast<double>(bytes[0]) * 86400 * 97 : seconds;
  // Date texts are UTF-8 and cut at 80 characters, not bytes.
  expect(characters(formatTime(shown, layout)) <= 80, "a formatted date holds at most 80 characters");
  expect(characters(formatDateLabel(shown, shown - 100, shown + 100, layout)) <= 80, "a date label holds at most 80");
  parseInterval(layout, message);
  return 0;
}
