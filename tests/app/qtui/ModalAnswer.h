// Answers the next modal window from the event loop: a modal dialog's exec() in a
// test returns once this has clicked one of its buttons.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace zentrik::test {

// Calls answer(modal) once a modal window is up; answer should end it.
inline void whenModal(std::function<void(QWidget*)> answer) {
  auto* timer = new QTimer;
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, timer, [timer, answer = std::move(answer)] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible()) return;
    timer->stop();
    timer->deleteLater();
    answer(modal);
  });
  timer->start();
}

// The button of a window with exactly this label, or nullptr.
template <typename Button = QAbstractButton>
Button* buttonLabelled(QWidget* window, const QString& label) {
  for (Button* button : window->findChildren<Button*>())
    if (button->text() == label) return button;
  return nullptr;
}

}  // namespace zentrik::test
