// The key/value line reader of the program's text files (configuration, plot setup
// and plot object files): a line is a key, one blank and a value, or a list between
// a key line and an end marker. Lookups scan on from the last key found and wrap
// round to the start once, so keys may stand in any order; a missing key gives the
// caller's default.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zentrik {

class ConfigReader {
 public:
  // Larger files are not read (every lookup fails): no setup, object or configuration
  // file comes near it.
  static constexpr std::size_t kMaxFileSize = 64u << 20;

  // Reads the whole file; when it cannot be read every lookup fails.
  explicit ConfigReader(const std::string& path);
  // A reader over text already in memory.
  static ConfigReader from_text(std::string_view text);

  bool is_open() const { return open_; }
  // Why the file could not be read ("File too large" beyond the limit).
  const std::string& error() const { return error_; }

  // Makes the line that begins with key (followed by a blank when with_blank) the
  // current one; false when no line does.
  bool find_key(std::string_view key, bool with_blank = true);

  int32_t read_int(std::string_view key, int32_t def);
  int64_t read_long(std::string_view key, int64_t def);
  uint64_t read_unsigned(std::string_view key, uint64_t def);
  double read_double(std::string_view key, double def);
  // The rest of the line after the key and its blank.
  std::string read_string(std::string_view key, std::string def);
  // Changed only when the line holds exactly four numbers.
  void read_rect(std::string_view key, std::array<int32_t, 4>& rect);
  // The lines after the key line up to one that begins with end_marker.
  std::vector<std::string> read_list(std::string_view key, std::string_view end_marker);

  // The lines after the current one, up to one that begins with end_marker (or the
  // end of the file); the end marker's line becomes the current line.
  std::vector<std::string_view> lines_until(std::string_view end_marker);

 private:
  ConfigReader() = default;
  void split(std::string_view text);
  // The value text after the key of the current line, or false when the key is missing.
  bool value_of(std::string_view key, std::string_view& value);

  bool open_ = false;
  std::string error_;
  std::vector<std::string> lines_;
  std::size_t current_ = 0;
};

}  // namespace zentrik
