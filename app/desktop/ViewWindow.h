// The view window of a data set: every stored line with its signed number, the
// selection made with the mouse and keys, the control bar that includes, excludes,
// searches and updates the plots, and the copying menu. The behaviour lives in
// ViewModel; this window draws it and passes it the user's input. One window per
// data set at most; while it is open the data set is not reloaded. Opened by the
// plot window's, the plot setup dialog's and the calculation error dialog's
// "&View File"; the last two wait in its modal use.
#pragma once

#include <QEventLoop>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

#include "app/shell/Shell.h"
#include "display/ViewModel.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QTimer;

namespace zentrik {

class ViewText;

class ViewWindow : public QWidget {
  Q_OBJECT

 public:
  // A top-level window over data, placed beside near (when given). modal_use: the
  // window is run with runModal by the plot setup dialog or the calculation error
  // dialog; its Close button reads "Done", "&Back" is shown, and closing hides it
  // for its caller to delete. Otherwise closing deletes it.
  ViewWindow(DataFile& data, Shell& shell, bool modal_use, QWidget* near);
  ~ViewWindow() override;

  // The window of data, if one is open.
  static ViewWindow* of(const DataFile& data);

  ViewModel& model() { return *model_; }
  // Null once the data set went away.
  DataFile* data() { return data_; }

  // Sets whether inclusion may be changed; a title, when given, replaces the window's.
  // While not editable the window may carry a title of its own (a note why); an
  // empty title shows the data set's counts.
  void setEditable(bool editable, const QString& title = {});

  // Shows the window and waits until it is closed (true: hidden by Close or "Done")
  // or "&Back" is pressed (false). The caller then decides what becomes of it.
  bool runModal();
  bool backPressed() const { return back_pressed_; }
  bool inModalLoop() const { return loop_ != nullptr; }

  // Everything shown from the model again: title, counts, status, buttons, text.
  void refresh();
  // "&Update Plots": every plot of the data set is recalculated and drawn again,
  // except the caller's plot (setCallerPlot), which its caller computes itself.
  void updatePlots();
  // The plot whose dialog opened this window for its modal use; null for none. It
  // must stay open while this window lives.
  void setCallerPlot(Plot* plot) { caller_plot_ = plot; }
  // "&Close" / "Done": closes unless fewer than two lines are included.
  bool closeWindow();
  // The data set goes away: the window ends without touching it again.
  void dataGone();

  // --- the controls, for the tests ---
  QLineEdit* patternField() const { return pattern_; }
  QWidget* textArea() const;
  QPushButton* button(const QString& caption) const;
  QString selectionText() const;
  QString statusText() const;
  QScrollBar* verticalBar() const { return vbar_; }
  // The line at a point of the text area (0 below the last line).
  int32_t lineAt(const QPoint& point) const;
  QPoint pointOfLine(int32_t line) const;
  int lineHeight() const { return line_height_; }
  int charWidth() const { return char_width_; }

  // How a line number becomes a scroll bar position: shifted right far enough that
  // the highest top line fits within limit positions.
  static int scrollShift(int32_t max_top, int32_t limit);

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool event(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  friend class ViewText;
  void buildBar();
  void placeNear(QWidget* near);
  void paintText(QPainter& painter);
  void textResized();
  void syncBars();
  void afterInclusion();
  void searchNext();
  void findAll();
  void copyText(const std::string& text);
  void showContextMenu(const QPoint& position);
  void textPressed(QMouseEvent* event);
  void textMoved(QMouseEvent* event);
  void textReleased(QMouseEvent* event);
  void textDoubleClicked(QMouseEvent* event);
  bool textKey(QKeyEvent* event);
  void autoScrollStep();
  void redrawPlot(Plot& plot);
  ViewMatch matchChoice() const;
  void storeRectangle();

  DataFile* data_;
  Shell& shell_;
  std::unique_ptr<ViewModel> model_;
  bool modal_use_;
  bool back_pressed_ = false;
  bool updating_ = false;  // Update Plots runs: no closing meanwhile
  Plot* caller_plot_ = nullptr;
  QString own_title_;      // set by setEditable; else the title follows the counts
  QEventLoop* loop_ = nullptr;
  QFont font_;
  int char_width_ = 8, line_height_ = 16, ascent_ = 12;
  int widest_ = 0;      // the widest line drawn so far, in pixels
  int scroll_shift_ = 0;
  bool dragging_ = false;
  int drag_y_ = 0;         // the pointer's height while dragging, in text-area pixels
  int drag_steps_ = 0;
  QTimer* drag_timer_;

  QLineEdit* pattern_;
  QLineEdit* count_;
  QLineEdit* status_;
  QPushButton *include_, *exclude_, *toggle_, *include_all_, *update_, *search_, *find_all_, *close_, *back_;
  QRadioButton *with_, *without_;
  ViewText* text_;
  QScrollBar* vbar_;
  QScrollBar* hbar_;
};

// Opens the view window of data beside near, or brings the open one to the front.
ViewWindow* open_view_window(DataFile& data, Shell& shell, QWidget* near);
// Ends the view window of data (the data set is going away).
void close_view_windows_of(const DataFile& data);

}  // namespace zentrik
