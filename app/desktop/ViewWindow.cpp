#include "app/desktop/ViewWindow.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>
#include <vector>

#include "app/shell/RenderSettings.h"
#include "display/qt/QtSurface.h"

namespace zentrik {

namespace {

// Every open view window; at most one per data set.
std::vector<ViewWindow*>& open_windows() {
  static std::vector<ViewWindow*> windows;
  return windows;
}

// Scroll bar positions beyond this are scaled down, so that the style's pixel
// arithmetic on the positions stays well inside an int.
constexpr int32_t kScrollLimit = INT_MAX / 4;

constexpr int kDragInterval = 30;  // milliseconds between auto-scroll steps while dragging

QString latin1(std::string_view text) { return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

// The text area: it paints the lines and passes the mouse and keys to the window.
class ViewText : public QWidget {
 public:
  explicit ViewText(ViewWindow& window) : QWidget(&window), window_(window) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(false);
    setObjectName("view_text");
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    window_.paintText(painter);
  }
  void resizeEvent(QResizeEvent*) override { window_.textResized(); }
  void mousePressEvent(QMouseEvent* event) override { window_.textPressed(event); }
  void mouseMoveEvent(QMouseEvent* event) override { window_.textMoved(event); }
  void mouseReleaseEvent(QMouseEvent* event) override { window_.textReleased(event); }
  void mouseDoubleClickEvent(QMouseEvent* event) override { window_.textDoubleClicked(event); }
  void contextMenuEvent(QContextMenuEvent* event) override { window_.showContextMenu(event->pos()); }
  void keyPressEvent(QKeyEvent* event) override {
    if (!window_.textKey(event)) QWidget::keyPressEvent(event);
  }
  void wheelEvent(QWheelEvent* event) override {
    if (!window_.data_) return;
    const int notches = event->angleDelta().y() / 120;
    if (notches == 0) return;
    window_.model_->scroll_lines(-3 * notches);
    window_.syncBars();
    update();
  }
  void focusInEvent(QFocusEvent*) override { update(); }
  void focusOutEvent(QFocusEvent*) override { update(); }
  bool event(QEvent* event) override {
    if (event->type() == QEvent::KeyPress) {
      auto* key = static_cast<QKeyEvent*>(event);
      if (key->key() == Qt::Key_Backtab) {
        window_.pattern_->setFocus(Qt::BacktabFocusReason);
        return true;
      }
    }
    return QWidget::event(event);
  }

 private:
  ViewWindow& window_;
};

ViewWindow::ViewWindow(DataFile& data, Shell& shell, bool modal_use, QWidget* near)
    : QWidget(nullptr, Qt::Window),
      data_(&data),
      shell_(shell),
      model_(std::make_unique<ViewModel>(data, shell.ui())),
      modal_use_(modal_use),
      drag_timer_(new QTimer(this)) {
  setAttribute(Qt::WA_DeleteOnClose, !modal_use);
  setObjectName("view_window");
  data.view_window_open = true;
  open_windows().push_back(this);

  font_ = to_qfont(font_of(shell.config().vwf));
  const QFontMetrics metrics(font_);
  char_width_ = std::max(1, metrics.horizontalAdvance(QStringLiteral("0gIqjZ")) / 6);
  line_height_ = std::max(1, metrics.boundingRect(QStringLiteral("0gIqjZ")).height());
  line_height_ = std::max(line_height_, metrics.height());
  ascent_ = metrics.ascent();

  buildBar();
  drag_timer_->setInterval(kDragInterval);
  connect(drag_timer_, &QTimer::timeout, this, [this] { autoScrollStep(); });
  placeNear(near);
  refresh();
  text_->setFocus(Qt::OtherFocusReason);
}

ViewWindow::~ViewWindow() {
  auto& windows = open_windows();
  windows.erase(std::remove(windows.begin(), windows.end(), this), windows.end());
  if (loop_) loop_->quit();
  if (!data_) return;
  // Changes not yet taken up by the plots are handed to them on the way out.
  if (model_->modified() != 0 && model_->can_close()) updatePlots();
  if (data_) data_->view_window_open = false;
}

ViewWindow* ViewWindow::of(const DataFile& data) {
  for (ViewWindow* window : open_windows())
    if (window->data_ == &data) return window;
  return nullptr;
}

void ViewWindow::buildBar() {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->setSpacing(4);

  auto make_button = [this](const QString& caption, const char* name) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
  };

  pattern_ = new QLineEdit(this);
  pattern_->setObjectName("pattern");
  pattern_->setPlaceholderText(tr("Search pattern"));
  with_ = new QRadioButton(tr("&With"), this);
  without_ = new QRadioButton(tr("With&out"), this);
  with_->setChecked(true);
  search_ = make_button(tr("&Search"), "search");
  find_all_ = make_button(tr("&Find && Select All"), "find_all");
  count_ = new QLineEdit(this);
  count_->setObjectName("count");
  count_->setReadOnly(true);
  count_->setFocusPolicy(Qt::NoFocus);
  status_ = new QLineEdit(this);
  status_->setObjectName("status");
  status_->setReadOnly(true);
  status_->setFocusPolicy(Qt::NoFocus);
  const QFontMetrics bar_metrics(count_->font());
  count_->setFixedWidth(bar_metrics.horizontalAdvance(QStringLiteral("00000000 lines selected")) + 12);
  status_->setFixedWidth(bar_metrics.horizontalAdvance(QStringLiteral("Update Needed")) + 16);
  pattern_->setMinimumWidth(bar_metrics.horizontalAdvance(QLatin1Char('0')) * 20);

  auto* top = new QHBoxLayout;
  top->addWidget(pattern_, 1);
  top->addWidget(with_);
  top->addWidget(without_);
  top->addWidget(search_);
  top->addWidget(find_all_);
  top->addWidget(count_);
  top->addWidget(status_);
  layout->addLayout(top);

  include_ = make_button(tr("&Include"), "include");
  exclude_ = make_button(tr("&Exclude"), "exclude");
  toggle_ = make_button(tr("&Toggle"), "toggle");
  include_all_ = make_button(tr("&Re-Include All"), "include_all");
  update_ = make_button(tr("&Update Plots"), "update");
  back_ = make_button(tr("&Back"), "back");
  close_ = make_button(modal_use_ ? tr("Done") : tr("&Close"), "close");
  back_->setVisible(modal_use_);
  auto* second = new QHBoxLayout;
  for (QPushButton* button : {include_, exclude_, toggle_, include_all_, update_}) second->addWidget(button);
  second->addStretch(1);
  second->addWidget(back_);
  second->addWidget(close_);
  layout->addLayout(second);

  text_ = new ViewText(*this);
  vbar_ = new QScrollBar(Qt::Vertical, this);
  hbar_ = new QScrollBar(Qt::Horizontal, this);
  vbar_->setFocusPolicy(Qt::NoFocus);
  hbar_->setFocusPolicy(Qt::NoFocus);
  auto* area = new QGridLayout;
  area->setSpacing(0);
  area->addWidget(text_, 0, 0);
  area->addWidget(vbar_, 0, 1);
  area->addWidget(hbar_, 1, 0);
  layout->addLayout(area, 1);

  setTabOrder(pattern_, with_);
  setTabOrder(with_, without_);
  setTabOrder(without_, search_);
  setTabOrder(search_, find_all_);
  setTabOrder(find_all_, include_);
  setTabOrder(include_, exclude_);
  setTabOrder(exclude_, toggle_);
  setTabOrder(toggle_, include_all_);
  setTabOrder(include_all_, update_);
  setTabOrder(update_, back_);
  setTabOrder(back_, close_);
  setTabOrder(close_, text_);

  auto change = [this](int32_t (ViewModel::*how)()) {
    if (!data_) return;
    ((*model_).*how)();
    afterInclusion();
  };
  connect(include_, &QPushButton::clicked, this, [change] { change(&ViewModel::include_selected); });
  connect(exclude_, &QPushButton::clicked, this, [change] { change(&ViewModel::exclude_selected); });
  connect(toggle_, &QPushButton::clicked, this, [change] { change(&ViewModel::toggle_selected); });
  connect(include_all_, &QPushButton::clicked, this, [change] { change(&ViewModel::include_all); });
  connect(update_, &QPushButton::clicked, this, [this] { updatePlots(); });
  connect(search_, &QPushButton::clicked, this, [this] { searchNext(); });
  connect(find_all_, &QPushButton::clicked, this, [this] { findAll(); });
  connect(close_, &QPushButton::clicked, this, [this] { closeWindow(); });
  connect(back_, &QPushButton::clicked, this, [this] {
    if (!loop_) return;
    back_pressed_ = true;
    hide();
    loop_->quit();
  });
  connect(vbar_, &QScrollBar::valueChanged, this, [this](int value) {
    if (!data_) return;
    const int32_t top = value >= vbar_->maximum() ? model_->max_top()
                                                  : static_cast<int32_t>((int64_t{value} << scroll_shift_) + 1);
    model_->scroll_to(top);
    text_->update();
  });
  connect(hbar_, &QScrollBar::valueChanged, this, [this](int value) {
    if (!data_) return;
    model_->scroll_horizontal_to(value);
    text_->update();
  });
}

void ViewWindow::placeNear(QWidget* near) {
  QScreen* screen = near && near->screen() ? near->screen() : QGuiApplication::primaryScreen();
  const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
  const QSize wanted = sizeHint().expandedTo(QSize(char_width_ * 90, line_height_ * 30 + 90));
  const QSize size(std::min(wanted.width(), available.width()), std::min(wanted.height(), available.height()));
  QPoint at = available.topLeft() + QPoint(40, 40);
  if (near) {
    const QRect frame = near->window()->frameGeometry();
    if (frame.right() + 1 + size.width() <= available.right() + 1)
      at = QPoint(frame.right() + 1, frame.top());
    else if (frame.left() - size.width() >= available.left())
      at = QPoint(frame.left() - size.width(), frame.top());
    else
      at = frame.topLeft() + QPoint(30, 30);
  }
  at.setX(std::clamp(at.x(), available.left(), available.right() + 1 - size.width()));
  at.setY(std::clamp(at.y(), available.top(), available.bottom() + 1 - size.height()));
  resize(size);
  move(at);
}

QWidget* ViewWindow::textArea() const { return text_; }

QPushButton* ViewWindow::button(const QString& caption) const {
  for (QPushButton* button : findChildren<QPushButton*>())
    if (button->text() == caption) return button;
  return nullptr;
}

QString ViewWindow::selectionText() const { return count_->text(); }
QString ViewWindow::statusText() const { return status_->text(); }

int ViewWindow::scrollShift(int32_t max_top, int32_t limit) {
  int shift = 0;
  while (limit > 0 && (max_top >> shift) > limit) ++shift;
  return shift;
}

// --- showing the model ---

void ViewWindow::refresh() {
  if (!data_) return;
  model_->lines_changed();
  setWindowTitle(own_title_.isEmpty() ? QString::fromStdString(model_->title()) : own_title_);
  count_->setText(QString::fromStdString(model_->selection_text()));
  status_->setText(QString::fromStdString(model_->status()));
  const bool can = model_->can_include();
  include_->setEnabled(can);
  exclude_->setEnabled(can);
  toggle_->setEnabled(can);
  include_all_->setEnabled(model_->can_include_all());
  update_->setEnabled(model_->modified() != 0 && !loop_ && model_->editable() && !updating_);
  close_->setEnabled(!updating_);
  syncBars();
  text_->update();
}

void ViewWindow::setEditable(bool editable, const QString& title) {
  if (!data_) return;
  model_->set_editable(editable);
  own_title_ = title;  // empty: the title follows the counts again
  refresh();
}

void ViewWindow::afterInclusion() {
  refresh();
}

void ViewWindow::textResized() {
  if (!data_) return;
  model_->set_rows(std::max(1, text_->height() / line_height_));
  syncBars();
}

void ViewWindow::syncBars() {
  if (!data_) return;
  const QSignalBlocker block_v(vbar_), block_h(hbar_);
  const int32_t max_top = model_->max_top();
  scroll_shift_ = scrollShift(max_top - 1, kScrollLimit);
  vbar_->setRange(0, static_cast<int>((max_top - 1) >> scroll_shift_));
  vbar_->setSingleStep(1);
  vbar_->setPageStep(std::max(1, model_->page_size() >> scroll_shift_));
  vbar_->setValue(model_->first_visible() >= max_top ? vbar_->maximum()
                                                      : static_cast<int>((model_->first_visible() - 1) >> scroll_shift_));
  model_->set_horizontal_range(widest_ - text_->width());
  hbar_->setRange(0, model_->horizontal_range());
  hbar_->setSingleStep(char_width_);
  hbar_->setPageStep(std::max(1, text_->width()));
  hbar_->setValue(model_->horizontal_offset());
}

void ViewWindow::paintText(QPainter& painter) {
  const QRect area = text_->rect();
  const QPalette& colours = palette();
  painter.fillRect(area, colours.color(QPalette::Base));
  if (!data_) return;
  painter.setFont(font_);
  const QFontMetrics metrics(font_);
  const int32_t count = model_->line_count();
  const int x = -model_->horizontal_offset();
  const bool focused = text_->hasFocus();
  int widest = widest_;
  int y = 0;
  for (int32_t line = model_->first_visible(); line <= count && y < area.height(); ++line, y += line_height_) {
    const bool selected = model_->marked(line);
    const QColor back = colours.color(selected ? QPalette::Highlight : QPalette::Base);
    const QColor ink = colours.color(selected ? QPalette::HighlightedText : QPalette::Text);
    const QRect row(0, y, area.width(), line_height_);
    const QString number = QString::fromStdString(model_->number_text(line));
    const QString text = latin1(model_->line_text(line));
    painter.fillRect(row, back);
    painter.setPen(ink);
    const int number_width = metrics.horizontalAdvance(number);
    painter.drawText(x + number_width, y + ascent_, text);
    // The number part on grey: light for an unselected line, dark for a selected one.
    painter.fillRect(QRect(x, y, number_width, line_height_), selected ? QColor(128, 128, 128) : QColor(192, 192, 192));
    painter.setPen(selected ? Qt::white : Qt::black);
    painter.drawText(x, y + ascent_, number);
    widest = std::max(widest, number_width + metrics.horizontalAdvance(text) + 5);
    if (line == model_->current_line() && focused) {
      painter.setPen(ink);
      painter.setBrush(Qt::NoBrush);
      painter.drawRect(row.adjusted(0, 0, -1, -1));
    }
  }
  if (widest != widest_) {
    widest_ = widest;
    QMetaObject::invokeMethod(this, [this] { syncBars(); }, Qt::QueuedConnection);
  }
}

// --- the mouse ---

int32_t ViewWindow::lineAt(const QPoint& point) const {
  if (!data_ || point.y() < 0) return 0;
  const int64_t line = model_->first_visible() + point.y() / line_height_;
  return line <= model_->line_count() ? static_cast<int32_t>(line) : 0;
}

QPoint ViewWindow::pointOfLine(int32_t line) const {
  return QPoint(char_width_ * 12, (line - model_->first_visible()) * line_height_ + line_height_ / 2);
}

void ViewWindow::textPressed(QMouseEvent* event) {
  if (!data_) return;
  text_->setFocus(Qt::MouseFocusReason);
  if (event->button() != Qt::LeftButton) return;
  const Qt::KeyboardModifiers mods = event->modifiers();
  const bool shift = mods & Qt::ShiftModifier, ctrl = mods & Qt::ControlModifier;
  if (shift && ctrl) {
    shell_.ui().beep();
    return;
  }
  const int32_t line = lineAt(event->position().toPoint());
  if (line == 0) return;
  if (ctrl) {
    model_->ctrl_click(line);
  } else {
    if (shift)
      model_->shift_click(line);
    else
      model_->click(line);
    dragging_ = true;
    drag_y_ = event->position().toPoint().y();
  }
  refresh();
}

void ViewWindow::textMoved(QMouseEvent* event) {
  if (!data_ || !dragging_ || !(event->buttons() & Qt::LeftButton)) return;
  drag_y_ = event->position().toPoint().y();
  if (drag_y_ < 0 || drag_y_ >= model_->rows() * line_height_) {
    if (!drag_timer_->isActive()) {
      drag_steps_ = 0;
      drag_timer_->start();
    }
    return;
  }
  drag_timer_->stop();
  const int32_t line = lineAt(QPoint(0, drag_y_));
  model_->drag_to(line == 0 ? model_->line_count() : line);
  refresh();
}

void ViewWindow::autoScrollStep() {
  if (!data_ || !dragging_) {
    drag_timer_->stop();
    return;
  }
  const int bottom = model_->rows() * line_height_;
  const int distance = drag_y_ < 0 ? -drag_y_ : drag_y_ - bottom + 1;
  if (distance <= 0) {
    drag_timer_->stop();
    return;
  }
  // Every step beyond three line heights, every second step nearer, every fourth within half a line.
  const int every = distance > 3 * line_height_ ? 1 : distance > line_height_ / 2 ? 2 : 4;
  if (drag_steps_++ % every != 0) return;
  if (drag_y_ < 0) {
    model_->scroll_lines(-1);
    model_->drag_to(model_->first_visible());
  } else {
    model_->scroll_lines(1);
    model_->drag_to(model_->last_visible());
  }
  refresh();
}

void ViewWindow::textReleased(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  dragging_ = false;
  drag_timer_->stop();
}

void ViewWindow::textDoubleClicked(QMouseEvent* event) {
  if (!data_ || event->button() != Qt::LeftButton) return;
  const int32_t line = lineAt(event->position().toPoint());
  if (line == 0) return;
  dragging_ = false;
  if (model_->toggle_line(line)) afterInclusion();
  pattern_->setFocus(Qt::OtherFocusReason);
}

void ViewWindow::showContextMenu(const QPoint& position) {
  if (!data_) return;
  const int32_t line = lineAt(position);
  if (line == 0) return;
  // The character under the pointer, found by walking the text's widths.
  const QFontMetrics metrics(font_);
  const int number_width = metrics.horizontalAdvance(QString::fromStdString(model_->number_text(line)));
  const int x = position.x() + model_->horizontal_offset() - number_width;
  std::optional<std::string> word;
  if (x >= 0) {
    const QString text = latin1(model_->line_text(line));
    int column = 0, left = 0;
    while (column < text.size()) {
      const int width = metrics.horizontalAdvance(text.at(column));
      if (x < left + width) break;
      left += width;
      ++column;
    }
    word = model_->word_at(line, column);
  }
  auto* menu = new QMenu(this);
  menu->setObjectName("view_menu");
  menu->setAttribute(Qt::WA_DeleteOnClose);
  QAction* copy_word = menu->addAction(tr("Copy Word"));
  copy_word->setEnabled(word.has_value());
  connect(copy_word, &QAction::triggered, this, [this, word] {
    if (word) copyText(*word);
  });
  QAction* copy_line = menu->addAction(tr("Copy Line"));
  connect(copy_line, &QAction::triggered, this, [this, line] {
    if (data_ && line <= model_->line_count()) copyText(model_->line_copy(line));
  });
  QAction* copy_selection = menu->addAction(tr("Copy Selection"));
  copy_selection->setEnabled(model_->selected_count() > 0);
  connect(copy_selection, &QAction::triggered, this, [this] {
    if (!data_) return;
    if (std::optional<std::string> text = model_->selection_copy()) copyText(*text);
  });
  menu->popup(text_->mapToGlobal(position));
}

void ViewWindow::copyText(const std::string& text) {
  QGuiApplication::clipboard()->setText(latin1(text));
}

// --- the keys ---

bool ViewWindow::textKey(QKeyEvent* event) {
  if (!data_) return false;
  const Qt::KeyboardModifiers mods = event->modifiers();
  const bool shift = mods & Qt::ShiftModifier, ctrl = mods & Qt::ControlModifier;
  switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
      model_->move_current(event->key() == Qt::Key_Up ? -1 : 1, shift);
      break;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
      model_->move_current((event->key() == Qt::Key_PageUp ? -1 : 1) * std::max(1, model_->page_size()), shift);
      break;
    case Qt::Key_Home:
    case Qt::Key_End:
      if (ctrl)
        model_->move_current(event->key() == Qt::Key_Home ? -model_->line_count() : model_->line_count(), shift);
      else
        model_->scroll_horizontal_to(event->key() == Qt::Key_Home ? 0 : model_->horizontal_range());
      break;
    case Qt::Key_Left:
    case Qt::Key_Right: {
      const int sign = event->key() == Qt::Key_Left ? -1 : 1;
      if (ctrl)
        model_->scroll_horizontal_to(sign < 0 ? 0 : model_->horizontal_range());
      else
        model_->scroll_horizontal_to(model_->horizontal_offset() + sign * (shift ? text_->width() : char_width_));
      break;
    }
    case Qt::Key_A:
      if (!ctrl) return false;
      model_->select_all();
      break;
    case Qt::Key_C:
      if (!ctrl) return false;
      if (model_->selected_count() > 0)
        if (std::optional<std::string> text = model_->selection_copy()) copyText(*text);
      return true;
    default:
      return false;
  }
  refresh();
  return true;
}

void ViewWindow::keyPressEvent(QKeyEvent* event) {
  // "&Search" is the default button: Enter anywhere that does not take it itself.
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && event->modifiers() == Qt::NoModifier) {
    searchNext();
    return;
  }
  if (event->key() == Qt::Key_Escape) {
    closeWindow();
    return;
  }
  QWidget::keyPressEvent(event);
}

// --- the bar's commands ---

ViewMatch ViewWindow::matchChoice() const { return without_->isChecked() ? ViewMatch::Without : ViewMatch::With; }

void ViewWindow::searchNext() {
  if (!data_) return;
  const std::string pattern = pattern_->text().toLatin1().toStdString();
  const bool found = model_->search(pattern, matchChoice());
  refresh();
  if (!found) pattern_->setFocus(Qt::OtherFocusReason);
}

void ViewWindow::findAll() {
  if (!data_) return;
  const std::string pattern = pattern_->text().toLatin1().toStdString();
  const int32_t found = model_->find_select_all(pattern, matchChoice());
  refresh();
  if (found == 0) pattern_->setFocus(Qt::OtherFocusReason);
}

void ViewWindow::redrawPlot(Plot& plot) { shell_.redraw(plot); }

void ViewWindow::updatePlots() {
  if (!data_ || updating_ || model_->modified() == 0) return;
  updating_ = true;
  refresh();
  const bool done = model_->update_plots([this] {
    for (Plot* plot : shell_.plots_of(*data_)) {
      if (!data_) break;  // the last plot closed and took the data set with it
      if (plot->closed || plot == caller_plot_) continue;
      for (Formula& formula : plot->window.definition.formulas) formula.needs_recalc = formula.changed = 1;
      if (shell_.recalculate(*plot, plot->window.auto_scaled) != Recalculation::Closed && plot->shown)
        redrawPlot(*plot);
    }
  });
  updating_ = false;
  if (!data_) return;
  refresh();
  if (!done) pattern_->setFocus(Qt::OtherFocusReason);
}

bool ViewWindow::closeWindow() { return close(); }

void ViewWindow::storeRectangle() {
  const QRect frame = frameGeometry();
  shell_.config().view_win_rect = {frame.left(), frame.top(), frame.right() + 1, frame.bottom() + 1};
}

void ViewWindow::closeEvent(QCloseEvent* event) {
  if (!data_) {
    event->accept();
    return;
  }
  if (updating_) {
    shell_.ui().beep();
    event->ignore();
    return;
  }
  if (!model_->request_close()) {
    pattern_->setFocus(Qt::OtherFocusReason);
    event->ignore();
    return;
  }
  storeRectangle();
  event->accept();
  if (loop_) loop_->quit();
}

bool ViewWindow::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) refresh();  // the number of plots may have changed
  return QWidget::event(event);
}

void ViewWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  textResized();
  refresh();
}

bool ViewWindow::runModal() {
  if (!data_) return false;
  back_pressed_ = false;
  setWindowModality(Qt::ApplicationModal);
  show();
  raise();
  activateWindow();
  QEventLoop loop;
  loop_ = &loop;
  refresh();
  loop.exec();
  loop_ = nullptr;
  hide();
  setWindowModality(Qt::NonModal);
  refresh();
  return !back_pressed_;
}

void ViewWindow::dataGone() {
  if (!data_) return;
  data_->view_window_open = false;
  data_ = nullptr;
  dragging_ = false;
  drag_timer_->stop();
  hide();
  if (loop_)
    loop_->quit();  // the caller of the modal use deletes it
  else if (testAttribute(Qt::WA_DeleteOnClose))
    deleteLater();
}

ViewWindow* open_view_window(DataFile& data, Shell& shell, QWidget* near) {
  if (ViewWindow* open = ViewWindow::of(data)) {
    if (open->isMinimized()) open->showNormal();
    open->show();
    open->raise();
    open->activateWindow();
    open->refresh();
    return open;
  }
  auto* window = new ViewWindow(data, shell, false, near);
  window->show();
  window->raise();
  window->activateWindow();
  return window;
}

void close_view_windows_of(const DataFile& data) {
  const std::vector<ViewWindow*> windows = open_windows();
  for (ViewWindow* window : windows)
    if (window->data() == &data) window->dataGone();
}

}  // namespace zentrik
