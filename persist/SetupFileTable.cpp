#include "persist/SetupFileTable.h"

#include "data/fields/Chars.h"

namespace zentrik {
namespace {

constexpr std::string_view kAllFiles = "All Files|*.*|";

std::string upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = to_upper(c);
  return out;
}

// Only "*." followed by a plain extension names a setup file.
bool is_extension_pattern(std::string_view pattern) {
  return pattern.starts_with("*.") && !(pattern.size() > 2 && pattern[2] == '*');
}

std::vector<std::string_view> split_at_bars(std::string_view text) {
  std::vector<std::string_view> pieces;
  for (std::size_t bar; (bar = text.find('|')) != std::string_view::npos; text.remove_prefix(bar + 1))
    pieces.push_back(text.substr(0, bar));
  return pieces;
}

}  // namespace

RowField check_setup_file_row(const SetupFileRow& row, Ui& ui) {
  const std::string& filter = row.filter;
  if (filter.size() < 3 || filter.size() > 5 || !filter.starts_with("*.")) {
    ui.showError("You must enter a filter that starts with \"*.\" followed by a valid extension.", "Invalid filter!");
    return RowField::Filter;
  }
  if (filter.find('?') != std::string::npos) {
    ui.showError(
        "Question marks will not work.  You must enter a filter with a complete extension such as \"*.dat\".",
        "Sorry.");
    return RowField::Filter;
  }
  if (row.description.empty()) {
    ui.showError("You must enter a description!", "No description!");
    return RowField::Description;
  }
  return RowField::None;
}

bool check_typed_field(std::string_view text, Ui& ui) {
  if (text.find('|') == std::string_view::npos) return true;
  ui.showError("\"|\" is an illegal character!", "Error!");
  return false;
}

SetupFileTable SetupFileTable::from_settings(std::string_view filters, const std::vector<std::string>& psu_files) {
  SetupFileTable table;
  if (filters == std::string(kAllFiles) + "|") return table;  // what an empty table writes
  std::vector<std::string_view> pieces = split_at_bars(filters);
  for (std::size_t i = 0; i + 1 < pieces.size() && !pieces[i].empty(); i += 2) {
    SetupFileRow row{std::string(pieces[i]), std::string(pieces[i + 1]), {}};
    row.setup_file = find_setup_file(row.filter, psu_files);
    table.rows_.push_back(std::move(row));
  }
  return table;
}

RowField SetupFileTable::add(SetupFileRow row, Ui& ui) {
  RowField refused = check_setup_file_row(row, ui);
  if (refused == RowField::None) rows_.push_back(std::move(row));
  return refused;
}

RowField SetupFileTable::enter_edits(std::size_t index, SetupFileRow row, Ui& ui) {
  if (index >= rows_.size()) return RowField::None;
  RowField refused = check_setup_file_row(row, ui);
  if (refused == RowField::None) rows_[index] = std::move(row);
  return refused;
}

std::string SetupFileTable::filters() const {
  std::string text;
  for (const SetupFileRow& row : rows_) text += row.description + "|" + row.filter + "|";
  if (rows_.empty()) text = kAllFiles;
  return text + "|";
}

std::vector<std::string> SetupFileTable::psu_files() const {
  std::vector<std::string> list;
  for (const SetupFileRow& row : rows_)
    if (!row.setup_file.empty() && is_extension_pattern(row.filter))
      list.push_back(row.filter.substr(1) + " " + row.setup_file);
  return list;
}

std::string find_setup_file(std::string_view pattern, const std::vector<std::string>& psu_files) {
  if (!is_extension_pattern(pattern)) return {};
  const std::string wanted = upper(pattern.substr(1));
  for (const std::string& entry : psu_files) {
    std::size_t blank = entry.find(' ');
    if (upper(std::string_view(entry).substr(0, blank)) != wanted) continue;
    return blank == std::string::npos ? std::string() : entry.substr(blank + 1);
  }
  return {};
}

}  // namespace zentrik
