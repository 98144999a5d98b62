// Loading one data file into a DataFile: the pre-check, the File Load Options
// dialog, the skip, the cycle of K lines of which M are kept, the load condition,
// progress with Cancel, the further files and excluded lines of a plot object, and
// the report. Runs on the user-interface thread inside the loading constructor of DataFile.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "data/PlotObjectHooks.h"
#include "ui/Ui.h"

namespace zentrik {

class DataFile;

// What a load reaches outside the data set.
struct LoadEnvironment {
  Ui& ui;
  int* busy_count = nullptr;  // the main window's count of running loads
  // The "drop_prompt" setting: show the File Load Options dialog before a load;
  // its check box updates it.
  bool* drop_prompt = nullptr;
  // Opens plot objects and companion objects; without it a plot object is only
  // marked (DataFile::plot_object_signature) and not loaded.
  PlotObjectHooks* objects = nullptr;
  // Bytes the stored lines may fill; 0: nine tenths of the memory the system has left.
  uint64_t memory_limit = 0;
};

// Longest data-file name that can be loaded.
inline constexpr std::size_t kMaxFileName = 259;

// Loads path into data (which must be empty). False when nothing usable was
// loaded; the user has been told why, unless the load was cancelled.
bool load_data_file(DataFile& data, std::string path, LoadEnvironment& env);

// Whether a file's first line marks it as a plot object.
bool has_plot_object_signature(std::string_view first_line);

// Opens path and reads its first line as the pre-check of a load does. False, after
// "Can't open file:  " or "Non-ASCII file!", when it cannot be opened or the first
// line holds a byte above 127; a plot object's first line may: it names a file.
bool read_first_line(const std::string& path, std::string& first_line, Ui& ui);

}  // namespace zentrik
