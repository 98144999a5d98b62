#include "plot/ScaleMarks.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace zentrik {
namespace {

// The factor of the interval by the range's mantissa (1 <= d <= 10).
double interval_factor(double d) {
  if (d < 2) return 0.25;
  if (d < 4) return 0.5;
  if (d < 6) return 1.0;
  if (d < 8) return 1.5;
  if (d < 9) return 2.0;
  return 2.5;
}

// Rounds as printing with "%1.0lf" and reading back does (halves to even).
double printed_whole(double value) {
  char text[400];
  std::snprintf(text, sizeof text, "%1.0f", value);
  return std::strtod(text, nullptr);
}

// The first mark at or above lo, one interval lower. Stepping one interval at a time
// from a start far from lo would take ages, so the steps are counted at once.
double first_mark_below(double start, double lo, double interval) {
  double steps = std::ceil((lo - start) / interval);
  if (std::isfinite(steps)) start += steps * interval;
  while (start > lo && start - interval != start) start -= interval;  // rounding of the jump
  while (start < lo && start + interval != start) start += interval;
  return start - interval;
}

constexpr int kMaxMarks = 1000;  // ends the walk where the interval vanishes in the values

}  // namespace

MarkSpacing choose_marks(double lo, double hi, MarkSpacing current) {
  double d = std::fabs(hi - lo);
  if (d == 0 || !std::isfinite(d)) return current;
  double p = 1;
  while (d > 10) {
    d /= 10;
    p *= 10;
  }
  while (d < 1) {
    d *= 10;
    p /= 10;
  }
  MarkSpacing spacing;
  spacing.interval = p * interval_factor(d);
  if (std::fabs(lo / spacing.interval) > 50) spacing.start = spacing.interval * printed_whole(lo / spacing.interval);
  return spacing;
}

std::vector<double> scale_marks(double lo, double hi, MarkSpacing spacing, bool automatic,
                                const std::function<bool(double)>& on_area) {
  double range = std::fabs(hi - lo);
  if (spacing.interval != 0 && range / spacing.interval < 2) spacing.interval = 0;
  if (!automatic && spacing.interval == 0) automatic = true;
  double end = hi + spacing.interval;
  if (automatic || spacing.interval <= 0) spacing = choose_marks(lo, hi, spacing);
  if (spacing.interval > 0 && range / spacing.interval > 30) spacing = choose_marks(lo, hi, spacing);
  std::vector<double> marks;
  if (!(spacing.interval > 0) || !std::isfinite(spacing.interval)) return marks;  // a range without width
  double start = first_mark_below(spacing.start, lo, spacing.interval);
  for (int k = 0; k < kMaxMarks; ++k) {
    double v = start + k * spacing.interval;
    if (v > end || v > hi + 2 * spacing.interval) break;
    if (range > 7e-6 && std::fabs(v) < 1e-6) v = 0;
    if (on_area(v)) marks.push_back(v);
  }
  return marks;
}

}  // namespace zentrik
