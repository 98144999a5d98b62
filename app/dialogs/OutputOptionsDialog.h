// The "Output Options" dialog of a plot window's Output To File: the field delimiter,
// whether X values open each line, and the place holders written for ignored points
// and, in a zoomed window, for points off the plot. It opens with the configuration's
// output defaults; "&Set Defaults" stores what it shows as the new defaults. Used by
// app/desktop/PlotOutput.
#pragma once

#include <QDialog>
#include <optional>

#include "display/Output.h"
#include "persist/Configuration.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zentrik {

class OutputOptionsDialog : public QDialog {
 public:
  // The off-plot controls are shown only when zoomed: elsewhere no point lies off the
  // plot. config is the one "&Set Defaults" writes into.
  OutputOptionsDialog(Configuration& config, bool zoomed, QWidget* parent = nullptr);

  // The options as the dialog shows them; an empty delimiter is one blank.
  OutputOptions options() const;

  QLineEdit* delimiterField() const { return delimiter_; }
  QCheckBox* includeXBox() const { return include_x_; }
  QCheckBox* ignoredBox() const { return ignored_; }
  QLineEdit* ignoredField() const { return ignored_text_; }
  QCheckBox* offPlotBox() const { return off_plot_; }
  QLineEdit* offPlotField() const { return off_plot_text_; }
  QPushButton* setDefaultsButton() const { return set_defaults_; }
  QPushButton* okButton() const { return ok_; }
  QPushButton* cancelButton() const { return cancel_; }

 private:
  void store_defaults();

  Configuration& config_;
  QLineEdit* delimiter_ = nullptr;
  QCheckBox* include_x_ = nullptr;
  QCheckBox* ignored_ = nullptr;
  QLabel* ignored_label_ = nullptr;
  QLineEdit* ignored_text_ = nullptr;
  QCheckBox* off_plot_ = nullptr;
  QLabel* off_plot_label_ = nullptr;
  QLineEdit* off_plot_text_ = nullptr;
  QPushButton* set_defaults_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

// Shows the dialog; the options chosen with OK, nothing on Cancel. "&Set Defaults"
// changes config even when the dialog is cancelled afterwards.
std::optional<OutputOptions> exec_output_options(Configuration& config, bool zoomed, QWidget* parent);

}  // namespace zentrik
