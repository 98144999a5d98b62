#include "formula/EvalContext.h"


namespace zentrik {

bool EvalContext::scan_next() {
  if (scanned_all_) return false;
  double value = 0;
  if (!next_field(line_text_, scan_pos_, value)) {
    scanned_all_ = true;
    return false;
  }
  if (cached_ < kCachedFields) values_[cached_] = value;
  ++cached_;
  return true;
}

bool EvalContext::read_field(int n, double& value) {
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
