// What setup shows in the middle of its work: message boxes and questions, the
// status window with its "&Cancel" button, and the "File Exists!" dialog. The program
// implements it with Qt windows (QtSetupUi); the tests answer from a script.
#pragma once

#include <string>

#include "ui/Ui.h"

namespace zentrik {

// How files that already exist are treated while copying.
enum class OverwriteMode { Ask, Always, Never };

// The "File Exists!" dialog's answer: the button pressed, and the choice under "On
// Future Existing Files . . ." (Ask is "Keep Asking").
struct FileExistsAnswer {
  enum class Button { Overwrite, SkipFile, CancelInstallation };
  Button button = Button::Overwrite;
  OverwriteMode future = OverwriteMode::Ask;
};

class SetupUi {
 public:
  virtual ~SetupUi() = default;

  // A modal message box; returns the button pressed.
  virtual Answer message(const std::string& text, const std::string& caption, Buttons buttons = Buttons::Ok) = 0;
  // The warning beep before a question.
  virtual void beep() = 0;

  // The modeless status window: a text of a few lines and, when it can be pressed,
  // "&Cancel".
  virtual void statusShow(const std::string& text, bool cancel_button) = 0;
  virtual void statusSetText(const std::string& text) = 0;
  // Lets pending window events through; true once for each press of "&Cancel".
  virtual bool statusCancelPressed() = 0;
  virtual void statusHide() = 0;

  // The "File Exists!" dialog for destination, modal.
  virtual FileExistsAnswer fileExists(const std::string& destination) = 0;

  // Waits while the windows keep handling their events.
  virtual void waitDispatching(int milliseconds) = 0;
};

}  // namespace zentrik
