// Loading one data file into a DataFile: the pre-check, the File Load Options
// dialog, the skip, the cycle of K lines of which M are kept, the load condition,
// progress with Cancel, and the report. Runs on the user-interface thread inside
// the loading constructor of DataFile.
#pragma once

#include <string>

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
};

// Longest data-file name that can be loaded.
inline constexpr std::size_t kMaxFileName = 259;

// Loads path into data (which must be empty). False when nothing usable was
// loaded; the user has been told why, unless the load was cancelled.
bool load_data_file(DataFile& data, std::string path, LoadEnvironment& env);

// Whether a file's first line marks it as a plot object.
bool has_plot_object_signature(std::string_view first_line);

}  // namespace zentrik
