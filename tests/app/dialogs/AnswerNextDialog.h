// Answers the next modal dialog from inside its event loop, so that a test can call
// a function that runs a dialog with exec() and check what it returns.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <functional>

namespace zentrik {

template <typename DialogType>
void answer_next_dialog(std::function<void(DialogType&)> answer) {
  QTimer::singleShot(0, [answer] {
    QWidget* modal = QApplication::activeModalWidget();
    auto* dialog = dynamic_cast<DialogType*>(modal);
    if (!dialog) {
      ADD_FAILURE() << "the expected dialog is not showing";
      if (auto* other = qobject_cast<QDialog*>(modal)) other->reject();
      return;
    }
    answer(*dialog);
  });
}

}  // namespace zentrik
