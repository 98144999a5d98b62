// The "Plot Line Attributes" dialog of the plot setup: how one Y formula is drawn
// (plot type, line type, colour, width, point character, black points), its
// histogram bins and its description, with a sample of the line as it will look.
// OK hands the fields to PlotSetup::set_attributes, which checks them and shows
// any refusal through the Ui; the dialog then stays open on the offending field.
// Opened by the Plot Setup dialog's "A&ttributes" button.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include <QDialog>

#include "plot/PlotSetup.h"

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace zentrik {

// How a formula's line and points look in the sample.
struct LineLook {
  bool draw_lines = true, draw_points = true, black_points = false;
  char point_char = '*';
  LineType line_type = LineType::Solid;
  int line_width = 1;
  uint32_t color = 0;
};

// The drawn sample: a line through three point characters on white, as a plot shows them.
class LineAppearanceSample : public QWidget {
 public:
  explicit LineAppearanceSample(QWidget* parent = nullptr);
  void set_look(const LineLook& look);
  const LineLook& look() const { return look_; }
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  LineLook look_;
};

class LineAttributesDialog : public QDialog {
 public:
  // Shows the single selected formula of setup; setup must have exactly one selected.
  LineAttributesDialog(PlotSetup& setup, QWidget* parent = nullptr);

  // The colour chooser behind "Co&lor...": the chosen 0x00BBGGRR colour, or nothing
  // on Cancel. Replaced in tests so that no modal dialog waits.
  using ColorChooser = std::function<std::optional<uint32_t>(uint32_t current, QWidget* parent)>;
  void set_color_chooser(ColorChooser chooser) { choose_color_ = std::move(chooser); }

  // What the fields hold now, as OK hands it on.
  AttributesEntry entry() const;

  void accept() override;

 private:
  void choose_color();
  void update_sample();

  PlotSetup& setup_;
  char shown_point_char_ = '*';  // kept as it is while its field is untouched
  ColorChooser choose_color_;
  uint32_t color_ = 0;
  QButtonGroup* plot_type_ = nullptr;   // ids: 1 lines, 2 points, 3 both
  QButtonGroup* line_type_ = nullptr;   // ids: the LineType values
  QButtonGroup* bin_range_ = nullptr;   // ids: the bin_all values
  QCheckBox* black_points_ = nullptr;
  QLineEdit* point_char_ = nullptr;
  QLineEdit* line_width_ = nullptr;
  QSpinBox* bin_count_ = nullptr;
  QLineEdit* description_ = nullptr;
  LineAppearanceSample* sample_ = nullptr;
};

}  // namespace zentrik
