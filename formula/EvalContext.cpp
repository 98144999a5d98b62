#include "formula/EvalContext.h"

#include "data/fields/NumberText.h"

namespace zentrik {

bool EvalContext::scan_next() {
  if (scanned_all_) return false;
  std::size_t p = scan_pos_;
  while (p < line_text_.size() && !number_starts_at(line_text_, p)) ++p;
  if (p >= line_text_.size()) {
    scanned_all_ = true;
    return false;
  }
  double value = 0;
  scan_pos_ = read_number(line_text_, p, value);
  if (cached_ < kCachedFields) values_[cached_] = value;
  ++cached_;
  return true;
}

bool EvalContext::field(int n, double& value) {
  if (n < 1) return false;
  if (n > kCachedFields) {  // rare: fields far to the right are read directly
    FieldSpan span;
    if (!find_field(line_text_, n, span)) return false;
    value = span.value;
    return true;
  }
  while (cached_ < n)
    if (!scan_next()) return false;
  value = values_[n - 1];
  return true;
}

int EvalContext::field_count() {
  while (scan_next()) {
  }
  return cached_;
}

}  // namespace zentrik
