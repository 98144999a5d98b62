#include "plot/Scaling.h"

#include <algorithm>
#include <array>
#include <span>

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

  // The enabled Y formulas with points, their columns looked up once.
  struct Scaled {
    FormulaStatistics* statistics;
    PointColumns* points;
    PointColumns::View view;
  };

  // The included lines in blocks: each formula takes a block in a tight loop of its
  // own with its sums and ranges held locally, in line order as one pass would.
  void walk(AxisRanges& x, AxisRanges& y) {
    std::vector<Scaled> scaled;
    for (std::size_t f = 1; f < definition_.formulas.size(); ++f) {
      Formula& formula = definition_.formulas[f];
      if (formula.enabled && formula.points)
        scaled.push_back({&formula.statistics, formula.points.get(), formula.points->view()});
    }
    std::array<std::size_t, kProgressEvery> block;
    std::size_t in_block = 0;
    long done = 0;
    auto take_block = [&] {
      for (const Scaled& formula : scaled) scale_block(formula, {block.data(), in_block}, x, y);
      done += static_cast<long>(in_block);
      in_block = 0;
      show_progress(done);
    };
    data_.for_each_included([&](std::size_t position) {
      block[in_block++] = position;
      if (in_block == block.size()) take_block();
      return true;
    });
    if (in_block > 0) take_block();
    for (std::size_t f = 1; f < definition_.formulas.size(); ++f)
      if (definition_.formulas[f].enabled) definition_.formulas[f].changed = 1;
  }

  void scale_block(const Scaled& formula, std::span<const std::size_t> positions, AxisRanges& x, AxisRanges& y) {
    const PointColumns::View& points = formula.view;
    PointColumns& flags = *formula.points;
    const Window1D x_filter = x.filter, y_filter = y.filter;
    const Window1D y_view{window_.view_y_lo, window_.view_y_hi};
    const bool regression = window_.regress != 0;
    const bool x_ranges = unzoomed_ && rescale_ && x.automatic, y_ranges = unzoomed_ && rescale_ && y.automatic;
    FormulaStatistics statistics = *formula.statistics;
    double x_min = x.min, x_max = x.max, y_min = y.min, y_max = y.max;
    for (std::size_t i : positions) {
      const double point_x = points.x(i), value = points.value(i);
      const bool in_range = points.valid(i) && y_filter.holds(value) && x_filter.holds(point_x);
      flags.set_in_range(i, in_range);
      if (!in_range) continue;
      count_point(statistics, point_x, value, regression);
      if (x_ranges) {
        x_min = std::min(x_min, point_x);
        x_max = std::max(x_max, point_x);
      }
      if (y_ranges && y_view.holds(value)) {
        y_min = std::min(y_min, value);
        y_max = std::max(y_max, value);
      }
    }
    *formula.statistics = statistics;
    x.min = x_min;
    x.max = x_max;
    y.min = y_min;
    y.max = y_max;
  }

  void show_progress(long done) {
    if (!env_.show_progress) return;
    env_.ui.progressSetText("\nScaling . . .\n\nLine " + std::to_string(done) + " of " +
                            std::to_string(data_.included_count()));
    env_.ui.progressSetFraction(static_cast<double>(done) / data_.included_count());
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
