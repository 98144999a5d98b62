// "&Number Of Histogram Bins . . ." of the main window: the prompt for the number of
// bins new formulas start with. A refused entry keeps the prompt open for another
// try; the check itself is plot/Histogram.h's enter_default_bins.
#pragma once

#include "app/dialogs/PromptDialog.h"
#include "ui/Ui.h"

namespace zentrik {

class HistogramBinsDialog : public PromptDialog {
 public:
  // Shows bins, raised to 2 when lower.
  HistogramBinsDialog(int bins, Ui& ui, QWidget* parent = nullptr);

  // The number accepted with OK; until then the number shown first.
  int bins() const { return bins_; }

  // OK: a number of at least 2 closes the prompt; anything else is refused with
  // "There must be at least two bins to make a histogram." and the prompt stays.
  void accept() override;

 private:
  int bins_;
  Ui& ui_;
};

// The prompt; true when OK set bins to a different number. Cancel keeps bins.
bool exec_histogram_bins(int& bins, Ui& ui, QWidget* parent);

}  // namespace zentrik
