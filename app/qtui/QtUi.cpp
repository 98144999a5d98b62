#include "app/qtui/QtUi.h"

#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <chrono>
#include <exception>
#include <optional>
#include <stdexcept>
#include <thread>
#include <type_traits>
#include <utility>

#include "app/qtui/CalculationErrorWindow.h"
#include "app/qtui/ConfigurationFilenameWindow.h"
#include "app/qtui/ErrorSound.h"
#include "app/qtui/ExistingConfigurationWindow.h"
#include "app/qtui/FileLoadOptionsWindow.h"
#include "app/qtui/LoadProgressWindow.h"

namespace zentrik {
namespace {

QString qt(const std::string& text) { return QString::fromStdString(text); }

struct ButtonSet {
  QMessageBox::StandardButtons buttons;
  QMessageBox::StandardButton default_button;
  QMessageBox::StandardButton escape_button;  // what closing the box means
};

ButtonSet button_set(Buttons buttons) {
  switch (buttons) {
    case Buttons::OkCancel:
      return {QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok, QMessageBox::Cancel};
    case Buttons::YesNo:
      return {QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes, QMessageBox::No};
    case Buttons::YesNoCancel:
      return {QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes, QMessageBox::Cancel};
    case Buttons::RetryCancel:
      return {QMessageBox::Retry | QMessageBox::Cancel, QMessageBox::Retry, QMessageBox::Cancel};
    case Buttons::Ok:
      break;
  }
  return {QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok};
}

// Failures carry the warning sign: their captions name an error, or, for a message with
// only OK, end in "!" ("File Not Downloaded!", "Abort!"); reports such as "Load complete."
// and "Done." are information, and questions ask.
QMessageBox::Icon message_icon(const std::string& caption, Buttons buttons) {
  if (caption.find("Error") != std::string::npos) return QMessageBox::Warning;
  switch (buttons) {
    case Buttons::Ok:
      return !caption.empty() && caption.back() == '!' ? QMessageBox::Warning : QMessageBox::Information;
    case Buttons::RetryCancel:
      return QMessageBox::Warning;
    default:
      return QMessageBox::Question;
  }
}

Answer answer_of(QMessageBox::StandardButton button, const ButtonSet& set) {
  switch (button) {
    case QMessageBox::Ok:
      return Answer::Ok;
    case QMessageBox::Cancel:
      return Answer::Cancel;
    case QMessageBox::Yes:
      return Answer::Yes;
    case QMessageBox::No:
      return Answer::No;
    case QMessageBox::Retry:
      return Answer::Retry;
    default:
      return answer_of(set.escape_button, set);  // closed some other way
  }
}

// Window-modal over the window it belongs to, so that what its buttons open (the
// view window, the help window) can still be used; application-modal without one.
void make_modal(QDialog& dialog) {
  dialog.setWindowModality(dialog.parentWidget() ? Qt::WindowModal : Qt::ApplicationModal);
}

// A dialog on the heap for its modal run: the window it belongs to may be closed by
// other code while it is open (a blocking call from an update thread) and take the
// dialog with it, which a dialog on the stack would not survive.
template <typename Dialog>
class Modal {
 public:
  template <typename... Args>
  explicit Modal(Args&&... args) : dialog_(new Dialog(std::forward<Args>(args)...)) {}
  ~Modal() { delete dialog_.data(); }
  Modal(const Modal&) = delete;
  Modal& operator=(const Modal&) = delete;

  Dialog* operator->() const { return dialog_.data(); }
  Dialog& operator*() const { return *dialog_; }
  bool alive() const { return !dialog_.isNull(); }

 private:
  QPointer<Dialog> dialog_;
};

}  // namespace

QtUi::QtUi()
    : gui_(std::make_unique<QObject>()),
      progress_(std::make_unique<LoadProgressWindow>()),
      sound_(std::make_unique<ErrorSound>([gui = gui_.get()] {
        // No sound server: the toolkit's beep, which belongs to the GUI thread.
        QMetaObject::invokeMethod(gui, [] { QApplication::beep(); }, Qt::QueuedConnection);
      })) {
  progress_->setWindowTitle(QStringLiteral("Zentrik"));
}

QtUi::~QtUi() {
  sound_.reset();  // its worker may still post the fallback beep to gui_
  while (wait_depth_ > 0) setWaitCursor(false);
}

void QtUi::setHelp(HelpHook help) {
  onGuiThread([&] { help_ = std::move(help); });
}

bool QtUi::onGuiThreadNow() const { return QThread::currentThread() == gui_->thread(); }

template <typename F>
auto QtUi::onGuiThread(F&& f) -> decltype(f()) {
  using Result = decltype(f());
  if (onGuiThreadNow()) return f();
  std::exception_ptr error;
  bool ran = false;
  if constexpr (std::is_void_v<Result>) {
    QMetaObject::invokeMethod(
        gui_.get(),
        [&] {
          ran = true;
          try {
            f();
          } catch (...) {
            error = std::current_exception();
          }
        },
        Qt::BlockingQueuedConnection);
    if (error) std::rethrow_exception(error);
    if (!ran) throw std::logic_error("the user interface thread is not running");
  } else {
    std::optional<Result> result;
    QMetaObject::invokeMethod(
        gui_.get(),
        [&] {
          ran = true;
          try {
            result.emplace(f());
          } catch (...) {
            error = std::current_exception();
          }
        },
        Qt::BlockingQueuedConnection);
    if (error) std::rethrow_exception(error);
    if (!ran || !result) throw std::logic_error("the user interface thread is not running");
    return std::move(*result);
  }
}

QWidget* QtUi::dialogParent() const {
  QWidget* window = QApplication::activeWindow();
  if (window == progress_.get()) window = progress_->over();
  return window;
}

int QtUi::runModal(QDialog& dialog) {
  // A wait cursor over a question would say the program is not listening.
  const bool waiting = QGuiApplication::overrideCursor() != nullptr;
  if (waiting) QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
  const int result = dialog.exec();  // Rejected when the dialog went with its window
  if (waiting) QGuiApplication::restoreOverrideCursor();
  return result;
}

Answer QtUi::message(const std::string& text, const std::string& caption, Buttons buttons) {
  return onGuiThread([&] {
    const ButtonSet set = button_set(buttons);
    Modal<QMessageBox> box(message_icon(caption, buttons), qt(caption), qt(text), set.buttons, dialogParent());
    box->setTextFormat(Qt::PlainText);  // a formula such as C1<C2 is not markup
    box->setDefaultButton(set.default_button);
    box->setEscapeButton(set.escape_button);
    runModal(*box);
    if (!box.alive()) return answer_of(set.escape_button, set);
    return answer_of(box->standardButton(box->clickedButton()), set);
  });
}

void QtUi::errorSound() { sound_->play(); }

void QtUi::beep() {
  onGuiThread([] { QApplication::beep(); });
}

void QtUi::setWaitCursor(bool on) {
  onGuiThread([&] {
    if (on) {
      if (wait_depth_++ == 0) QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (wait_depth_ > 0) {  // an unmatched "off" is ignored
      if (--wait_depth_ == 0) QGuiApplication::restoreOverrideCursor();
    }
  });
}

void QtUi::progressShow(const std::string& text, bool cancel_button) {
  onGuiThread([&] { progress_->showOver(dialogParent(), qt(text), cancel_button); });
}

void QtUi::progressSetText(const std::string& text) {
  onGuiThread([&] { progress_->setText(qt(text)); });
}

void QtUi::progressSetFraction(double fraction) {
  onGuiThread([&] { progress_->setFraction(fraction); });
}

void QtUi::progressSetSizeText(const std::string& size_text) {
  onGuiThread([&] { progress_->setSizeText(qt(size_text)); });
}

bool QtUi::progressCancelled() {
  // Another thread needs only the state: the GUI thread dispatches its own events.
  if (!onGuiThreadNow()) return progress_->cancelPressed();
  return progress_->cancelled();
}

void QtUi::progressHide() {
  onGuiThread([&] { progress_->dismiss(); });
}

void QtUi::progressEnableCancel(bool enabled) {
  onGuiThread([&] { progress_->enableCancel(enabled); });
}

bool QtUi::fileLoadOptions(FileLoadOptionsDialog& dialog) {
  return onGuiThread([&] {
    Modal<FileLoadOptionsWindow> window(dialog, help_, main_window_ ? main_window_ : dialogParent());
    make_modal(*window);
    return runModal(*window) == QDialog::Accepted;
  });
}

void QtUi::calculationError(CalculationErrorRequest& request) {
  onGuiThread([&] {
    Modal<CalculationErrorWindow> window(request, dialogParent());
    make_modal(*window);
    runModal(*window);  // gone with its window: the request keeps the preselected choice
  });
}

bool QtUi::useExistingConfiguration(ExistingConfigurationRequest& request) {
  return onGuiThread([&] {
    Modal<ExistingConfigurationWindow> window(request, dialogParent());
    return runModal(*window) == QDialog::Accepted;
  });
}

bool QtUi::enterConfigurationFilename(ConfigurationFilenameRequest& request) {
  return onGuiThread([&] {
    Modal<ConfigurationFilenameWindow> window(request, dialogParent());
    return runModal(*window) == QDialog::Accepted;
  });
}

void QtUi::waitDispatching(int milliseconds) {
  if (!onGuiThreadNow()) {
    std::this_thread::sleep_for(std::chrono::milliseconds(std::max(0, milliseconds)));
    return;
  }
  QEventLoop loop;
  QTimer::singleShot(std::max(0, milliseconds), &loop, &QEventLoop::quit);
  loop.exec();
}

}  // namespace zentrik
