// The "Calculation Error!" dialog: what went wrong on which line, the five things
// to do about it, "same action" and the offending line, with "&View File" to look at
// the data while it stays open. It is left only with "&OK": Escape and the window's
// close button do nothing, since every way out is one of the choices. QtUi shows it
// modally for the point calculation.
#pragma once

#include <QDialog>
#include <array>

#include "ui/CalculationError.h"

class QCheckBox;
class QRadioButton;

namespace zentrik {

class CalculationErrorWindow : public QDialog {
  Q_OBJECT

 public:
  explicit CalculationErrorWindow(CalculationErrorRequest& request, QWidget* parent = nullptr);

  void accept() override;  // "&OK": fills the request's action and same_action
  void reject() override {}  // no way out but a choice

 private:
  CalculationErrorRequest& request_;
  std::array<QRadioButton*, kCalculationActionLabels.size()> choices_{};
  QCheckBox* same_action_;
};

}  // namespace zentrik
