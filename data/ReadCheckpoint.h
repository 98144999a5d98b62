// Where the last read of a data set's first file stopped: the file, the bytes up to
// the end of the last complete line read with their fingerprint, and the state of
// the reading there. A reload of a file that only grew checks those bytes against
// the fingerprint and reads on from there. Taken by loads and reloads.
#pragma once

#include <cstdint>

#include "data/LineReader.h"
#include "data/LoadFilter.h"

namespace zentrik {

// A file as the system knows it, whatever its name.
struct FileIdentity {
  uint64_t device = 0;
  uint64_t inode = 0;
  bool operator==(const FileIdentity&) const = default;
};

// The identity of an open file; false when the system cannot tell it.
bool file_identity(int fd, FileIdentity& identity);

struct ReadCheckpoint {
  FileIdentity file;
  uint64_t bytes = 0;        // the end of the last complete line read
  uint64_t fingerprint = 0;  // of those bytes
  int32_t stored = 0;        // lines stored from them
  int32_t read_count = 0;    // lines read from them after the initial skip
  LoadFilter::Progress filter;
};

// Follows a read line by line, keeping the state at the end of the last complete
// line, and makes the checkpoint once the read has reached the end of the file.
class CheckpointTaker {
 public:
  // reader must fingerprint what it reads from its start.
  explicit CheckpointTaker(const LineReader& reader) : reader_(reader) {}

  // After each line (and once before the first): the counts as they stand.
  void line_done(int32_t stored, int32_t read_count, const LoadFilter& filter) {
    if (reader_.bytes_consumed() != reader_.complete_bytes()) return;  // inside a line
    at_line_end_ = {{}, reader_.complete_bytes(), 0, stored, read_count, filter.progress()};
  }
  // The checkpoint of the whole read of the open file fd; false when there is none:
  // no complete line, or the fingerprint cannot be formed.
  bool take(int fd, ReadCheckpoint& checkpoint) const;

 private:
  const LineReader& reader_;
  ReadCheckpoint at_line_end_;
};

}  // namespace zentrik
