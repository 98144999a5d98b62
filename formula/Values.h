// The special values that carry an evaluation's state through its arithmetic, and
// the truncation to 32-bit integers that the language applies to column numbers,
// INT(), "%" and date parts. Used by the evaluator, its callers and the formatters.
#pragma once

#include <cmath>
#include <cstdint>

namespace zentrik {

// Compared exactly; far below any data.
inline constexpr double ERROR_VALUE = -9.9e307;    // evaluation failed; a message is set
inline constexpr double MISSING_VALUE = -9.87e307; // a value number absent without default
inline constexpr double AVG_PENDING = -9.91e307;   // AVG() has not yet collected its block

// Axis ranges and limits that are not set.
inline constexpr double RANGE_UNSET_LOW = -1.1e300;
inline constexpr double RANGE_UNSET_HIGH = 1.1e300;

// Truncation toward zero; values beyond the 32-bit range saturate, NaN becomes 0.
inline int32_t to_int32(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return INT32_MAX;
  if (value <= -2147483648.0) return INT32_MIN;
  return static_cast<int32_t>(value);
}

}  // namespace zentrik
