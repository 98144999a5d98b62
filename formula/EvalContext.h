// What one evaluation reads besides the formula text: the current line, its number,
// the sequence number, the first line with its parsed fields, and the missing mark.
// Also the AVG state that a formula carries between evaluations. Filled by every
// caller of evaluate (point calculation, loading, checks, date fields).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "data/fields/Fields.h"

namespace zentrik {

// Running sum and count of AVG()'s current block; the plot model's Formula carries it.
struct AvgState {
  double avg_sum = 0.0;
  int32_t avg_count = 0;
  void reset_avg() {
    avg_sum = 0.0;
    avg_count = 0;
  }
};

class EvalContext {
 public:
  // The current data line; its fields are read once, as formulas ask for them.
  void set_line(std::string_view text) {
    line_text_ = text;
    cached_ = 0;
    scan_pos_ = 0;
    scanned_all_ = false;
  }
  std::string_view line_text() const { return line_text_; }
  // Field n (from 1) of the current line; false when the line has fewer fields.
  bool field(int n, double& value) {
    if (n >= 1 && n <= cached_ && n <= kCachedFields) {
      value = values_[n - 1];
      return true;
    }
    return read_field(n, value);
  }
  // The number of fields of the current line.
  int field_count();

  int32_t line_number = 0;      // value of L
  int32_t sequence_number = 0;  // value of S: 1 for the first line evaluated in a run
  bool missing = false;         // set when a value number was missing (V without default)

  // Setting the first line parses its fields once for F and N. The text must outlive
  // the context (it is the data file's line, or a text the caller keeps).
  void set_first_line(std::string_view text) { first_fields_.parse(text); }
  std::string_view first_line() const { return first_fields_.text(); }
  const ParsedLine& first_fields() const { return first_fields_; }

 private:
  // Reads the next field of the line into the cache; false at the end of the line.
  bool scan_next();
  // A field not in the cache yet.
  bool read_field(int n, double& value);

  static constexpr int kCachedFields = 32;
  std::string_view line_text_;
  double values_[kCachedFields];
  int cached_ = 0;             // fields read so far (the first kCachedFields are kept)
  std::size_t scan_pos_ = 0;   // where reading the line goes on
  bool scanned_all_ = false;
  ParsedLine first_fields_;
};

}  // namespace zentrik
