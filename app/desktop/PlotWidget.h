// The window of one plot on the desktop: a drawing area that shows the plot from a
// picture drawn once per change of the plot, its size or its fonts, and the status
// bar with the plot's ranges. It follows its data set's reloads, keeps its model's
// rectangle, and closes through the shell's closing sequence. The model (Plot)
// belongs to the shell; the main window creates and deletes this window.
#pragma once

#include <QImage>
#include <QMainWindow>
#include <map>
#include <memory>
#include <optional>

#include "app/shell/PlotCommands.h"
#include "app/shell/Shell.h"
#include "data/Updates.h"
#include "display/Drag.h"
#include "display/Render.h"

class QAction;
class QLabel;
class QMenu;

namespace zentrik {

class PlotCanvas;

// What a plot window asks of the main window.
class PlotWindowHost {
 public:
  virtual ~PlotWindowHost() = default;
  // Tab and Shift+Tab go through the plot windows as on the main window.
  virtual void cycleWindows(bool backwards) = 0;
  // Shift with the right button: the main window comes forward and starts the calculator.
  virtual void calculatorFromPlot() = 0;
};

class PlotWidget : public QMainWindow, public DataFileObserver {
  Q_OBJECT

 public:
  PlotWidget(Plot& plot, Shell& shell, PlotWindowHost& host);
  ~PlotWidget() override;

  // The plot shown; null once the window was let go of.
  Plot* plot() { return plot_; }
  // The shell closes the plot: from now on the window shows nothing and touches
  // neither the plot nor its data set (it is deleted a moment later).
  void detach();
  // The plot changed (computed, or a setting that changes its look): draw it again.
  void plotChanged();
  // The fonts or a display option changed: draw again without computing.
  void redraw();
  // The window title and the status bar's visibility from the model.
  void refreshFrame();

  // DataFileObserver: called by the data set's update thread.
  void startUpdate(DataFile& data) override;
  void endUpdate(DataFile& data) override;
  std::string preloadCommand() const override;

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  friend class PlotCanvas;
  void paintCanvas(QPainter& painter);
  void buildMenu();
  void adjustMenu();
  void showMenu(const QPoint& global);
  void canvasMouseMoved(const QPoint& position);
  void canvasPressed(QMouseEvent* event);
  void canvasReleased(QMouseEvent* event);
  bool frameHit(const QPoint& position);
  bool showsZoomFrame() const;
  QRect zoom_frame() const;
  void toggleZoom();
  void showCrossHair(bool on);
  void axisSetup(int page);
  TextPrompt prompt();
  void apply(const CommandResult& result);
  void storeRectangle();
  void beginUpdate();
  void finishUpdate();

  Plot* plot_;
  Shell& shell_;
  PlotWindowHost& host_;
  QMenu* menu_ = nullptr;
  std::map<int, QAction*> keys_;  // the menu's keyboard letters
  QPoint mouse_;                  // where the mouse stands over the drawing area
  bool cross_hair_ = false;       // Shift or Ctrl is held
  RectangleDrag drag_;            // the rectangle being dragged with the left button
  RenderResult drawn_;            // where the last paint put everything
  // The zoom frame of an un-zoomed zoom window while the mouse moves or resizes it.
  struct FrameTrack {
    QRect start_frame;
    QPoint start;
    int corner = -1;  // -1 moves the frame; 0..3 drag that corner (top-left, top-right, bottom-right, bottom-left)
    QRect frame;
    std::unique_ptr<UpdateHold> hold;
  };
  std::optional<FrameTrack> frame_track_;
  bool panning_ = false;  // an arrow key's computation is running
  QAction* zoom_action_ = nullptr;
  QAction* save_action_ = nullptr;
  QAction* save_as_action_ = nullptr;
  QAction* attributes_action_ = nullptr;
  QAction* updates_action_ = nullptr;
  QAction* update_now_action_ = nullptr;
  QAction* histogram_action_ = nullptr;
  QAction* statistics_action_ = nullptr;
  QAction* legend_action_ = nullptr;
  QAction* status_bar_action_ = nullptr;
  QAction* regression_action_ = nullptr;
  QAction* rescale_action_ = nullptr;
  QAction* aspect_action_ = nullptr;
  PlotCanvas* canvas_;
  QLabel* status_;
  QImage picture_;       // the plot as last drawn, at the screen's pixel ratio
  bool picture_stale_ = true;
  PaintMemory memory_;
  std::unique_ptr<Shell::BusyScope> update_busy_;  // held from Start Update to End Update
  bool updating_ = false;
};

}  // namespace zentrik
