#include <gtest/gtest.h>

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QTextBlock>
#include <QTextDocument>

#include "app/dialogs/HelpWindow.h"

namespace zentrik {
namespace {

// The place of a link's text in the page shown, clicked as a person would.
void click_link(HelpWindow& window, const QString& link_text) {
  QTextBrowser* browser = window.browser();
  QTextCursor found = browser->document()->find(link_text);
  ASSERT_FALSE(found.isNull()) << link_text.toStdString();
  found.setPosition(found.selectionStart() + 1);
  browser->setTextCursor(found);
  browser->ensureCursorVisible();
  const QPoint at = browser->cursorRect(found).center();
  QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, at);
}

TEST(HelpWindow, ContentsListEveryPageOfTheGuideAndLinksLeadToThem) {
  const QStringList docs = QDir(ZENTRIK_DOCS_DIR).entryList({"*.md"}, QDir::Files, QDir::Name);
  ASSERT_FALSE(docs.isEmpty());
  EXPECT_EQ(HelpWindow::pages(), docs);
  EXPECT_EQ(HelpWindow::pageTitle("data-files.md"), "Data files");

  HelpWindow window;
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  EXPECT_EQ(window.currentPage(), "");
  const QString contents = window.browser()->toPlainText();
  for (const QString& page : docs) EXPECT_TRUE(contents.contains(HelpWindow::pageTitle(page))) << page.toStdString();

  click_link(window, "Data files");
  EXPECT_EQ(window.currentPage(), "data-files.md");
  EXPECT_EQ(window.windowTitle(), "Zentrik Help - Data files");
  EXPECT_TRUE(window.browser()->toPlainText().startsWith("Data files"));  // rendered: no "#" left

  click_link(window, "formula-language.md");  // a link from one page to another
  EXPECT_EQ(window.currentPage(), "formula-language.md");
  EXPECT_TRUE(window.backButton()->isEnabled());
  window.backButton()->click();
  EXPECT_EQ(window.currentPage(), "data-files.md");
  window.contentsButton()->click();
  EXPECT_EQ(window.currentPage(), "");

  // a page the guide does not have is refused, and the page shown stays
  EXPECT_FALSE(window.openPage("no-such-page.md"));
  window.browser()->setSource(QUrl("qrc:/help/no-such-page.md"));
  EXPECT_EQ(window.currentPage(), "");
  EXPECT_EQ(window.statusLabel()->text(), "\"qrc:/help/no-such-page.md\" is not a page of this guide.");
}

TEST(HelpWindow, SearchFindsTextAcrossThePages) {
  HelpWindow window;
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

  const QStringList holding = HelpWindow::pagesContaining("concatenate");
  EXPECT_TRUE(holding.contains("data-files.md"));
  EXPECT_FALSE(holding.contains("formula-language.md"));

  window.startSearch();
  QTest::keyClicks(window.searchField(), "concatenate");
  QTest::keyClick(window.searchField(), Qt::Key_Return);
  ASSERT_EQ(window.results()->count(), holding.size());
  EXPECT_EQ(window.currentPage(), holding.first());
  const QTextCursor first = window.browser()->textCursor();
  EXPECT_EQ(first.selectedText().toLower(), "concatenate");

  // Enter again goes on to the next place the text occurs
  QTest::keyClick(window.searchField(), Qt::Key_Return);
  const QTextCursor next = window.browser()->textCursor();
  EXPECT_EQ(next.selectedText().toLower(), "concatenate");
  EXPECT_TRUE(window.currentPage() != holding.first() || next.selectionStart() > first.selectionStart());

  EXPECT_FALSE(window.search("zqxjkv"));
  EXPECT_EQ(window.statusLabel()->text(), "No page holds \"zqxjkv\".");
  EXPECT_EQ(window.results()->count(), 0);
}

TEST(HelpWindow, ThereIsOneHelpWindowRaisedOnThePageAskedFor) {
  show_help(nullptr, "plots.md");
  HelpWindow* window = help_window();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(window->currentPage(), "plots.md");

  window->close();
  show_help(nullptr, "");
  EXPECT_EQ(help_window(), window);
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(window->currentPage(), "");
  show_help(nullptr, "missing.md");
  EXPECT_EQ(window->currentPage(), "");

  show_help(nullptr, "plots.md");
  show_help_search(nullptr);  // searching starts on the page being read
  EXPECT_EQ(window->currentPage(), "plots.md");
  EXPECT_EQ(window->focusWidget(), window->searchField());
  window->close();
}

}  // namespace
}  // namespace zentrik
