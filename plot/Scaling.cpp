#include "plot/Scaling.h"

#include <algorithm>

#include "data/DataFile.h"
#include "plot/Histogram.h"
#include "plot/Statistics.h"

namespace zentrik {
namespace {

constexpr int kProgressEvery = 1000;

struct Window1D {
  double lo, hi;
  bool holds(double v) const { return v >= lo && v <= hi; }
};

// One axis's share of the pass: its range and the window its values must fall in.
struct AxisRanges {
  double& min;
  double& max;
  Window1D filter;
  bool automatic;
};

void widen_zero_width(double& min, double& max) {
  if (max - min != 0) return;
  double v = max;
  if (v == 0) {
    min = -1;
    max = 1;
  } else if (v < 0) {
    max = v * 0.9;
    min = v * 1.1;
  } else {
    max = v * 1.1;
    min = v * 0.9;
  }
}

class Scaler {
 public:
  Scaler(PlotWindow& window, bool rescale, ScalingEnvironment& env)
      : window_(window), definition_(window.definition), data_(*window.data), rescale_(rescale), env_(env),
        unzoomed_(window.auto_scaled) {}

  ScaleResult run() {
    for (Formula& formula : definition_.formulas)
      if (&formula == &definition_.formulas[0] || formula.enabled) formula.needs_recalc = 0;
    for (Formula& formula : definition_.formulas) formula.statistics.reset();
    if (env_.show_progress) env_.ui.progressShow("\nScaling . . .", false);
    if (rescale_) start_ranges();
    AxisRanges x{window_.plot_x_min, window_.plot_x_max,
                 filter(definition_.auto_x, definition_.x_from, definition_.x_to, window_.view_x_lo, window_.view_x_hi),
                 definition_.auto_x != 0};
    AxisRanges y{window_.plot_y_min, window_.plot_y_max,
                 filter(definition_.auto_y, definition_.y_from, definition_.y_to, window_.view_y_lo, window_.view_y_hi),
                 definition_.auto_y != 0};
    walk(x, y);
    if (env_.show_progress) env_.ui.progressHide();
    if (window_.plot_y_max == RANGE_UNSET_LOW || window_.plot_y_min == RANGE_UNSET_HIGH ||
        window_.plot_x_min == RANGE_UNSET_HIGH || window_.plot_x_max == RANGE_UNSET_LOW) {
      window_.no_points = true;
      return ScaleResult::NoPoints;
    }
    window_.no_points = false;
    form_means();
    if (definition_.xy_or_histo) bin_histogram(window_, env_.defaults, env_.ui);
    if (unzoomed_ && rescale_) {
      if (x.automatic) widen_zero_width(window_.plot_x_min, window_.plot_x_max);
      if (y.automatic) widen_zero_width(window_.plot_y_min, window_.plot_y_max);
    }
    return ScaleResult::Done;
  }

 private:
  void start_ranges() {
    auto start = [&](int automatic, double from, double to, double view_lo, double view_hi, double& min,
                     double& max) {
      if (!automatic) {
        min = from;
        max = to;
      } else if (!unzoomed_) {
        min = view_lo;
        max = view_hi;
      } else {
        min = RANGE_UNSET_HIGH;
        max = RANGE_UNSET_LOW;
      }
    };
    start(definition_.auto_x, definition_.x_from, definition_.x_to, window_.view_x_lo, window_.view_x_hi,
          window_.plot_x_min, window_.plot_x_max);
    start(definition_.auto_y, definition_.y_from, definition_.y_to, window_.view_y_lo, window_.view_y_hi,
          window_.plot_y_min, window_.plot_y_max);
  }

  // The fixed range of a fixed axis while unzoomed, else the view limits.
  Window1D filter(int automatic, double from, double to, double view_lo, double view_hi) const {
    if (unzoomed_ && !automatic) return {from, to};
    return {view_lo, view_hi};
  }

  void walk(AxisRanges& x, AxisRanges& y) {
    Window1D y_view{window_.view_y_lo, window_.view_y_hi};
    bool take_ranges = unzoomed_ && rescale_;
    // The enabled Y formulas with points, their columns looked up once.
    struct Scaled {
      FormulaStatistics* statistics;
      PointColumns* points;
      PointColumns::View view;
    };
    std::vector<Scaled> scaled;
    for (std::size_t f = 1; f < definition_.formulas.size(); ++f) {
      Formula& formula = definition_.formulas[f];
      if (formula.enabled && formula.points)
        scaled.push_back({&formula.statistics, formula.points.get(), formula.points->view()});
    }
    long index = 0;
    for (const DataLine* line = data_.first_included(); line; line = data_.next_included(line), ++index) {
      if (env_.show_progress && index % kProgressEvery == 0 && index > 0) {
        env_.ui.progressSetText("\nScaling . . .\n\nLine " + std::to_string(index) + " of " +
                                std::to_string(data_.included_count()));
        env_.ui.progressSetFraction(static_cast<double>(index) / data_.included_count());
      }
      std::size_t i = static_cast<std::size_t>(line->position());
      for (const Scaled& formula : scaled) {
        const PointColumns::View& points = formula.view;
        const bool in_range =
            points.valid(i) && y.filter.holds(points.value(i)) && x.filter.holds(points.x(i));
        formula.points->set_in_range(i, in_range);
        if (!in_range) continue;
        const double point_x = points.x(i), value = points.value(i);
        count_point(*formula.statistics, point_x, value, window_.regress != 0);
        if (!take_ranges) continue;
        if (x.automatic) {
          x.min = std::min(x.min, point_x);
          x.max = std::max(x.max, point_x);
        }
        if (y.automatic && y_view.holds(value)) {
          y.min = std::min(y.min, value);
          y.max = std::max(y.max, value);
        }
      }
    }
    for (std::size_t f = 1; f < definition_.formulas.size(); ++f)
      if (definition_.formulas[f].enabled) definition_.formulas[f].changed = 1;
  }

  void form_means() {
    for (Formula& formula : definition_.formulas) form_mean(formula.statistics);
  }

  PlotWindow& window_;
  PlotDefinition& definition_;
  DataFile& data_;
  bool rescale_;
  ScalingEnvironment& env_;
  bool unzoomed_;
};

}  // namespace

ScaleResult scale(PlotWindow& window, bool rescale, ScalingEnvironment& env) {
  return Scaler(window, rescale, env).run();
}

}  // namespace zentrik
