// Reads the lines of a file (or a text in memory) as a data set stores them: a
// stored line is at most 4095 characters, so a longer physical line becomes
// several; the line feed and a carriage return before it are removed. Reads the
// file in large blocks, and on request takes the fingerprint of what it has read.
// Used by loading, added files, reloads and the options dialog.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "data/Fingerprint.h"

namespace zentrik {

inline constexpr std::size_t kMaxStoredLine = 4095;

class LineReader {
 public:
  // Reads from an open file descriptor, which stays the caller's.
  explicit LineReader(int fd);
  // Reads from a text that outlives the reader.
  explicit LineReader(std::string_view text);

  // The next line; it stays valid until the next call. False at the end.
  bool next(std::string_view& line);
  // True when no line is left.
  bool at_end() {
    fill(1);
    return available() == 0;
  }
  // Bytes of the input consumed by the lines returned so far.
  uint64_t bytes_consumed() const { return consumed_; }
  // Bytes of the input up to the end of the last line that ended with a line feed.
  uint64_t complete_bytes() const { return complete_; }

  // From now on (call it at the start) every byte read goes into a fingerprint.
  void take_fingerprint() { fingerprinting_ = true; }
  // The fingerprint of the first complete_bytes() of the input; false when the
  // reading went past them in one piece (a last line without line feed longer than
  // what the reader holds), so that they can no longer be told apart.
  bool fingerprint(uint64_t& value) const;
  // Goes over the first `bytes` of the input without making lines, taking them into
  // the fingerprint; lines are read from there on. False when the input ends (or
  // fails) before, or they do not end with a line feed.
  bool pass_over(uint64_t bytes);
  // True when reading the file failed (the lines so far were delivered).
  bool read_failed() const { return read_error_ != 0; }
  // The system's text for the failure.
  std::string read_error() const;
  // Back to the start of the input (for a file: seeks to its start).
  bool rewind();

 private:
  // Makes at least `want` bytes available unless the input ends first.
  void fill(std::size_t want);
  std::size_t available() const { return static_cast<std::size_t>(end_ - begin_); }

  int fd_ = -1;
  std::string_view text_;  // the whole input when reading from memory
  std::vector<char> buffer_;
  const char* begin_ = nullptr;
  const char* end_ = nullptr;
  bool at_eof_ = false;
  int read_error_ = 0;  // errno of a failed read
  uint64_t consumed_ = 0;
  uint64_t complete_ = 0;
  bool fingerprinting_ = false;
  Fingerprint fingerprint_;
  uint64_t fingerprinted_ = 0;  // bytes of the input in fingerprint_; the rest read is in view
};

}  // namespace zentrik
