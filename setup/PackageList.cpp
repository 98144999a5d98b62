#include "setup/PackageList.h"

#include <sys/stat.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>

namespace zentrik {
namespace {

namespace fs = std::filesystem;

// A path of names below a folder: relative, no "." or ".." and no empty names, no
// control characters (a NUL would cut the name short).
bool is_plain_relative_path(const std::string& path) {
  if (path.empty() || path.front() == '/') return false;
  for (char c : path)
    if (static_cast<unsigned char>(c) < 0x20) return false;
  for (const fs::path& name : fs::path(path))
    if (name.empty() || name == "." || name == "..") return false;
  return path.back() != '/';
}

}  // namespace

std::optional<PackageEntry> parse_package_line(std::string_view line) {
  if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  const std::size_t comma = line.find(',');
  if (comma == std::string_view::npos) return std::nullopt;
  std::string_view destination = line.substr(comma + 1);
  while (!destination.empty() && std::isspace(static_cast<unsigned char>(destination.front())))
    destination.remove_prefix(1);
  return PackageEntry{std::string(line.substr(0, comma)), std::string(destination)};
}

std::string destination_path(const PackageEntry& entry) {
  std::string path = entry.destination;
  for (char& c : path)
    if (c == '\\') c = '/';
  return path;
}

std::string package_entry_problem(const PackageEntry& entry) {
  if (!is_plain_relative_path(entry.source))
    return "The package list names the source file \"" + entry.source + "\", which is not a file in the package folder.";
  if (!is_plain_relative_path(destination_path(entry)))
    return "The package list names the destination \"" + entry.destination +
           "\" for " + entry.source + ", which is not a file inside the installation folder.";
  return "";
}

PackageList::PackageList(const std::string& path) : file_(std::fopen(path.c_str(), "rb"), std::fclose) {
  struct stat st {};
  if (file_ && ::fstat(::fileno(file_.get()), &st) == 0 && S_ISDIR(st.st_mode)) {
    file_.reset();
    errno = EISDIR;
  }
  if (!file_) error_ = std::strerror(errno);
}

bool PackageList::next_line(std::string& line) {
  line.clear();
  for (int c; line.size() < kPackageLineLength && (c = std::getc(file_.get())) != EOF;) {
    line += static_cast<char>(c);
    if (c == '\n') break;
  }
  return !line.empty();
}

}  // namespace zentrik
