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
#include <QPainter>
#include <QStatusBar>
#include <QThread>
#include <QWindow>

#include "app/desktop/DropSurface.h"
#include "app/dialogs/AxisSetupDialog.h"
#include "app/dialogs/PromptDialog.h"
#include "app/shell/RenderSettings.h"
#include "display/qt/QtSurface.h"

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
    if (event->button() != Qt::RightButton) return;
    if (event->modifiers() & Qt::ShiftModifier)
      owner_.host_.calculatorFromPlot();
    else
      owner_.showMenu(event->globalPosition().toPoint());
  }

 private:
  PlotWidget& owner_;
};

namespace {

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
    const RenderOptions options = render_options(shell_.config(), OutputMode::Screen);
    auto paint = paint_plot_window(surface, canvas_->width(), canvas_->height(), 0, plot_->window, false, options,
                                   memory_);
    image_painter.end();
    if (paint) status_->setText(QString::fromStdString(paint->status_text));
    picture_ = std::move(image);
    picture_stale_ = false;
  } else if (busy) {
    memory_.pending = true;
  }
  if (picture_.isNull()) {
    painter.fillRect(canvas_->rect(), Qt::white);
    return;
  }
  painter.drawImage(QPoint(0, 0), picture_);
  if (picture_.size() != pixels) {  // the old picture while a new one cannot be drawn
    painter.fillRect(QRect(picture_.width() / ratio, 0, canvas_->width(), canvas_->height()), Qt::white);
    painter.fillRect(QRect(0, picture_.height() / ratio, canvas_->width(), canvas_->height()), Qt::white);
  }
  if (cross_hair_) {
    // Inverted lines over the picture, as if drawn by inversion: visible on every colour.
    painter.setCompositionMode(QPainter::CompositionMode_Difference);
    painter.setPen(QPen(Qt::white, 0));
    painter.drawLine(0, mouse_.y(), canvas_->width(), mouse_.y());
    painter.drawLine(mouse_.x(), 0, mouse_.x(), canvas_->height());
  }
}

// --- the menu and its keys ---

void PlotWidget::buildMenu() {
  menu_ = new QMenu(this);
  auto add = [this](QMenu* menu, const QString& text, int key, std::function<void()> run) {
    QAction* action = menu->addAction(text, this, [this, run] {
      if (plot_) run();
    });
    if (key) keys_[key] = action;
    return action;
  };
  add(menu_, "Plot S&etup . . .", Qt::Key_E, [this] { shell_.plot_setup_command(*plot_); });
  add(menu_, "A&xis Setup . . .", Qt::Key_X, [this] { axisSetup(0); });
  add(menu_, "Set &Title . . .", Qt::Key_T, [this] { setTitle(); });
  menu_->addSeparator();
  add(menu_, "&Duplicate Window", Qt::Key_D, [this] { shell_.duplicate_plot(*plot_); });
  add(menu_, "Close &Window", 0, [this] { shell_.close_plot(*plot_); });
}

void PlotWidget::showMenu(const QPoint& global) {
  if (!plot_) return;
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

void PlotWidget::setTitle() {
  std::optional<std::string> title =
      prompt_for_text(this, "Plot Title", "Enter the main title for this plot:", plot_->window.title);
  if (!title || !plot_) return;
  plot_->window.title = *title;
  if (plot_->object) plot_->window.object_modified = plot_->object->modified = true;
  plotChanged();
}

// --- the cross-hair ---

void PlotWidget::canvasMouseMoved(const QPoint& position) {
  mouse_ = position;
  if (cross_hair_) canvas_->update();
}

void PlotWidget::showCrossHair(bool on) {
  if (cross_hair_ == on) return;
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
  auto found = keys_.find(event->key());
  if (found == keys_.end()) {
    QMainWindow::keyPressEvent(event);
    return;
  }
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
  for (Formula& formula : plot_->window.definition.formulas) {
    formula.points.reset();
    formula.needs_recalc = formula.changed = 1;
  }
  updating_ = false;
  const Recalculation result = shell_.recalculate(*plot_, plot_->window.auto_scaled);
  update_busy_.reset();
  setAcceptDrops(true);
  if (result != Recalculation::Closed) plotChanged();
}

}  // namespace zentrik
