// The Ui seam on Qt Widgets: message boxes, the error sound, the wait cursor, the
// progress window and the modal dialogs the lower layers ask for. The desktop program
// owns one QtUi, created on the GUI thread after the QApplication and destroyed before
// it. Every method may be called from any thread: off the GUI thread it runs on the
// GUI thread through a blocking queued call, so update threads can show messages and
// progress (the GUI thread must not be waiting for such a thread meanwhile).
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "ui/Ui.h"

class QDialog;
class QObject;
class QWidget;

namespace zentrik {

class ErrorSound;
class LoadProgressWindow;

class QtUi : public Ui {
 public:
  // Opens a help page; the main window shows it in its help window.
  using HelpHook = std::function<void(const std::string& page)>;

  QtUi();
  ~QtUi() override;
  QtUi(const QtUi&) = delete;
  QtUi& operator=(const QtUi&) = delete;

  // The Help buttons of the dialogs call this; while it is unset they are hidden.
  void setHelp(HelpHook help);
  // The window the loading dialogs stand over (the File Load Options dialog opens
  // centred over the main window, whichever window is active).
  void setMainWindow(QWidget* window) { main_window_ = window; }

  Answer message(const std::string& text, const std::string& caption, Buttons buttons = Buttons::Ok) override;
  void errorSound() override;
  void beep() override;
  void setWaitCursor(bool on) override;

  void progressShow(const std::string& text, bool cancel_button) override;
  void progressSetText(const std::string& text) override;
  void progressSetFraction(double fraction) override;
  void progressSetSizeText(const std::string& size_text) override;
  bool progressCancelled() override;
  void progressHide() override;
  void progressEnableCancel(bool enabled) override;

  bool fileLoadOptions(FileLoadOptionsDialog& dialog) override;
  void calculationError(CalculationErrorRequest& request) override;
  bool useExistingConfiguration(ExistingConfigurationRequest& request) override;
  bool enterConfigurationFilename(ConfigurationFilenameRequest& request) override;
  // On the GUI thread it keeps handling events for that long; another thread just waits.
  void waitDispatching(int milliseconds) override;

  // The progress window, for the windows that place themselves around it (and tests).
  LoadProgressWindow& progressWindow() const { return *progress_; }
  // How many wait-cursor requests are on (nested on/off pairs count up and down).
  int waitCursorDepth() const { return wait_depth_; }

 private:
  // Runs f on the GUI thread and returns its result; exceptions travel back with it.
  template <typename F>
  auto onGuiThread(F&& f) -> decltype(f());
  bool onGuiThreadNow() const;
  // The window a dialog or message box belongs to: the active window, never the
  // progress window itself.
  QWidget* dialogParent() const;
  QWidget* main_window_ = nullptr;
  // Runs a modal dialog with the normal arrow cursor over it, even during a wait.
  static int runModal(QDialog& dialog);

  std::unique_ptr<QObject> gui_;  // lives in the GUI thread: the target of queued calls
  std::unique_ptr<LoadProgressWindow> progress_;
  std::unique_ptr<ErrorSound> sound_;
  HelpHook help_;
  int wait_depth_ = 0;  // GUI thread only
};

}  // namespace zentrik
