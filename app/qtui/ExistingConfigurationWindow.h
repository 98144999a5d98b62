// The "Use Existing Configuration File?" dialog of the first start: what to do with
// a configuration file found at the old default place. QtUi shows it modally.
#pragma once

#include <QDialog>
#include <array>

#include "ui/ConfigLocationDialogs.h"

class QRadioButton;

namespace zentrik {

class ExistingConfigurationWindow : public QDialog {
  Q_OBJECT

 public:
  explicit ExistingConfigurationWindow(ExistingConfigurationRequest& request, QWidget* parent = nullptr);

  void accept() override;  // "OK": fills request.choice

 private:
  ExistingConfigurationRequest& request_;
  std::array<QRadioButton*, kExistingConfigurationChoiceLabels.size()> choices_{};
};

}  // namespace zentrik
