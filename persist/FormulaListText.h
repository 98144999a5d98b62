// The one-line text form of a formula (point character, attributes, text and
// description) and the formula lists built of such lines, as the configuration,
// plot setup and plot object files write and read them.
#pragma once

#include <string>
#include <string_view>

#include "persist/ConfigReader.h"
#include "plot/Formula.h"

namespace zentrik {

// "<char> <points> <lines> <color> <type> <width> <flags> <bins> <reserved> <text>~<description>\n";
// flags: bit 0 black points, bit 1 bin on the entire plot. Whether a formula is
// enabled is not written.
std::string formula_line(const Formula& formula);

// The key line, one line per formula and the end marker; nothing for an empty list.
void write_formula_list(std::string& out, std::string_view key, std::string_view end_marker,
                        const FormulaList& formulas);

// Reads one formula line; index (from 0, among the formula lines read) chooses the
// default colour. False when the line is no formula line: shorter than 9 characters
// or holding fewer than 3 numbers.
bool read_formula_line(std::string_view line, int index, Formula& formula);

// The formula list between key and end marker; empty when the key is missing.
FormulaList read_formula_list(ConfigReader& reader, std::string_view key, std::string_view end_marker);

}  // namespace zentrik
