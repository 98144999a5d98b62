// The help window: the user guide (the Markdown pages of docs/, built into the
// program) with a contents page, links between the pages, Back and Forward, and a
// search across every page. There is one help window; asking for help again raises
// it on the page asked for.
#pragma once

#include <string>

#include <QStringList>
#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTextBrowser;

namespace zentrik {

class HelpBrowser;

class HelpWindow : public QWidget {
 public:
  explicit HelpWindow(QWidget* parent = nullptr);

  // Every page of the guide by file name ("data-files.md"), in the contents order.
  static QStringList pages();
  // A page's first heading, or its file name when it has none.
  static QString pageTitle(const QString& page);

  // Shows a page by file name, "" for the contents; false (and the page shown
  // stays) when there is no such page.
  bool openPage(const QString& page);
  // The page shown: its file name, "" for the contents.
  QString currentPage() const;

  // Shows the search field, focused, with its text selected.
  void startSearch();
  // The pages holding text (regardless of case), in contents order.
  static QStringList pagesContaining(const QString& text);
  // Lists the pages holding text and shows the first of them with the first place
  // the text occurs selected; the same text again goes on to its next place, on
  // the next page once a page has no more. False when no page holds it.
  bool search(const QString& text);

  QTextBrowser* browser() const;
  QLineEdit* searchField() const { return search_field_; }
  QListWidget* results() const { return results_; }
  QLabel* statusLabel() const { return status_; }
  QPushButton* backButton() const { return back_; }
  QPushButton* forwardButton() const { return forward_; }
  QPushButton* contentsButton() const { return contents_; }

 private:
  bool findFromStart(const QString& text);
  void openResult(int row);
  void pageChanged(const QString& page);

  HelpBrowser* browser_ = nullptr;
  QLineEdit* search_field_ = nullptr;
  QListWidget* results_ = nullptr;
  QLabel* status_ = nullptr;
  QPushButton* back_ = nullptr;
  QPushButton* forward_ = nullptr;
  QPushButton* contents_ = nullptr;
  QString searched_;
};

// Shows the help window on a page ("data-files.md"; "" for the contents), creating
// it on first use, restoring and raising it afterwards. An unknown page shows the
// contents.
void show_help(QWidget* parent, const std::string& page = {});
// "&Search For Help On . . .": the help window with its search field focused.
void show_help_search(QWidget* parent);
// The help window show_help made, or nullptr before the first call.
HelpWindow* help_window();

}  // namespace zentrik
