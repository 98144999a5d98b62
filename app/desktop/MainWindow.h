// The main window of zentrik3: the drop surface, the menus of the program-wide
// commands and options, the recent lists, the keys, and the plot windows it owns
// through the shell. It is the desktop face of the shell: the plot setup dialog,
// the drop choice and the plot windows appear through it. At its end the
// configuration is written.
#pragma once

#include <QMainWindow>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/desktop/PlotWidget.h"
#include "app/shell/Shell.h"

class QAction;
class QActionGroup;
class QMenu;

namespace zentrik {

class DropSurface;

class MainWindow : public QMainWindow, public ShellFace, public PlotWindowHost {
  Q_OBJECT

 public:
  // config is the live configuration, startup the copy taken after reading it;
  // config_path is where it is written at the end ("" for nowhere).
  MainWindow(Configuration& config, const Configuration& startup, std::string config_path, Ui& ui);
  ~MainWindow() override;

  Shell& shell() { return shell_; }
  PlotWidget* widgetOf(const Plot& plot) const;

  // Plots the names of a command line (at start-up and from a second start).
  void processCommandLine(const std::string& text);
  // A second start handed its command line over.
  void passFile(const std::string& text);

  // ShellFace
  bool plotSetup(Plot& plot) override;
  DropChoice multiFileDropOptions() override;
  ScreenSize screen() const override;
  void plotReady(Plot& plot) override;
  void plotClosing(Plot& plot) override;
  void busyChanged(bool busy) override;
  void activatePlot(Plot& plot) override;
  std::function<void()> viewFile(Plot& plot) override;
  void dataClosing(DataFile& data) override;

  // --- the commands, public for the tests ---
  void browseForDataFile();
  void loadDataFile();
  void openPlotObject();
  void downloadFile();
  void pasteToNewFile();
  void runCalculator();
  void closeAllPlotWindows(bool ask);
  void arrangeWindows(int how);  // 0 cascade, 1 tile vertically, 2 tile horizontally
  void cycleWindows(bool backwards) override;
  void calculatorFromPlot() override;
  // Writes the configuration as it stands (also done when the window closes).
  bool writeConfiguration();

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void buildMenus();
  QMenu* buildFileMenu();
  QMenu* buildOptionsMenu();
  QMenu* buildDefaultsMenu();
  QMenu* buildHelpMenu();
  QAction* addToggle(QMenu* menu, const QString& text, int32_t& setting, std::function<void()> after = {});
  void addChoice(QMenu* menu, const QString& text, const std::vector<std::pair<QString, int32_t>>& choices,
                 int32_t& setting);
  void addRecentMenu(QMenu* parent, const QString& title, std::vector<std::string>& list, int kind);
  void fillWindowMenu();
  void openRecent(int kind, const std::string& name);
  void openAndRemember(const std::string& path, std::vector<std::string>& recent);
  void chooseFont(FontRecord& record, const QString& title);
  void redrawAllPlots();
  void dropFiles(const std::vector<std::string>& paths);
  void retireWidget(PlotWidget* widget, const DataFile* data);
  // The view window of a dialog: modal, with "Done" and "&Back" for the plot setup,
  // read-only for a calculation error; an open one is raised instead.
  void viewModally(Plot& plot, QWidget* near, bool editable);
  bool refuseWhileBusy();
  std::vector<Plot*> openPlots() const;

  Configuration& config_;
  const Configuration& startup_;
  std::string config_path_;
  Ui& ui_;
  Shell shell_;
  DropSurface* surface_ = nullptr;
  QMenu* window_menu_ = nullptr;
  QMenu* surface_menu_ = nullptr;
  std::vector<QAction*> busy_greyed_;  // greyed while busy
  std::map<const Plot*, PlotWidget*> widgets_;
  std::optional<std::size_t> cycle_position_;  // the plot window last reached with Tab
  std::string last_data_file_, last_object_, clip_file_ = "clip.tmp";
  std::optional<WindowRect> placed_;  // the configuration's rectangle until the frame is known
};

}  // namespace zentrik
