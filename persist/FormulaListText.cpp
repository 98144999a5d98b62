#include "persist/FormulaListText.h"

#include <cmath>

#include "data/fields/Chars.h"
#include "data/fields/Fields.h"

namespace zentrik {
namespace {

// Walks the numeric fields of a formula line: each is the next number, after which
// the position passes the rest of that token and the blanks behind it.
class FieldWalker {
 public:
  FieldWalker(std::string_view line, std::size_t pos) : line_(line), pos_(pos) {}

  int64_t next(int64_t def) {
    std::size_t p = pos_;
    double value = 0;
    if (!next_field(line_, p, value)) return def;
    while (p < line_.size() && !is_blank(line_[p])) ++p;
    pos_ = skip_blanks(line_, p);
    if (std::isnan(value)) return 0;
    return value >= 9.2e18 ? INT64_MAX : value <= -9.2e18 ? INT64_MIN : static_cast<int64_t>(value);
  }
  std::string_view rest() const { return line_.substr(pos_); }

 private:
  std::string_view line_;
  std::size_t pos_;
};

int to_int(int64_t value) {
  return value > INT32_MAX ? INT32_MAX : value < INT32_MIN ? INT32_MIN : static_cast<int>(value);
}

}  // namespace

std::string formula_line(const Formula& formula) {
  int flags = (formula.black_points ? 1 : 0) | (formula.bin_all ? 2 : 0);
  std::string line(1, formula.point_char);
  for (int64_t field : {int64_t{formula.draw_points}, int64_t{formula.draw_lines}, int64_t{formula.color},
                        int64_t{static_cast<uint32_t>(formula.line_type)}, int64_t{formula.line_width},
                        int64_t{flags}, int64_t{formula.bin_count}, int64_t{formula.reserved_flag}})
    line += " " + std::to_string(field);
  // one line of the file, whatever the texts hold
  auto one_line = [](std::string_view text) { return text.substr(0, text.find('\n')); };
  return line.append(" ").append(one_line(formula.text())).append("~").append(one_line(formula.description)) + "\n";
}

void write_formula_list(std::string& out, std::string_view key, std::string_view end_marker,
                        const FormulaList& formulas) {
  if (formulas.empty()) return;
  out.append(key).append("\n");
  for (const Formula& formula : formulas) out += formula_line(formula);
  out.append(end_marker).append("\n");
}

bool read_formula_line(std::string_view line, int index, Formula& formula) {
  if (line.size() < 9 || count_fields(line) < 3) return false;
  std::size_t pos = skip_blanks(line, 0);
  formula.point_char = line[pos];
  FieldWalker fields(line, pos + 1);
  formula.draw_points = to_int(fields.next(0));
  formula.draw_lines = to_int(fields.next(1));
  int64_t color = fields.next(DefaultColorTable[static_cast<std::size_t>(index) % DefaultColorTable.size()]);
  formula.color = static_cast<uint32_t>(color);
  int64_t type = fields.next(0);
  formula.line_type = type >= 0 && type <= 4 ? static_cast<LineType>(type) : LineType::Solid;
  formula.line_width = to_int(fields.next(1));
  int64_t flags = fields.next(1);
  formula.black_points = flags & 1 ? 1 : 0;
  formula.bin_all = flags & 2 ? 1 : 0;
  formula.bin_count = to_int(fields.next(1));
  formula.reserved_flag = to_int(fields.next(1));
  std::string_view rest = fields.rest();
  std::size_t tilde = rest.find('~');
  formula.set_text(std::string(rest.substr(0, tilde)));
  formula.description = tilde == std::string_view::npos ? "" : std::string(rest.substr(tilde + 1));
  formula.enabled = 1;
  return true;
}

FormulaList read_formula_list(ConfigReader& reader, std::string_view key, std::string_view end_marker) {
  FormulaList formulas;
  if (!reader.find_key(key, false)) return formulas;
  for (std::string_view line : reader.lines_until(end_marker)) {
    Formula formula;
    if (read_formula_line(line, static_cast<int>(formulas.size()), formula)) formulas.push_back(std::move(formula));
  }
  return formulas;
}

}  // namespace zentrik
