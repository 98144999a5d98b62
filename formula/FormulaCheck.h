// What happens to a formula or condition text when the user enters it: the text is
// normalised (trimmed, upper case outside quotes) and checked on a sample line,
// with the problems reported through the Ui. Used by the plot setup dialog, the
// formula lists of setup files and the load-option dialogs.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "ui/Ui.h"

namespace zentrik {

// White space trimmed at both ends; a-z outside quoted strings become A-Z.
std::string normalizeFormulaText(std::string_view text);

// The line a check evaluates on: the data file's first included line.
struct SampleLine {
  std::string_view text;
  int32_t number = 1;
};

// Checks a formula (value expression, optional "\" X expression, optional "?"
// condition) by evaluating it on first_included. label names the formula in the
// messages ("X formula", "Y formula #2" ...). With an accumulator every message is
// appended to it after a "\n"; without one it is shown as an error box "Error!".
bool checkFormula(std::string_view text, std::string_view label, std::string* accumulator,
                  SampleLine first_included, Ui& ui);

// Checks a load condition on the sample line shown in a dialog (first_line is the
// file's first line, for F and N). An empty condition passes.
bool checkCondition(std::string_view condition, std::string_view sample_line,
                    std::string_view first_line, Ui& ui);

}  // namespace zentrik
