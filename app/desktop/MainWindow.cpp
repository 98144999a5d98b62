#include "app/desktop/MainWindow.h"

#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <filesystem>

#include "app/desktop/DropSurface.h"
#include "app/desktop/PlotWidget.h"
#include "app/desktop/ViewWindow.h"
#include "app/dialogs/AboutDialog.h"
#include "app/dialogs/ColorChoice.h"
#include "app/dialogs/ExtensionsDialog.h"
#include "app/dialogs/FileDialogs.h"
#include "app/dialogs/FontChoice.h"
#include "app/dialogs/HelpWindow.h"
#include "app/dialogs/HistogramBinsDialog.h"
#include "app/dialogs/MarginsDialog.h"
#include "app/dialogs/MultiFileDropDialog.h"
#include "app/dialogs/PlotSetupDialog.h"
#include "app/dialogs/PromptDialog.h"
#include "app/shell/Calculator.h"
#include "app/shell/RecentList.h"
#include "app/shell/WindowArrangement.h"
#include "data/AtomicFile.h"
#include "data/download/Download.h"

namespace zentrik {
namespace {

enum RecentKind { kRecentData = 0, kRecentObjects = 1, kRecentUrls = 2 };

WindowRect rect_of(const QRect& r) { return {r.left(), r.top(), r.right() + 1, r.bottom() + 1}; }

}  // namespace

MainWindow::MainWindow(Configuration& config, const Configuration& startup, std::string config_path, Ui& ui)
    : config_(config), startup_(startup), config_path_(std::move(config_path)), ui_(ui), shell_(config, ui, *this) {
  setWindowTitle("Zentrik");
  buildMenus();
  surface_ = new DropSurface(config_.drop_color, surface_menu_, this);
  setCentralWidget(surface_);
  connect(surface_, &DropSurface::doubleClicked, this, [this] { browseForDataFile(); });
  connect(
      surface_, &DropSurface::filesDropped, this,
      [this](const QStringList& names) {
        std::vector<std::string> paths;
        for (const QString& name : names) paths.push_back(name.toStdString());
        dropFiles(paths);
      },
      Qt::QueuedConnection);  // the file manager's drag ends before the load starts
  connect(surface_, &DropSurface::resetRequested, this, [this] { shell_.reset_busy(); });

  const QRect desktop = QGuiApplication::primaryScreen()->availableGeometry();
  const auto& r = config_.main_win_rect;
  const WindowRect placed = place_main_window({r[0], r[1], r[2], r[3]}, desktop.width(), desktop.height());
  placed_ = placed;
  move(placed.left, placed.top);
  resize(placed.right - placed.left, placed.bottom - placed.top);
  setAcceptDrops(false);
}

MainWindow::~MainWindow() {
  for (auto& [plot, widget] : widgets_) delete widget;
}

// --- menus ---

QAction* MainWindow::addToggle(QMenu* menu, const QString& text, int32_t& setting, std::function<void()> after) {
  QAction* action = menu->addAction(text);
  action->setCheckable(true);
  action->setChecked(setting != 0);
  connect(menu, &QMenu::aboutToShow, action, [action, &setting] { action->setChecked(setting != 0); });
  connect(action, &QAction::triggered, this, [&setting, after](bool on) {
    setting = on ? 1 : 0;
    if (after) after();
  });
  return action;
}

void MainWindow::addChoice(QMenu* menu, const QString& text, const std::vector<std::pair<QString, int32_t>>& choices,
                           int32_t& setting) {
  QMenu* submenu = menu->addMenu(text);
  auto* group = new QActionGroup(submenu);
  for (const auto& [label, value] : choices) {
    QAction* action = submenu->addAction(label);
    action->setCheckable(true);
    group->addAction(action);
    connect(action, &QAction::triggered, this, [&setting, value = value] { setting = value; });
    connect(submenu, &QMenu::aboutToShow, action, [action, &setting, value = value] {
      action->setChecked(setting == value);
    });
  }
}

void MainWindow::buildMenus() {
  menuBar()->addMenu(buildFileMenu());
  menuBar()->addMenu(buildOptionsMenu());
  menuBar()->addMenu(buildDefaultsMenu());
  window_menu_ = menuBar()->addMenu("&Window");
  connect(window_menu_, &QMenu::aboutToShow, this, [this] { fillWindowMenu(); });
  fillWindowMenu();
  menuBar()->addMenu(buildHelpMenu());

  surface_menu_ = new QMenu(this);
  surface_menu_->addAction("&Plot File . . .", this, [this] { browseForDataFile(); });
  surface_menu_->addAction("&Open Plot Object . . .", this, [this] { openPlotObject(); });
  QAction* close_all = surface_menu_->addAction("Close All Plot &Windows", this, [this] { closeAllPlotWindows(true); });
  surface_menu_->addAction("&Create From Clipboard", this, [this] { pasteToNewFile(); });
  connect(surface_menu_, &QMenu::aboutToShow, this,
          [this, close_all] { close_all->setEnabled(!shell_.busy() && !openPlots().empty()); });
}

QMenu* MainWindow::buildFileMenu() {
  auto* menu = new QMenu("&File", this);
  menu->addAction("&Browse For Data File", this, [this] { browseForDataFile(); });
  menu->addAction("&Load Data File", this, [this] { loadDataFile(); });
  menu->addAction("&Open Plot Object", this, [this] { openPlotObject(); });
  menu->addAction("&Download File", this, [this] { downloadFile(); });
  menu->addAction("&Paste To New File", this, [this] { pasteToNewFile(); });
  menu->addSeparator();
  addRecentMenu(menu, "Recent Data Files", config_.file_mru, kRecentData);
  addRecentMenu(menu, "Recent Objects", config_.obj_mru, kRecentObjects);
  addRecentMenu(menu, "Recent URLs", config_.url_mru, kRecentUrls);
  menu->addSeparator();
  menu->addAction("Run &Calculator", this, [this] { runCalculator(); });
  menu->addSeparator();
  menu->addAction("E&xit", this, [this] { close(); });
  return menu;
}

void MainWindow::addRecentMenu(QMenu* parent, const QString& title, std::vector<std::string>& list, int kind) {
  QMenu* menu = parent->addMenu(title);
  // Rebuilt each time it opens: the lists change with every file opened.
  connect(menu, &QMenu::aboutToShow, this, [this, menu, &list, kind] {
    menu->clear();
    if (list.empty()) {
      menu->addAction(kRecentEmptyLabel)->setEnabled(false);
      return;
    }
    for (const std::string& name : list) {
      QString label = QString::fromStdString(name);
      label.replace('&', "&&");
      menu->addAction(label, this, [this, kind, name] { openRecent(kind, name); });
    }
  });
  menu->addAction(kRecentEmptyLabel)->setEnabled(false);
}

QMenu* MainWindow::buildOptionsMenu() {
  auto* menu = new QMenu("&Options", this);
  addToggle(menu, "&Save Settings on Exit", config_.savesets);
  addChoice(menu, "Use Plot &Objects", {{"&Prompt Before Use", 3}, {"&Use Automatically", 1}, {"&Don't Use", 0}},
            config_.use_obj);
  addChoice(menu, "Prompt on File &Load", {{"&Always", 1}, {"If &No Setup File", 3}, {"&Never", 0}},
            config_.load_prompt);
  addToggle(menu, "Prompt B&efore File Load", config_.drop_prompt);
  addToggle(menu, "&Use Plot Setup Files", config_.use_psu);
  addToggle(menu, "Store &Window Resize", config_.size_default);
  addToggle(menu, "Freeze &Default Directories", config_.freeze_dirs);
  addToggle(menu, "&Beep On Error", config_.err_beep, [this] { ui_.setErrorBeep(config_.err_beep != 0); });
  addToggle(menu, "&Gray Margins On Zooms", config_.gray_margins, [this] { redrawAllPlots(); });
  addToggle(menu, "Show &Histogram Quantities", config_.histoqtys, [this] { redrawAllPlots(); });
  menu->addSeparator();
  menu->addAction("File&name Extensions . . .", this, [this] {
    exec_filename_extensions(config_.filters, config_.psu_files, config_.settingsdir, ui_, this);
  });
  QMenu* fonts = menu->addMenu("&Fonts");
  fonts->addAction("&Title Font . . .", this, [this] { chooseFont(config_.tpf, "Title Font"); });
  fonts->addAction("&Axis Label Font . . .", this, [this] { chooseFont(config_.lpf, "Axis Label Font"); });
  fonts->addAction("&Scale Marks Font . . .", this, [this] { chooseFont(config_.mpf, "Scale Marks Font"); });
  fonts->addAction("Plot &Points Font . . .", this, [this] { chooseFont(config_.ppf, "Plot Points Font"); });
  fonts->addAction("&View Window Font . . .", this, [this] { chooseFont(config_.vwf, "View Window Font"); });
  menu->addAction("&Margins . . .", this, [this] {
    exec_plot_margins(config_.default_plot.definition.x_margin, config_.default_plot.definition.y_margin, this);
  });
  menu->addAction("Drop Su&rface Color . . .", this, [this] {
    if (choose_color(config_.drop_color, this)) surface_->update();
  });
  return menu;
}

QMenu* MainWindow::buildDefaultsMenu() {
  DefaultPlot& defaults = config_.default_plot;
  auto* menu = new QMenu("&Defaults", this);
  addToggle(menu, "Show Status &Bar On New Windows", defaults.new_stat_bar);
  addToggle(menu, "Show &Statistics On New Windows", defaults.new_stats);
  addToggle(menu, "Show &Legend On New Windows", defaults.new_legend);
  addToggle(menu, "Start With &Histograms On New Windows", defaults.definition.xy_or_histo);
  // "New &Formulas": points and lines are two settings moved together.
  QMenu* formulas = menu->addMenu("New &Formulas");
  auto* group = new QActionGroup(formulas);
  const std::vector<std::tuple<QString, int, int>> kinds = {
      {"Points &And Lines", 1, 1}, {"&Points Only", 1, 0}, {"&Lines Only", 0, 1}};
  for (const auto& [label, points, lines] : kinds) {
    QAction* action = formulas->addAction(label);
    action->setCheckable(true);
    group->addAction(action);
    connect(action, &QAction::triggered, this, [&defaults, points = points, lines = lines] {
      defaults.new_points = points;
      defaults.new_lines = lines;
    });
    connect(formulas, &QMenu::aboutToShow, action, [action, &defaults, points = points, lines = lines] {
      action->setChecked(defaults.new_points == points && defaults.new_lines == lines);
    });
  }
  addToggle(menu, "&Black Points", defaults.def_blackpoints);
  addToggle(menu, "Bin Histograms On &Entire Plot", defaults.def_bin_all);
  menu->addAction("&Number Of Histogram Bins . . .", this,
                  [this, &defaults] { exec_histogram_bins(defaults.def_num_cats, ui_, this); });
  return menu;
}

QMenu* MainWindow::buildHelpMenu() {
  auto* menu = new QMenu("&Help", this);
  QAction* contents = menu->addAction("&Contents", this, [this] { show_help(this); });
  contents->setShortcut(QKeySequence(Qt::Key_F1));
  contents->setShortcutContext(Qt::ApplicationShortcut);
  menu->addAction("&Search For Help On . . .", this, [this] { show_help_search(this); });
  menu->addSeparator();
  menu->addAction("&About Zentrik . . .", this, [this] { show_about(this); });
  return menu;
}

void MainWindow::fillWindowMenu() {
  window_menu_->clear();
  const bool usable = !shell_.busy() && !openPlots().empty();
  window_menu_->addAction("&Cascade", this, [this] { arrangeWindows(0); })->setEnabled(usable);
  window_menu_->addAction("Tile &Vertically", this, [this] { arrangeWindows(1); })->setEnabled(usable);
  window_menu_->addAction("Tile &Horizontally", this, [this] { arrangeWindows(2); })->setEnabled(usable);
  window_menu_->addAction("&Close All Plot Windows", this, [this] { closeAllPlotWindows(true); })->setEnabled(usable);
  const std::vector<Plot*> plots = openPlots();
  if (!plots.empty()) window_menu_->addSeparator();
  for (Plot* plot : plots) {
    QString label = QString::fromStdString(plot_window_title(*plot));
    label.replace('&', "&&");
    window_menu_->addAction(label, this, [this, plot] { activatePlot(*plot); });
  }
}

std::vector<Plot*> MainWindow::openPlots() const {
  std::vector<Plot*> plots;
  for (const auto& plot : shell_.plots())
    if (!plot->closed && plot->shown) plots.push_back(plot.get());
  return plots;
}

PlotWidget* MainWindow::widgetOf(const Plot& plot) const {
  auto found = widgets_.find(&plot);
  return found == widgets_.end() ? nullptr : found->second;
}

// --- the shell's face ---

bool MainWindow::plotSetup(Plot& plot) {
  PlotSetupContext context{plot.window, config_.default_plot, config_.settingsdir, config_.freeze_dirs != 0, ui_};
  QWidget* parent = widgetOf(plot);
  if (!parent) parent = this;
  context.view_file = [this, &plot, parent] { viewModally(plot, QApplication::activeModalWidget() ? QApplication::activeModalWidget() : parent, true); };
  return exec_plot_setup(context, parent);
}

DropChoice MainWindow::multiFileDropOptions() { return exec_multi_file_drop(this); }

ScreenSize MainWindow::screen() const {
  const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
  return {area.right() + 1, area.bottom() + 1};
}

void MainWindow::plotReady(Plot& plot) {
  PlotWidget* widget = widgetOf(plot);
  if (!widget) {
    widget = new PlotWidget(plot, shell_, *this);
    widgets_[&plot] = widget;
    widget->show();
    widget->raise();
    widget->activateWindow();
  }
  widget->plotChanged();
}

void MainWindow::plotClosing(Plot& plot) {
  auto found = widgets_.find(&plot);
  if (found == widgets_.end()) return;
  PlotWidget* widget = found->second;
  widgets_.erase(found);
  const DataFile* data = plot.window.data;
  if (ViewWindow* view = data ? ViewWindow::of(*data) : nullptr) view->refresh();  // "used by n plots"
  widget->detach();  // the plot and perhaps its data set go before the window does
  widget->hide();
  retireWidget(widget, data);
  const std::vector<Plot*> plots = openPlots();
  if (cycle_position_ && *cycle_position_ >= plots.size()) cycle_position_.reset();
}

// A window that its data set's update thread may still be telling about a reload
// (it took the list of windows before this one left) stays until the reload is over.
void MainWindow::retireWidget(PlotWidget* widget, const DataFile* data) {
  const auto& files = shell_.data_files();
  const bool data_alive = std::any_of(files.begin(), files.end(), [data](const auto& file) { return file.get() == data; });
  if (data_alive && data->reloading()) {
    QTimer::singleShot(20, this, [this, widget, data] { retireWidget(widget, data); });
    return;
  }
  widget->deleteLater();
}

std::function<void()> MainWindow::viewFile(Plot& plot) {
  return [this, &plot] { viewModally(plot, QApplication::activeModalWidget(), false); };
}

void MainWindow::viewModally(Plot& plot, QWidget* near, bool editable) {
  if (!plot.window.data) return;
  DataFile& data = *plot.window.data;
  // An open view window would stand behind the dialog, out of reach: the dialog's own
  // view takes its place (closing it updates the plots it changed, or says why not).
  if (ViewWindow* open = ViewWindow::of(data)) {
    if (!open->closeWindow()) return;
    delete open;
  }
  auto window = std::make_unique<ViewWindow>(data, shell_, true, near);
  window->setCallerPlot(&plot);
  if (!editable) window->setEditable(false);
  window->runModal();
  // The calling plot is left to its dialog; it is computed again even if that is cancelled.
  if (window->model().modified() != 0) plot.lines_changed = true;
}

void MainWindow::dataClosing(DataFile& data) { close_view_windows_of(data); }

void MainWindow::activatePlot(Plot& plot) {
  PlotWidget* widget = widgetOf(plot);
  if (!widget) return;
  if (widget->isMinimized()) widget->showNormal();
  widget->raise();
  widget->activateWindow();
}

void MainWindow::busyChanged(bool busy) {
  // The menus go grey; the surface stays, so that its commands and drops can beep and
  // the busy count can be reset with the mouse. The progress window stays usable.
  menuBar()->setEnabled(!busy);
}

// --- commands ---

bool MainWindow::refuseWhileBusy() {
  if (!shell_.busy()) return false;
  ui_.beep();
  return true;
}

void MainWindow::openAndRemember(const std::string& path, std::vector<std::string>& recent) {
  if (shell_.open_file(path)) add_recent(recent, path);
}

void MainWindow::browseForDataFile() {
  if (refuseWhileBusy()) return;
  Shell::BusyScope busy(shell_);
  FileDialogRequest request{"Select File For Plotting", config_.filters, "", config_.plotfiledir,
                            std::filesystem::path(last_data_file_).filename().string()};
  std::optional<std::string> chosen = choose_file(this, request, FileDialogKind::Open);
  if (!chosen) return;
  last_data_file_ = *chosen;
  follow_chosen_folder(config_.plotfiledir, *chosen, config_.freeze_dirs != 0);
  openAndRemember(*chosen, config_.file_mru);
}

void MainWindow::loadDataFile() {
  if (refuseWhileBusy()) return;
  std::optional<std::string> name =
      prompt_for_text(this, "Date Filename", "Enter the name of the data file to load", last_data_file_);
  if (!name || name->empty()) return;
  last_data_file_ = *name;
  openAndRemember(*name, config_.file_mru);
}

void MainWindow::openPlotObject() {
  if (refuseWhileBusy()) return;
  Shell::BusyScope busy(shell_);
  FileDialogRequest request{"Open Zentrik Object", "Zentrik Objects|*.zko|All Files|*.*||", "", config_.objdir,
                            std::filesystem::path(last_object_).filename().string()};
  std::optional<std::string> chosen = choose_file(this, request, FileDialogKind::Open);
  if (!chosen) return;
  last_object_ = *chosen;
  follow_chosen_folder(config_.objdir, *chosen, config_.freeze_dirs != 0);
  openAndRemember(*chosen, config_.obj_mru);
}

void MainWindow::downloadFile() {
  if (refuseWhileBusy()) return;
  const std::string last = config_.url_mru.empty() ? std::string() : config_.url_mru.front();
  std::optional<std::string> url =
      prompt_for_text(this, "Download URL", "Enter the URL of the data file to download", last, config_.url_mru);
  if (!url || url->empty()) return;
  openAndRemember(*url, config_.url_mru);
}

void MainWindow::pasteToNewFile() {
  if (refuseWhileBusy()) return;
  Shell::BusyScope busy(shell_);
  FileDialogRequest request{"Clipboard Data's Filename", "All Files|*.*||", "", config_.clipdir, clip_file_, true};
  std::optional<std::string> chosen = choose_file(this, request, FileDialogKind::Save);
  if (!chosen) return;
  clip_file_ = std::filesystem::path(*chosen).filename().string();
  // Written beside an older file of the name and put in its place once complete.
  ReplacingFile file(*chosen);
  if (!file.ok()) {
    ui_.showError("Can't open " + *chosen, "File Open Error!");
    return;
  }
  const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
  if (!mime) {
    ui_.showError("Could not open clipboard!", "Clipboard not available!");
    return;
  }
  const QByteArray text = mime->hasText() ? mime->text().toUtf8() : QByteArray();
  if (!file.write(std::string_view(text.constData(), static_cast<std::size_t>(text.size()))) || !file.commit()) {
    ui_.showError("Error writing " + *chosen + ":\n\n" + file.error(), "File Write Error!");
    return;
  }
  if (!mime->hasText()) {  // the empty file stays
    ui_.showError("No data on clipboard, empty file created.", "No Data!");
    return;
  }
  follow_chosen_folder(config_.clipdir, *chosen, config_.freeze_dirs != 0);
  shell_.open_file(*chosen);
}

void MainWindow::calculatorFromPlot() {
  if (isMinimized()) showNormal();
  raise();
  activateWindow();
  runCalculator();
}

void MainWindow::runCalculator() {
  if (refuseWhileBusy()) return;
  run_calculator(ui_);
}

void MainWindow::closeAllPlotWindows(bool ask) {
  if (refuseWhileBusy()) return;
  if (ask && ui_.message("Really close all plot windows?", "Really?", Buttons::YesNo) != Answer::Yes) return;
  shell_.close_all_plots();
  cycle_position_.reset();
}

void MainWindow::arrangeWindows(int how) {
  if (isMinimized()) showNormal();
  ArrangementInput in;
  in.main = rect_of(frameGeometry());
  const std::vector<Plot*> plots = openPlots();
  std::vector<PlotWidget*> widgets;
  for (Plot* plot : plots) {
    PlotWidget* widget = widgetOf(*plot);
    if (!widget) continue;
    widgets.push_back(widget);
    in.plots.push_back(rect_of(widget->frameGeometry()));
    in.minimised.push_back(widget->isMinimized());
  }
  in.desktop = rect_of(QGuiApplication::primaryScreen()->availableGeometry());
  in.caption_height = style()->pixelMetric(QStyle::PM_TitleBarHeight);
  in.border_height = frameGeometry().height() > geometry().height()
                         ? (frameGeometry().height() - geometry().height() - in.caption_height) / 2
                         : 0;
  if (in.border_height < 0) in.border_height = 0;
  in.menu_height = menuBar()->height();
  in.new_width = config_.default_plot.def_win_x_siz;
  in.new_height = config_.default_plot.def_win_y_siz;
  const Arrangement arranged = how == 0 ? cascade(in) : tile(in, how == 2);
  move(arranged.main.left, arranged.main.top);
  for (std::size_t i = 0; i < widgets.size() && i < arranged.plots.size(); ++i) {
    if (!arranged.plots[i]) continue;
    const WindowRect& r = *arranged.plots[i];
    // The rectangles are frames; the windows are placed by their frames' corners.
    const QRect frame = widgets[i]->frameGeometry(), inner = widgets[i]->geometry();
    widgets[i]->move(r.left, r.top);
    widgets[i]->resize(std::max(60, r.right - r.left - (frame.width() - inner.width())),
                       std::max(60, r.bottom - r.top - (frame.height() - inner.height())));
    widgets[i]->show();
  }
}

void MainWindow::cycleWindows(bool backwards) {
  if (refuseWhileBusy()) return;
  const std::vector<Plot*> plots = openPlots();
  std::vector<bool> minimised;
  for (Plot* plot : plots) {
    PlotWidget* widget = widgetOf(*plot);
    minimised.push_back(!widget || widget->isMinimized());
  }
  cycle_position_ = next_window(cycle_position_, minimised, backwards);
  if (!cycle_position_) {
    raise();
    activateWindow();
    return;
  }
  activatePlot(*plots[*cycle_position_]);
}

void MainWindow::openRecent(int kind, const std::string& name) {
  if (refuseWhileBusy()) return;
  std::vector<std::string>& list =
      kind == kRecentData ? config_.file_mru : kind == kRecentObjects ? config_.obj_mru : config_.url_mru;
  const std::string chosen = name;  // the list changes under the menu's copy
  add_recent(list, chosen);
  shell_.open_file(chosen);
}

void MainWindow::chooseFont(FontRecord& record, const QString& title) {
  if (choose_font(record, title, this)) redrawAllPlots();
}

void MainWindow::redrawAllPlots() {
  for (auto& [plot, widget] : widgets_) widget->redraw();
}

void MainWindow::dropFiles(const std::vector<std::string>& paths) {
  if (refuseWhileBusy()) return;
  raise();
  activateWindow();
  shell_.drop_files(paths);
}

void MainWindow::processCommandLine(const std::string& text) { shell_.process_command_line(text); }

void MainWindow::passFile(const std::string& text) {
  // While busy a dialog may be open: it stays in front, and the names are refused.
  if (shell_.busy()) {
    shell_.pass_file(text);
    return;
  }
  if (isMinimized()) showNormal();
  raise();
  activateWindow();
  if (!text.empty()) shell_.pass_file(text);
}

// --- keys and closing ---

bool MainWindow::event(QEvent* event) {
  // The rectangle kept in the configuration is the whole window, frame included: once
  // the window manager has framed the window, its own size is what the frame leaves.
  if (placed_ && (event->type() == QEvent::Move || event->type() == QEvent::Resize) && isVisible()) {
    const QSize extra = frameGeometry().size() - size();
    if (!extra.isEmpty()) {
      const WindowRect placed = *placed_;
      placed_.reset();
      resize(std::max(placed.right - placed.left - extra.width(), minimumSizeHint().width()),
             std::max(placed.bottom - placed.top - extra.height(), 60));
      move(placed.left, placed.top);
    }
  }
  if (event->type() == QEvent::Show) surface_->setFocus();
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
      cycleWindows(key->key() == Qt::Key_Backtab);
      return true;
    }
  }
  return QMainWindow::event(event);
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
  if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
    QMainWindow::keyPressEvent(event);
    return;
  }
  switch (event->key()) {
    case Qt::Key_F:
      loadDataFile();
      return;
    case Qt::Key_D:
      downloadFile();
      return;
    case Qt::Key_O:
      openPlotObject();
      return;
    case Qt::Key_C:
      runCalculator();
      return;
    case Qt::Key_W:
      closeAllPlotWindows(true);
      return;
    default:
      QMainWindow::keyPressEvent(event);
  }
}

bool MainWindow::writeConfiguration() {
  if (config_path_.empty()) return false;
  const QRect frame = frameGeometry();
  const RectFields rect{frame.left(), frame.top(), frame.right() + 1, frame.bottom() + 1};
  return WriteConfiguration(config_path_, config_, startup_, rect);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (shell_.busy()) {
    ui_.beep();
    event->ignore();
    return;
  }
  if (isMinimized()) showNormal();
  shell_.close_all_plots();
  // A reload still running may be waiting for this thread: it ends before its data set goes.
  for (bool reloading = true; reloading;) {
    reloading = false;
    for (const auto& data : shell_.data_files()) {
      data->set_update_interval(0, ui_);
      reloading = reloading || data->reloading();
    }
    if (reloading) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  writeConfiguration();
  event->accept();
  QApplication::quit();
}

}  // namespace zentrik
