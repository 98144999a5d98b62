// The scaling pass after a point calculation: which points lie on the plot, the
// ranges of the axes (from the data, fixed or zoomed), the sums the statistics
// use, the histogram bins, and the widening of a range without width.
#pragma once

#include "plot/PlotWindow.h"
#include "ui/Ui.h"

namespace zentrik {

enum class ScaleResult { Done, NoPoints };

struct ScalingEnvironment {
  Ui& ui;
  const DefaultPlot& defaults;  // the default number of bins
  bool show_progress = true;
};

// rescale: the ranges are found anew; otherwise they stay and only the on-plot
// flags, sums and bins are renewed. NoPoints sets window.no_points.
ScaleResult scale(PlotWindow& window, bool rescale, ScalingEnvironment& env);

}  // namespace zentrik
