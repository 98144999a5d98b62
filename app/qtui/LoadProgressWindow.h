// The small progress window of loads, downloads and calculations: a text of several
// lines, a bar with the whole percentage once a fraction above 0 is set (followed by
// " of " and a size text when one is set) and an optional "&Cancel" button. QtUi
// owns the one window and shows it over the active window.
#pragma once

#include <QElapsedTimer>
#include <QFrame>
#include <QPointer>
#include <QString>
#include <atomic>

class QLabel;
class QProgressBar;
class QPushButton;

namespace zentrik {

class LoadProgressWindow : public QFrame {
  Q_OBJECT

 public:
  explicit LoadProgressWindow(QWidget* parent = nullptr);

  // Shows the window centred over `over` (or the screen), with no bar and the
  // Cancel state cleared.
  void showOver(QWidget* over, const QString& text, bool cancel_button);
  void setText(const QString& text);
  void setFraction(double fraction);
  void setSizeText(const QString& size_text);
  void enableCancel(bool enabled);
  // Hides the window; Cancel is forgotten.
  void dismiss();

  // Lets pending events through (at most every kDispatchMilliseconds, so that a
  // check on every line of a long load stays cheap); true once Cancel was pressed.
  bool cancelled();
  // The Cancel state alone, without dispatching; callable from any thread.
  bool cancelPressed() const { return cancelled_.load(); }

  QString text() const;
  // The bar's text, "" while no bar is shown.
  QString barText() const;
  QPushButton* cancelButton() const { return cancel_; }
  // The window it was last shown over, if that still exists.
  QWidget* over() const { return over_; }

  static constexpr int kDispatchMilliseconds = 20;

 private:
  void updateBar();
  void fitAndCentre();

  QLabel* text_;
  QProgressBar* bar_;
  QPushButton* cancel_;
  QPointer<QWidget> over_;
  double fraction_ = 0;
  QString size_text_;
  std::atomic<bool> cancelled_{false};
  QElapsedTimer since_dispatch_;
};

}  // namespace zentrik
