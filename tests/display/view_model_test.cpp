// The view window's model over small data sets: numbering, selection, inclusion,
// searching, copying and the closing rules, with the exact texts shown.
#include <gtest/gtest.h>

#include "display/ViewModel.h"
#include "ui/ScriptedUi.h"

namespace zentrik {
namespace {

std::unique_ptr<DataFile> data_of(int lines, const std::function<std::string(int)>& text) {
  auto data = std::make_unique<DataFile>("run.dat");
  for (int i = 1; i <= lines; ++i) data->store_line(text(i));
  return data;
}

std::unique_ptr<DataFile> numbered(int lines) {
  return data_of(lines, [](int i) { return "line " + std::to_string(i); });
}

TEST(ViewModel, NumbersAreRightAlignedInWidthFromLineCount) {
  ScriptedUi ui;
  auto nine = numbered(9);
  ViewModel small(*nine, ui);
  EXPECT_EQ(small.number_format(), "%2ld: ");
  EXPECT_EQ(small.number_text(3), " 3: ");
  nine->set_included(3, false);
  EXPECT_EQ(small.number_text(3), "-3: ");

  auto hundred = numbered(100);
  ViewModel large(*hundred, ui);
  EXPECT_EQ(large.number_format(), "%4ld: ");
  EXPECT_EQ(large.number_text(7), "   7: ");
  hundred->set_included(100, false);
  EXPECT_EQ(large.number_text(100), "-100: ");

  auto ninety_nine = numbered(99);
  EXPECT_EQ(ViewModel(*ninety_nine, ui).number_format(), "%3ld: ");
  DataFile empty("none.dat");
  EXPECT_EQ(ViewModel(empty, ui).number_format(), "%2ld: ");
}

TEST(ViewModel, MouseAndKeysSelectLines) {
  ScriptedUi ui;
  auto data = numbered(50);
  ViewModel view(*data, ui);
  EXPECT_EQ(view.selection_text(), "0 lines selected");
  view.click(5);
  EXPECT_EQ(view.selection_text(), "1 line selected");
  view.ctrl_click(8);
  view.ctrl_click(5);  // removed again
  EXPECT_FALSE(view.marked(5));
  EXPECT_TRUE(view.marked(8));
  view.shift_click(11);  // from the last line clicked
  EXPECT_EQ(view.selected_count(), 7);  // 5 .. 11
  EXPECT_EQ(view.anchor_line(), 11);
  view.click(20);
  EXPECT_EQ(view.selected_count(), 1);

  // Dragging grows the selection away from the anchor and shrinks it coming back.
  view.drag_to(24);
  EXPECT_EQ(view.selected_count(), 5);
  view.drag_to(22);
  EXPECT_EQ(view.selected_count(), 3);
  EXPECT_FALSE(view.marked(23));
  view.drag_to(18);
  EXPECT_EQ(view.selected_count(), 3);  // 18 .. 20
  EXPECT_TRUE(view.marked(18));
  EXPECT_FALSE(view.marked(21));

  // Arrow keys: alone the new line is the selection; with Shift it grows or shrinks.
  view.click(30);
  view.move_current(1, true);
  view.move_current(1, true);
  EXPECT_EQ(view.selected_count(), 3);
  view.move_current(-1, true);
  EXPECT_EQ(view.selected_count(), 2);
  EXPECT_FALSE(view.marked(32));
  view.move_current(1, false);
  EXPECT_EQ(view.selected_count(), 1);
  EXPECT_TRUE(view.marked(32));
  view.click(1);
  view.move_current(-1, false);
  EXPECT_EQ(view.current_line(), 1);
  view.click(50);
  view.move_current(5, false);
  EXPECT_EQ(view.current_line(), 50);
}

TEST(ViewModel, ScrollingKeepsTheLastPageFull) {
  ScriptedUi ui;
  auto data = numbered(100);
  ViewModel view(*data, ui);
  view.set_rows(10);
  EXPECT_EQ(view.page_size(), 9);
  EXPECT_EQ(view.last_visible(), 10);
  view.scroll_pages(20);
  EXPECT_EQ(view.first_visible(), 91);
  EXPECT_EQ(view.last_visible(), 100);
  view.scroll_lines(-200);
  EXPECT_EQ(view.first_visible(), 1);
  view.click(10);
  view.move_current(1, false);  // line 11 leaves the screen: one line down
  EXPECT_EQ(view.first_visible(), 2);
}

TEST(ViewModel, IncludeExcludeToggleAndTheirState) {
  ScriptedUi ui;
  auto data = numbered(10);
  ViewModel view(*data, ui);
  EXPECT_EQ(view.title(), "run.dat, 10 lines out of 10 used by 0 plot");
  view.click(2);
  view.shift_click(4);
  EXPECT_EQ(view.include_selected(), 0);
  EXPECT_EQ(view.modified(), 0);
  EXPECT_EQ(view.exclude_selected(), 3);
  EXPECT_EQ(view.modified(), -1);
  EXPECT_EQ(view.status(), "Update Needed");
  EXPECT_EQ(view.number_text(3), " -3: ");
  data->plot_count = 2;
  EXPECT_EQ(view.title(), "run.dat, 7 lines out of 10 used by 2 plots");
  EXPECT_TRUE(view.can_include_all());

  // Toggling twice leaves the line included, and the data set modified.
  view.click(7);
  EXPECT_EQ(view.toggle_selected(), 1);
  EXPECT_EQ(view.number_text(7), " -7: ");
  EXPECT_EQ(view.toggle_selected(), 1);
  EXPECT_EQ(view.number_text(7), "  7: ");
  EXPECT_EQ(view.modified(), 1);

  EXPECT_EQ(view.include_all(), 3);
  EXPECT_EQ(data->included_count(), 10);
  EXPECT_FALSE(view.can_include_all());

  // Not editable: nothing changes, and a double-click is refused.
  view.set_editable(false);
  EXPECT_FALSE(view.can_include());
  EXPECT_EQ(view.exclude_selected(), 0);
  EXPECT_FALSE(view.toggle_line(1));
  EXPECT_EQ(ui.lastMessage().text, "Not allowed.");
  EXPECT_EQ(data->included_count(), 10);
  view.set_editable(true);
  EXPECT_TRUE(view.toggle_line(1));
  EXPECT_FALSE(data->line(1).included());
}

TEST(ViewModel, TooFewLinesIncludedRefusesClosingAndUpdating) {
  ScriptedUi ui;
  ui.setErrorBeep(true);
  auto data = numbered(5);
  ViewModel view(*data, ui);
  int updates = 0;
  EXPECT_TRUE(view.update_plots([&] { ++updates; }));
  EXPECT_EQ(updates, 0);  // nothing was changed

  view.click(1);
  view.shift_click(4);
  view.exclude_selected();
  EXPECT_EQ(view.status(), "Can't close!");
  EXPECT_FALSE(view.request_close());
  EXPECT_FALSE(view.update_plots([&] { ++updates; }));
  EXPECT_EQ(updates, 0);
  ASSERT_EQ(ui.messages().size(), 2u);
  EXPECT_EQ(ui.lastMessage().text, "There must be at least two lines included for a plot!");
  EXPECT_EQ(ui.lastMessage().caption, "Error!");
  EXPECT_EQ(ui.sounds(), 2);

  view.click(4);
  view.include_selected();
  EXPECT_EQ(view.status(), "Update Needed");
  EXPECT_TRUE(view.request_close());
  EXPECT_TRUE(view.update_plots([&] { ++updates; }));
  EXPECT_EQ(updates, 1);
  EXPECT_EQ(view.modified(), 0);
  EXPECT_EQ(view.status(), "");
}

TEST(ViewModel, SearchWalksMatchesWithAndWithout) {
  ScriptedUi ui;
  const char* texts[] = {"alpha 1", "", "beta 2", "alpha 3", "", "gamma"};
  auto data = data_of(6, [&](int i) { return texts[i - 1]; });
  data->set_included(4, false);  // excluded lines are searched too
  ViewModel view(*data, ui);
  view.set_rows(2);

  EXPECT_TRUE(view.search("alpha", ViewMatch::With));
  EXPECT_EQ(view.found_line(), 1);
  EXPECT_TRUE(view.search("alpha", ViewMatch::With));
  EXPECT_EQ(view.found_line(), 4);
  EXPECT_FALSE(view.marked(1));
  EXPECT_TRUE(view.marked(4));
  EXPECT_EQ(view.first_visible(), 4);  // off screen: it became the top line
  EXPECT_EQ(view.current_line(), 4);
  EXPECT_FALSE(view.search("Alpha", ViewMatch::With));  // case counts
  EXPECT_EQ(ui.lastMessage().text, "Reached end of file without finding match.");
  EXPECT_EQ(ui.lastMessage().caption, "Pattern Not Found.");

  // An empty pattern: With finds empty lines, Without the others.
  EXPECT_TRUE(view.search("", ViewMatch::With));
  EXPECT_EQ(view.found_line(), 2);
  EXPECT_TRUE(view.search("", ViewMatch::Without));
  EXPECT_EQ(view.found_line(), 3);
  EXPECT_TRUE(view.search("a", ViewMatch::Without));
  EXPECT_EQ(view.found_line(), 5);
  EXPECT_EQ(view.first_visible(), 5);  // the last page stays full

  // Several lines selected: the search starts from a clean selection.
  view.select_all();
  EXPECT_TRUE(view.search("gamma", ViewMatch::With));
  EXPECT_EQ(view.selected_count(), 1);

  EXPECT_EQ(view.find_select_all("alpha", ViewMatch::With), 2);
  EXPECT_EQ(view.found_line(), 4);
  EXPECT_EQ(view.first_visible(), 1);
  EXPECT_EQ(view.find_select_all("", ViewMatch::Without), 4);
  EXPECT_EQ(view.selection_text(), "4 lines selected");
  EXPECT_EQ(view.find_select_all("delta", ViewMatch::With), 0);
  EXPECT_EQ(view.selected_count(), 0);
  EXPECT_EQ(ui.messages().size(), 2u);
}

TEST(ViewModel, CopiesWordsLinesAndUpToTwoThousandLines) {
  ScriptedUi ui;
  auto data = data_of(2001, [](int i) { return "12 " + std::to_string(i) + "  x"; });
  ViewModel view(*data, ui);
  EXPECT_EQ(view.word_at(5, 3), "5");
  EXPECT_EQ(view.word_at(123, 4), "123");
  EXPECT_EQ(view.word_at(5, 2), std::nullopt);  // a blank
  EXPECT_EQ(view.word_at(5, 40), std::nullopt);
  EXPECT_EQ(view.line_copy(9), "12 9  x");

  view.click(1);
  view.shift_click(2000);
  const std::optional<std::string> copied = view.selection_copy();
  ASSERT_TRUE(copied);
  EXPECT_EQ(copied->substr(0, 18), "12 1  x\r\n12 2  x\r\n");
  EXPECT_EQ(copied->substr(copied->size() - 10), "12 2000  x");
  EXPECT_TRUE(ui.messages().empty());

  view.ctrl_click(2001);
  EXPECT_EQ(view.selection_copy(), std::nullopt);
  EXPECT_EQ(ui.lastMessage().text,
            "There are too many lines selected (2001).  You can only copy 2000 lines at a time.");
  EXPECT_EQ(ui.lastMessage().caption, "Sorry.");
}

TEST(ViewModel, FollowsLinesAddedAndRemoved) {
  ScriptedUi ui;
  auto data = numbered(20);
  ViewModel view(*data, ui);
  view.set_rows(5);
  view.click(18);
  view.shift_click(20);
  view.scroll_to(16);
  data->truncate_lines(10);
  view.lines_changed();
  EXPECT_EQ(view.selected_count(), 0);
  EXPECT_EQ(view.first_visible(), 6);
  EXPECT_EQ(view.current_line(), 10);
  data->store_line("more");
  view.lines_changed();
  view.click(11);
  EXPECT_EQ(view.selection_copy(), "more");
}

}  // namespace
}  // namespace zentrik
