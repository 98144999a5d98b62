#include "app/shell/WindowArrangement.h"

#include <algorithm>

#include "persist/PlotObject.h"

namespace zentrik {

namespace {

bool shown(const ArrangementInput& in, std::size_t i) { return i >= in.minimised.size() || !in.minimised[i]; }

int width(const WindowRect& r) { return r.right - r.left; }
int height(const WindowRect& r) { return r.bottom - r.top; }

WindowRect moved_to(const WindowRect& r, int left, int top) {
  return {left, top, left + width(r), top + height(r)};
}

void include(WindowRect& area, const WindowRect& r) {
  area.left = std::min(area.left, r.left);
  area.top = std::min(area.top, r.top);
  area.right = std::max(area.right, r.right);
  area.bottom = std::max(area.bottom, r.bottom);
}

Arrangement unchanged(const ArrangementInput& in) {
  return {in.main, std::vector<std::optional<WindowRect>>(in.plots.size())};
}

}  // namespace

WindowRect arrangement_area(const ArrangementInput& in) {
  WindowRect area = in.main;
  for (std::size_t i = 0; i < in.plots.size(); ++i)
    if (shown(in, i)) include(area, in.plots[i]);
  for (const WindowRect& view : in.views) include(area, view);
  area.left = std::max(area.left, in.desktop.left);
  area.top = std::max(area.top, in.desktop.top);
  area.right = std::min(area.right, in.desktop.right);
  area.bottom = std::min(area.bottom, in.desktop.bottom);
  // Windows that all stand off the desktop leave no area: arrange over the desktop.
  if (area.right <= area.left || area.bottom <= area.top) area = in.desktop;
  return area;
}

Arrangement cascade(const ArrangementInput& in) {
  Arrangement out = unchanged(in);
  const WindowRect area = arrangement_area(in);
  out.main = moved_to(in.main, area.left, area.top);
  const int step = in.caption_height + 2 * in.border_height;
  const int first_left = area.left + step;
  const int first_top = area.top + in.menu_height + step;
  int left = first_left, top = first_top;
  for (std::size_t i = 0; i < in.plots.size(); ++i) {
    if (!shown(in, i)) continue;
    // A long cascade starts again at the first step rather than leave the desktop.
    if (left != first_left && (left + in.new_width > in.desktop.right || top + in.new_height > in.desktop.bottom)) {
      left = first_left;
      top = first_top;
    }
    out.plots[i] = WindowRect{left, top, left + in.new_width, top + in.new_height};
    left += step;
    top += step;
  }
  return out;
}

Grid tiling_grid(std::size_t n) {
  Grid grid;
  while (static_cast<std::size_t>(grid.columns) * static_cast<std::size_t>(grid.rows) < n) {
    if (grid.columns < grid.rows)
      ++grid.columns;
    else
      ++grid.rows;
  }
  return grid;
}

Arrangement tile(const ArrangementInput& in, bool horizontally) {
  Arrangement out = unchanged(in);
  std::vector<std::size_t> windows;
  for (std::size_t i = 0; i < in.plots.size(); ++i)
    if (shown(in, i)) windows.push_back(i);
  const std::size_t n = windows.size();
  if (n == 0) return out;

  const WindowRect area = arrangement_area(in);
  out.main = moved_to(in.main, area.left, area.top);
  WindowRect tiling = area;
  tiling.top = std::min(area.bottom, area.top + in.menu_height + in.caption_height + 2 * in.border_height);

  Grid grid;
  if (n == 1)
    grid = {1, 1};
  else if (n == 2)
    grid = horizontally ? Grid{1, 2} : Grid{2, 1};
  else
    grid = tiling_grid(n);
  // A desktop too small for the grid still gives every window a pixel.
  const int cell_width = std::max(1, width(tiling) / grid.columns);
  const int cell_height = std::max(1, height(tiling) / grid.rows);
  for (std::size_t k = 0; k < n; ++k) {
    const int column = static_cast<int>(k % static_cast<std::size_t>(grid.columns));
    const int row = static_cast<int>(k / static_cast<std::size_t>(grid.columns));
    const int left = tiling.left + column * cell_width;
    const int top = tiling.top + row * cell_height;
    out.plots[windows[k]] = WindowRect{left, top, left + cell_width, top + cell_height};
  }
  return out;
}

std::optional<std::size_t> next_window(std::optional<std::size_t> position, const std::vector<bool>& minimised,
                                       bool backwards) {
  const std::size_t count = minimised.size();
  if (count == 0) return std::nullopt;
  // The first candidate: the list's head (tail) when no window has been reached yet.
  std::size_t at;
  if (backwards) {
    std::size_t from = position ? std::min(*position, count) : count;
    if (from == 0) return std::nullopt;
    at = from - 1;
    while (minimised[at]) {
      if (at == 0) return std::nullopt;
      --at;
    }
  } else {
    at = position ? *position + 1 : 0;
    while (at < count && minimised[at]) ++at;
    if (at >= count) return std::nullopt;
  }
  return at;
}

WindowRect place_main_window(WindowRect rect, int desktop_width, int desktop_height) {
  if (rect.right <= rect.left || rect.bottom <= rect.top) rect = WindowRect{60, 0, 360, 130};
  keep_on_screen(rect, ScreenSize{desktop_width, desktop_height});
  // Still past the right or bottom edge: larger than the desktop itself.
  if (desktop_width > 0) rect.right = std::min(rect.right, desktop_width);
  if (desktop_height > 0) rect.bottom = std::min(rect.bottom, desktop_height);
  return rect;
}

int lowest_free_window_number(const std::vector<int>& used) {
  for (int number = kFirstWindowNumber; number <= kLastWindowNumber; ++number)
    if (std::find(used.begin(), used.end(), number) == used.end()) return number;
  return 0;
}

}  // namespace zentrik
