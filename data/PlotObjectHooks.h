// How a load reaches plot objects without knowing their file format: the loader
// hands a file that passed its first-line check to these hooks, which open it as a
// plot object (or find the plain data file's companion object) and say what to load.
// Implemented by the persistence layer; a load without hooks opens no object.
#pragma once

#include <cstdint>
#include <string>

namespace zentrik {

class DataFile;

enum OpenResult {
  OpenStop,       // the user has been told why; nothing is loaded
  OpenPlainData,  // load the file itself as data
  OpenObject,     // load data_file with the object's options; the object owns the data set
};

struct ObjectOpening {
  OpenResult result = OpenPlainData;
  std::string data_file;    // OpenObject: the data file to load (a local copy for a URL)
  std::string object_file;  // OpenObject: read again after the lines for its files and excluded lines
  int32_t initial_skip = 0;
  int32_t read_every = 1;
  int32_t loadnum = 1;
  std::string load_condition;
};

class PlotObjectHooks {
 public:
  virtual ~PlotObjectHooks() = default;
  // path is the file named for loading; data is the data set being loaded (its url
  // is set when path is the local copy of a download).
  virtual ObjectOpening open(const std::string& path, DataFile& data) = 0;
  // The File Load Options dialog changed the owner object's load options.
  virtual void load_options_changed() = 0;
  // The owner object's "exclude lines when loading" switch, as its file gives it.
  virtual void set_exclude_lines(int32_t value) = 0;
};

}  // namespace zentrik
