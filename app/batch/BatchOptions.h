// The command line of zentrik3: which files to plot and what the batch mode makes of
// them. Parsed once at start-up; without an output option the desktop program runs.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "data/DataFile.h"
#include "ui/CalculationError.h"

namespace zentrik {

enum class PictureFormat { Png, Svg, Pdf };

struct BatchOptions {
  std::vector<std::string> files;  // data files, plot objects or URLs
  int how_added = kFirstFile;      // several files: kConcatenateLines or kConcatenateFiles

  std::optional<std::string> export_path;  // .png, .svg or .pdf
  PictureFormat export_format = PictureFormat::Png;  // by export_path's extension
  std::optional<int> width, height;        // --size WxH
  std::optional<std::string> title;
  std::optional<std::string> output_data;  // "-": standard output
  std::optional<std::string> report;       // "-": standard output
  std::optional<std::string> check;        // a formula to check against the data

  std::optional<std::string> setup;  // a .psu file
  std::optional<std::string> x;
  std::vector<std::string> y;

  std::optional<int32_t> skip, every, keep;
  std::optional<std::string> where;

  bool histogram = false;
  std::optional<bool> stats, legend, regress;
  CalculationAction on_error = CalculationAction::CancelAndClose;
  std::optional<std::string> config;
  bool allow_commands = false;
  std::optional<int32_t> timeout;  // seconds each download of the run may take

  bool help = false, version = false;

  // Whether any option asks for the headless pipeline.
  bool batch() const { return export_path || output_data || report || check; }
};

// Reads argv[1..]; false with error naming the bad option or value.
bool parse_batch_options(int argc, const char* const* argv, BatchOptions& options, std::string& error);

// The text of --help.
std::string batch_usage();

}  // namespace zentrik
