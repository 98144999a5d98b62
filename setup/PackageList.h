// The package list Zentrik3.INF in the package folder: one line per file, "SOURCE,
// DESTINATION", the source a name in the package folder and the destination a path
// in the installation folder. Read line by line by the installer's copy loop.
#pragma once

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace zentrik {

inline constexpr std::string_view kPackageListName = "Zentrik3.INF";
// A longer line is read as several: the rest continues as the next one.
inline constexpr std::size_t kPackageLineLength = 520;

struct PackageEntry {
  std::string source;       // as written before the comma
  std::string destination;  // after the comma and the white space that follows it
};

// The entry of one line (its line feed and a carriage return before it removed);
// nothing for a line without a comma.
std::optional<PackageEntry> parse_package_line(std::string_view line);

// Why an entry can't be installed as it stands: a source that is not a plain
// relative path below the package folder, or a destination that leaves the
// installation folder (absolute, "..", empty). Empty when it is fine. A "\" in the
// destination separates folders like "/".
std::string package_entry_problem(const PackageEntry& entry);
// The destination with "/" between its folders.
std::string destination_path(const PackageEntry& entry);

class PackageList {
 public:
  // Opens the list; see error().
  explicit PackageList(const std::string& path);
  bool is_open() const { return file_ != nullptr; }
  // The system's reason when the list could not be opened.
  const std::string& error() const { return error_; }
  // The next line of at most kPackageLineLength characters; false at the end.
  bool next_line(std::string& line);

 private:
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file_;
  std::string error_;
};

}  // namespace zentrik
