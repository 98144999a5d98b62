// The "Axis Setup" sheet: the pages "X Axis" and "Y Axis" with a plot's labels,
// ranges, scale types, margins, precisions, grid lines, scale marks and (on a date
// X axis) its date format. A page is checked when the user leaves it and both are
// checked on OK (plot/AxisPage.h); a refusal is shown through the Ui and the focus
// goes back to the field. Opened by a plot window's axis commands and by the Plot
// Setup dialog's "A&xes" button on its working copy.
#pragma once

#include <array>

#include <QDialog>

#include "plot/PlotDefinition.h"
#include "ui/Ui.h"

class QPushButton;
class QTabWidget;

namespace zentrik {

class AxisSetupPage;

// Shows the sheet on definition, opened on the X page (first_page 0) or the Y page
// (1). OK applies the pages after their checks; returns true on OK, with *changed
// (when given) telling whether any axis setting differs from before. Cancel changes
// nothing.
bool exec_axis_setup(PlotDefinition& definition, int first_page, Ui& ui, QWidget* parent, bool* changed);

class AxisSetupDialog : public QDialog {
 public:
  AxisSetupDialog(PlotDefinition& definition, int first_page, Ui& ui, QWidget* parent = nullptr);
  ~AxisSetupDialog() override;

  // Checks both pages, the one shown first; when both are accepted, writes them into
  // the definition and returns true. Otherwise shows the refusal, turns to its page
  // with the focus on the field, and returns false.
  bool apply();
  // Whether the last apply changed any axis setting.
  bool changed() const { return changed_; }
  // "&Reset": both pages show again the values the sheet opened with.
  void reset();

  void accept() override;

 private:
  void page_changed(int index);
  bool check_page(int index);

  PlotDefinition& definition_;
  PlotDefinition opened_with_;
  Ui& ui_;
  QTabWidget* tabs_ = nullptr;
  std::array<AxisSetupPage*, 2> pages_{};
  int current_ = 0;
  bool turning_back_ = false;  // the tab is being set back after a refusal
  bool changed_ = false;
};

// Whether two definitions differ in any setting of the axis pages.
bool axis_settings_differ(const PlotDefinition& a, const PlotDefinition& b);

}  // namespace zentrik
