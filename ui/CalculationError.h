// The "Calculation Error!" dialog as the point calculation asks it: what went wrong
// on which line, and what to do about it.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>

namespace zentrik {

enum class CalculationAction {
  ExcludeLine = 0,
  IgnorePoint = 1,
  ReturnToSetup = 2,
  PlotToHere = 3,
  CancelAndClose = 4,
};

// The choices' labels, in the order of the actions.
inline constexpr std::array<std::string_view, 5> kCalculationActionLabels = {
    "E&xclude The Line", "&Ignore The Point", "&Return To Plot Setup Window",
    "&Plot To This Line And Exclude The Rest", "&Cancel And Close Plot Window"};

struct CalculationErrorRequest {
  std::string message_text;    // "Error:  ...\n\nFile:  ...\n\nLine Number:  ...\n\nFormula:  ..."
  std::string offending_line;  // the "Offending Line" field
  bool plot_to_here_disabled = false;
  CalculationAction action = CalculationAction::ExcludeLine;  // preselected: the last choice
  bool same_action = false;  // "&Take the same action on all occurences of this error"
  std::function<void()> view_file;  // "&View File": opens the view window of the data
};

}  // namespace zentrik
