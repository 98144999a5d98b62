// SetupUi with Qt: message boxes, the status window and the "File Exists!" dialog,
// all kept above the window given as their parent (the background window).
#pragma once

#include <QPointer>
#include <memory>

#include "setup/SetupUi.h"
#include "setup/StatusWindow.h"

namespace zentrik {

class QtSetupUi : public SetupUi {
 public:
  explicit QtSetupUi(QWidget* parent = nullptr);
  ~QtSetupUi() override;

  Answer message(const std::string& text, const std::string& caption, Buttons buttons = Buttons::Ok) override;
  void beep() override;
  void statusShow(const std::string& text, bool cancel_button) override;
  void statusSetText(const std::string& text) override;
  bool statusCancelPressed() override;
  void statusHide() override;
  FileExistsAnswer fileExists(const std::string& destination) override;
  void waitDispatching(int milliseconds) override;

  StatusWindow& statusWindow() { return *status_; }

 private:
  QWidget* dialogParent() const;

  QPointer<QWidget> parent_;
  std::unique_ptr<StatusWindow> status_;
};

}  // namespace zentrik
