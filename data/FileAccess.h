// The few file-system calls the data layer makes: opening for reading with the
// system's error text, file status, the memory left to fill, and the clock of load
// times. Every reader of the program's files (data, plot objects, setup files, the
// configuration) opens through OpenFile, so that none of them waits on a device that
// never ends or opens a pipe a second time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "data/DataFile.h"

namespace zentrik {

// An open file descriptor, closed with the object. The opening knows what it opened:
// a regular file is read where it lies; a pipe (a named one, /dev/stdin, <(...)) is
// read once to its end into memory, so that the descriptor is a file that can be
// read again from its start; devices, sockets and folders are refused without
// reading, since they hold no lines or never end.
class OpenFile {
 public:
  explicit OpenFile(const std::string& path);
  // A pipe that brings more than stream_limit_bytes is refused ("File too large");
  // without a limit, a pipe may fill half of the memory available.
  OpenFile(const std::string& path, uint64_t stream_limit_bytes);
  ~OpenFile();
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;

  bool ok() const { return fd_ >= 0; }
  int fd() const { return fd_; }
  // The reason opening failed, in the system's words where it gave one.
  const std::string& error() const { return error_; }
  int64_t size() const;

 private:
  int fd_ = -1;
  std::string error_;
};

// While one of these lives (nested ones count as one), a pipe is read once: every
// later opening of it gets what the first one read. A load holds one from its first
// look at a file to its last, so that a pipe's first line, its plot object and its
// lines all come from the one read; the pipe's data is let go with the last scope.
class StreamScope {
 public:
  StreamScope();
  ~StreamScope();
  StreamScope(const StreamScope&) = delete;
  StreamScope& operator=(const StreamScope&) = delete;
};

// True when path is a pipe, whose data is gone once read (no file to read again).
bool is_stream(const std::string& path);

// Reads the whole file at path when it holds at most max_bytes; else false with the
// reason ("File too large" for a longer one).
bool read_small_file(const std::string& path, std::size_t max_bytes, std::string& text, std::string& error);

// Bytes of memory the system can still hand out without swapping; 0 when unknown.
uint64_t available_memory();

// Size and modification time of path; false when it cannot be read.
bool file_status(const std::string& path, FileStatus& status);

// Seconds since 1970 with the clock's milliseconds.
double now_seconds();

}  // namespace zentrik
