// The computed points of a plot as a delimited text file: the options of the
// "Output Options" dialog and the writing of one line per included data line.
// Used by the plot window's Output To File and by the batch mode's --output-data.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace zentrik {

struct PlotWindow;
class Ui;

struct OutputOptions {
  std::string field_delim = " ";  // an empty delimiter writes one blank
  int inc_x_vals = 1;             // the X value opens each line
  int inc_ig_vals = 1;            // ignored (invalid) points stand as ignore_place_hold
  std::string ignore_place_hold = "-1e12";
  int inc_off_plot = 1;  // in a zoomed plot, points outside it stand as off_place_hold
  std::string off_place_hold = "-1e12";
};

// The output line of the data line at position, with its "\n"; empty when nothing is
// written for it (its X point is not valid, or no field remains).
std::string output_line(const PlotWindow& window, int32_t position, const OutputOptions& options);

// Writes the lines of every included data line in the file's order, with the progress
// texts when show_progress. False when writing failed (errno tells why).
bool write_plot_data(const PlotWindow& window, const OutputOptions& options, std::FILE* out, Ui& ui,
                     bool show_progress);

// Output To File once the file is chosen: writes the points beside path and renames the
// file over it once complete. Failures are told through ui ("Can't open ...", "Error
// writing ..."), and an older file at path then stays as it was; false then.
bool output_to_file(const PlotWindow& window, const OutputOptions& options, const std::string& path, Ui& ui);

}  // namespace zentrik
