// QtUi's message boxes, wait cursor and calls from other threads.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <atomic>
#include <thread>

#include "ModalAnswer.h"
#include "app/qtui/LoadProgressWindow.h"
#include "app/qtui/QtUi.h"

namespace zentrik {
namespace {

using test::whenModal;

struct Seen {
  QString title, text;
  QMessageBox::StandardButtons buttons;
  QMessageBox::StandardButton default_button = QMessageBox::NoButton;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QWidget* parent = nullptr;
  Qt::TextFormat format = Qt::AutoText;
  bool arrow_cursor = false;
};

// Shows a message through ui, records the box and answers it with `press`
// (NoButton: Escape).
Answer ask(QtUi& ui, const std::string& text, const std::string& caption, Buttons buttons,
           QMessageBox::StandardButton press, Seen& seen) {
  whenModal([&](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    if (!box) {
      ADD_FAILURE() << "not a message box";
      modal->close();
      return;
    }
    seen.title = box->windowTitle();
    seen.text = box->text();
    seen.buttons = box->standardButtons();
    seen.default_button = box->standardButton(box->defaultButton());
    seen.icon = box->icon();
    seen.parent = box->parentWidget();
    seen.format = box->textFormat();
    seen.arrow_cursor = QGuiApplication::overrideCursor() &&
                        QGuiApplication::overrideCursor()->shape() == Qt::ArrowCursor;
    if (press == QMessageBox::NoButton)
      QTest::keyClick(box, Qt::Key_Escape);
    else
      box->button(press)->click();
  });
  return ui.message(text, caption, buttons);
}

TEST(QtUiMessage, ShowsTheCaptionTextAndButtonsAndReturnsThePressedOne) {
  QtUi ui;
  struct Case {
    Buttons buttons;
    std::string caption;
    QMessageBox::StandardButtons shown;
    QMessageBox::StandardButton default_button;
    QMessageBox::Icon icon;
    QMessageBox::StandardButton press;
    Answer answer;
  };
  const Case cases[] = {
      {Buttons::Ok, "Load complete.", QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Information, QMessageBox::Ok,
       Answer::Ok},
      {Buttons::Ok, "File Format Error!", QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Warning, QMessageBox::Ok,
       Answer::Ok},
      {Buttons::Ok, "File Not Downloaded!", QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Warning, QMessageBox::Ok,
       Answer::Ok},
      {Buttons::OkCancel, "Run Command?", QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok,
       QMessageBox::Question, QMessageBox::Cancel, Answer::Cancel},
      {Buttons::YesNo, "Skipped whole file!", QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes,
       QMessageBox::Question, QMessageBox::No, Answer::No},
      {Buttons::YesNo, "Really cancel?", QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes,
       QMessageBox::Question, QMessageBox::Yes, Answer::Yes},
      {Buttons::YesNoCancel, "Save Changes?", QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
       QMessageBox::Yes, QMessageBox::Question, QMessageBox::Cancel, Answer::Cancel},
      {Buttons::RetryCancel, "Write Error!", QMessageBox::Retry | QMessageBox::Cancel, QMessageBox::Retry,
       QMessageBox::Warning, QMessageBox::Retry, Answer::Retry},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.caption);
    Seen seen;
    const std::string text = "You asked to skip 10 lines but there were only 9 lines in the file.  "
                             "Would you like to start over?";
    EXPECT_EQ(ask(ui, text, c.caption, c.buttons, c.press, seen), c.answer);
    EXPECT_EQ(seen.title, QString::fromStdString(c.caption));
    EXPECT_EQ(seen.text, QString::fromStdString(text));
    EXPECT_EQ(seen.buttons, c.shown);
    EXPECT_EQ(seen.default_button, c.default_button);
    EXPECT_EQ(seen.icon, c.icon);
  }
}

TEST(QtUiMessage, ClosingWithEscapeIsTheAnswerThatDoesNothing) {
  QtUi ui;
  Seen seen;
  EXPECT_EQ(ask(ui, "Really?", "Really cancel?", Buttons::YesNo, QMessageBox::NoButton, seen), Answer::No);
  EXPECT_EQ(ask(ui, "Go on?", "Save Changes?", Buttons::YesNoCancel, QMessageBox::NoButton, seen), Answer::Cancel);
  EXPECT_EQ(ask(ui, "Run it?", "Run Command?", Buttons::OkCancel, QMessageBox::NoButton, seen), Answer::Cancel);
  EXPECT_EQ(ask(ui, "Again?", "Write Error!", Buttons::RetryCancel, QMessageBox::NoButton, seen), Answer::Cancel);
  EXPECT_EQ(ask(ui, "Done.", "Load complete.", Buttons::Ok, QMessageBox::NoButton, seen), Answer::Ok);
}

TEST(QtUiMessage, BelongsToTheActiveWindowShowsPlainTextAndAnArrowDuringAWait) {
  QtUi ui;
  QWidget main_window;
  main_window.show();
  QApplication::setActiveWindow(&main_window);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&main_window));

  ui.setWaitCursor(true);
  Seen seen;
  ask(ui, "Error in conditional formula:\n\n<b>C1</b> & C2", "Error!", Buttons::Ok, QMessageBox::Ok, seen);
  EXPECT_EQ(seen.parent, &main_window);
  EXPECT_EQ(seen.format, Qt::PlainText);  // "<b>" is part of the formula, not markup
  EXPECT_EQ(seen.text, "Error in conditional formula:\n\n<b>C1</b> & C2");
  EXPECT_TRUE(seen.arrow_cursor);
  ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);  // back after the box
  ui.setWaitCursor(false);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

  // Over the progress window the box still belongs to the window below it.
  QApplication::setActiveWindow(&main_window);
  ui.progressShow("\n\nLoading file:\n/d/a.dat", true);
  QApplication::setActiveWindow(&ui.progressWindow());
  ask(ui, "Non-ASCII file!", "Error!", Buttons::Ok, QMessageBox::Ok, seen);
  EXPECT_EQ(seen.parent, &main_window);
  ui.progressHide();
}

TEST(QtUiMessage, AWindowClosedUnderTheBoxTakesItAlongAndTheAnswerIsNo) {
  QtUi ui;
  auto* plot_window = new QWidget;
  plot_window->show();
  QApplication::setActiveWindow(plot_window);
  ASSERT_TRUE(QTest::qWaitForWindowActive(plot_window));
  QWidget* parent = nullptr;
  whenModal([&](QWidget* modal) {
    parent = modal->parentWidget();
    delete plot_window;  // closed by other code while the question is open
  });
  EXPECT_EQ(ui.message("Canceling this operation will destroy the plot window.  Do you really want to cancel?",
                       "Really cancel?", Buttons::YesNo),
            Answer::No);
  EXPECT_EQ(parent, plot_window);
}

TEST(QtUiWaitCursor, NestedPairsLeaveNoWaitCursorAndAStrayOffIsIgnored) {
  QtUi ui;
  ui.setWaitCursor(true);
  ui.setWaitCursor(true);
  ui.setWaitCursor(false);
  ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
  ui.setWaitCursor(false);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
  ui.setWaitCursor(false);  // unmatched
  EXPECT_EQ(ui.waitCursorDepth(), 0);
  ui.setWaitCursor(true);
  ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
  ui.setWaitCursor(false);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(QtUiThreads, AnotherThreadAsksThroughTheGuiThreadAndGetsTheAnswer) {
  QtUi ui;
  std::atomic<bool> done{false};
  Answer answer = Answer::Ok;
  bool cancelled_seen = true;
  QThread* box_thread = nullptr;
  whenModal([&](QWidget* modal) {
    box_thread = modal->thread();
    qobject_cast<QMessageBox*>(modal)->button(QMessageBox::No)->click();
  });
  std::thread update([&] {
    ui.progressShow("\nReloading", false);
    ui.progressSetText("\nReloading file:\n/d/a.dat");
    ui.progressSetFraction(0.5);
    cancelled_seen = ui.progressCancelled();
    answer = ui.message("Not enough data remains included for a valid plot.", "Not Enough Data!", Buttons::YesNo);
    ui.progressHide();
    done = true;
  });
  QElapsedTimer waited;
  waited.start();
  while (!done && waited.elapsed() < 10000) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  update.join();
  ASSERT_TRUE(done);
  EXPECT_EQ(answer, Answer::No);
  EXPECT_EQ(box_thread, QApplication::instance()->thread());
  EXPECT_FALSE(cancelled_seen);
  EXPECT_FALSE(ui.progressWindow().isVisible());
  EXPECT_EQ(ui.progressWindow().text(), "\nReloading file:\n/d/a.dat");
  EXPECT_EQ(ui.progressWindow().barText(), "50%");
}

}  // namespace
}  // namespace zentrik
