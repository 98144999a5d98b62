// The wizard "Zentrik Version 3.4 Setup": the destination folder, the shortcut
// locations and the review of both. Its checks are WizardChecks'; its messages go
// through the SetupUi it is given.
#pragma once

#include <QWizard>
#include <functional>

#include "setup/IntegrationPaths.h"
#include "setup/SetupUi.h"
#include "setup/WizardChecks.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace zentrik {

class DestinationPage : public QWizardPage {
 public:
  DestinationPage(bool for_root, SetupUi& ui);
  bool validatePage() override;

  QLineEdit* folderEdit() const { return folder_; }
  QPushButton* browseButton() const { return browse_; }

 private:
  void browse();

  bool for_root_;
  SetupUi& ui_;
  QLineEdit* folder_;
  QPushButton* browse_;
};

class ShortcutPage : public QWizardPage {
 public:
  ShortcutPage(const IntegrationPaths& paths, SetupUi& ui);
  bool validatePage() override;
  // The page's part of the choices.
  void fill(InstallChoices& choices) const;

  QCheckBox* startMenuBox() const { return start_menu_; }
  QCheckBox* sendToBox() const { return send_to_; }
  QCheckBox* desktopBox() const { return desktop_; }
  QLineEdit* submenuEdit() const { return submenu_; }
  QListWidget* folderList() const { return folders_; }

 private:
  const IntegrationPaths& paths_;
  SetupUi& ui_;
  QCheckBox* start_menu_;
  QCheckBox* send_to_;
  QCheckBox* desktop_;
  QLineEdit* submenu_;
  QListWidget* folders_;
};

class ReviewPage : public QWizardPage {
 public:
  explicit ReviewPage(const std::function<InstallChoices()>& choices);
  void initializePage() override;
  QString text() const;

 private:
  std::function<InstallChoices()> choices_;
  QLabel* review_;
};

class SetupWizard : public QWizard {
 public:
  SetupWizard(bool for_root, const IntegrationPaths& paths, SetupUi& ui, QWidget* parent = nullptr);

  InstallChoices choices() const;
  DestinationPage& destinationPage() const { return *destination_; }
  ShortcutPage& shortcutPage() const { return *shortcuts_; }
  ReviewPage& reviewPage() const { return *review_; }

 private:
  DestinationPage* destination_;
  ShortcutPage* shortcuts_;
  ReviewPage* review_;
};

}  // namespace zentrik
