// The point calculation: every enabled formula of a plot evaluated on every included
// line of its data set, one point each, with the user deciding what to do about each
// evaluation error. Answers can exclude lines, so the data set changes too; the
// other plots of that data set are then marked for recalculation.
#pragma once

#include <functional>
#include <vector>

#include "plot/PlotWindow.h"
#include "ui/Ui.h"

namespace zentrik {

enum class CalculationOutcome {
  Done,           // every included line was processed: scaling comes next
  BackToSetup,    // open the plot setup dialog, then prepare and calculate again
  WindowClosed,   // the user closed the window (or confirmed a cancel)
  NotEnoughData,  // fewer than two lines remain included: the window must go
};

struct CalculationEnvironment {
  Ui& ui;
  // The other plots showing the same data set, and how to recalculate one of them.
  std::vector<PlotWindow*> other_windows = {};
  std::function<void(PlotWindow&)> recalculate = {};
  std::function<void()> view_file = {};  // "&View File" of the error dialog
  bool show_progress = true;        // false in a quiet update
};

// Readies the formulas for a calculation: point arrays, what must be recomputed,
// statistics reset.
void prepare_calculation(PlotWindow& window);

CalculationOutcome calculatePoints(PlotWindow& window, CalculationEnvironment& env);

// After a reload of the window's data set. When the reload only appended lines to
// those the points were computed from, the points stand and the next calculation
// computes only the new lines'; otherwise every point is computed anew. Every point
// is also computed anew when a formula reads AVG, reads S or F where the appended
// lines may change them, or was to be computed anew anyway.
void prepare_for_reload(PlotWindow& window);

// After lines of its data set were excluded elsewhere: formulas that read the
// sequence number or first-line fields are recomputed, the others redrawn.
void mark_for_exclusions(PlotWindow& window);

}  // namespace zentrik
