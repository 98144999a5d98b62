// One formula of a plot: its text as the user wrote it and the AVG() state it
// carries between evaluations. The plot model grows it with its attributes,
// points and bins.
#pragma once

#include <string>

#include "formula/EvalContext.h"

namespace zentrik {

struct Formula : AvgState {
  std::string text;
};

}  // namespace zentrik
