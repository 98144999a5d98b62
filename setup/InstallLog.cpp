#include "setup/InstallLog.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace zentrik {
namespace {

constexpr std::string_view kAssociationIn = " in ";

}  // namespace

bool InstallLog::append(std::string_view text) {
  const int fd = ::open(path_.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
  if (fd < 0) {
    error_ = std::strerror(errno);
    return false;
  }
  bool written = true;
  while (written && !text.empty()) {
    const ssize_t n = ::write(fd, text.data(), text.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error_ = std::strerror(n < 0 ? errno : EIO);
      written = false;
    } else {
      text.remove_prefix(static_cast<std::size_t>(n));
    }
  }
  if (::close(fd) != 0 && written) {
    error_ = std::strerror(errno);
    written = false;
  }
  return written;
}

bool InstallLog::record(std::string_view what, const std::string& path) {
  return append(std::string(what) + ": " + path + "\n");
}

std::string association_text(const Association& association) {
  return association.mime_type + "=" + association.entry_id + std::string(kAssociationIn) +
         association.mimeapps_list;
}

std::optional<Association> parse_association(std::string_view text) {
  const std::size_t in = text.find(kAssociationIn);
  const std::size_t equals = text.substr(0, in).find('=');
  if (in == std::string_view::npos || equals == std::string_view::npos) return std::nullopt;
  return Association{std::string(text.substr(0, equals)), std::string(text.substr(equals + 1, in - equals - 1)),
                     std::string(text.substr(in + kAssociationIn.size()))};
}

std::optional<std::vector<std::string>> read_install_log(const std::string& path, std::string& error) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat st {};
  if (fd < 0 || ::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    error = std::strerror(fd < 0 ? errno : EISDIR);
    if (fd >= 0) ::close(fd);
    return std::nullopt;
  }
  std::vector<std::string> lines;
  std::string line;
  char buffer[65536];
  bool failed = false;
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) failed = true;
    if (n <= 0) break;
    for (ssize_t i = 0; i < n; ++i) {
      if (buffer[i] != '\n') line += buffer[i];
      if (buffer[i] == '\n' || line.size() == kInstallLogLineLength) lines.push_back(std::exchange(line, {}));
    }
  }
  if (failed) error = std::strerror(errno);
  ::close(fd);
  if (failed) return std::nullopt;
  if (!line.empty()) lines.push_back(line);
  return lines;
}

}  // namespace zentrik
