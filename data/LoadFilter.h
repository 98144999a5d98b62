// Which candidate lines of a file a load keeps: lines 1 to M of every cycle of K,
// and of those the lines for which the load condition is true. Shared by the first
// load and by reloads, which read with the same options.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "formula/EvalContext.h"

namespace zentrik {

class LoadFilter {
 public:
  // first_line must outlive the filter: the condition's F and N read it.
  LoadFilter(int32_t read_every, int32_t loadnum, std::string condition, std::string_view first_line);

  // Called for every candidate line in file order; number is the line number the
  // line would be stored under. The condition's S counts the lines it is evaluated on.
  bool keep(std::string_view line, int32_t number);

  // How far the filter has come: a later read goes on from here with resume.
  struct Progress {
    int32_t cycle = 0;      // the place in the cycle of the last line seen
    int32_t evaluated = 0;  // lines the condition was evaluated on
  };
  Progress progress() const { return progress_; }
  void resume(Progress progress) { progress_ = progress; }

 private:
  int32_t read_every_;
  int32_t loadnum_;
  std::string condition_;
  Progress progress_;
  EvalContext context_;
  std::string message_;
};

}  // namespace zentrik
