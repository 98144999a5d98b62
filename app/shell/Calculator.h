// "Run Calculator": the desktop's calculator, found on PATH and started as a
// process of its own that the program neither waits for nor leaves as a zombie.
// Used by the main window's menu and its "C" key.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "ui/Ui.h"

namespace zentrik {

// The calculators looked for, in order of preference.
inline constexpr std::array<const char*, 5> kCalculators = {"gnome-calculator", "kcalc", "qalculate-gtk",
                                                            "galculator", "xcalc"};

// The full path of the first calculator found as an executable file in the folders
// of path_text (a PATH value: folders separated by ':'). Empty and relative folders
// are passed over: a calculator is never taken from the current directory.
std::optional<std::string> find_calculator(std::string_view path_text);
// The same over this process's PATH.
std::optional<std::string> find_calculator();

// Starts the calculator without a shell, in a session of its own, and returns at
// once; a thread of its own collects it when it ends. When none is found or it
// cannot be started, shows "Can't find a calculator." ("No calculator!") and gives
// false.
bool run_calculator(Ui& ui);

}  // namespace zentrik
