// The batch mode of zentrik3: loads the files named on the command line, sets up the
// plot from a setup file, an object or the defaults and the command line's formulas,
// calculates and scales it, and writes the picture, the points and the report asked
// for, without a window. Messages go to standard error through the BatchUi.
#pragma once

#include <cstdio>

#include "app/batch/BatchOptions.h"
#include "app/batch/BatchUi.h"

namespace zentrik {

// Exit status: 0 when every output asked for was written, 1 when the plot could not
// be made or an output not written. A QGuiApplication must exist for --export and
// --report (their texts are measured with the real fonts).
int run_batch(const BatchOptions& options, BatchUi& ui, std::FILE* out, std::FILE* err);

}  // namespace zentrik
