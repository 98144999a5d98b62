// The command line of zentrik3 as text: the walk that takes file names out of it
// (used at start-up and when another start hands its names over), the length rule
// for one name, and the text a second start builds from its arguments.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ui/Ui.h"

namespace zentrik {

// The names of a command-line text, in order. A name starts where the walk stands;
// one opening with a double quote runs to the next double quote (neither quote is
// part of it, and an unclosed quote runs to the end), any other runs to the next
// space or the end. White space after a name is skipped. Empty names ("") and
// leading white space give nothing.
std::vector<std::string> command_line_names(std::string_view text);

// Whether a name is short enough to be loaded. A name of 260 characters or more is
// refused with "Filename too long!"; false then.
bool file_name_fits(const std::string& name, Ui& ui);

// The text a second start hands to the running instance: its arguments after the
// program name joined with blanks, each holding white space in double quotes.
// Relative file names are made absolute against this process's working directory,
// since the running instance works in a folder of its own; URLs stay as they are.
std::string command_line_text(int argc, const char* const* argv);

}  // namespace zentrik
