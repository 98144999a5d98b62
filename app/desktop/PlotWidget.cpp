#include "app/desktop/PlotWidget.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMetaObject>
#include <QMouseEvent>
#include <QPointer>
#include <QPainter>
#include <QStatusBar>
#include <QThread>
#include <QWindow>

#include "app/desktop/DropSurface.h"
#include "app/desktop/PlotOutput.h"
#include "app/desktop/ViewWindow.h"
#include "app/dialogs/AutoUpdateDialog.h"
#include "app/dialogs/AxisSetupDialog.h"
#include "app/dialogs/FileDialogs.h"
#include "app/dialogs/FileListDialog.h"
#include "app/dialogs/ObjectAttributesDialog.h"
#include "app/dialogs/PromptDialog.h"
#include "display/AxisMapping.h"
#include "display/ZoomWindow.h"
#include "app/shell/RenderSettings.h"
#include "display/qt/QtSurface.h"
#include "plot/Calculation.h"

namespace zentrik {

// The drawing area: shows the plot's picture, drawn again only when it is stale.
class PlotCanvas : public QWidget {
 public:
  explicit PlotCanvas(PlotWidget& owner) : QWidget(&owner), owner_(owner) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(60, 60);
    setCursor(Qt::CrossCursor);
    setMouseTracking(true);  // the cross-hair follows the mouse
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    owner_.paintCanvas(painter);
  }
  void mouseMoveEvent(QMouseEvent* event) override { owner_.canvasMouseMoved(event->position().toPoint()); }
  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton) {
      owner_.canvasPressed(event);
      return;
    }
    if (event->button() != Qt::RightButton) return;
    if (event->modifiers() & Qt::ShiftModifier)
      owner_.host_.calculatorFromPlot();
    else
      owner_.showMenu(event->globalPosition().toPoint());
  }
  void mouseReleaseEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton) owner_.canvasReleased(event);
  }

 private:
  PlotWidget& owner_;
};

namespace {

constexpr int kHandle = 6;  // the frame's corner handles, outside its corners

QRect qrect_of(const Rect& r) { return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top); }

// Runs work on the user-interface thread and waits for it, from whichever thread calls.
template <typename Work>
void on_gui_thread(QObject* context, Work work) {
  if (QThread::currentThread() == context->thread())
    work();
  else
    QMetaObject::invokeMethod(context, work, Qt::BlockingQueuedConnection);
}

}  // namespace

PlotWidget::PlotWidget(Plot& plot, Shell& shell, PlotWindowHost& host)
    : QMainWindow(nullptr),
      plot_(&plot),
      shell_(shell),
      host_(host),
      canvas_(new PlotCanvas(*this)),
      status_(new QLabel) {
  setAttribute(Qt::WA_DeleteOnClose, false);  // the main window deletes it once the shell let it go
  setCentralWidget(canvas_);
  statusBar()->addWidget(status_, 1);
  statusBar()->setSizeGripEnabled(true);
  const WindowRect& rect = plot.window.rect;
  move(rect.left, rect.top);
  resize(std::max(rect.right - rect.left, 120), std::max(rect.bottom - rect.top, 100));
  refreshFrame();
  buildMenu();
  setAcceptDrops(true);
  if (plot.window.data) plot.window.data->subscribe(*this);
}

PlotWidget::~PlotWidget() { detach(); }

void PlotWidget::detach() {
  if (!plot_) return;
  if (plot_->window.data) plot_->window.data->unsubscribe(*this);
  drag_.cancel();
  frame_track_.reset();
  plot_ = nullptr;
  update_busy_.reset();
}

void PlotWidget::refreshFrame() {
  if (!plot_) return;
  setWindowTitle(QString::fromStdString(plot_window_title(*plot_)));
  statusBar()->setVisible(plot_->window.status_bar != 0);
}

void PlotWidget::plotChanged() {
  refreshFrame();
  redraw();
}

void PlotWidget::redraw() {
  picture_stale_ = true;
  canvas_->update();
}

void PlotWidget::paintCanvas(QPainter& painter) {
  if (!plot_) {
    painter.fillRect(canvas_->rect(), Qt::white);
    return;
  }
  const bool busy = plot_->calculating || updating_ || !plot_->shown;
  const qreal ratio = canvas_->devicePixelRatioF();
  const QSize pixels = canvas_->size() * ratio;
  if (!busy && (picture_stale_ || picture_.size() != pixels)) {
    QImage image(pixels, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    QPainter image_painter(&image);
    image_painter.setRenderHint(QPainter::TextAntialiasing);
    QtSurface surface(image_painter);
    RenderOptions options = render_options(shell_.config(), OutputMode::Screen);
    // The saved frame is drawn into the picture, except while the mouse moves it (the
    // moving frame is drawn over the picture then).
    if (showsZoomFrame() && !frame_track_) options.zoom_box = remembered_zoom_box(plot_->window);
    auto paint = paint_plot_window(surface, canvas_->width(), canvas_->height(), 0, plot_->window, false, options,
                                   memory_);
    image_painter.end();
    if (paint) {
      drawn_ = paint->render;
      if (!drag_.dragging()) status_->setText(QString::fromStdString(paint->status_text));
    }
    picture_ = std::move(image);
    picture_stale_ = false;
  }
  // While the plot is being computed the last picture stays; the end of the work draws anew.
  if (picture_.isNull()) {
    painter.fillRect(canvas_->rect(), Qt::white);
    return;
  }
  painter.drawImage(QPoint(0, 0), picture_);
  if (picture_.size() != pixels) {  // the old picture while a new one cannot be drawn
    painter.fillRect(QRect(picture_.width() / ratio, 0, canvas_->width(), canvas_->height()), Qt::white);
    painter.fillRect(QRect(0, picture_.height() / ratio, canvas_->width(), canvas_->height()), Qt::white);
  }
  // What is drawn by inversion is painted over the picture in the difference mode: the
  // same look on every colour, and the picture itself stays as it was drawn.
  painter.setCompositionMode(QPainter::CompositionMode_Difference);
  if (cross_hair_) {
    painter.setPen(QPen(Qt::white, 0));
    painter.drawLine(0, mouse_.y(), canvas_->width(), mouse_.y());
    painter.drawLine(mouse_.x(), 0, mouse_.x(), canvas_->height());
  }
  if (std::optional<Rect> box = drag_.rectangle()) {
    painter.setPen(QPen(Qt::white, 0, Qt::DotLine));
    painter.drawRect(QRect(box->left, box->top, box->right - box->left, box->bottom - box->top));
  }
  if (frame_track_) {
    painter.setPen(QPen(Qt::white, 0, Qt::DotLine));
    painter.drawRect(frame_track_->frame.adjusted(0, 0, -1, -1));
  }
  // The zoom frame of an un-zoomed zoom window carries a handle outside each corner.
  if (showsZoomFrame() && drawn_.drawn) {
    const QRect frame = frame_track_ ? frame_track_->frame : zoom_frame();
    for (const QPoint& corner : {frame.topLeft(), QPoint(frame.right() + 1, frame.top()),
                                 QPoint(frame.right() + 1, frame.bottom() + 1), QPoint(frame.left(), frame.bottom() + 1)}) {
      const int dx = corner.x() == frame.left() ? -kHandle : 0, dy = corner.y() == frame.top() ? -kHandle : 0;
      painter.fillRect(QRect(corner.x() + dx, corner.y() + dy, kHandle, kHandle), Qt::white);
    }
  }
}

// --- the menu and its keys ---

void PlotWidget::buildMenu() {
  menu_ = new QMenu(this);
  // Every item acts on the plot while it is there, and needs at least two lines of
  // data (else the user is asked to include them again); the letters are the items' keys.
  auto add = [this](QMenu* menu, const QString& text, int key, std::function<void()> run) {
    QAction* action = menu->addAction(text, this, [this, run] {
      if (!plot_ || ensure_enough_data(shell_, *plot_) == DataCheck::Closed || !plot_) return;
      run();
    });
    if (key) keys_[key] = action;
    return action;
  };
  auto command = [this](CommandResult (*run)(Shell&, Plot&)) { return [this, run] { apply(run(shell_, *plot_)); }; };
  add(menu_, "Plot S&etup . . .", Qt::Key_E, [this] {
    // An open view window may not exclude lines while the setup is open; its own door does.
    QPointer<ViewWindow> view = ViewWindow::of(*plot_->window.data);
    if (view)
      view->setEditable(false, "Excluding not enabled.  To enable, click \"View File\" in the plot setup window.");
    shell_.plot_setup_command(*plot_);
    if (view) view->setEditable(true);
  });
  QMenu* file = menu_->addMenu("File");
  add(file, "&Print . . .", Qt::Key_P, [this] {
    print_plot_with_dialog(plot_->window, shell_.config(), memory_, canvas_->size(), plot_window_title(*plot_),
                           shell_.ui(), this);
  });
  add(file, "Export Picture . . .", 0,
      [this] { export_plot_picture(plot_->window, shell_.config(), memory_, canvas_->size(), shell_.ui(), this); });
  file->addSeparator();
  save_action_ = add(file, "Save Object", 0, [this] { save_object(shell_, *plot_); refreshFrame(); });
  save_as_action_ = add(file, "&Save Object As . . .", Qt::Key_S, [this] {
    save_object_as(shell_, *plot_, [this](const FileDialogRequest& request) {
      return choose_file(this, request, FileDialogKind::Save);
    });
    refreshFrame();
  });
  attributes_action_ = add(file, "Object Attrib&utes . . .", Qt::Key_U, [this] {
    if (exec_object_attributes(*plot_, shell_.ui(), this)) refreshFrame();
  });
  file->addSeparator();
  updates_action_ = add(file, "Automatic Updates . . .", 0, [this] { exec_auto_update_settings(*plot_, shell_.ui(), this); });
  update_now_action_ = add(file, "Update &Now", Qt::Key_N, [this] {
    const DataFile* data = plot_->window.data;
    update_now(shell_, *plot_, [data] {
      if (ViewWindow* view = ViewWindow::of(*data)) view->closeWindow();
    });
  });
  add(file, "&File List", Qt::Key_F, [this] { exec_file_list(*plot_->window.data, this); });
  add(menu_, "A&xis Setup . . .", Qt::Key_X, [this] { axisSetup(0); });
  histogram_action_ = add(menu_, "&Histogram", Qt::Key_H, command(switch_histogram));
  histogram_action_->setCheckable(true);
  add(menu_, "Set &Title . . .", Qt::Key_T, [this] { apply(set_title(shell_, *plot_, prompt())); });
  QMenu* show = menu_->addMenu("Show / Hide");
  statistics_action_ = add(show, "St&atistics", Qt::Key_A, command(toggle_statistics));
  legend_action_ = add(show, "&Legend", Qt::Key_L, command(toggle_legend));
  status_bar_action_ = add(show, "Status &Bar", Qt::Key_B, command(toggle_status_bar));
  regression_action_ = add(show, "Re&gression Lines", Qt::Key_G, command(toggle_regression));
  for (QAction* toggle : {statistics_action_, legend_action_, status_bar_action_, regression_action_})
    toggle->setCheckable(true);
  add(menu_, "&Copy To Clipboard", 0, [this] {
    copy_plot_to_clipboard(plot_->window, shell_.config(), memory_, canvas_->size(), shell_.ui());
  });
  add(menu_, "&View File", Qt::Key_V, [this] { open_view_window(*plot_->window.data, shell_, this); });
  rescale_action_ = add(menu_, "&Rescale", Qt::Key_R, command(rescale));
  aspect_action_ = add(menu_, "Aspect Rat&io . . .", Qt::Key_I, [this] {
    AspectGeometry geometry;
    geometry.width = canvas_->width();
    geometry.status_bar_height = statusBar()->isVisible() ? statusBar()->height() : 0;
    geometry.height = canvas_->height() + geometry.status_bar_height;
    geometry.left = drawn_.layout.left;
    geometry.bottom_reserve = drawn_.layout.bottom_reserve;
    apply(aspect_ratio(shell_, *plot_, geometry, prompt()));
  });
  add(menu_, "&Duplicate Window", Qt::Key_D, [this] { shell_.duplicate_plot(*plot_); });
  zoom_action_ = add(menu_, "Un-&Zoom", Qt::Key_Z, [this] { toggleZoom(); });
  add(menu_, "&Output To File . . .", Qt::Key_O,
      [this] { output_plot_to_file(plot_->window, shell_.config(), shell_.ui(), this); });
  menu_->addSeparator();
  menu_->addAction("Close &Window", this, [this] {
    if (plot_) shell_.close_plot(*plot_);
  });
}

TextPrompt PlotWidget::prompt() {
  return [this](const std::string& caption, const std::string& label, const std::string& initial) {
    return prompt_for_text(this, caption, label, initial);
  };
}

void PlotWidget::apply(const CommandResult& result) {
  switch (result.action) {
    case WindowAction::None:
    case WindowAction::Closed:
      return;
    case WindowAction::Retitle:
      refreshFrame();
      return;
    case WindowAction::Resize:
      resize(result.width, height());
      plotChanged();
      return;
    case WindowAction::Redraw:
    case WindowAction::Relayout:
      plotChanged();
      return;
  }
}

// The menu as it opens: which items apply, and how they read, follow the window's state.
void PlotWidget::adjustMenu() {
  const PlotWindow& window = plot_->window;
  const bool histogram = window.definition.xy_or_histo != 0;
  zoom_action_->setText(window.unzoomed ? "Re-&Zoom" : "Un-&Zoom");
  zoom_action_->setEnabled(can_toggle_zoom(window));
  save_action_->setText(QString::fromStdString(save_object_label(*plot_)));
  save_action_->setEnabled(can_save_object(*plot_));
  save_as_action_->setEnabled(can_save_object_as(*plot_));
  attributes_action_->setEnabled(plot_->object.has_value());
  updates_action_->setEnabled(can_update(*plot_));
  update_now_action_->setEnabled(can_update(*plot_));
  statistics_action_->setChecked(window.showstats != 0);
  legend_action_->setChecked(window.legend != 0);
  status_bar_action_->setChecked(window.status_bar != 0);
  regression_action_->setChecked(window.regress != 0);
  histogram_action_->setChecked(histogram);
  rescale_action_->setText(histogram ? "Bin All On Enti&re Plot" : "&Rescale");
  aspect_action_->setText(histogram ? "Bin Each &Individually" : "Aspect Rat&io . . .");
}

void PlotWidget::showMenu(const QPoint& global) {
  if (!plot_) return;
  adjustMenu();
  menu_->exec(global);
}

void PlotWidget::axisSetup(int page) {
  PlotWindow& window = plot_->window;
  const int log_x = window.definition.log_x, log_y = window.definition.log_y;
  bool changed = false;
  if (!exec_axis_setup(window.definition, page, shell_.ui(), this, &changed) || !plot_) return;
  if (changed && plot_->object) window.object_modified = plot_->object->modified = true;
  // A new kind of axis checks every value again (logarithms of values <= 0); other
  // settings only scale again.
  if (window.definition.log_x != log_x || window.definition.log_y != log_y)
    for (Formula& formula : window.definition.formulas) formula.needs_recalc = 1;
  for (Formula& formula : window.definition.formulas) formula.changed = 1;
  if (shell_.recalculate(*plot_, true) != Recalculation::Closed) plotChanged();
}

// --- the mouse: rectangles, and the frame of an un-zoomed zoom window ---

QRect PlotWidget::zoom_frame() const {
  return qrect_of(zoom_frame_rect(plot_->window, AxisMapping(drawn_.layout, plot_->window)));
}

// The frame of an un-zoomed zoom window: X-Y plots only (a histogram has no such zoom).
bool PlotWidget::showsZoomFrame() const {
  const PlotWindow& window = plot_->window;
  return window.unzoomed && can_toggle_zoom(window);
}

bool PlotWidget::frameHit(const QPoint& position) {
  PlotWindow& window = plot_->window;
  if (!showsZoomFrame() || !drawn_.drawn) return false;
  const QRect frame = zoom_frame();
  const QPoint corners[4] = {frame.topLeft(), QPoint(frame.right() + 1, frame.top()),
                             QPoint(frame.right() + 1, frame.bottom() + 1), QPoint(frame.left(), frame.bottom() + 1)};
  int corner = -1;
  for (int i = 0; i < 4; ++i)
    if (std::abs(position.x() - corners[i].x()) <= kHandle && std::abs(position.y() - corners[i].y()) <= kHandle)
      corner = i;
  if (corner < 0 && !frame.adjusted(-2, -2, 2, 2).contains(position)) return false;
  frame_track_ = FrameTrack{frame, position, corner, frame, std::make_unique<UpdateHold>(window.data)};
  redraw();  // the picture without the saved frame while this one moves
  return true;
}

void PlotWidget::canvasPressed(QMouseEvent* event) {
  if (!plot_) return;
  const QPoint at = event->position().toPoint();
  const bool busy = plot_->calculating || updating_ || !plot_->shown || shell_.busy();
  if (!busy && frameHit(at)) return;
  const bool shift = event->modifiers() & Qt::ShiftModifier, ctrl = event->modifiers() & Qt::ControlModifier;
  showCrossHair(false);
  switch (drag_.press(plot_->window, drawn_, at.x(), at.y(), shift, ctrl, busy, shell_.ui())) {
    case PressResult::NotEnoughData:
      // The calculation asks whether to include every line again, and closes the plot on No.
      if (shell_.recalculate(*plot_, plot_->window.auto_scaled) != Recalculation::Closed) plotChanged();
      return;
    case PressResult::Started:
      if (drag_.status_text()) status_->setText(QString::fromStdString(*drag_.status_text()));
      return;
    default:
      return;
  }
}

void PlotWidget::canvasReleased(QMouseEvent* event) {
  if (!plot_) return;
  const QPoint at = event->position().toPoint();
  if (frame_track_) {
    const Rect frame{frame_track_->frame.left(), frame_track_->frame.top(), frame_track_->frame.right() + 1,
                     frame_track_->frame.bottom() + 1};
    move_zoom_frame(plot_->window, AxisMapping(drawn_.layout, plot_->window), frame);
    frame_track_.reset();
    redraw();
    return;
  }
  if (!drag_.dragging()) return;
  const bool busy = plot_->calculating || updating_ || shell_.busy();
  const DragOutcome outcome = drag_.release(at.x(), at.y(), busy);
  if (outcome.status_text) status_->setText(QString::fromStdString(*outcome.status_text));
  canvas_->update();
  switch (outcome.action) {
    case DragOutcome::Action::Zoom:
      shell_.zoom_plot(*plot_, outcome.box);
      break;
    case DragOutcome::Action::Exclude:
    case DragOutcome::Action::Ignore: {
      QPointer<ViewWindow> view = ViewWindow::of(*plot_->window.data);
      shell_.box_pass(*plot_, outcome.box, outcome.action == DragOutcome::Action::Exclude);
      if (view) view->refresh();  // a view window going with its data set is gone by now
      break;
    }
    case DragOutcome::Action::Nothing:
      break;
  }
}

void PlotWidget::toggleZoom() {
  PlotWindow& window = plot_->window;
  auto scale_and_draw = [this] { shell_.scale_plot(*plot_); };
  if (window.unzoomed)
    rezoom(window, scale_and_draw);
  else
    unzoom(window, scale_and_draw);
}

// --- the cross-hair ---

void PlotWidget::canvasMouseMoved(const QPoint& position) {
  mouse_ = position;
  if (frame_track_) {
    const QPoint delta = position - frame_track_->start;
    QRect frame = frame_track_->start_frame;
    switch (frame_track_->corner) {
      case 0: frame.setTopLeft(frame.topLeft() + delta); break;
      case 1: frame.setTopRight(frame.topRight() + delta); break;
      case 2: frame.setBottomRight(frame.bottomRight() + delta); break;
      case 3: frame.setBottomLeft(frame.bottomLeft() + delta); break;
      default: frame.translate(delta);
    }
    frame_track_->frame = frame.normalized();
    canvas_->update();
    return;
  }
  if (drag_.dragging()) {
    if (std::optional<std::string> text = drag_.move(position.x(), position.y()))
      status_->setText(QString::fromStdString(*text));
    canvas_->update();
    return;
  }
  if (cross_hair_) canvas_->update();
}

void PlotWidget::showCrossHair(bool on) {
  if (cross_hair_ == on || (on && (drag_.dragging() || frame_track_))) return;
  cross_hair_ = on;
  mouse_ = canvas_->mapFromGlobal(QCursor::pos());
  canvas_->setCursor(on ? Qt::BlankCursor : Qt::CrossCursor);
  canvas_->update();
}

void PlotWidget::keyReleaseEvent(QKeyEvent* event) {
  if ((event->key() == Qt::Key_Shift || event->key() == Qt::Key_Control) &&
      !(event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier)))
    showCrossHair(false);
  QMainWindow::keyReleaseEvent(event);
}

void PlotWidget::focusOutEvent(QFocusEvent* event) {
  showCrossHair(false);
  QMainWindow::focusOutEvent(event);
}

bool PlotWidget::event(QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
      host_.cycleWindows(key->key() == Qt::Key_Backtab);
      return true;
    }
  }
  if (event->type() == QEvent::WindowDeactivate) showCrossHair(false);
  return QMainWindow::event(event);
}

void PlotWidget::storeRectangle() {
  if (!plot_) return;
  const QPoint corner = pos();
  plot_->window.rect = WindowRect{corner.x(), corner.y(), corner.x() + width(), corner.y() + height()};
}

void PlotWidget::moveEvent(QMoveEvent* event) {
  QMainWindow::moveEvent(event);
  storeRectangle();
}

void PlotWidget::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  storeRectangle();
  picture_stale_ = true;
  // A restored window's new size becomes the size of new windows when asked for.
  Configuration& config = shell_.config();
  if (plot_ && config.size_default && isVisible() && !isMinimized() && !isMaximized()) {
    config.default_plot.def_win_x_siz = width();
    config.default_plot.def_win_y_siz = height();
  }
}

void PlotWidget::closeEvent(QCloseEvent* event) {
  if (!plot_ || plot_->closed) {
    event->accept();
    return;
  }
  // The shell hides and releases this window through the main window when it agrees.
  event->ignore();
  shell_.close_plot(*plot_);
}

void PlotWidget::keyPressEvent(QKeyEvent* event) {
  if (!plot_) return;
  if (event->key() == Qt::Key_Shift || event->key() == Qt::Key_Control) {
    showCrossHair(true);
    return;
  }
  if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
    QMainWindow::keyPressEvent(event);
    return;
  }
  if (event->key() == Qt::Key_W) {
    if (shell_.ui().message("Really close this window?", "Really?", Buttons::YesNo) == Answer::Yes && plot_)
      shell_.close_plot(*plot_);
    return;
  }
  if (event->key() == Qt::Key_Y) {
    axisSetup(1);
    return;
  }
  static const std::map<int, PanKey> pan_keys = {{Qt::Key_Left, PanKey::Left},   {Qt::Key_Right, PanKey::Right},
                                                  {Qt::Key_Up, PanKey::Up},       {Qt::Key_Down, PanKey::Down},
                                                  {Qt::Key_Comma, PanKey::Widen}, {Qt::Key_Period, PanKey::Narrow}};
  if (auto pan = pan_keys.find(event->key()); pan != pan_keys.end()) {
    // A key that comes while the last one is still being computed is dropped.
    if (panning_) return;
    panning_ = true;
    apply(pan_zoom(shell_, *plot_, pan->second));
    panning_ = false;
    return;
  }
  if (event->key() == Qt::Key_C) {
    if (ensure_enough_data(shell_, *plot_) == DataCheck::Closed || !plot_) return;
    if (copy_plot_to_clipboard(plot_->window, shell_.config(), memory_, canvas_->size(), shell_.ui()))
      shell_.ui().message("Plot was copied to clipboard.", "Copied.");
    return;
  }
  auto found = keys_.find(event->key());
  if (found == keys_.end()) {
    QMainWindow::keyPressEvent(event);
    return;
  }
  adjustMenu();
  if (found->second->isEnabled()) found->second->trigger();
}

void PlotWidget::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls() && !dropped_names(*event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void PlotWidget::dropEvent(QDropEvent* event) {
  const QStringList names = dropped_names(*event->mimeData());
  if (names.isEmpty()) return;
  event->acceptProposedAction();
  std::vector<std::string> paths;
  for (const QString& name : names) paths.push_back(name.toStdString());
  // The file manager's drag ends before the files are read.
  QMetaObject::invokeMethod(
      this, [this, paths] { if (plot_) shell_.drop_on_plot(*plot_, paths); }, Qt::QueuedConnection);
}

// --- reloads ---

void PlotWidget::startUpdate(DataFile&) {
  on_gui_thread(this, [this] { beginUpdate(); });
}

void PlotWidget::endUpdate(DataFile&) {
  on_gui_thread(this, [this] { finishUpdate(); });
}

std::string PlotWidget::preloadCommand() const {
  return plot_ && plot_->object ? plot_->object->sys_command : std::string();
}

void PlotWidget::beginUpdate() {
  if (!plot_) return;
  setAcceptDrops(false);
  update_busy_ = std::make_unique<Shell::BusyScope>(shell_);
  updating_ = true;
  status_->setText("Updating: re-reading data file...");
}

void PlotWidget::finishUpdate() {
  if (!plot_) return;
  status_->setText("Updating: re-calculating...");
  prepare_for_reload(plot_->window);
  updating_ = false;
  const Recalculation result = shell_.recalculate(*plot_, plot_->window.auto_scaled, true);
  update_busy_.reset();
  setAcceptDrops(true);
  if (result != Recalculation::Closed) plotChanged();
}

}  // namespace zentrik
