// The scale marks of an axis: the automatic choice of a start and an interval for a
// range, and the marks drawn from a start, an interval and the automatic flag. The
// renderer calls it for each axis.
#pragma once

#include <functional>
#include <vector>

namespace zentrik {

struct MarkSpacing {
  double start = 0;
  double interval = 0;
};

// A round interval giving some four to forty marks over lo..hi, starting at 0 (or,
// far from 0, at a whole multiple of the interval near lo); `current` is returned
// unchanged when the range has no width.
MarkSpacing choose_marks(double lo, double hi, MarkSpacing current);

// The values of the marks over lo..hi (logarithms on a log axis). spacing is the
// user's start and interval, automatic the user's choice of automatic marks;
// on_area tells whether a value's position lies on the plot area.
std::vector<double> scale_marks(double lo, double hi, MarkSpacing spacing, bool automatic,
                                const std::function<bool(double)>& on_area);

}  // namespace zentrik
