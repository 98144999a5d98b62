// The machine-readable account of a batch plot: the data set, the axes as drawn
// (ranges, marks and their labels), and per Y formula its statistics, the cells of
// its statistics row and its bins, as one JSON document.
#pragma once

#include <optional>
#include <string>

#include "display/Render.h"
#include "plot/PlotWindow.h"
#include "plot/Statistics.h"

namespace zentrik {

// drawn is the render of the picture; statistics the band of the screen paint before
// it (absent when the statistics were not shown).
std::string report_json(const PlotWindow& window, const RenderResult& drawn,
                        const std::optional<StatisticsBox>& statistics);

}  // namespace zentrik
