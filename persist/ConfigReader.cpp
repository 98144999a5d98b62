#include "persist/ConfigReader.h"

#include <cmath>
#include <limits>
#include <optional>

#include "data/FileAccess.h"

#include "data/fields/Chars.h"
#include "data/fields/NumberText.h"

namespace zentrik {

ConfigReader::ConfigReader(const std::string& path) {
  // The program's own files are small; a data file chosen by mistake is not read whole.
  std::string text;
  if (!read_small_file(path, kMaxFileSize, text, error_)) return;
  open_ = true;
  split(text);
}

ConfigReader ConfigReader::from_text(std::string_view text) {
  ConfigReader reader;
  reader.open_ = true;
  reader.split(text);
  return reader;
}

void ConfigReader::split(std::string_view text) {
  std::string line;
  for (char c : text) {
    if (c == '\n') {
      lines_.push_back(std::move(line));
      line.clear();
    } else if (c != '\r') {  // carriage returns are dropped wherever they stand
      line += c;
    }
  }
  if (!line.empty()) lines_.push_back(std::move(line));
}

// A list's key stands alone on its line (trailing blanks aside): a list entry that
// merely begins with the key, such as a recent file "default_plot.dat", is no key.
bool ConfigReader::find_key(std::string_view key, bool with_blank) {
  std::string wanted(key);
  if (with_blank) wanted += ' ';
  auto is_key_line = [&](std::string_view line) {
    return line.starts_with(wanted) &&
           (with_blank || skip_blanks(line, wanted.size()) == line.size());
  };
  for (std::size_t step = 0; step < lines_.size(); ++step) {
    std::size_t i = (current_ + step) % lines_.size();
    if (is_key_line(lines_[i])) {
      current_ = i;
      return true;
    }
  }
  return false;
}

bool ConfigReader::value_of(std::string_view key, std::string_view& value) {
  if (!find_key(key)) return false;
  value = std::string_view(lines_[current_]).substr(key.size() + 1);
  return true;
}

int32_t ConfigReader::read_int(std::string_view key, int32_t def) {
  int64_t value = read_long(key, def);
  return value < INT32_MIN || value > INT32_MAX ? def : static_cast<int32_t>(value);
}

int64_t ConfigReader::read_long(std::string_view key, int64_t def) {
  std::string_view text;
  if (!value_of(key, text)) return def;
  return leading_integer(text).value_or(def);
}

uint64_t ConfigReader::read_unsigned(std::string_view key, uint64_t def) {
  std::string_view text;
  if (!value_of(key, text)) return def;
  std::optional<int64_t> value = leading_integer(text);
  return value ? static_cast<uint64_t>(*value) : def;  // "%lu" wraps a negative number too
}

double ConfigReader::read_double(std::string_view key, double def) {
  std::string_view text;
  if (!value_of(key, text)) return def;
  std::size_t pos = skip_blanks(text, 0);
  if (!number_starts_at(text, pos)) return def;
  double value = def;
  read_number(text, pos, value);
  // A number beyond a double's range stands for the largest one of its sign, which is
  // written back as a text that reads as that again: it survives every save.
  if (std::isinf(value)) return std::copysign(std::numeric_limits<double>::max(), value);
  return std::isnan(value) ? def : value;
}

std::string ConfigReader::read_string(std::string_view key, std::string def) {
  std::string_view text;
  if (!value_of(key, text) || text.empty()) return def;
  return std::string(text);
}

void ConfigReader::read_rect(std::string_view key, std::array<int32_t, 4>& rect) {
  std::string_view text;
  if (!value_of(key, text)) return;
  std::array<int32_t, 4> values{};
  std::size_t count = 0, pos = 0;
  for (;;) {
    pos = skip_blanks(text, pos);
    if (pos >= text.size()) break;
    std::size_t end = pos;
    while (end < text.size() && !is_blank(text[end])) ++end;
    std::optional<int64_t> value = leading_integer(text.substr(pos, end - pos));
    if (!value) break;  // the numbers end at a word
    if (++count > 4) return;
    values[count - 1] = static_cast<int32_t>(*value);
    pos = end;
  }
  if (count == 4) rect = values;
}

std::vector<std::string_view> ConfigReader::lines_until(std::string_view end_marker) {
  std::vector<std::string_view> lines;
  for (std::size_t i = current_ + 1; i < lines_.size(); ++i) {
    if (lines_[i].starts_with(end_marker)) {
      current_ = i;
      return lines;
    }
    lines.push_back(lines_[i]);
  }
  return lines;
}

std::vector<std::string> ConfigReader::read_list(std::string_view key, std::string_view end_marker) {
  std::vector<std::string> list;
  if (!find_key(key, false)) return list;
  for (std::string_view line : lines_until(end_marker)) list.emplace_back(line);
  return list;
}

}  // namespace zentrik
