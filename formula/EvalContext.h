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

struct EvalContext {
  std::string_view line_text;   // the current data line
  int32_t line_number = 0;      // value of L
  int32_t sequence_number = 0;  // value of S: 1 for the first line evaluated in a run
  bool missing = false;         // set when a value number was missing (V without default)

  // Setting the first line parses its fields once for F and N. The text must outlive
  // the context (it is the data file's line, or a text the caller keeps).
  void set_first_line(std::string_view text) { first_fields_.parse(text); }
  std::string_view first_line() const { return first_fields_.text(); }
  const ParsedLine& first_fields() const { return first_fields_; }

 private:
  ParsedLine first_fields_;
};

}  // namespace zentrik
