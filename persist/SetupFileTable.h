// The table of the "Data Filename Extensions" dialog: rows of a description, a
// filter "*.ext" and a plot setup file, kept in the configuration as the data file
// dialog's filter text ("filters") and the extension-to-setup-file list ("psu_files").
// Also the lookup of a data file's extension pattern in that list.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ui/Ui.h"

namespace zentrik {

struct SetupFileRow {
  std::string description;  // without "|"
  std::string filter;       // "*." and one to three characters, without "?" and "|"
  std::string setup_file;   // a path, or empty
};

// The field a refused row sends the focus to.
enum class RowField { None, Filter, Description };

// The first refusal of a row on "&Add" or "&Enter Edits", in the dialog's order;
// the message has been shown.
RowField check_setup_file_row(const SetupFileRow& row, Ui& ui);

// A "|" typed into the filter or the description is refused at once: false, after
// the message, when text holds one.
bool check_typed_field(std::string_view text, Ui& ui);

class SetupFileTable {
 public:
  SetupFileTable() = default;
  // The rows the configuration's two values describe.
  static SetupFileTable from_settings(std::string_view filters, const std::vector<std::string>& psu_files);

  const std::vector<SetupFileRow>& rows() const { return rows_; }
  // "&Add" and "&Enter Edits": the row is checked first; RowField::None when taken.
  // An index outside the table changes nothing.
  RowField add(SetupFileRow row, Ui& ui);
  RowField enter_edits(std::size_t index, SetupFileRow row, Ui& ui);

  // "Description|*.ext|" per row ("All Files|*.*|" for none), then "|".
  std::string filters() const;
  // ".ext <setup file>" per row that names a setup file for a plain extension.
  std::vector<std::string> psu_files() const;

 private:
  std::vector<SetupFileRow> rows_;
};

// The "&Add" button is enabled while both fields hold text.
inline bool add_enabled(std::string_view description, std::string_view filter) {
  return !description.empty() && !filter.empty();
}

// The setup file listed in psu_files for a pattern "*.ext" (extensions compared
// without regard to case); empty when there is none.
std::string find_setup_file(std::string_view pattern, const std::vector<std::string>& psu_files);

}  // namespace zentrik
