#include "data/LoadFilter.h"

#include <algorithm>

#include "formula/Evaluator.h"

namespace zentrik {

LoadFilter::LoadFilter(int32_t read_every, int32_t loadnum, std::string condition,
                       std::string_view first_line)
    : read_every_(std::max(1, read_every)), loadnum_(loadnum), condition_(std::move(condition)) {
  context_.set_first_line(first_line);
}

bool LoadFilter::keep(std::string_view line, int32_t number) {
  if (++progress_.cycle > read_every_) progress_.cycle = 1;
  if (progress_.cycle > loadnum_) return false;
  if (condition_.empty()) return true;
  context_.set_line(line);
  context_.line_number = number;
  context_.sequence_number = ++progress_.evaluated;
  std::size_t pos = 0;
  double value = evaluate(condition_, pos, context_, message_, nullptr);
  // an error rejects the line; the missing mark does not count here
  return value != ERROR_VALUE && value != 0;
}

}  // namespace zentrik
