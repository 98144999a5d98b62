#include "data/FileAccess.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace zentrik {
namespace {

// The pipes read in the current stream scope, by device and inode, each held in a
// memory file; the update thread may open files while the user-interface thread loads.
struct Streams {
  std::mutex mutex;
  int depth = 0;
  std::map<std::pair<dev_t, ino_t>, int> captured;
};

Streams& streams() {
  static Streams instance;
  return instance;
}

std::string refusal(mode_t mode) {
  if (S_ISDIR(mode)) return std::strerror(EISDIR);
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "Is a device, not a file";
  if (S_ISSOCK(mode)) return "Is a socket, not a file";
  return "Not a file";
}

std::string megabytes(uint64_t bytes) { return std::to_string(bytes >> 20) + " MB"; }

// A second descriptor of fd with its own reading position.
int reopen(int fd) {
  int copy = open(("/proc/self/fd/" + std::to_string(fd)).c_str(), O_RDONLY | O_CLOEXEC);
  if (copy < 0) copy = fcntl(fd, F_DUPFD_CLOEXEC, 0);
  if (copy >= 0) lseek(copy, 0, SEEK_SET);
  return copy;
}

bool write_all(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    ssize_t n = write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

// Reads the pipe in to its end into a memory file; -1 with the reason when it brings
// more than limit bytes or fails.
int capture(int in, uint64_t limit, std::string& error) {
  int memory = memfd_create("zentrik-pipe", MFD_CLOEXEC);
  if (memory < 0) {
    error = std::strerror(errno);
    return -1;
  }
  std::vector<char> block(1 << 20);
  uint64_t total = 0;
  for (;;) {
    ssize_t n = read(in, block.data(), block.size());
    if (n < 0 && errno == EINTR) continue;
    if (n == 0) break;
    if (n < 0 || !write_all(memory, block.data(), static_cast<std::size_t>(n))) {
      error = std::strerror(errno);
      close(memory);
      return -1;
    }
    total += static_cast<uint64_t>(n);
    if (total > limit) {
      error = std::strerror(EFBIG);
      close(memory);
      return -1;
    }
  }
  lseek(memory, 0, SEEK_SET);
  return memory;
}

// A pipe takes half of the memory left at most: its lines are stored once more.
uint64_t stream_limit() {
  uint64_t free = available_memory();
  return free > 0 ? free / 2 : uint64_t{4} << 30;
}

// Without a limit of the caller's (memory_bound), the memory left is the limit.
int open_stream(const std::string& path, const struct stat& st, uint64_t limit, bool memory_bound,
                std::string& error) {
  Streams& all = streams();
  const auto key = std::make_pair(st.st_dev, st.st_ino);
  {
    std::lock_guard lock(all.mutex);
    if (auto found = all.captured.find(key); all.depth > 0 && found != all.captured.end()) {
      int copy = reopen(found->second);
      if (copy < 0) error = std::strerror(errno);
      return copy;
    }
  }
  int in = open(path.c_str(), O_RDONLY | O_CLOEXEC);  // waits for a writer, as reading a pipe does
  if (in < 0) {
    error = std::strerror(errno);
    return -1;
  }
  int memory = capture(in, limit, error);
  close(in);
  if (memory < 0) {
    if (error == std::strerror(EFBIG) && memory_bound)
      error = "The pipe brings more than " + megabytes(limit) + ", half of the memory available";
    return -1;
  }
  std::lock_guard lock(all.mutex);
  if (all.depth == 0) return memory;
  all.captured[key] = memory;
  int copy = reopen(memory);
  if (copy < 0) error = std::strerror(errno);
  return copy;
}

}  // namespace

OpenFile::OpenFile(const std::string& path) : OpenFile(path, 0) {}

OpenFile::OpenFile(const std::string& path, uint64_t stream_limit_bytes) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0) {
    error_ = std::strerror(errno);
    return;
  }
  if (S_ISFIFO(st.st_mode)) {
    const bool memory_bound = stream_limit_bytes == 0;
    fd_ = open_stream(path, st, memory_bound ? stream_limit() : stream_limit_bytes, memory_bound, error_);
    return;
  }
  if (!S_ISREG(st.st_mode)) {
    error_ = refusal(st.st_mode);
    return;
  }
  // Not waiting even if a pipe or a device took the file's place since the look above.
  fd_ = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd_ < 0) {
    error_ = std::strerror(errno);
    return;
  }
  if (fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode) || fcntl(fd_, F_SETFL, 0) != 0) {
    error_ = refusal(st.st_mode);
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

StreamScope::StreamScope() {
  std::lock_guard lock(streams().mutex);
  ++streams().depth;
}

StreamScope::~StreamScope() {
  Streams& all = streams();
  std::lock_guard lock(all.mutex);
  if (--all.depth > 0) return;
  for (const auto& [key, fd] : all.captured) close(fd);
  all.captured.clear();
}

bool is_stream(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISFIFO(st.st_mode);
}

bool read_small_file(const std::string& path, std::size_t max_bytes, std::string& text, std::string& error) {
  OpenFile file(path, max_bytes);
  if (!file.ok()) {
    error = file.error();
    return false;
  }
  text.clear();
  std::vector<char> block(64 << 10);
  for (;;) {
    ssize_t n = read(file.fd(), block.data(), block.size());
    if (n < 0 && errno == EINTR) continue;
    if (n == 0) return true;
    if (n < 0) {
      error = std::strerror(errno);
      return false;
    }
    if (text.size() + static_cast<std::size_t>(n) > max_bytes) {
      error = std::strerror(EFBIG);
      return false;
    }
    text.append(block.data(), static_cast<std::size_t>(n));
  }
}

uint64_t available_memory() {
  std::FILE* info = std::fopen("/proc/meminfo", "re");
  if (!info) return 0;
  unsigned long long kilobytes = 0;
  char line[256];
  while (std::fgets(line, sizeof line, info))
    if (std::sscanf(line, "MemAvailable: %llu kB", &kilobytes) == 1) break;
  std::fclose(info);
  return static_cast<uint64_t>(kilobytes) << 10;
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
