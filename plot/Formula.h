// One formula of a plot: its text with the three parts cut from it, its line and
// point attributes, its histogram settings, and what is computed for it (points,
// bins, AVG's running block). The formula list of a plot is the X formula followed
// by the Y formulas. Used by the plot model, the computation, drawing and the files.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "formula/EvalContext.h"
#include "formula/Values.h"
#include "plot/PointColumns.h"

namespace zentrik {

enum class LineType : uint32_t { Solid = 0, Dash = 1, Dot = 2, DashDot = 3, DashDotDot = 4 };

// The labels of the line types, in their order.
inline constexpr std::array<std::string_view, 5> kLineTypeLabels = {
    "&Solid", "&Dash", "Dot", "Dash - Dot", "Dash - Dot - Dot"};

// Colours as 0x00BBGGRR: blue, red, green, magenta, cyan, light grey, grey, black, yellow.
inline constexpr std::array<uint32_t, 9> DefaultColorTable = {
    0xFF0000, 0x0000FF, 0x00FF00, 0xFF00FF, 0xFFFF00, 0xC0C0C0, 0x828282, 0x000000, 0x00FFFF};

// One histogram bin: the values below `upper` (and above the bin before) counted in
// it; the last bin also takes every value above it.
struct Bin {
  double upper = 0;
  bool last = false;
  int32_t count = 0;
};

// What the scaling pass collects for one formula over its on-plot points, and what
// the statistics make of it.
struct FormulaStatistics {
  double y_max = RANGE_UNSET_LOW, y_min = RANGE_UNSET_HIGH;
  double y_sum = 0;     // the sum of the counted values, replaced by the mean after scaling
  double quantity = 0;  // number of counted values
  double deviation = 0;  // the population standard deviation
  // for regression lines only: the plain sums behind the means; the slope is taken
  // from the counted points themselves
  double x_sum = 0, regression_y_sum = 0;
  double x_min = 1e300, x_max = -1e300;
  double slope = 0, mean_x = 0, mean_y = 0;
  double first_x = 0, first_y = 0;  // the first counted point
  bool too_big = false;  // a value above 1.5e150 stopped the statistics
  int32_t ignored = 0;   // points the user ignored; 0 again when the formula is recomputed

  // The start of a scaling pass: everything but the ignored count.
  void reset() {
    int32_t kept = ignored;
    *this = FormulaStatistics();
    ignored = kept;
  }
};

class Formula : public AvgState {
 public:
  explicit Formula(std::string text = {}) { set_text(std::move(text)); }

  const std::string& text() const { return text_; }
  // Sets the text and cuts its parts: value expression, "\" X expression, "?" condition.
  void set_text(std::string text);
  const std::string& expression_text() const { return expression_text_; }
  const std::string& suffix_text() const { return suffix_text_; }
  const std::string& condition_text() const { return condition_text_; }

  std::string description;  // shown in the legend; at most 100 characters
  char point_char = '*';
  int draw_points = 1;
  int draw_lines = 0;
  int black_points = 0;  // points in black instead of color
  LineType line_type = LineType::Solid;
  int line_width = 1;    // 1 .. 10; 1 unless the line is solid
  uint32_t color = 0;    // 0x00BBGGRR
  int bin_count = 29;
  int bin_all = 1;       // 1: bins span every formula of the plot; 0: this formula's values
  int reserved_flag = 0;  // stored and read back, otherwise unused
  int enabled = 1;
  int needs_recalc = 1;  // the points must be computed again
  int changed = 1;       // scaling, statistics and drawing must be redone

  // Points indexed by line number (1 .. the data set's loaded count). A committed
  // copy of an unchanged formula shares them with the copy it came from. A point's
  // value is the value expression's result (for the X formula: the line's X value);
  // its X value the formula's own X expression, else the X formula's value.
  std::shared_ptr<PointColumns> points;
  bool points_borrowed() const { return points && points.use_count() > 1; }
  std::vector<Bin> bins;
  int bins_in_use = 0;
  double bin_width = 0;
  FormulaStatistics statistics;

 private:
  std::string text_;
  std::string expression_text_;
  std::string suffix_text_;
  std::string condition_text_;
};

// The X formula first, then the Y formulas.
using FormulaList = std::vector<Formula>;

// Makes every Y formula without an X expression of its own read the X formula's
// values as its X values; one whose points are borrowed gets its own copy first.
void share_x_values(FormulaList& formulas);

// The colour and line type a new Y formula gets: the first pair, line types 0 to 3
// in turn and colours in table order, that no Y formula uses yet (a solid pair is
// taken by any formula of that colour); black solid when all 36 are taken.
struct LineStyle {
  uint32_t color;
  LineType line_type;
};
LineStyle automatic_line_style(const FormulaList& formulas);

// What the Plot Line Attributes dialog sets.
struct LineAttributes {
  std::string point_char;  // the field's text; exactly one character
  std::string line_width;  // the field's text; empty counts as 0
  LineType line_type = LineType::Solid;
  std::string description;
};

// The first refusal of the Plot Line Attributes dialog's OK, in the order it checks.
struct AttributeRefusal {
  enum Field { None, LineWidth, PointChar, Description } field = None;
  std::string text;
  std::string caption;
  int line_width = 0;  // the width read, once accepted
};
AttributeRefusal check_line_attributes(const LineAttributes& attributes);

}  // namespace zentrik
