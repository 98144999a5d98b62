#include "plot/Histogram.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "data/DataFile.h"
#include "data/fields/NumberText.h"
#include "formula/Values.h"

namespace zentrik {
namespace {

constexpr int kMostTiedMarks = 300;  // the marks of a range, at most, for bins tied to them

// A walk over more intervals than this jumps most of the way at once. Walks of the
// usual length (a hundred steps or so) keep to repeated addition, whose rounding
// places the marks.
constexpr double kLongWalk = 1e6;

// Rounds as printing with "%1.0lf" and reading back does (halves to even).
double printed_whole(double value) {
  char text[400];
  std::snprintf(text, sizeof text, "%1.0lf", value);
  return std::strtod(text, nullptr);
}

// s moved by whole intervals to within a few intervals of target, when it lies
// farther away than kLongWalk intervals; otherwise s.
double close_in(double s, double target, double interval) {
  double steps = (target - s) / interval;
  if (std::isfinite(steps) && std::fabs(steps) > kLongWalk) s += std::trunc(steps) * interval;
  return s;
}

// One step of a walk; false, leaving s, when the interval is too small to change
// s or the walk has gone on for longer than any walk that close_in prepared can.
bool step(double& s, double by, int& steps) {
  double next = s + by;
  if (next == s || ++steps > 4 * kLongWalk) return false;
  s = next;
  return true;
}

// From the mark s, the greatest mark at or below value.
double mark_at_or_below(double s, double value, double interval) {
  s = close_in(s, value, interval);
  int steps = 0;
  while (s < value && step(s, interval, steps)) {
  }
  while (s > value && step(s, -interval, steps)) {
  }
  return s;
}

// From the mark s, the first mark above value.
double mark_above(double s, double value, double interval) {
  s = close_in(s, value, interval);
  int steps = 0;
  while (s <= value && step(s, interval, steps)) {
  }
  return s;
}

// The whole number of bins of the given width over the range, plus a twentieth for
// the rounding of the marks; NaN when there is no such number.
double tied_bin_count(double lo, double hi, double width) { return std::floor((hi - lo) / width + 0.05); }

// Widens the plot's Y range to whole scale marks and tells whether the bins can
// follow them. When they cannot, the user is told, binscale is cleared and the
// range stays as it was.
bool tie_to_scale_marks(PlotWindow& window, Ui& ui) {
  PlotDefinition& definition = window.definition;
  const double interval = definition.y_bytick;
  // An interval that is not positive would give endless marks: as many as too many.
  bool tied = interval > 0 && std::isfinite(interval) &&
              (window.plot_y_max - window.plot_y_min) / interval <= kMostTiedMarks;
  double lo = 0, hi = 0;
  if (tied) {
    double minimum = RANGE_UNSET_HIGH, maximum = RANGE_UNSET_LOW;
    for (std::size_t i = 1; i < definition.formulas.size(); ++i) {
      const Formula& formula = definition.formulas[i];
      if (!formula.enabled) continue;
      minimum = std::min(minimum, formula.statistics.y_min);
      maximum = std::max(maximum, formula.statistics.y_max);
    }
    // Formulas whose values are all too big for the statistics have no extremes;
    // then the marks are fitted to the plot's range itself.
    if (!(minimum <= maximum)) {
      minimum = window.plot_y_min;
      maximum = window.plot_y_max;
    }
    double s = definition.y_lotick;
    double e = (s - minimum) / interval;
    if (!std::isfinite(e))
      s = minimum;  // the start lies beyond the doubles' range from the values
    else if (std::fabs(e) > 100)
      s -= interval * printed_whole(e);
    lo = mark_at_or_below(s, minimum, interval);
    hi = mark_above(lo, maximum, interval);
    // A range of the plot that no longer covers the values (the ranges are kept when
    // scaling without rescaling) may still give far too many bins; marks beyond the
    // doubles' range give no number of bins at all.
    tied = tied_bin_count(lo, hi, interval) <= kMaxBins;
  }
  if (!tied) {
    ui.showError("The scale mark settings result in more than 300 histogram bins.  "
                 "The bins will not be tied to the scale marks.",
                 "Too many bins!");
    definition.binscale = 0;
    return false;
  }
  window.plot_y_min = lo;
  window.plot_y_max = hi;
  return true;
}

// The width of n bins over lo..hi. A difference beyond the doubles' range is taken
// in parts; a width that is still not a number becomes 0, so that every bin bound
// is the lower edge and the values all go into the last bin.
double bin_width_over(double lo, double hi, int n) {
  double width = (hi - lo) / n;
  if (!std::isfinite(width)) width = hi / n - lo / n;
  if (!std::isfinite(width)) width = 0;
  return width;
}

// The bin a value goes into: the first that is last or whose upper bound is above
// the value. Bounds that grow (any width not below 0) allow a binary search.
std::size_t bin_of(const std::vector<Bin>& bins, double value, bool ascending) {
  const std::size_t last = bins.size() - 1;
  if (ascending) {
    auto found = std::upper_bound(bins.begin(), bins.begin() + static_cast<std::ptrdiff_t>(last), value,
                                  [](double v, const Bin& bin) { return v < bin.upper; });
    return static_cast<std::size_t>(found - bins.begin());
  }
  for (std::size_t i = 0; i < last; ++i)
    if (bins[i].upper > value) return i;
  return last;
}

void bin_formula(Formula& formula, PlotWindow& window, bool tied, int default_bins) {
  if (formula.bin_count < 1) formula.bin_count = default_bins;
  double width, lower;
  int in_use;
  if (tied) {
    width = window.definition.y_bytick;
    in_use = static_cast<int>(std::clamp(tied_bin_count(window.plot_y_min, window.plot_y_max, width), 1.0,
                                         static_cast<double>(kMaxBins)));
    lower = window.plot_y_min;
  } else {
    const bool own = formula.bin_all == 0;
    const double lo = own ? formula.statistics.y_min : window.plot_y_min;
    const double hi = own ? formula.statistics.y_max : window.plot_y_max;
    in_use = std::min(formula.bin_count, kMaxBins);
    width = bin_width_over(lo, hi, in_use);
    lower = lo;
  }
  formula.bin_width = width;
  formula.bins_in_use = in_use;

  std::vector<Bin> bins(static_cast<std::size_t>(in_use));
  double upper = lower;
  for (Bin& bin : bins) {
    upper += width;  // each bound the one before plus the width
    bin.upper = upper;
  }
  bins.back().last = true;

  if (window.data && formula.points) {
    const std::size_t size = formula.points->size();
    const PointColumns::View points = formula.points->view();
    const bool ascending = !(width < 0);
    window.data->for_each_included([&](std::size_t position) {
      if (position >= size) return false;  // lines come in position order
      if (points.valid(position) && points.in_range(position))
        ++bins[bin_of(bins, points.value(position), ascending)].count;
      return true;
    });
  }
  for (const Bin& bin : bins) window.largest_bin_count = std::max(window.largest_bin_count, static_cast<int>(bin.count));
  formula.bins = std::move(bins);
}

bool set_bin_all(PlotDefinition& definition, int bin_all) {
  bool changed = false;
  for (std::size_t i = 1; i < definition.formulas.size(); ++i) {
    Formula& formula = definition.formulas[i];
    if (formula.bin_all != bin_all) {
      formula.bin_all = bin_all;
      changed = true;
    }
  }
  return changed;
}

}  // namespace

void bin_histogram(PlotWindow& window, const DefaultPlot& defaults, Ui& ui) {
  // A default below 1 bin comes only from an edited configuration; 2 is the least
  // that the prompt accepts.
  const int default_bins = defaults.def_num_cats >= 1 ? defaults.def_num_cats : 2;
  const bool tied = window.definition.binscale && tie_to_scale_marks(window, ui);
  window.largest_bin_count = 0;
  FormulaList& formulas = window.definition.formulas;
  for (std::size_t i = 1; i < formulas.size(); ++i)
    if (formulas[i].enabled) bin_formula(formulas[i], window, tied, default_bins);
  if (window.largest_bin_count == 0) window.largest_bin_count = 1;
}

std::vector<unsigned long> histogram_quantities(const PlotDefinition& definition) {
  if (!definition.xy_or_histo) return {};
  std::vector<const Formula*> enabled;
  for (std::size_t i = 1; i < definition.formulas.size(); ++i)
    if (definition.formulas[i].enabled) enabled.push_back(&definition.formulas[i]);
  if (enabled.empty()) return {};
  const int count = enabled.front()->bins_in_use;
  if (enabled.size() > 1)
    for (const Formula* formula : enabled)
      if (formula->bin_all == 0 || formula->bins_in_use != count) return {};
  if (count <= 0) return {};
  std::vector<unsigned long> quantities(static_cast<std::size_t>(count), 0);
  for (const Formula* formula : enabled) {
    const std::size_t n = std::min(quantities.size(), formula->bins.size());
    for (std::size_t i = 0; i < n; ++i)
      quantities[i] += static_cast<unsigned long>(std::max<int32_t>(formula->bins[i].count, 0));
  }
  return quantities;
}

int default_bins_shown(int default_bins) { return default_bins < 2 ? 2 : default_bins; }

bool enter_default_bins(std::string_view entered, int& default_bins, Ui& ui) {
  const std::size_t first = entered.find_first_not_of(" \t");
  const std::size_t end = entered.find_last_not_of(" \t");
  int value = 0;  // what is not a number counts as no bins at all
  if (first != std::string_view::npos) {
    std::string_view text = entered.substr(first, end + 1 - first);
    if (number_starts_at(text, 0) && number_end(text, 0) == text.size()) {
      double number = 0;
      read_number(text, 0, number);
      value = to_int32(number);
    }
  }
  if (value < 2) {
    ui.showError("There must be at least two bins to make a histogram.", "Error!");
    return false;
  }
  default_bins = value;
  return true;
}

bool bin_all_on_entire_plot(PlotDefinition& definition) { return set_bin_all(definition, 1); }

bool bin_each_individually(PlotDefinition& definition) { return set_bin_all(definition, 0); }

}  // namespace zentrik
