// The user-interface seam: every message box, question, progress window and wait
// cursor that the lower layers show in the middle of their work goes through Ui.
// The desktop program implements it with Qt, the batch mode prints to stderr, and
// tests use ScriptedUi. Implementations accept calls from any thread: a reload run
// by an update thread shows its messages from there.
#pragma once

#include <string>

#include "ui/CalculationError.h"
#include "ui/ConfigLocationDialogs.h"
#include "ui/FileLoadOptions.h"

namespace zentrik {

enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class Answer { Ok, Cancel, Yes, No, Retry };

class Ui {
 public:
  virtual ~Ui() = default;

  // A modal message box; returns the button pressed.
  virtual Answer message(const std::string& text, const std::string& caption,
                         Buttons buttons = Buttons::Ok) = 0;
  // Two tones, 800 Hz then 400 Hz, 100 ms each.
  virtual void errorSound() = 0;
  // The plain warning beep of a refused command.
  virtual void beep() = 0;
  virtual void setWaitCursor(bool on) = 0;

  // The modeless progress window: a text of several lines, a bar with the whole
  // percentage once a fraction above 0 is set (followed by " of " and the size text
  // when one is set) and an optional Cancel button.
  virtual void progressShow(const std::string& text, bool cancel_button) = 0;
  virtual void progressSetText(const std::string& text) = 0;
  virtual void progressSetFraction(double fraction) = 0;
  virtual void progressSetSizeText(const std::string& size_text) = 0;
  // Lets pending window events through; true once Cancel was pressed, and it stays
  // true until the window is hidden.
  virtual bool progressCancelled() = 0;
  virtual void progressHide() = 0;
  virtual void progressEnableCancel(bool enabled) = 0;

  // The File Load Options dialog, modal; true when it was confirmed with OK (after
  // dialog.accept succeeded), false when it was cancelled.
  virtual bool fileLoadOptions(FileLoadOptionsDialog& dialog) = 0;

  // The "Calculation Error!" dialog, modal; on return request.action and
  // request.same_action hold what the user chose with OK.
  virtual void calculationError(CalculationErrorRequest& request) = 0;

  // The "Use Existing Configuration File?" dialog, modal; true with request.choice
  // set when a choice was confirmed, false for Cancel.
  virtual bool useExistingConfiguration(ExistingConfigurationRequest& request) = 0;

  // The "Enter Configuration Filename" dialog, modal; true with request.path holding
  // the entered text on OK, false for Cancel.
  virtual bool enterConfigurationFilename(ConfigurationFilenameRequest& request) = 0;

  // Waits while the user-interface thread keeps handling its window events.
  virtual void waitDispatching(int milliseconds) = 0;

  // The "err_beep" setting: whether error messages are preceded by the error sound.
  void setErrorBeep(bool on) { error_beep_ = on; }
  bool errorBeep() const { return error_beep_; }

  // An error message box with an OK button, preceded by the error sound when enabled.
  void showError(const std::string& text, const std::string& caption) {
    if (error_beep_) errorSound();
    message(text, caption, Buttons::Ok);
  }

 private:
  bool error_beep_ = true;
};

}  // namespace zentrik
