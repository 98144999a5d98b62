#include "display/ViewModel.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace zentrik {

namespace {

constexpr const char* kTwoLines = "There must be at least two lines included for a plot!";

}  // namespace

ViewModel::ViewModel(DataFile& data, Ui& ui)
    : data_(data), ui_(ui), marks_(static_cast<std::size_t>(data.loaded_count()) + 1, 0) {}

void ViewModel::lines_changed() {
  const int32_t count = line_count();
  if (static_cast<int32_t>(marks_.size()) - 1 > count) {
    for (int32_t line = count + 1; line < static_cast<int32_t>(marks_.size()); ++line)
      if (marks_[static_cast<std::size_t>(line)]) --selected_count_;
  }
  marks_.resize(static_cast<std::size_t>(count) + 1, 0);
  current_line_ = std::clamp(current_line_, 1, std::max(count, 1));
  if (anchor_line_ > count) anchor_line_ = 0;
  if (found_line_ > count) found_line_ = 0;
  scroll_to(first_visible_);
}

// --- selection ---

bool ViewModel::marked(int32_t line) const {
  return line >= 1 && line < static_cast<int32_t>(marks_.size()) && marks_[static_cast<std::size_t>(line)] != 0;
}

void ViewModel::set_mark(int32_t line, bool on) {
  if (line < 1 || line >= static_cast<int32_t>(marks_.size())) return;
  uint8_t& mark = marks_[static_cast<std::size_t>(line)];
  if ((mark != 0) == on) return;
  mark = on ? 1 : 0;
  selected_count_ += on ? 1 : -1;
}

std::string ViewModel::selection_text() const {
  return std::to_string(selected_count_) + (selected_count_ == 1 ? " line selected" : " lines selected");
}

void ViewModel::clear_marks() {
  if (selected_count_ == 0) return;
  std::fill(marks_.begin(), marks_.end(), 0);
  selected_count_ = 0;
}

void ViewModel::select_all() {
  if (marks_.size() < 2) return;
  std::fill(marks_.begin() + 1, marks_.end(), 1);
  selected_count_ = line_count();
}

void ViewModel::click(int32_t line) {
  if (line < 1 || line > line_count()) return;
  clear_marks();
  set_mark(line, true);
  current_line_ = anchor_line_ = line;
}

void ViewModel::ctrl_click(int32_t line) {
  if (line < 1 || line > line_count()) return;
  set_mark(line, !marked(line));
  current_line_ = anchor_line_ = line;
}

void ViewModel::shift_click(int32_t line) {
  if (line < 1 || line > line_count()) return;
  if (anchor_line_ < 1) {
    click(line);
    return;
  }
  const int32_t from = std::min(anchor_line_, line), to = std::max(anchor_line_, line);
  for (int32_t l = from; l <= to; ++l) set_mark(l, true);
  current_line_ = anchor_line_ = line;
}

void ViewModel::drag_to(int32_t line) {
  line = std::clamp(line, 1, std::max(line_count(), 1));
  if (line_count() == 0 || anchor_line_ < 1) return;
  int32_t at = current_line_;
  while (at != line) {
    const int32_t next = at + (line > at ? 1 : -1);
    const bool away = std::abs(next - anchor_line_) > std::abs(at - anchor_line_);
    if (away)
      set_mark(next, true);
    else
      set_mark(at, false);
    at = next;
  }
  set_mark(anchor_line_, true);
  current_line_ = line;
}

void ViewModel::move_current(int32_t delta, bool extend) {
  if (line_count() == 0) return;
  const int32_t from = current_line_;
  const int32_t to = std::clamp(from + delta, 1, line_count());
  if (!extend) {
    clear_marks();
    set_mark(to, true);
    anchor_line_ = to;
  } else if (to != from) {
    if (marked(to))
      set_mark(from, false);  // stepping back over the selection shrinks it
    else
      set_mark(to, true);
  } else {
    set_mark(to, true);
  }
  current_line_ = to;
  show_line(to);
}

// --- the lines on screen ---

void ViewModel::set_rows(int32_t rows) {
  rows_ = std::max(rows, 1);
  scroll_to(first_visible_);
}

int32_t ViewModel::last_visible() const {
  return std::min(first_visible_ + rows_ - 1, std::max(line_count(), 1));
}

int32_t ViewModel::max_top() const { return std::max(1, line_count() - page_size()); }

void ViewModel::scroll_to(int32_t top) { first_visible_ = std::clamp(top, 1, max_top()); }

void ViewModel::show_line(int32_t line) {
  if (line < first_visible_)
    scroll_to(line);
  else if (line > first_visible_ + page_size())
    scroll_to(line - page_size());
}

void ViewModel::set_horizontal_range(int32_t range) {
  horizontal_range_ = std::max(range, 0);
  horizontal_offset_ = std::min(horizontal_offset_, horizontal_range_);
}

void ViewModel::scroll_horizontal_to(int32_t offset) { horizontal_offset_ = std::clamp(offset, 0, horizontal_range_); }

// --- the texts drawn ---

int32_t ViewModel::number_width() const {
  // The digits of the line count less one is the whole part of its log10.
  int32_t digits = 1;
  for (int64_t n = line_count(); n >= 10; n /= 10) ++digits;
  return digits + 1;
}

std::string ViewModel::number_format() const { return "%" + std::to_string(number_width()) + "ld: "; }

std::string ViewModel::number_text(int32_t line) const {
  std::string text = std::to_string(data_.line(line).number);
  if (static_cast<int32_t>(text.size()) < number_width())
    text.insert(0, static_cast<std::size_t>(number_width()) - text.size(), ' ');
  return text + ": ";
}

// --- inclusion ---

void ViewModel::changed_inclusion(int32_t line, bool include) {
  data_.set_included(line, include);
  if (include)
    modified_ = 1;
  else if (modified_ == 0)
    modified_ = -1;
}

// how: 1 include, -1 exclude, 0 toggle.
int32_t ViewModel::change_selected(int how) {
  if (!editable_ || selected_count_ == 0) return 0;
  int32_t changed = 0, seen = 0;
  const int32_t count = line_count();
  for (int32_t line = 1; line <= count && seen < selected_count_; ++line) {
    if (!marks_[static_cast<std::size_t>(line)]) continue;
    ++seen;
    const bool in = data_.line(line).included();
    const bool want = how == 0 ? !in : how > 0;
    if (want == in) continue;
    changed_inclusion(line, want);
    ++changed;
  }
  return changed;
}

int32_t ViewModel::include_selected() { return change_selected(1); }
int32_t ViewModel::exclude_selected() { return change_selected(-1); }
int32_t ViewModel::toggle_selected() { return change_selected(0); }

int32_t ViewModel::include_all() {
  if (!editable_) return 0;
  const int32_t changed = data_.loaded_count() - data_.included_count();
  if (changed == 0) return 0;
  data_.include_all();
  modified_ = 1;
  return changed;
}

bool ViewModel::toggle_line(int32_t line) {
  if (line < 1 || line > line_count()) return false;
  if (!editable_) {
    ui_.message("Not allowed.", "View File");
    return false;
  }
  changed_inclusion(line, !data_.line(line).included());
  return true;
}

// --- searching ---

bool ViewModel::matches(std::string_view text, std::string_view pattern, ViewMatch match) const {
  const bool found = pattern.empty() ? text.empty() : text.find(pattern) != std::string_view::npos;
  return match == ViewMatch::With ? found : !found;
}

void ViewModel::not_found() {
  ui_.message("Reached end of file without finding match.", "Pattern Not Found.");
}

bool ViewModel::search(std::string_view pattern, ViewMatch match) {
  if (selected_count_ > 1) clear_marks();
  int32_t start = 1;
  if (found_line_ > 0) {
    set_mark(found_line_, false);
    start = found_line_ + 1;
  }
  const std::span<const DataLine> lines = data_.lines();
  for (std::size_t i = static_cast<std::size_t>(start - 1); i < lines.size(); ++i) {
    if (!matches(lines[i].text(), pattern, match)) continue;
    const int32_t line = static_cast<int32_t>(i) + 1;
    found_line_ = current_line_ = anchor_line_ = line;
    set_mark(line, true);
    if (line < first_visible_ || line > last_visible()) scroll_to(line);
    horizontal_offset_ = 0;
    return true;
  }
  found_line_ = 0;  // the next search starts again from the top
  not_found();
  return false;
}

int32_t ViewModel::find_select_all(std::string_view pattern, ViewMatch match) {
  clear_marks();
  const std::span<const DataLine> lines = data_.lines();
  int32_t first = 0, last = 0, count = 0;
  uint8_t* marks = marks_.data();
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (!matches(lines[i].text(), pattern, match)) continue;
    last = static_cast<int32_t>(i) + 1;
    if (first == 0) first = last;
    marks[last] = 1;
    ++count;
  }
  selected_count_ = count;
  if (count == 0) {
    found_line_ = 0;
    not_found();
    return 0;
  }
  found_line_ = last;
  current_line_ = anchor_line_ = first;
  scroll_to(first);
  horizontal_offset_ = 0;
  return count;
}

// --- copying ---

std::optional<std::string> ViewModel::word_at(int32_t line, int32_t column) const {
  if (line < 1 || line > line_count() || column < 0) return std::nullopt;
  const std::string_view text = line_text(line);
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  if (static_cast<std::size_t>(column) >= text.size() || blank(text[static_cast<std::size_t>(column)]))
    return std::nullopt;
  std::size_t begin = static_cast<std::size_t>(column), end = begin;
  while (begin > 0 && !blank(text[begin - 1])) --begin;
  while (end < text.size() && !blank(text[end])) ++end;
  return std::string(text.substr(begin, end - begin));
}

std::optional<std::string> ViewModel::selection_copy() const {
  if (selected_count_ > kCopyLimit) {
    ui_.message("There are too many lines selected (" + std::to_string(selected_count_) +
                    ").  You can only copy " + std::to_string(kCopyLimit) + " lines at a time.",
                "Sorry.");
    return std::nullopt;
  }
  std::string text;
  int32_t seen = 0;
  for (int32_t line = 1; line <= line_count() && seen < selected_count_; ++line) {
    if (!marks_[static_cast<std::size_t>(line)]) continue;
    if (seen++ > 0) text += "\r\n";
    text += line_text(line);
  }
  return text;
}

// --- status, title, updating and closing ---

std::string ViewModel::status() const {
  if (data_.included_count() < 2) return "Can't close!";
  return modified_ != 0 ? "Update Needed" : "";
}

std::string ViewModel::title() const {
  const int plots = data_.plot_count;
  char counts[160];
  std::snprintf(counts, sizeof counts, ", %ld lines out of %ld used by %d %s",
                static_cast<long>(data_.included_count()), static_cast<long>(data_.loaded_count()), plots,
                plots < 2 ? "plot" : "plots");
  return data_.path() + counts;
}

bool ViewModel::update_plots(const std::function<void()>& recalculate) {
  if (modified_ == 0) return true;
  if (data_.included_count() < 2) {
    ui_.showError(kTwoLines, "Error!");
    return false;
  }
  // Cleared first: a recalculation may include lines again through its own questions.
  modified_ = 0;
  if (recalculate) recalculate();
  return true;
}

bool ViewModel::request_close() {
  if (can_close()) return true;
  ui_.showError(kTwoLines, "Error!");
  return false;
}

}  // namespace zentrik
