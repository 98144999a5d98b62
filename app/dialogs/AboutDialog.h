// The About box of the Help menu and the disclaimer shown on the first run.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace zentrik {

// "About Zentrik": the program's name and version, centred on the desktop.
class AboutDialog : public QDialog {
 public:
  explicit AboutDialog(QWidget* parent = nullptr);

  QLabel* nameLabel() const { return name_; }
  QLabel* versionLabel() const { return version_; }
  QPushButton* okButton() const { return ok_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QLabel* name_ = nullptr;
  QLabel* version_ = nullptr;
  QPushButton* ok_ = nullptr;
};

// The first run's "DISCLAIMER:" with its two paragraphs and an "OK" button.
class DisclaimerDialog : public QDialog {
 public:
  explicit DisclaimerDialog(QWidget* parent = nullptr);

  QLabel* headingLabel() const { return heading_; }
  QLabel* warrantyLabel() const { return warranty_; }
  QLabel* liabilityLabel() const { return liability_; }
  QPushButton* okButton() const { return ok_; }

 private:
  QLabel* heading_ = nullptr;
  QLabel* warranty_ = nullptr;
  QLabel* liability_ = nullptr;
  QPushButton* ok_ = nullptr;
};

void show_about(QWidget* parent);
void show_disclaimer(QWidget* parent);

}  // namespace zentrik
