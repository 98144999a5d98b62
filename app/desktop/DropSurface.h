// The main window's client area: a coloured surface that takes dropped files and a
// double-click, with the two lines that say so and a context menu of its own. The
// colour is the configuration's "drop_color"; the text is white on dark colours and
// black on light ones.
#pragma once

#include <QStringList>
#include <QWidget>
#include <cstdint>

class QMenu;
class QMimeData;

namespace zentrik {

// White for a colour whose three components average below 127, else black.
bool drop_text_is_white(uint32_t bgr);

// The names a drop brings: local files by their paths, web addresses as they are;
// anything else is passed over.
QStringList dropped_names(const QMimeData& mime);

class DropSurface : public QWidget {
  Q_OBJECT

 public:
  DropSurface(const uint32_t& color, QMenu* context_menu, QWidget* parent);

 signals:
  void doubleClicked();
  void filesDropped(const QStringList& paths);  // local paths and web addresses
  // A right double-click with Ctrl and Shift held: the busy count goes back to 0.
  void resetRequested();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  // Tab belongs to the main window (it goes through the plot windows).
  bool focusNextPrevChild(bool) override { return false; }

 private:
  const uint32_t& color_;
  QMenu* context_menu_;
};

}  // namespace zentrik
