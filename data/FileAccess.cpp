#include "data/FileAccess.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zentrik {

OpenFile::OpenFile(const std::string& path) {
  fd_ = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) {
    error_ = std::strerror(errno);
    return;
  }
  struct stat st;
  if (fstat(fd_, &st) == 0 && S_ISDIR(st.st_mode)) {  // a folder opens, but holds no lines
    error_ = std::strerror(EISDIR);
    close(fd_);
    fd_ = -1;
  }
}

OpenFile::~OpenFile() {
  if (fd_ >= 0) close(fd_);
}

int64_t OpenFile::size() const {
  struct stat st;
  return fd_ >= 0 && fstat(fd_, &st) == 0 ? static_cast<int64_t>(st.st_size) : 0;
}

bool file_status(const std::string& path, FileStatus& status) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return false;
  status.size = static_cast<int64_t>(st.st_size);
  status.modified = static_cast<int64_t>(st.st_mtime);
  return true;
}

double now_seconds() {
  using namespace std::chrono;
  auto ms = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
  return static_cast<double>(ms / 1000) + static_cast<double>(ms % 1000) / 1000.0;
}

}  // namespace zentrik
