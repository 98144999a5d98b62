#include "app/desktop/PlotWidget.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QKeyEvent>
#include <QLabel>
#include <QMetaObject>
#include <QPainter>
#include <QStatusBar>
#include <QThread>
#include <QWindow>

#include "app/desktop/DropSurface.h"
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
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    owner_.paintCanvas(painter);
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

PlotWidget::PlotWidget(Plot& plot, Shell& shell)
    : QMainWindow(nullptr), plot_(&plot), shell_(shell), canvas_(new PlotCanvas(*this)), status_(new QLabel) {
  setAttribute(Qt::WA_DeleteOnClose, false);  // the main window deletes it once the shell let it go
  setCentralWidget(canvas_);
  statusBar()->addWidget(status_, 1);
  statusBar()->setSizeGripEnabled(true);
  const WindowRect& rect = plot.window.rect;
  move(rect.left, rect.top);
  resize(std::max(rect.right - rect.left, 120), std::max(rect.bottom - rect.top, 100));
  refreshFrame();
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
  if (event->key() == Qt::Key_W && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
    if (shell_.ui().message("Really close this window?", "Really?", Buttons::YesNo) == Answer::Yes)
      shell_.close_plot(*plot_);
    return;
  }
  if (event->key() == Qt::Key_E && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
    shell_.plot_setup_command(*plot_);
    return;
  }
  QMainWindow::keyPressEvent(event);
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
