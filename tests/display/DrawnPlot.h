// A computed plot drawn on the recording surface, as the plot window would have it
// when the mouse works on it. With the recording surface's metrics and neither
// legend nor statistics, a 500 x 400 screen plot has its vertical axis at x = 32, its
// horizontal axis at y = 368 and 10-pixel margins: 448 pixels across and 348 down
// between the margins. The tests of the mouse operations choose ranges of 448 by 348
// so that one pixel is one unit.
#pragma once

#include "ComputedPlot.h"
#include "display/RecordingSurface.h"
#include "display/Render.h"

namespace zentrik::testing {

class DrawnPlot : public ComputedPlot {
 public:
  using ComputedPlot::ComputedPlot;

  // The first paint: the band under the plot stays out of the way.
  RenderResult compute_and_draw() {
    window.legend = window.showstats = 0;
    compute();
    return draw();
  }
  RenderResult draw() {
    surface.clear();
    options.histogram_quantities = false;
    drawn = render(surface, 500, 400, window, options, memory);
    return drawn;
  }

  RecordingSurface surface;
  RenderOptions options;
  PaintMemory memory;
  RenderResult drawn;
};

}  // namespace zentrik::testing
