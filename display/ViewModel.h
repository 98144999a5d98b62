// The view window without a window: the selection marks over a data set's lines,
// the caret, the anchor and the last search hit, the lines on screen, inclusion
// changes with their "modified" state, searching, the texts copied, the status
// and title texts, and the rules for updating the plots and closing. The desktop
// view window (app/desktop/ViewWindow) draws it and feeds it the mouse and keys;
// the benchmarks drive it directly. Messages go through the Ui.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/DataFile.h"
#include "ui/Ui.h"

namespace zentrik {

// Lines that contain the pattern, or lines that do not.
enum class ViewMatch { With, Without };

class ViewModel {
 public:
  // At most this many selected lines are copied at once.
  static constexpr int32_t kCopyLimit = 2000;

  ViewModel(DataFile& data, Ui& ui);

  DataFile& data() { return data_; }
  const DataFile& data() const { return data_; }
  int32_t line_count() const { return data_.loaded_count(); }

  // The data set gained or lost lines (files added to it): the marks follow, and
  // every line number kept here stays within the lines.
  void lines_changed();

  // --- selection ---
  bool marked(int32_t line) const;
  int32_t selected_count() const { return selected_count_; }
  // "1 line selected", "0 lines selected", "12 lines selected".
  std::string selection_text() const;
  void clear_marks();
  void select_all();
  // A plain click: the line alone is selected and becomes current and anchor.
  void click(int32_t line);
  // Ctrl+click: the line's mark flips; it becomes current and anchor.
  void ctrl_click(int32_t line);
  // Shift+click: every line from the anchor to this one is marked and it becomes
  // current and anchor. Without an anchor it acts as a plain click.
  void shift_click(int32_t line);
  // The pointer, with the button held since a click, moved onto line: the selection
  // grows away from the anchor or shrinks back towards it, line by line.
  void drag_to(int32_t line);
  // Up / Down: current_line moves by delta (kept within the lines) and the view
  // follows. Without extend the new line alone is selected; with it the selection
  // grows onto the new line, or shrinks when that line was selected already.
  void move_current(int32_t delta, bool extend);

  int32_t current_line() const { return current_line_; }
  int32_t anchor_line() const { return anchor_line_; }  // 0: none
  int32_t found_line() const { return found_line_; }    // 0: none

  // --- the lines on screen ---
  // rows: how many whole lines the text area holds (at least 1 is used).
  void set_rows(int32_t rows);
  int32_t rows() const { return rows_; }
  int32_t first_visible() const { return first_visible_; }
  int32_t last_visible() const;
  int32_t page_size() const { return rows_ - 1; }
  // The highest top line: the last page stays full.
  int32_t max_top() const;
  // Scrolls so that top is the first line on screen (kept within 1 .. max_top()).
  void scroll_to(int32_t top);
  void scroll_lines(int32_t delta) { scroll_to(first_visible_ + delta); }
  void scroll_pages(int32_t delta) { scroll_to(first_visible_ + delta * page_size()); }
  // Scrolls as little as needed to show line.
  void show_line(int32_t line);

  // Pixels scrolled to the right, within 0 .. horizontal_range().
  int32_t horizontal_offset() const { return horizontal_offset_; }
  int32_t horizontal_range() const { return horizontal_range_; }
  void set_horizontal_range(int32_t range);
  void scroll_horizontal_to(int32_t offset);

  // --- the texts drawn ---
  // The width w of "%<w>ld: ": the whole part of log10(lines) plus 2.
  int32_t number_width() const;
  std::string number_format() const;
  // The numbered part of a line: its signed number right-aligned in number_width()
  // characters, then ": ".
  std::string number_text(int32_t line) const;
  std::string_view line_text(int32_t line) const { return data_.line(line).text(); }
  bool included(int32_t line) const { return data_.line(line).included(); }

  // --- inclusion ---
  bool editable() const { return editable_; }
  void set_editable(bool editable) { editable_ = editable; }
  // 0 unchanged, 1 once a line was included again, -1 while lines were only excluded.
  int modified() const { return modified_; }
  // On the selected lines; the number of lines changed (0 when not editable).
  int32_t include_selected();
  int32_t exclude_selected();
  int32_t toggle_selected();
  int32_t include_all();
  // A double-click: the line's inclusion flips. False, after "Not allowed.", when
  // inclusion cannot be changed.
  bool toggle_line(int32_t line);
  bool can_include() const { return editable_ && selected_count_ > 0; }
  bool can_include_all() const { return editable_ && data_.included_count() < data_.loaded_count(); }

  // --- searching ---
  // The next matching line after the last hit (or from line 1): it becomes found,
  // current and anchor line, marked, and on screen. False, after "Reached end of
  // file without finding match.", when none is left.
  bool search(std::string_view pattern, ViewMatch match);
  // Selects every matching line; the first is scrolled to the top, the last is the
  // found line. The number selected; 0 after the same message as search.
  int32_t find_select_all(std::string_view pattern, ViewMatch match);

  // --- copying ---
  // The run of non-blank characters of the line's text around character column
  // (0-based within the text); nothing over a blank or past the end.
  std::optional<std::string> word_at(int32_t line, int32_t column) const;
  std::string line_copy(int32_t line) const { return std::string(line_text(line)); }
  // The selected lines' texts joined by CR LF; nothing, after the "Sorry." message,
  // when more than kCopyLimit lines are selected.
  std::optional<std::string> selection_copy() const;

  // --- status, title, updating and closing ---
  // "Can't close!" below two included lines, else "Update Needed" while modified.
  std::string status() const;
  bool can_close() const { return data_.included_count() >= 2; }
  // "<path>, <included> lines out of <loaded> used by <n> plots" ("plot" below 2).
  std::string title() const;
  // Recalculates the plots through recalculate when modified; refuses with the
  // two-lines message below two included lines. True when nothing is left to update.
  bool update_plots(const std::function<void()>& recalculate);
  // Whether the window may close; the two-lines message when it may not.
  bool request_close();

 private:
  void set_mark(int32_t line, bool on);
  void changed_inclusion(int32_t line, bool include);
  int32_t change_selected(int how);
  bool matches(std::string_view text, std::string_view pattern, ViewMatch match) const;
  void not_found();

  DataFile& data_;
  Ui& ui_;
  std::vector<uint8_t> marks_;  // one per line number, index 0 unused
  int32_t selected_count_ = 0;
  int32_t current_line_ = 1;
  int32_t anchor_line_ = 0;
  int32_t found_line_ = 0;
  int32_t first_visible_ = 1;
  int32_t rows_ = 1;
  int32_t horizontal_offset_ = 0;
  int32_t horizontal_range_ = 0;
  int modified_ = 0;
  bool editable_ = true;
};

}  // namespace zentrik
