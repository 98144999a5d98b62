// The texts of a data set's stored lines, for comparing with expected lines.
#pragma once

#include <string>
#include <vector>

#include "data/DataFile.h"

namespace zentrik::testing {

inline std::vector<std::string> line_texts(const DataFile& data) {
  std::vector<std::string> texts;
  for (const DataLine& line : data.lines()) texts.emplace_back(line.text());
  return texts;
}

}  // namespace zentrik::testing
