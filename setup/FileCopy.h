// Putting folders and files in place for an installation. A file's bytes go to a
// temporary file beside the destination, reach the disk, and are renamed over it. So a link at the
// destination is replaced and never written through, and a copy that fails (a full
// disk, a source that can't be read) leaves the destination as it was and nothing
// behind. Used for the package's files and for the desktop files setup writes.
#pragma once

#include <sys/types.h>

#include <string>
#include <optional>
#include <string_view>
#include <vector>

namespace zentrik {

// A copy of source with its permission bits. False with the system's reason in error.
bool copy_file_replacing(const std::string& source, const std::string& destination, std::string& error);

// The whole text of a file: "" when it is missing, nothing when it exists but can't
// be read.
std::optional<std::string> read_file_text(const std::string& path);

// A file holding text, with the permission bits mode. False with the reason in error.
bool write_file_replacing(const std::string& path, std::string_view text, mode_t mode, std::string& error);

// Why a folder could not be made: the folder, and the system's reason or, when an
// entry of that name is no folder, nothing.
struct FolderFailure {
  std::string folder;
  std::string reason;  // empty: it exists and is not a folder
};

// Makes folder and every missing folder above it, outermost first, appending each
// one made to created. A link to a folder counts as a folder.
std::optional<FolderFailure> create_folders(const std::string& folder, std::vector<std::string>& created);

}  // namespace zentrik
