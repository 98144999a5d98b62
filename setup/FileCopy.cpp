#include "setup/FileCopy.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <vector>

namespace zentrik {
namespace {

namespace fs = std::filesystem;

bool write_all(int fd, const char* bytes, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, bytes, size);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) {
      errno = EIO;
      return false;
    }
    bytes += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

// Runs fill on a new temporary file beside path, then renames it over path. fill
// returns false with errno set on failure.
bool replace_with(const std::string& path, mode_t mode, const std::function<bool(int fd)>& fill,
                  std::string& error) {
  const fs::path target(path);
  std::string temp = (target.parent_path() / ("." + target.filename().string() + ".setup-XXXXXX")).string();
  const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) {
    error = std::strerror(errno);
    return false;
  }
  errno = 0;
  int failure = 0;
  if (::fchmod(fd, mode & 0777) != 0 || !fill(fd) || ::fsync(fd) != 0) failure = errno ? errno : EIO;
  if (::close(fd) != 0 && !failure) failure = errno;
  if (!failure && ::rename(temp.c_str(), path.c_str()) != 0) failure = errno;
  if (!failure) return true;
  error = std::strerror(failure);
  ::unlink(temp.c_str());
  return false;
}

}  // namespace

bool copy_file_replacing(const std::string& source, const std::string& destination, std::string& error) {
  const int in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat st {};
  if (in < 0 || ::fstat(in, &st) != 0 || !S_ISREG(st.st_mode)) {
    error = std::strerror(in < 0 ? errno : (S_ISDIR(st.st_mode) ? EISDIR : EINVAL));
    if (in >= 0) ::close(in);
    return false;
  }
  const bool copied = replace_with(
      destination, st.st_mode,
      [in](int out) {
        char buffer[65536];
        for (;;) {
          const ssize_t n = ::read(in, buffer, sizeof buffer);
          if (n < 0 && errno == EINTR) continue;
          if (n < 0) return false;
          if (n == 0) return true;
          if (!write_all(out, buffer, static_cast<std::size_t>(n))) return false;
        }
      },
      error);
  ::close(in);
  return copied;
}

std::optional<std::string> read_file_text(const std::string& path) {
  std::error_code error;
  if (!fs::exists(fs::symlink_status(path, error))) return "";
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  if (!in || in.bad()) return std::nullopt;
  return text.str();
}

std::optional<FolderFailure> create_folders(const std::string& folder, std::vector<std::string>& created) {
  // Up to the nearest entry that exists; what is missing below it is made downwards.
  std::vector<fs::path> missing;
  fs::path path = fs::path(folder).lexically_normal();
  if (path.filename().empty() && path.has_relative_path()) path = path.parent_path();  // "a/b/"
  std::error_code error;
  while (!fs::exists(fs::symlink_status(path, error)) && path.has_relative_path()) {
    missing.push_back(path);
    path = path.parent_path();
  }
  if (!fs::is_directory(path, error)) return FolderFailure{path.string(), ""};
  for (auto made = missing.rbegin(); made != missing.rend(); ++made) {
    if (::mkdir(made->c_str(), 0777) != 0) return FolderFailure{made->string(), std::strerror(errno)};
    created.push_back(made->string());
  }
  return std::nullopt;
}

bool write_file_replacing(const std::string& path, std::string_view text, mode_t mode, std::string& error) {
  return replace_with(path, mode, [text](int fd) { return write_all(fd, text.data(), text.size()); }, error);
}

}  // namespace zentrik
