// The configuration's part in drawing and writing a plot: its five fonts, the grey
// margins of zooms and the histogram quantities as render options, and the output
// defaults of Output To File. Used by the plot windows and the batch mode alike.
#pragma once

#include "display/Output.h"
#include "display/Render.h"
#include "persist/Configuration.h"

namespace zentrik {

// The font a configuration's font record describes.
Font font_of(const FontRecord& record);

RenderOptions render_options(const Configuration& config, OutputMode mode);

OutputOptions output_options(const Configuration& config);

}  // namespace zentrik
