// The plot setup dialog without its widgets: a working copy of a plot's formula
// list and settings that Add, Edit, Duplicate, Delete, Move, Disable/Enable,
// Attributes, Set Defaults and Load Defaults change, and OK commits with its
// refusals. Messages go through the Ui; the desktop dialog only shows this state.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "formula/FormulaCheck.h"
#include "plot/PlotDefinition.h"
#include "ui/Ui.h"

namespace zentrik {

// What the Plot Line Attributes dialog holds when OK is pressed.
struct AttributesEntry {
  LineAttributes fields;  // point character, line width, line type and description as typed
  int draw_points = 1, draw_lines = 0;
  uint32_t color = 0;
  int black_points = 0;
  int bin_count = 29;
  int bin_all = 1;
};

class PlotSetup {
 public:
  // first_included is the data set's first included line, on which formulas are checked.
  PlotSetup(const PlotDefinition& committed, std::string setup_from, DefaultPlot& defaults,
            SampleLine first_included, Ui& ui);

  // The working copy; settings other than formulas may be changed directly.
  PlotDefinition& working() { return working_; }
  const std::string& setup_from() const { return setup_from_; }

  std::string x_formula;  // the "X Axis Formula:" field
  std::string entry;      // the "New Y Formula:" field
  std::string entry_label() const;
  // The list box: the Y formulas' texts, disabled ones marked "DISABLED  ".
  std::vector<std::string> list_items() const;

  // Selection in the list box, by Y formula index (from 0).
  std::vector<int> selected;
  std::string description_label() const;
  std::string enable_button_label() const;

  // "&Add" (or "&Enter Edits" while editing): false, after a message, when refused.
  bool add();
  void edit(int index);
  void cancel_edit();
  bool editing() const { return editing_.has_value(); }
  void duplicate(int index);
  void remove_selected();
  // False when refused (Move Up of the first formula beeps; the last cannot move down).
  bool move_up(int index);
  bool move_down(int index);
  void toggle_enabled();
  // "A&ttributes": false, after the dialog's or the selection's message, when refused.
  bool set_attributes(const AttributesEntry& entry);
  void set_defaults();
  void load_defaults();
  // "&OK": commits into definition; false, after a message, when refused.
  bool ok(PlotDefinition& definition);

 private:
  Formula& y(int index) { return working_.formulas[static_cast<std::size_t>(index) + 1]; }
  int y_count() const { return static_cast<int>(working_.formulas.size()) - 1; }
  bool refuse(const std::string& text);

  PlotDefinition working_;
  std::string setup_from_;
  DefaultPlot& defaults_;
  SampleLine first_included_;
  Ui& ui_;
  std::vector<std::string> committed_texts_;
  std::optional<int> editing_;         // the Y formula being edited
  std::optional<Formula> duplicating_;  // the source of the next Add
  int duplicate_number_ = 0;
};

}  // namespace zentrik
