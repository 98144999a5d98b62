// Cascade, the tile commands, the Tab walk, the main window's place on the desktop
// and the plot windows' numbers.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>

#include "app/shell/WindowArrangement.h"

namespace zentrik {

bool operator==(const WindowRect& a, const WindowRect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
std::ostream& operator<<(std::ostream& out, const WindowRect& r) {
  return out << "{" << r.left << "," << r.top << "," << r.right << "," << r.bottom << "}";
}

namespace {

using Rects = std::vector<std::optional<WindowRect>>;
using R = WindowRect;

// A view window spans the area {0,0,1000,700}; caption 20, border 4 and menu 22 put
// the tiling area's top at 50 and make a cascade step of 28.
ArrangementInput desk(int plots, std::vector<bool> minimised = {}) {
  ArrangementInput in{.main = {300, 200, 600, 330}, .plots = {}, .minimised = {}, .views = {{0, 0, 1000, 700}}, .desktop = {0, 0, 1920, 1040},
                      .caption_height = 20, .border_height = 4, .menu_height = 22};
  for (int i = 0; i < plots; ++i)  // minimised ones stand far out: they must not widen the area
    in.plots.push_back(i < int(minimised.size()) && minimised[i] ? R{1500, 800, 1900, 1000}
                                                                  : R{100 + 10 * i, 100, 500 + 10 * i, 500});
  in.minimised = std::move(minimised);
  return in;
}

TEST(WindowArrangement, TileFillsTheAreaBelowTheMainWindow) {
  ArrangementInput off_desktop = desk(1);
  off_desktop.views.clear();
  off_desktop.main = {-50, -20, 250, 110};
  off_desktop.plots = {{1700, 900, 2200, 1300}};
  struct Case {
    const char* name;
    ArrangementInput in;
    bool horizontally;
    Rects expected;
  };
  const Case cases[] = {
      {"one", desk(1), false, {R{0, 50, 1000, 700}}},
      {"two stacked", desk(2), true, {R{0, 50, 1000, 375}, R{0, 375, 1000, 700}}},
      {"two side by side", desk(2), false, {R{0, 50, 500, 700}, R{500, 50, 1000, 700}}},
      {"three in 2x2", desk(3), true, {R{0, 50, 500, 375}, R{500, 50, 1000, 375}, R{0, 375, 500, 700}}},
      {"five in 2x3 past a minimised one", desk(6, {false, true}), false,
       {R{0, 50, 500, 266}, std::nullopt, R{500, 50, 1000, 266}, R{0, 266, 500, 482}, R{500, 266, 1000, 482},
        R{0, 482, 500, 698}}},
      {"area cut to the desktop", off_desktop, true, {R{0, 50, 1920, 1040}}},
      {"none shown", desk(2, {true, true}), false, {std::nullopt, std::nullopt}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Arrangement out = tile(c.in, c.horizontally);
    EXPECT_EQ(out.plots, c.expected);
    const bool moved = std::any_of(c.expected.begin(), c.expected.end(), [](const auto& r) { return r.has_value(); });
    EXPECT_EQ(out.main, moved ? (R{0, 0, 300, 130}) : c.in.main);
  }
  // Past five windows the grid grows a column while it has fewer columns than rows.
  const Grid seven = tiling_grid(7), ten = tiling_grid(10);
  EXPECT_EQ(std::pair(seven.columns, seven.rows), std::pair(3, 3));
  EXPECT_EQ(std::pair(ten.columns, ten.rows), std::pair(3, 4));
}

TEST(WindowArrangement, CascadeStepsFromTheMainWindowAndStartsAgainAtTheEdge) {
  Arrangement out = cascade(desk(3, {false, true}));
  EXPECT_EQ(out.main, (R{0, 0, 300, 130}));
  EXPECT_EQ(out.plots, (Rects{R{28, 50, 528, 540}, std::nullopt, R{56, 78, 556, 568}}));
  // The 19th window would pass the desktop's bottom (50 + 18 * 28 + 490 > 1040).
  out = cascade(desk(20));
  EXPECT_EQ(out.plots[17], (R{504, 526, 1004, 1016}));
  EXPECT_EQ(out.plots[18], (R{28, 50, 528, 540}));
}

TEST(WindowArrangement, TabWalksShownWindowsThenReturnsToTheMainWindow) {
  using Pos = std::optional<std::size_t>;
  const std::vector<bool> middle_down = {false, true, false}, all_down = {true, true};
  const std::tuple<std::vector<bool>, Pos, bool, Pos> cases[] = {
      {middle_down, {}, false, 0}, {middle_down, 0, false, 2},  {middle_down, 2, false, {}},
      {middle_down, {}, true, 2},  {middle_down, 2, true, 0},   {middle_down, 0, true, {}},
      {middle_down, 7, true, 2},   {all_down, {}, false, {}},   {all_down, {}, true, {}},
      {{}, {}, false, {}},
  };
  for (const auto& [minimised, from, backwards, expected] : cases)
    EXPECT_EQ(next_window(from, minimised, backwards), expected)
        << "from " << (from ? int(*from) : -1) << (backwards ? " backwards" : " forwards");
}

TEST(WindowArrangement, MainWindowPlaceAndPlotWindowNumbers) {
  const std::pair<R, R> cases[] = {
      {{60, 0, 360, 130}, {60, 0, 360, 130}},
      {{1800, 100, 2100, 230}, {1620, 100, 1920, 230}},  // past the right edge: size kept
      {{100, 1000, 400, 1130}, {100, 950, 400, 1080}},   // past the bottom
      {{-40, -10, 260, 120}, {0, 0, 300, 130}},          // past the left and top
      {{-2147483647, 0, 2147483647, 130}, {0, 0, 1920, 130}},  // wider than the desktop
      {{500, 500, 500, 400}, {60, 0, 360, 130}},         // no area: the default place
  };
  for (const auto& [rect, expected] : cases) EXPECT_EQ(place_main_window(rect, 1920, 1080), expected) << rect;

  std::vector<int> used = {150, 0, 191};
  EXPECT_EQ(lowest_free_window_number(used), 141);
  used.clear();
  for (int n = 141; n <= 190; ++n) used.push_back(n);
  EXPECT_EQ(lowest_free_window_number(used), 0);
  used.erase(used.begin() + 7);
  EXPECT_EQ(lowest_free_window_number(used), 148);
}

}  // namespace
}  // namespace zentrik
