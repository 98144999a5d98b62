// Histogram binning: the bins of each enabled Y formula over its on-plot values,
// optionally tied to the scale marks of the value axis; the per-bin totals printed
// under a histogram; the default number of bins for new formulas; and the two plot
// window commands that bin every formula on the entire plot or each on its own.
#pragma once

#include <string_view>
#include <vector>

#include "plot/PlotWindow.h"
#include "ui/Ui.h"

namespace zentrik {

// The most bins one formula gets, tied or not: far more than a plot has pixels
// across, and little enough memory that an absurd setting cannot exhaust it.
inline constexpr int kMaxBins = 100000;

// Builds the bins of every enabled Y formula of a histogram plot and the plot's
// largest bin count. The scaling pass calls it once the on-plot flags, the plot's
// Y range and each formula's own minimum and maximum are known. With binscale set
// the Y range is first widened to whole scale marks; when the marks would give
// more than 300 bins the user is told ("Too many bins!"), binscale is cleared in
// window.definition and the bins are built untied. A bin_count of 0 (or below)
// becomes the default for new formulas.
void bin_histogram(PlotWindow& window, const DefaultPlot& defaults, Ui& ui);

// The totals printed under a histogram, one per bin: the counts of the bins with
// the same index summed over the enabled Y formulas. Empty for an X-Y plot, without
// an enabled Y formula, and when several Y formulas are enabled but one of them bins
// on its own values or has a different number of bins. Whether quantities are shown
// at all ("Show &Histogram Quantities") is the caller's setting.
std::vector<unsigned long> histogram_quantities(const PlotDefinition& definition);

// The "Default Histogram Bins" prompt.
inline constexpr std::string_view kDefaultBinsCaption = "Default Histogram Bins";
inline constexpr std::string_view kDefaultBinsPrompt = "Enter the number of histogram bins for new formulas:";
// The number the prompt starts with: the current default, raised to 2 when lower.
int default_bins_shown(int default_bins);
// The prompt's OK with the text entered: a number of at least 2 (a fraction is
// truncated) becomes default_bins and true is returned. Anything else is refused
// with "There must be at least two bins to make a histogram." (caption "Error!"),
// default_bins stays and false is returned; the prompt then asks again.
bool enter_default_bins(std::string_view entered, int& default_bins, Ui& ui);

// The plot window commands that take the places of "&Rescale" and "Aspect Rat&io . . ."
// in histogram mode. Each sets (clears) bin_all on every Y formula, enabled or not,
// and tells whether any flag changed; the caller then marks the plot changed and
// scales again without rescaling.
inline constexpr std::string_view kBinAllCommand = "Bin All On Enti&re Plot";
inline constexpr std::string_view kBinEachCommand = "Bin Each &Individually";
bool bin_all_on_entire_plot(PlotDefinition& definition);
bool bin_each_individually(PlotDefinition& definition);

}  // namespace zentrik
