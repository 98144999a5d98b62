// Writing a file so that it is either replaced completely or left as it was: the
// bytes go to a temporary file in the same folder, are flushed to the disk, and only
// then renamed over the old file. Every file the program writes goes this way (the
// configuration, plot setups and objects, pictures, points and reports), so a full
// disk, a crash or a kill in the middle of a save loses nothing. A target that is
// not a file (a terminal, a pipe, /dev/null) has nothing to keep and is written
// directly, every write still checked.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace zentrik {

class ReplacingFile {
 public:
  // Opens the temporary file beside path (the file behind it when path is a link);
  // see ok() and error().
  explicit ReplacingFile(const std::string& path);
  // Not committed: the temporary file is removed and the old file stays as it was.
  ~ReplacingFile();
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  bool ok() const { return fd_ >= 0; }
  // The descriptor to write to, for writers that take one.
  int fd() const { return fd_; }
  // A stream over fd() for writers that print; owned by this object.
  std::FILE* stream();
  bool write(std::string_view bytes);
  // Flushes everything to the disk and puts the file in place. False with error()
  // when anything written, flushed or renamed failed; the old file is then untouched.
  bool commit();
  // The system's reason for the first failure.
  const std::string& error() const { return error_; }

 private:
  bool fail(int error_number);

  std::string path_;  // the target, links resolved
  std::string temp_;  // empty when writing to the target directly
  int fd_ = -1;
  std::FILE* stream_ = nullptr;
  bool failed_ = false;
  std::string error_;
};

// Replaces the file at path (the file behind it when path is a link) by text. On
// failure the old file (if any) is untouched, no temporary file is left behind, and
// error holds the system's reason.
bool write_file_atomically(const std::string& path, std::string_view text, std::string& error);

}  // namespace zentrik
