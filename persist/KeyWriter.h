// The writer's side of the program's key/value files: a key, one blank and its value
// per line, lists between a key line and an end marker, numbers as printf's "%g" in
// the "C" locale whatever the user's locale. A value is one line: a string value ends
// at its first line feed, and a list entry holding one, or beginning with the list's
// end marker, is left out, so that no value can make lines of its own. Used by the
// configuration, plot setup and plot object writers.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "data/fields/NumberText.h"

namespace zentrik {

class KeyWriter {
 public:
  explicit KeyWriter(std::string& out) : out_(out) {}

  void line(std::string_view key, std::string_view value) {
    out_.append(key).append(" ").append(value.substr(0, value.find('\n'))).append("\n");
  }
  void integer(std::string_view key, int64_t value) { line(key, std::to_string(value)); }
  // "%.<precision>g"
  void real(std::string_view key, double value, int precision) { line(key, format_g(value, precision)); }
  void rect(std::string_view key, const std::array<int32_t, 4>& rect) {
    line(key, std::to_string(rect[0]) + " " + std::to_string(rect[1]) + " " + std::to_string(rect[2]) + " " +
                  std::to_string(rect[3]));
  }
  void list(std::string_view key, std::string_view end_marker, const std::vector<std::string>& entries) {
    out_.append(key).append("\n");
    for (const std::string& entry : entries)
      if (entry.find('\n') == std::string::npos && !entry.starts_with(end_marker)) out_.append(entry).append("\n");
    out_.append(end_marker).append("\n");
  }
  std::string& text() { return out_; }

 private:
  std::string& out_;
};

}  // namespace zentrik
