// The view window driven through QTest: the mouse with its modifiers, the keys,
// the bar's mnemonics, copying, updating the plots, closing and the modal use.
#include "app/desktop/ViewWindow.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include "data/TempDir.h"
#include "ui/ScriptedUi.h"

namespace zentrik {
namespace {

// Alt with a letter presses a button with a short animation: wait until it is released.
void alt(QWidget* window, Qt::Key key) {
  QTest::keyClick(window, key, Qt::AltModifier);
  for (int i = 0; i < 100; ++i) {
    bool down = false;
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) down = down || button->isDown();
    if (!down) return;
    QTest::qWait(10);
  }
}

class QuietFace : public ShellFace {
 public:
  bool plotSetup(Plot&) override { return true; }
  DropChoice multiFileDropOptions() override { return DropChoice::Cancel; }
  ScreenSize screen() const override { return {1600, 1200}; }
  void plotReady(Plot&) override {}
  void plotClosing(Plot&) override {}
  void busyChanged(bool) override {}
};

class ViewWindowTest : public ::testing::Test {
 protected:
  ViewWindowTest() {
    config.drop_prompt = 0;
    config.load_prompt = 0;
    config.use_obj = 0;
    config.objdir = dir.path("");
    config.default_plot.definition.formulas = {Formula("C1"), Formula("C2")};
  }

  // A plot of lines "i value" with value 10 * i, the last one far above the rest.
  Plot& plot_lines(int count) {
    std::string text;
    for (int i = 1; i <= count; ++i) text += std::to_string(i) + " " + std::to_string(i == count ? 1000 : 10 * i) + "\n";
    Plot* plot = shell.open_file(dir.write("run.dat", text));
    if (!plot) throw std::logic_error("the test data was not plotted");
    return *plot;
  }

  std::unique_ptr<ViewWindow> shown(DataFile& data, bool modal_use = false) {
    auto window = std::make_unique<ViewWindow>(data, shell, modal_use, nullptr);
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    window->show();
    QApplication::setActiveWindow(window.get());
    EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    return window;
  }

  static void click(ViewWindow& window, int32_t line, Qt::KeyboardModifiers mods = {}) {
    QTest::mouseClick(window.textArea(), Qt::LeftButton, mods, window.pointOfLine(line));
  }

  testing::TempDir dir;
  Configuration config;
  ScriptedUi ui;
  QuietFace face;
  Shell shell{config, ui, face};
};

TEST_F(ViewWindowTest, MouseSelectsAndTheBarChangesInclusion) {
  Plot& plot = plot_lines(8);
  DataFile& data = *plot.window.data;
  auto window = shown(data);
  const QString path = QString::fromStdString(data.path());
  EXPECT_TRUE(data.view_window_open);
  EXPECT_EQ(window->windowTitle(), path + ", 8 lines out of 8 used by 1 plot");
  EXPECT_EQ(window->selectionText(), "0 lines selected");
  EXPECT_FALSE(window->button("&Exclude")->isEnabled());
  EXPECT_FALSE(window->button("&Re-Include All")->isEnabled());
  EXPECT_FALSE(window->button("&Back")->isVisible());

  click(*window, 2);
  EXPECT_EQ(window->selectionText(), "1 line selected");
  click(*window, 4, Qt::ControlModifier);
  click(*window, 6, Qt::ShiftModifier);  // 4 .. 6 join line 2
  EXPECT_EQ(window->selectionText(), "4 lines selected");
  click(*window, 2, Qt::ControlModifier);
  EXPECT_EQ(window->selectionText(), "3 lines selected");
  const int beeps = ui.beeps();
  click(*window, 8, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(ui.beeps(), beeps + 1);
  EXPECT_EQ(window->selectionText(), "3 lines selected");

  // Alt+E presses "&Exclude".
  alt(window.get(), Qt::Key_E);
  EXPECT_EQ(data.included_count(), 5);
  EXPECT_EQ(window->windowTitle(), path + ", 5 lines out of 8 used by 1 plot");
  EXPECT_EQ(window->statusText(), "Update Needed");
  EXPECT_TRUE(window->button("&Update Plots")->isEnabled());
  EXPECT_TRUE(window->button("&Re-Include All")->isEnabled());

  // A double-click flips the line and sends the focus to the pattern field.
  QTest::mouseDClick(window->textArea(), Qt::LeftButton, {}, window->pointOfLine(5));
  EXPECT_TRUE(data.line(5).included());
  EXPECT_EQ(window->windowTitle(), path + ", 6 lines out of 8 used by 1 plot");
  EXPECT_TRUE(window->patternField()->hasFocus());

  window->button("&Re-Include All")->click();
  EXPECT_EQ(data.included_count(), 8);
  EXPECT_EQ(window->statusText(), "Update Needed");

  window->setEditable(false, "Lines of the setup");
  EXPECT_EQ(window->windowTitle(), "Lines of the setup");
  EXPECT_FALSE(window->button("&Toggle")->isEnabled());
  QTest::mouseDClick(window->textArea(), Qt::LeftButton, {}, window->pointOfLine(3));
  EXPECT_EQ(ui.lastMessage().text, "Not allowed.");
  EXPECT_TRUE(data.line(3).included());
  EXPECT_TRUE(ui.pendingAnswers() == 0);
}

TEST_F(ViewWindowTest, KeysMoveTheCaretAndSearchFindsLines) {
  Plot& plot = plot_lines(60);
  DataFile& data = *plot.window.data;
  auto window = shown(data);
  click(*window, 3);
  QWidget* text = window->textArea();
  QTest::keyClick(text, Qt::Key_Down, Qt::ShiftModifier);
  QTest::keyClick(text, Qt::Key_Down, Qt::ShiftModifier);
  EXPECT_EQ(window->selectionText(), "3 lines selected");
  QTest::keyClick(text, Qt::Key_Up, Qt::ShiftModifier);
  EXPECT_EQ(window->selectionText(), "2 lines selected");
  QTest::keyClick(text, Qt::Key_Down);
  EXPECT_EQ(window->selectionText(), "1 line selected");
  EXPECT_EQ(window->model().current_line(), 5);
  QTest::keyClick(text, Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(window->model().current_line(), 60);
  EXPECT_EQ(window->model().last_visible(), 60);
  EXPECT_EQ(window->verticalBar()->value(), window->verticalBar()->maximum());
  QTest::keyClick(text, Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_TRUE(window->patternField()->hasFocus());

  // Enter in the pattern field searches; the hit is scrolled to the top.
  QTest::keyClicks(window->patternField(), " 20");
  QTest::keyClick(window->patternField(), Qt::Key_Return);
  EXPECT_EQ(window->model().found_line(), 2);
  EXPECT_EQ(window->model().first_visible(), 2);
  QTest::keyClick(window->patternField(), Qt::Key_Return);
  EXPECT_EQ(window->model().found_line(), 20);
  alt(window.get(), Qt::Key_F);
  EXPECT_EQ(window->selectionText(), "2 lines selected");

  // With&out an empty pattern: every non-empty line.
  window->patternField()->clear();
  alt(window.get(), Qt::Key_O);
  EXPECT_TRUE(window->findChild<QRadioButton*>()->isChecked() == false);
  window->button("&Find && Select All")->click();
  EXPECT_EQ(window->selectionText(), "60 lines selected");

  window->patternField()->setText("no such text");
  QTest::keyClick(window->patternField(), Qt::Key_Return);
  EXPECT_EQ(ui.lastMessage().text, "Reached end of file without finding match.");
  EXPECT_EQ(ui.lastMessage().caption, "Pattern Not Found.");
  EXPECT_TRUE(window->patternField()->hasFocus());
}

TEST_F(ViewWindowTest, TheContextMenuCopiesToTheClipboard) {
  Plot& plot = plot_lines(5);
  auto window = shown(*plot.window.data);
  click(*window, 2);
  click(*window, 3, Qt::ShiftModifier);
  auto copy = [&](int32_t line, int x, const QString& action) {
    QPoint at = window->pointOfLine(line);
    at.setX(x);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, window->textArea()->mapToGlobal(at));
    QApplication::sendEvent(window->textArea(), &event);
    QMenu* menu = window->findChild<QMenu*>("view_menu");
    if (!menu) return QString("no menu");
    QString result = "disabled";
    for (QAction* item : menu->actions())
      if (item->text() == action && item->isEnabled()) {
        item->trigger();
        result = QGuiApplication::clipboard()->text();
      }
    menu->close();
    delete menu;
    return result;
  };
  EXPECT_EQ(copy(4, 5, "Copy Selection"), "2 20\r\n3 30");
  EXPECT_EQ(copy(4, 5, "Copy Line"), "4 40");
  EXPECT_EQ(copy(4, 2, "Copy Word"), "disabled");  // over the number
  const int after_number = 4 * window->charWidth() + window->charWidth() / 2;  // " 4: " then "4 40"
  EXPECT_EQ(copy(4, after_number + 2 * window->charWidth(), "Copy Word"), "40");
}

TEST_F(ViewWindowTest, UpdatePlotsRecalculatesAndClosingNeedsTwoLines) {
  Plot& plot = plot_lines(4);
  DataFile& data = *plot.window.data;
  EXPECT_EQ(plot.window.plot_y_max, 1000);
  auto window = shown(data);
  click(*window, 4);
  window->button("&Exclude")->click();
  alt(window.get(), Qt::Key_U);
  EXPECT_EQ(plot.window.plot_y_max, 30);
  EXPECT_EQ(window->statusText(), "");
  EXPECT_FALSE(window->button("&Update Plots")->isEnabled());

  click(*window, 1);
  click(*window, 3, Qt::ShiftModifier);
  window->button("&Exclude")->click();
  EXPECT_EQ(window->statusText(), "Can't close!");
  EXPECT_FALSE(window->closeWindow());
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(ui.lastMessage().text, "There must be at least two lines included for a plot!");
  EXPECT_EQ(ui.lastMessage().caption, "Error!");
  window->button("&Update Plots")->click();
  EXPECT_EQ(ui.messages().size(), 2u);
  EXPECT_EQ(plot.window.plot_y_max, 30);  // not recalculated

  click(*window, 3);
  click(*window, 4, Qt::ShiftModifier);
  window->button("&Include")->click();
  EXPECT_EQ(window->statusText(), "Update Needed");
  EXPECT_TRUE(window->closeWindow());
  EXPECT_FALSE(window->isVisible());
  window.reset();  // the plots take up the change on the way out
  EXPECT_FALSE(data.view_window_open);
  EXPECT_EQ(plot.window.plot_y_max, 1000);
  EXPECT_EQ(data.included_count(), 2);
  EXPECT_EQ(plot.window.definition.formulas[1].needs_recalc, 0);
}

TEST_F(ViewWindowTest, OneWindowPerDataSetAndTheModalUse) {
  Plot& plot = plot_lines(6);
  DataFile& data = *plot.window.data;
  QPointer<ViewWindow> first = open_view_window(data, shell, nullptr);
  EXPECT_EQ(open_view_window(data, shell, nullptr), first.data());
  EXPECT_EQ(ViewWindow::of(data), first.data());
  close_view_windows_of(data);
  EXPECT_FALSE(data.view_window_open);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(first.isNull());
  EXPECT_EQ(ViewWindow::of(data), nullptr);

  auto owned = std::make_unique<ViewWindow>(data, shell, true, nullptr);
  ViewWindow& modal = *owned;
  EXPECT_NE(modal.button("Done"), nullptr);
  EXPECT_EQ(modal.button("&Close"), nullptr);
  QTimer::singleShot(0, &modal, [&] {
    EXPECT_TRUE(modal.inModalLoop());
    EXPECT_FALSE(modal.button("&Update Plots")->isEnabled());
    QApplication::setActiveWindow(&modal);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&modal));
    alt(&modal, Qt::Key_B);
  });
  QTimer rescue;  // ends the loop should the key not reach the window
  rescue.setSingleShot(true);
  QObject::connect(&rescue, &QTimer::timeout, &modal, [&] {
    ADD_FAILURE() << "Alt+B did not end the modal use";
    modal.button("&Back")->click();
  });
  rescue.start(5000);
  EXPECT_FALSE(modal.runModal());
  EXPECT_TRUE(modal.backPressed());
  EXPECT_FALSE(modal.isVisible());
  rescue.stop();

  // The caller's plot is left to the caller when the window goes.
  modal.setCallerPlot(&plot);
  QTimer::singleShot(0, &modal, [&] {
    modal.model().click(6);
    modal.refresh();
    modal.button("&Exclude")->click();
    modal.button("Done")->click();
  });
  EXPECT_TRUE(modal.runModal());
  EXPECT_FALSE(modal.backPressed());
  EXPECT_EQ(data.included_count(), 5);
  EXPECT_TRUE(data.view_window_open);  // until the caller lets it go
  owned.reset();
  EXPECT_FALSE(data.view_window_open);
  EXPECT_EQ(plot.window.plot_y_max, 1000);
}

TEST(ViewWindowScroll, LineNumbersBeyondTheBarAreScaledByPowersOfTwo) {
  EXPECT_EQ(ViewWindow::scrollShift(1000, 32767), 0);
  EXPECT_EQ(ViewWindow::scrollShift(32767, 32767), 0);
  EXPECT_EQ(ViewWindow::scrollShift(32768, 32767), 1);
  EXPECT_EQ(ViewWindow::scrollShift(10'000'000, 32767), 9);
}

}  // namespace
}  // namespace zentrik
