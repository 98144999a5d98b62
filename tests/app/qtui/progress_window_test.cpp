// The progress window through QtUi: its texts, the bar, and the Cancel state.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <limits>
#include <thread>

#include "app/qtui/LoadProgressWindow.h"
#include "app/qtui/QtUi.h"

namespace zentrik {
namespace {

TEST(QtUiProgress, ShowsTheTextAndABarWithTheWholePercentageAndTheSize) {
  QtUi ui;
  LoadProgressWindow& window = ui.progressWindow();
  ui.progressShow("\n\nLoading file:\n/d/run.dat", true);
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(window.text(), "\n\nLoading file:\n/d/run.dat");
  EXPECT_EQ(window.barText(), "");  // no bar before a fraction above 0
  ASSERT_NE(window.cancelButton(), nullptr);
  EXPECT_EQ(window.cancelButton()->text(), "&Cancel");
  EXPECT_TRUE(window.cancelButton()->isVisible());

  ui.progressSetText("\nLoading file:\n/d/run.dat\nRead 10000 lines\nLoaded 5001 lines");
  ui.progressSetFraction(0.4299);
  EXPECT_EQ(window.text(), "\nLoading file:\n/d/run.dat\nRead 10000 lines\nLoaded 5001 lines");
  EXPECT_EQ(window.barText(), "42%");
  ui.progressSetSizeText("1534K");
  EXPECT_EQ(window.barText(), "42% of 1534K");
  ui.progressSetFraction(0.999);
  EXPECT_EQ(window.barText(), "99% of 1534K");
  ui.progressSetFraction(1.7);
  EXPECT_EQ(window.barText(), "100% of 1534K");
  ui.progressSetFraction(0);  // "Downloaded 1534K": no bar
  EXPECT_EQ(window.barText(), "");
  ui.progressSetFraction(std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(window.barText(), "");

  // Shown again: a fresh window without bar, size text or Cancel button.
  ui.progressShow("\nCalculating . . .", false);
  EXPECT_FALSE(window.cancelButton()->isVisible());
  EXPECT_EQ(window.barText(), "");
  ui.progressSetFraction(0.5);
  EXPECT_EQ(window.barText(), "50%");
  ui.progressHide();
  EXPECT_FALSE(window.isVisible());
}

TEST(QtUiProgress, CancelStaysPressedUntilTheWindowIsHidden) {
  QtUi ui;
  LoadProgressWindow& window = ui.progressWindow();
  ui.progressShow("\nDownloading...", true);
  EXPECT_FALSE(ui.progressCancelled());
  QTest::mouseClick(window.cancelButton(), Qt::LeftButton);
  EXPECT_TRUE(ui.progressCancelled());
  ui.progressEnableCancel(false);
  EXPECT_FALSE(window.cancelButton()->isEnabled());
  EXPECT_TRUE(ui.progressCancelled());
  ui.progressSetText("\nDownloading \nrun.dat");
  EXPECT_TRUE(ui.progressCancelled());
  ui.progressHide();
  EXPECT_FALSE(ui.progressCancelled());

  // Escape in the window is Cancel, but only while Cancel can be pressed.
  ui.progressShow("\n\nLoading file:\n/d/run.dat", true);
  EXPECT_FALSE(ui.progressCancelled());
  ui.progressEnableCancel(false);
  QTest::keyClick(&window, Qt::Key_Escape);
  EXPECT_FALSE(ui.progressCancelled());
  ui.progressEnableCancel(true);
  QTest::keyClick(&window, Qt::Key_Escape);
  EXPECT_TRUE(ui.progressCancelled());
  ui.progressHide();
}

TEST(QtUiProgress, TheCancelCheckDispatchesEventsButNotOnEveryCall) {
  QtUi ui;
  ui.progressShow("\n\nLoading file:\n/d/run.dat", true);
  ui.progressCancelled();  // the first check dispatches at once
  bool delivered = false;
  QTimer::singleShot(0, [&] { delivered = true; });
  ui.progressCancelled();  // too soon after the last dispatch
  EXPECT_FALSE(delivered);
  std::this_thread::sleep_for(std::chrono::milliseconds(LoadProgressWindow::kDispatchMilliseconds + 5));
  ui.progressCancelled();
  EXPECT_TRUE(delivered);

  // A Cancel click that arrives as an event is seen by the check that dispatches it.
  QTimer::singleShot(0, ui.progressWindow().cancelButton(), &QPushButton::click);
  std::this_thread::sleep_for(std::chrono::milliseconds(LoadProgressWindow::kDispatchMilliseconds + 5));
  EXPECT_TRUE(ui.progressCancelled());

  ui.progressHide();
}

}  // namespace
}  // namespace zentrik
