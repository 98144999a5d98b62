// Several files in one data set, and the command a plot object runs before its
// data is read. add_file appends a file's lines after the last line or joins them
// to the existing lines side by side; used by drops of several files and by plot
// objects that list further files.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ui/Ui.h"

namespace zentrik {

class DataFile;

// Joins the lines of Concatenate Lines.
inline constexpr std::string_view kLineJoint = " | ";

// Adds the file at path to data, which holds a loaded data set; how_added is
// kConcatenateFiles or kConcatenateLines. On failure the user has been told why and
// data is as it was before the call.
bool add_file(DataFile& data, const std::string& path, int32_t how_added, Ui& ui);

// The words of a command line as a shell splits them: blanks separate words,
// single quotes keep everything literally, double quotes keep all but \" \\ \$ \`,
// a backslash outside quotes keeps the next character. Nothing is expanded.
std::vector<std::string> split_command_line(std::string_view command);

// Starts command (without a shell) and waits until it ends; its exit code is not
// looked at. False, after telling the user, when it cannot be started.
bool run_preload_command(const std::string& command, Ui& ui);

}  // namespace zentrik
