// The few file-system calls the data layer makes: opening for reading with the
// system's error text, file status, and the clock of load times.
#pragma once

#include <cstdint>
#include <string>

#include "data/DataFile.h"

namespace zentrik {

// An open file descriptor, closed with the object.
class OpenFile {
 public:
  explicit OpenFile(const std::string& path);
  ~OpenFile();
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;

  bool ok() const { return fd_ >= 0; }
  int fd() const { return fd_; }
  // The system's text for why opening failed.
  const std::string& error() const { return error_; }
  int64_t size() const;

 private:
  int fd_ = -1;
  std::string error_;
};

// Size and modification time of path; false when it cannot be read.
bool file_status(const std::string& path, FileStatus& status);

// Seconds since 1970 with the clock's milliseconds.
double now_seconds();

}  // namespace zentrik
