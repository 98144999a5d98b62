#include "data/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>

namespace zentrik {

namespace {

std::string folder_of(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// A new temporary file beside path, created with the user's usual permissions
// (0666 less the umask); -1 with errno set when none can be made.
int create_temporary(const std::string& path, std::string& temp) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp = path + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// A file written anew keeps the permissions of the one it replaces.
void keep_old_permissions(int fd, const std::string& path) {
  struct stat old {};
  if (::stat(path.c_str(), &old) == 0) ::fchmod(fd, old.st_mode & 07777);
}

// The rename is durable only once the folder's entry is on the disk too.
void sync_folder(const std::string& folder) {
  const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir < 0) return;
  ::fsync(dir);
  ::close(dir);
}

// A link is kept: the file it points to is the one replaced.
std::string file_behind_links(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::is_symlink(path, error)) return path;
  std::filesystem::path target = std::filesystem::canonical(path, error);
  return error ? path : target.string();
}

// An existing target that is not a file: a device, a pipe, a terminal.
bool is_special(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode);
}

}  // namespace

ReplacingFile::ReplacingFile(const std::string& path) : path_(file_behind_links(path)) {
  if (is_special(path_)) {
    fd_ = ::open(path_.c_str(), O_WRONLY | O_CLOEXEC);
  } else {
    fd_ = create_temporary(path_, temp_);
    if (fd_ >= 0) keep_old_permissions(fd_, path_);
  }
  if (fd_ < 0) fail(errno);
}

ReplacingFile::~ReplacingFile() {
  if (stream_)
    std::fclose(stream_);
  else if (fd_ >= 0)
    ::close(fd_);
  if (!temp_.empty()) ::unlink(temp_.c_str());
}

bool ReplacingFile::fail(int error_number) {
  if (!failed_) error_ = std::strerror(error_number);
  failed_ = true;
  return false;
}

std::FILE* ReplacingFile::stream() {
  if (!stream_ && fd_ >= 0) {
    stream_ = ::fdopen(fd_, "w");
    if (!stream_) fail(errno);
  }
  return stream_;
}

bool ReplacingFile::write(std::string_view bytes) {
  if (fd_ < 0) return false;
  if (stream_) return std::fwrite(bytes.data(), 1, bytes.size(), stream_) == bytes.size() || fail(errno);
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return fail(n < 0 ? errno : EIO);
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

bool ReplacingFile::commit() {
  if (fd_ < 0) return false;
  if (stream_ && (std::fflush(stream_) != 0 || std::ferror(stream_))) fail(errno ? errno : EIO);
  // a pipe or a terminal cannot be synced, and need not be
  if (!temp_.empty() && ::fsync(fd_) != 0) fail(errno);
  const int closed = stream_ ? std::fclose(stream_) : ::close(fd_);
  if (closed != 0) fail(errno);
  stream_ = nullptr;
  fd_ = -1;
  if (failed_ || temp_.empty()) return !failed_;
  if (::rename(temp_.c_str(), path_.c_str()) != 0) return fail(errno);
  temp_.clear();
  sync_folder(folder_of(path_));
  return true;
}

bool write_file_atomically(const std::string& path, std::string_view text, std::string& error) {
  ReplacingFile file(path);
  if (file.write(text) && file.commit()) return true;
  error = file.error();
  return false;
}

}  // namespace zentrik
