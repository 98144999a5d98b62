// Writing a whole text file so that it is either replaced completely or left as it
// was: the text goes to a temporary file in the same folder, is flushed to the disk,
// and only then renamed over the old file. The configuration, plot setup and plot
// object writers use it, so a full disk, a crash or a kill mid-save loses nothing.
#pragma once

#include <string>
#include <string_view>

namespace zentrik {

// Replaces the file at path (the file behind it when path is a link) by text. On
// failure the old file (if any) is untouched, no temporary file is left behind, and
// error holds the system's reason.
bool write_file_atomically(const std::string& path, std::string_view text, std::string& error);

}  // namespace zentrik
