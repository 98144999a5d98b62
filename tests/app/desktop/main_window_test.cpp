#include "app/desktop/MainWindow.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QUrl>
#include <QStatusBar>
#include <QTest>

#include "app/desktop/DropSurface.h"
#include "app/desktop/PlotWidget.h"
#include "app/desktop/ViewWindow.h"
#include "app/dialogs/FileDialogs.h"
#include "app/dialogs/PromptDialog.h"
#include "data/TempDir.h"
#include "ui/ScriptedUi.h"

namespace zentrik {
namespace {

// The actions of a menu by their texts, submenus' items as "Sub > Item".
QAction* find_action(QMenu* menu, const QString& path) {
  const QStringList parts = path.split(" > ");
  for (QAction* action : menu->actions()) {
    if (action->text() != parts.front()) continue;
    if (parts.size() == 1) return action;
    if (action->menu()) return find_action(action->menu(), QStringList(parts.mid(1)).join(" > "));
  }
  return nullptr;
}

QMenu* menu_named(QMainWindow& window, const QString& title) {
  for (QAction* action : window.menuBar()->actions())
    if (action->text() == title) return action->menu();
  return nullptr;
}

QStringList texts_of(QMenu* menu) {
  emit menu->aboutToShow();
  QStringList texts;
  for (QAction* action : menu->actions())
    if (!action->isSeparator()) texts << action->text();
  return texts;
}

class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() {
    config.drop_prompt = 0;
    config.load_prompt = 0;
    config.use_obj = 0;
    config.plotfiledir = config.objdir = config.clipdir = dir.path("");
    startup = config;
  }
  ~MainWindowTest() override { set_file_chooser({}); }

  testing::TempDir dir;
  Configuration config;
  Configuration startup;
  ScriptedUi ui;
  MainWindow window{config, startup, dir.path("Zentrik.ini"), ui};
};

TEST_F(MainWindowTest, TheMenusHoldEveryCommandAndTheirSettings) {
  EXPECT_EQ(texts_of(menu_named(window, "&File")),
            QStringList({"&Browse For Data File", "&Load Data File", "&Open Plot Object", "&Download File",
                         "&Paste To New File", "Recent Data Files", "Recent Objects", "Recent URLs",
                         "Run &Calculator", "E&xit"}));
  EXPECT_EQ(texts_of(menu_named(window, "&Window")),
            QStringList({"&Cascade", "Tile &Vertically", "Tile &Horizontally", "&Close All Plot Windows"}));
  for (QAction* action : menu_named(window, "&Window")->actions()) EXPECT_FALSE(action->isEnabled());

  QMenu* options = menu_named(window, "&Options");
  ASSERT_NE(options, nullptr);
  QAction* beep = find_action(options, "&Beep On Error");
  ASSERT_NE(beep, nullptr);
  EXPECT_TRUE(beep->isChecked());
  beep->trigger();
  EXPECT_EQ(config.err_beep, 0);
  EXPECT_FALSE(ui.errorBeep());

  QAction* never = find_action(options, "Prompt on File &Load > &Never");
  ASSERT_NE(never, nullptr);
  never->trigger();
  EXPECT_EQ(config.load_prompt, 0);
  find_action(options, "Use Plot &Objects > &Use Automatically")->trigger();
  EXPECT_EQ(config.use_obj, 1);

  QMenu* defaults = menu_named(window, "&Defaults");
  find_action(defaults, "New &Formulas > &Lines Only")->trigger();
  EXPECT_EQ(config.default_plot.new_points, 0);
  EXPECT_EQ(config.default_plot.new_lines, 1);
  find_action(defaults, "Start With &Histograms On New Windows")->trigger();
  EXPECT_EQ(config.default_plot.definition.xy_or_histo, 1);

  // The recent lists show "Empty" greyed, then their names newest first.
  QMenu* recent = find_action(menu_named(window, "&File"), "Recent Data Files")->menu();
  EXPECT_EQ(texts_of(recent), QStringList({"Empty"}));
  EXPECT_FALSE(recent->actions().front()->isEnabled());
  config.file_mru = {"/d/b.dat", "/d/a&b.dat"};
  EXPECT_EQ(texts_of(recent), QStringList({"/d/b.dat", "/d/a&&b.dat"}));
}

TEST_F(MainWindowTest, ABrowsedFileBecomesAPlotWindowAndEntersTheRecentList) {
  const std::string data = dir.write("run.dat", "1 3\n2 5\n3 4\n");
  FileDialogRequest asked;
  set_file_chooser([&](const FileDialogRequest& request, FileDialogKind) {
    asked = request;
    return std::optional<std::string>(data);
  });
  window.browseForDataFile();
  EXPECT_EQ(asked.title, "Select File For Plotting");
  ASSERT_EQ(window.shell().plots().size(), 1u);
  Plot& plot = *window.shell().plots().front();
  PlotWidget* widget = window.widgetOf(plot);
  ASSERT_NE(widget, nullptr);
  EXPECT_EQ(widget->windowTitle(), "run.dat");
  EXPECT_EQ(config.file_mru, std::vector<std::string>{data});
  EXPECT_TRUE(ui.messages().empty());

  // Its picture and status bar come with the first paint (X = L, Y = C1 by default).
  widget->resize(400, 300);
  widget->show();
  QApplication::processEvents();
  widget->grab();
  QStringList status;
  for (QObject* child : widget->statusBar()->children())
    if (auto* label = qobject_cast<QLabel*>(child)) status << label->text();
  EXPECT_TRUE(status.contains(": 1, 1 to 3, 3")) << status.join("|").toStdString();

  // The window menu lists it; W asks first and closes it on Yes, freeing the data set.
  EXPECT_TRUE(texts_of(menu_named(window, "&Window")).contains("run.dat"));
  ui.queueAnswer(Answer::No);
  QTest::keyClick(widget, Qt::Key_W);
  EXPECT_EQ(ui.lastMessage().text, "Really close this window?");
  EXPECT_EQ(ui.lastMessage().caption, "Really?");
  EXPECT_EQ(window.shell().data_files().size(), 1u);
  ui.queueAnswer(Answer::Yes);
  QTest::keyClick(widget, Qt::Key_W);
  EXPECT_TRUE(window.shell().plots().empty());
  EXPECT_TRUE(window.shell().data_files().empty());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // the window goes after its plot
}

TEST_F(MainWindowTest, KeysAndTheBusyCountGuardTheCommands) {
  const std::string data = dir.write("run.dat", "1 3\n2 5\n3 4\n");
  window.processCommandLine(data + " " + data);
  ASSERT_EQ(window.shell().plots().size(), 2u);

  // W on the main window asks about all of them.
  ui.queueAnswer(Answer::Yes);
  QTest::keyClick(&window, Qt::Key_W);
  EXPECT_EQ(ui.lastMessage().text, "Really close all plot windows?");
  EXPECT_TRUE(window.shell().plots().empty());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

  {
    Shell::BusyScope busy(window.shell());
    EXPECT_FALSE(window.menuBar()->isEnabled());
    window.browseForDataFile();
    QTest::keyClick(&window, Qt::Key_W);
    QTest::keyClick(&window, Qt::Key_C);
    QTest::keyClick(&window, Qt::Key_Tab);
    EXPECT_EQ(ui.beeps(), 4);
  }
  EXPECT_TRUE(window.menuBar()->isEnabled());

  // Exit writes the configuration with the recent lists and the settings changed.
  config.url_mru = {"http://example.org/a.dat"};
  EXPECT_TRUE(window.writeConfiguration());
  const std::string written = testing::read_file(dir.path("Zentrik.ini"));
  EXPECT_NE(written.find("url_mru\nhttp://example.org/a.dat\n~url_mru~\n"), std::string::npos);
}

TEST_F(MainWindowTest, AFileDroppedOnTheSurfaceIsPlotted) {
  const std::string data = dir.write("drop.dat", "1 2\n2 4\n3 8\n");
  auto* surface = qobject_cast<DropSurface*>(window.centralWidget());
  ASSERT_NE(surface, nullptr);
  QMimeData mime;
  mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(data)), QUrl("ftp://example.org/x.dat"),
                QUrl("https://example.org/y.dat")});
  const QStringList names = dropped_names(mime);
  EXPECT_EQ(names, QStringList({QString::fromStdString(data), "https://example.org/y.dat"}));
  emit surface->filesDropped({names.front()});
  EXPECT_TRUE(window.shell().plots().empty());  // the load starts once the drag has ended
  QApplication::processEvents();
  ASSERT_EQ(window.shell().plots().size(), 1u);
  EXPECT_EQ(window.shell().plots().front()->window.data->path(), data);
}

TEST_F(MainWindowTest, ThePlotWindowsLettersRunItsCommands) {
  window.processCommandLine(dir.write("run.dat", "1 3\n2 5\n3 4\n"));
  ASSERT_EQ(window.shell().plots().size(), 1u);
  Plot& plot = *window.shell().plots().front();
  PlotWidget* widget = window.widgetOf(plot);
  ASSERT_NE(widget, nullptr);

  PromptRequest asked;
  set_text_prompter([&](const PromptRequest& request) {
    asked = request;
    return std::optional<std::string>("Run 5");
  });
  QTest::keyClick(widget, Qt::Key_T);
  set_text_prompter({});
  EXPECT_EQ(asked.caption, "Plot Title");
  EXPECT_EQ(asked.label, "Enter the main title for this plot:");
  EXPECT_EQ(widget->windowTitle(), "Run 5");

  QTest::keyClick(widget, Qt::Key_D);
  ASSERT_EQ(window.shell().plots().size(), 2u);
  const Plot& copy = *window.shell().plots().back();
  EXPECT_EQ(copy.window.data, plot.window.data);
  EXPECT_EQ(copy.window.title, "Run 5");
  ASSERT_NE(window.widgetOf(copy), nullptr);
  EXPECT_EQ(window.widgetOf(copy)->windowTitle(), "Run 5");
  EXPECT_TRUE(ui.messages().empty());
}

TEST_F(MainWindowTest, RectanglesDraggedWithShiftOrCtrlZoomOrExclude) {
  std::string lines;
  for (int i = 1; i <= 100; ++i) lines += std::to_string(i) + " " + std::to_string(i) + "\n";
  window.processCommandLine(dir.write("line.dat", lines));
  ASSERT_EQ(window.shell().plots().size(), 1u);
  Plot& plot = *window.shell().plots().front();
  PlotWidget* widget = window.widgetOf(plot);
  widget->resize(500, 490);
  widget->show();
  QWidget* canvas = widget->centralWidget();
  canvas->grab();  // the first paint lays the plot out

  auto status = [&] {
    for (QObject* child : widget->statusBar()->children())
      if (auto* label = qobject_cast<QLabel*>(child)) return label->text();
    return QString();
  };
  // A drag across the middle of the plot, with the keys given.
  auto drag = [&](Qt::KeyboardModifiers keys) {
    QTest::mousePress(canvas, Qt::LeftButton, keys, QPoint(150, 100));
    QTest::mouseMove(canvas, QPoint(300, 250));
    const QString during = status();
    QTest::mouseRelease(canvas, Qt::LeftButton, keys, QPoint(300, 250));
    return during;
  };

  EXPECT_TRUE(drag(Qt::NoModifier).startsWith("Pos = "));
  EXPECT_EQ(window.shell().plots().size(), 1u);

  EXPECT_TRUE(drag(Qt::ShiftModifier).startsWith("Zooming from "));
  ASSERT_EQ(window.shell().plots().size(), 2u);
  Plot& zoom = *window.shell().plots().back();
  EXPECT_EQ(window.widgetOf(zoom)->windowTitle(), "line.dat (Zoom)");
  EXPECT_GT(zoom.window.plot_x_min, 1);
  EXPECT_LT(zoom.window.plot_x_max, 100);

  EXPECT_TRUE(drag(Qt::ControlModifier).startsWith("Excluding from "));
  const int32_t left = plot.window.data->included_count();
  EXPECT_LT(left, 100);
  EXPECT_GT(left, 50);
  EXPECT_EQ(ui.messages().size(), 0u);
}

TEST_F(MainWindowTest, TheViewWindowFollowsItsPlotsAndGoesWithItsData) {
  const std::string data = dir.write("v.dat", "1 1\n2 2\n3 3\n4 4\n");
  window.processCommandLine(data);
  Plot& plot = *window.shell().plots().front();
  PlotWidget* widget = window.widgetOf(plot);
  QTest::keyClick(widget, Qt::Key_V);
  ViewWindow* view = ViewWindow::of(*plot.window.data);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->windowTitle().toStdString(), data + ", 4 lines out of 4 used by 1 plot");
  QTest::keyClick(widget, Qt::Key_D);  // a second plot of the same data
  ASSERT_EQ(window.shell().plots().size(), 2u);
  view->refresh();
  EXPECT_EQ(view->windowTitle().toStdString(), data + ", 4 lines out of 4 used by 2 plots");

  QPointer<ViewWindow> watched = view;
  window.closeAllPlotWindows(false);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(watched.isNull());  // it went with its data set
}

TEST_F(MainWindowTest, TheCalculationErrorsViewIsATemporaryReadOnlyWindow) {
  window.processCommandLine(dir.write("e.dat", "1 1\n2 2\n3 3\n"));
  Plot& plot = *window.shell().plots().front();
  bool seen = false, editable = true;
  QTimer::singleShot(0, [&] {
    ViewWindow* view = ViewWindow::of(*plot.window.data);
    if (!view) return;
    seen = true;
    editable = view->model().editable();
    view->button("Done")->click();
  });
  window.viewFile(plot)();  // returns once the window was closed
  EXPECT_TRUE(seen);
  EXPECT_FALSE(editable);
  EXPECT_EQ(ViewWindow::of(*plot.window.data), nullptr);  // gone with the dialog's use of it
}

TEST(DropSurface, TextColourFollowsTheBrightness) {
  EXPECT_TRUE(drop_text_is_white(0xA65300));   // the default dark blue
  EXPECT_FALSE(drop_text_is_white(0xFFFFFF));
  EXPECT_TRUE(drop_text_is_white(0x7E7E7E));   // average 126
  EXPECT_FALSE(drop_text_is_white(0x7F7F7F));  // average 127
}

}  // namespace
}  // namespace zentrik
