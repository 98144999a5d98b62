#include "plot/PlotSetup.h"

#include <algorithm>

namespace zentrik {
namespace {

std::string copy_description(const std::string& source) {
  if (source.empty() || source.find("(copy)") != std::string::npos) return source;
  return source + " (copy)";
}

std::vector<std::string> texts_of(const FormulaList& formulas) {
  std::vector<std::string> texts;
  for (const Formula& formula : formulas) texts.push_back(formula.text());
  return texts;
}

}  // namespace

PlotSetup::PlotSetup(const PlotDefinition& committed, std::string setup_from, DefaultPlot& defaults,
                     SampleLine first_included, Ui& ui)
    : working_(committed), setup_from_(std::move(setup_from)), defaults_(defaults),
      first_included_(first_included), ui_(ui), committed_texts_(texts_of(committed.formulas)) {
  if (working_.formulas.empty()) working_.formulas.emplace_back();
  x_formula = working_.formulas[0].text();
}

bool PlotSetup::refuse(const std::string& text) {
  ui_.showError(text, "Error!");
  return false;
}

std::string PlotSetup::entry_label() const {
  if (duplicating_) return "New Y Formula (copy of formula #" + std::to_string(duplicate_number_) + "):";
  return "New Y Formula:";
}

std::vector<std::string> PlotSetup::list_items() const {
  std::vector<std::string> items;
  for (std::size_t i = 1; i < working_.formulas.size(); ++i)
    items.push_back((working_.formulas[i].enabled ? "" : "DISABLED  ") + working_.formulas[i].text());
  return items;
}

std::string PlotSetup::description_label() const {
  if (selected.size() != 1) return "Description:  No formula selected . . .";
  const std::string& description = working_.formulas[static_cast<std::size_t>(selected[0]) + 1].description;
  return "Description:  " + (description.empty() ? std::string("none") : description);
}

std::string PlotSetup::enable_button_label() const {
  bool enabled = selected.empty() || working_.formulas[static_cast<std::size_t>(selected[0]) + 1].enabled;
  return enabled ? "Disa&ble" : "Ena&ble";
}

bool PlotSetup::add() {
  std::string text = normalizeFormulaText(entry);
  if (text.empty()) {
    if (editing_)
      return refuse("The formula being edited is zero length.  Use the DELETE button to remove a formula.");
    return refuse("Zero-length formula!");
  }
  std::string label = editing_ ? "Y formula #" + std::to_string(*editing_ + 1) : "new Y formula";
  if (!checkFormula(text, label, nullptr, first_included_, ui_)) return false;
  if (editing_) {
    Formula& formula = y(*editing_);
    formula.set_text(text);
    formula.points.reset();
    formula.needs_recalc = formula.changed = 1;
    editing_.reset();
  } else {
    Formula formula = new_y_formula(text, working_.formulas, defaults_);
    if (duplicating_) {
      const Formula& source = *duplicating_;
      formula.description = copy_description(source.description);
      formula.draw_points = source.draw_points;
      formula.draw_lines = source.draw_lines;
      formula.black_points = source.black_points;
      formula.line_type = source.line_type;
      formula.line_width = source.line_width;
      formula.bin_count = source.bin_count;
      formula.reserved_flag = source.reserved_flag;
      formula.bin_all = source.bin_all;
      duplicating_.reset();
    }
    working_.formulas.push_back(std::move(formula));
  }
  entry.clear();
  return true;
}

void PlotSetup::edit(int index) {
  editing_ = index;
  duplicating_.reset();
  entry = y(index).text();
}

void PlotSetup::cancel_edit() {
  editing_.reset();
  entry.clear();
}

void PlotSetup::duplicate(int index) {
  editing_.reset();
  duplicating_ = y(index);
  duplicate_number_ = index + 1;
  entry = y(index).text();
}

void PlotSetup::remove_selected() {
  std::vector<int> doomed = selected;
  std::sort(doomed.rbegin(), doomed.rend());
  for (int index : doomed)
    if (index >= 0 && index < y_count()) working_.formulas.erase(working_.formulas.begin() + index + 1);
  selected.clear();
  editing_.reset();
}

bool PlotSetup::move_up(int index) {
  if (index <= 0 || index >= y_count()) {
    ui_.beep();
    return false;
  }
  std::swap(y(index), y(index - 1));
  return true;
}

bool PlotSetup::move_down(int index) {
  if (index < 0 || index + 1 >= y_count()) return false;
  std::swap(y(index), y(index + 1));
  return true;
}

void PlotSetup::toggle_enabled() {
  for (int index : selected)
    if (index >= 0 && index < y_count()) y(index).enabled = !y(index).enabled;
}

bool PlotSetup::set_attributes(const AttributesEntry& entry) {
  if (selected.size() != 1) {
    ui_.showError("You must first select a single formula to set its attributes.", "No Formula!");
    return false;
  }
  AttributeRefusal refusal = check_line_attributes(entry.fields);
  if (refusal.field != AttributeRefusal::None) {
    ui_.showError(refusal.text, refusal.caption);
    return false;
  }
  Formula& formula = y(selected[0]);
  bool bins_changed = formula.bin_count != entry.bin_count || formula.bin_all != entry.bin_all;
  formula.point_char = entry.fields.point_char[0];
  formula.draw_points = entry.draw_points;
  formula.draw_lines = entry.draw_lines;
  formula.line_type = entry.fields.line_type;
  formula.line_width = refusal.line_width;
  formula.color = entry.color;
  formula.black_points = entry.black_points;
  formula.description = entry.fields.description;
  formula.bin_count = entry.bin_count;
  formula.bin_all = entry.bin_all;
  formula.changed = 1;
  if (bins_changed) formula.needs_recalc = 1;
  return true;
}

void PlotSetup::set_defaults() {
  working_.formulas[0].set_text(normalizeFormulaText(x_formula));
  defaults_.definition = working_;
}

void PlotSetup::load_defaults() {
  working_ = new_plot_definition(defaults_, setup_from_);
  x_formula = working_.formulas[0].text();
  selected.clear();
  editing_.reset();
  duplicating_.reset();
}

bool PlotSetup::ok(PlotDefinition& definition) {
  std::string x_text = normalizeFormulaText(x_formula);
  if (x_text.empty()) return refuse("There must be an X formula!");
  if (y_count() == 0 && normalizeFormulaText(entry).empty()) return refuse("There must be at least one Y formula!");
  if (!normalizeFormulaText(entry).empty() && !add()) return false;
  if (!checkFormula(x_text, "X formula", nullptr, first_included_, ui_)) return false;
  if (working_.formulas[0].text() != x_text) {
    working_.formulas[0].set_text(x_text);
    working_.formulas[0].needs_recalc = 1;
  }
  if (texts_of(working_.formulas) != committed_texts_) {
    ui_.progressShow("\nDeleting Old\nPoint Data . . .", false);
    for (Formula& formula : working_.formulas) {
      formula.points.reset();
      formula.needs_recalc = formula.changed = 1;
    }
    ui_.progressHide();
  }
  definition = working_;
  committed_texts_ = texts_of(definition.formulas);
  return true;
}

}  // namespace zentrik
