#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <utility>
#include <string>
#include <vector>

#include "ComputedPlot.h"
#include "display/RecordingSurface.h"
#include "display/Render.h"

namespace zentrik {
namespace {

using testing::ComputedPlot;
using Op = RecordingSurface::Op;
using Operation = RecordingSurface::Operation;
using Fate = MarkLabel::Fate;

// The recording surface measures each character as half its font's pixel height, so
// with the default fonts: S = 12 ("09E+"), P = 10, A = 14, T = 18, L = 12, and a
// scale-mark label is 6 pixels per character.
class Render : public ::testing::Test {
 protected:
  RenderResult draw(ComputedPlot& plot, OutputMode mode = OutputMode::Screen, int width = 500, int height = 400) {
    surface.clear();
    options.mode = mode;
    return render(surface, width, height, plot.window, options, memory);
  }

  std::vector<Operation> texts() const { return surface.of(Op::Text); }
  std::vector<std::string> text_strings() const {
    std::vector<std::string> found;
    for (const Operation& o : texts()) found.push_back(o.text);
    return found;
  }
  const Operation* text(std::string_view s) const {
    for (const Operation& o : surface.operations())
      if (o.op == Op::Text && o.text == s) return &o;
    return nullptr;
  }
  bool has_line(int x0, int y0, int x1, int y1) const {
    for (const Operation& o : surface.of(Op::Line))
      if (o.x0 == x0 && o.y0 == y0 && o.x == x1 && o.y == y1) return true;
    return false;
  }
  std::vector<std::string> lines_in(uint32_t color) const {
    std::vector<std::string> found;
    for (const Operation& o : surface.of(Op::Line))
      if (o.pen.color == color)
        found.push_back(std::to_string(o.x0) + "," + std::to_string(o.y0) + " " + std::to_string(o.x) + "," +
                        std::to_string(o.y));
    return found;
  }
  // The point characters drawn inside the plot area (the legend's stand on white).
  std::vector<Operation> plotted(std::string_view character) const {
    std::vector<Operation> found;
    for (const Operation& o : texts())
      if (o.text == character && !o.opaque) found.push_back(o);
    return found;
  }
  static std::vector<std::string> label_texts(const std::vector<MarkLabel>& marks, Fate fate) {
    std::vector<std::string> found;
    for (const MarkLabel& m : marks)
      if (m.fate == fate) found.push_back(m.text);
    return found;
  }

  RecordingSurface surface;
  RenderOptions options;
  PaintMemory memory;
};

// --- layout ---------------------------------------------------------------------

TEST_F(Render, LaysOutAKnownPlot) {
  ComputedPlot plot("0 0\n10 100\n");  // X 0..10, Y 0..100, legend and statistics shown
  plot.compute();
  RenderResult r = draw(plot);
  ASSERT_TRUE(r.drawn);
  const RenderLayout& l = r.layout;
  EXPECT_EQ(l.S, 12);
  EXPECT_EQ(l.P, 10);
  EXPECT_EQ(l.A, 14);
  EXPECT_EQ(l.L, 12);
  EXPECT_EQ(l.left, 32);                 // S + 6 + A
  EXPECT_EQ(l.bottom_reserve, 32 + 24);  // and two band rows: the formula and the header
  EXPECT_EQ(l.bottom, 344);
  EXPECT_EQ(l.top, 0);
  EXPECT_DOUBLE_EQ(l.horizontal_scale, (500 - 32 - 20) / 10.0);
  EXPECT_DOUBLE_EQ(l.vertical_scale, (344 - 20) / 100.0);

  // Only the left and bottom axes on the screen, on a white background.
  EXPECT_EQ(surface.of(Op::Fill).front().rect, (Rect{0, 0, 500, 400}));
  EXPECT_EQ(lines_in(kBlack).front(), "32,0 32,344");
  EXPECT_TRUE(has_line(32, 344, 500, 344));
  EXPECT_FALSE(has_line(500, 344, 500, 0));

  // X marks every 2.5 from 0 at 42 to 10 at 490; Y marks every 25 from 0 at 334 up to 100 at 10.
  ASSERT_EQ(r.horizontal_marks.size(), 5u);
  EXPECT_EQ(r.horizontal_marks.front().position, 42);
  EXPECT_EQ(r.horizontal_marks.back().position, 490);
  EXPECT_EQ(label_texts(r.horizontal_marks, Fate::Drawn), (std::vector<std::string>{"0", "2.5", "5", "7.5", "10"}));
  EXPECT_TRUE(has_line(42, 344, 42, 348));
  EXPECT_TRUE(has_line(490, 344, 490, 348));
  ASSERT_EQ(r.vertical_marks.size(), 5u);
  EXPECT_EQ(r.vertical_marks.front().position, 334);
  EXPECT_EQ(r.vertical_marks[1].position, 253);  // 10 + trunc(75 * 3.24)
  EXPECT_EQ(r.vertical_marks.back().position, 10);
  EXPECT_TRUE(has_line(32, 334, 28, 334));
  EXPECT_TRUE(has_line(32, 10, 28, 10));

  // Labels: X centred under their ticks with their bottoms at bottom + 5 + S; Y turned
  // in a column starting at left - 5 - S.
  const Operation* x_last = text("10");
  ASSERT_NE(x_last, nullptr);
  EXPECT_EQ(x_last->x, 490);
  EXPECT_EQ(x_last->y, 361);
  EXPECT_EQ(x_last->align, (TextAlign{HAlign::Centre, VAlign::Bottom}));
  EXPECT_FALSE(x_last->turned);
  const Operation* y_last = text("100");
  ASSERT_NE(y_last, nullptr);
  EXPECT_EQ(y_last->x, 15);
  EXPECT_EQ(y_last->y, 10);

  // The axis labels: the X formula's text under the axis, the Y formula's turned at the middle.
  const Operation* x_label = text("C1");
  ASSERT_NE(x_label, nullptr);
  EXPECT_EQ(x_label->x, 266);
  EXPECT_EQ(x_label->y, 344 + 14 + 4 + 12);
  EXPECT_EQ(x_label->font, options.fonts.axis_labels);
  const Operation* y_label = text("C2");
  ASSERT_NE(y_label, nullptr);
  EXPECT_EQ(y_label->x, 0);
  EXPECT_EQ(y_label->y, 172);
  EXPECT_TRUE(y_label->turned);
  EXPECT_EQ(y_label->align, (TextAlign{HAlign::Centre, VAlign::Top}));

  // The points: the character centred on each point, its bottom half a character below.
  std::vector<Operation> stars = plotted("*");
  ASSERT_EQ(stars.size(), 2u);
  EXPECT_EQ(stars[0].x, 42);
  EXPECT_EQ(stars[0].y, 334 + 5);
  EXPECT_EQ(stars[1].x, 490);
  EXPECT_EQ(stars[1].y, 10 + 5);
  EXPECT_EQ(stars[0].font, options.fonts.plot_points);
}

TEST_F(Render, TheBandUnderThePlotRisesWithEveryRow) {
  ComputedPlot plot("1 1 2 3\n2 2 3 4\n", {"C2", "C3", "C4"});
  plot.compute();
  plot.window.showstats = 0;
  plot.window.legend = 0;
  EXPECT_EQ(draw(plot).layout.bottom, 400 - 32);
  plot.window.legend = 1;
  EXPECT_EQ(draw(plot).layout.bottom, 400 - 32 - 3 * 12);
  plot.window.showstats = 1;
  EXPECT_EQ(draw(plot).layout.bottom, 400 - 32 - 4 * 12);
}

TEST_F(Render, APlotWithoutYFormulaIsLeftBlank) {
  ComputedPlot plot("1 1\n2 2\n");
  plot.compute();
  plot.definition().formulas.resize(1);
  EXPECT_FALSE(draw(plot).drawn);
  EXPECT_TRUE(surface.operations().empty());
  plot.definition().formulas.clear();
  EXPECT_FALSE(draw(plot).drawn);
}

// --- output modes -----------------------------------------------------------------

TEST_F(Render, PrintedPagesAndPicturesHaveATitleBandAndAClosedFrame) {
  ComputedPlot plot("0 0\n10 100\n");
  plot.compute();
  RenderResult screen = draw(plot);
  EXPECT_EQ(text("/data/run.dat"), nullptr);  // the window caption carries the title
  EXPECT_EQ(screen.title, "/data/run.dat");

  RenderResult printed = draw(plot, OutputMode::Printer);
  EXPECT_EQ(printed.layout.T, 18);
  EXPECT_EQ(printed.layout.top, 22);
  const Operation* title = text("/data/run.dat");
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->x, 32 + (500 - 32) / 2);
  EXPECT_EQ(title->y, 20);
  EXPECT_EQ(title->align, (TextAlign{HAlign::Centre, VAlign::Bottom}));
  EXPECT_EQ(title->font, options.fonts.title);
  EXPECT_TRUE(has_line(32, 22, 32, 344));
  EXPECT_TRUE(has_line(500, 344, 500, 22));
  EXPECT_TRUE(has_line(500, 22, 32, 22));
  EXPECT_TRUE(surface.of(Op::Fill).empty());  // paper needs no background
  EXPECT_DOUBLE_EQ(printed.layout.vertical_scale, (344 - 20 - 22) / 100.0);

  plot.window.title = "Run 5";
  draw(plot, OutputMode::Picture);
  ASSERT_EQ(surface.of(Op::Window).size(), 1u);
  EXPECT_EQ(surface.of(Op::Window).front().rect, (Rect{0, 0, 502, 400}));
  EXPECT_NE(text("Run 5"), nullptr);
}

TEST_F(Render, ZoomMarginsAreGrayOnlyWhenZoomedAndAsked) {
  ComputedPlot plot("0 0\n10 100\n");
  plot.compute();
  auto fills = [&] {
    std::vector<std::string> found;
    for (const Operation& o : surface.of(Op::Fill))
      found.push_back(std::to_string(o.rect.left) + "," + std::to_string(o.rect.top) + " " +
                      std::to_string(o.rect.right) + "," + std::to_string(o.rect.bottom) +
                      (o.color == kGray ? " gray" : o.color == kWhite ? " white" : " other"));
    return found;
  };
  draw(plot);
  EXPECT_EQ(fills(), (std::vector<std::string>{"0,0 500,400 white"}));

  plot.window.auto_scaled = false;  // showing a zoom
  EXPECT_EQ(draw(plot).title, "/data/run.dat (Zoom)");
  EXPECT_EQ(fills(), (std::vector<std::string>{"0,0 500,400 white", "32,-1 501,344 gray", "42,9 491,334 white"}));

  options.gray_margins = false;
  draw(plot);
  EXPECT_EQ(fills(), (std::vector<std::string>{"0,0 500,400 white"}));
  options.gray_margins = true;
  draw(plot, OutputMode::Printer);
  EXPECT_TRUE(fills().empty());
}

// --- scale marks and labels ------------------------------------------------------------

TEST_F(Render, CrowdedLabelsAreLeftOutButTheirTicksStay) {
  ComputedPlot plot("0 0\n10 100\n");
  plot.compute();
  // 6.8 pixels per unit: marks 17 pixels apart, at 42, 59, 76, 93, 110
  RenderResult r = draw(plot, OutputMode::Screen, 120, 400);
  EXPECT_EQ(label_texts(r.horizontal_marks, Fate::Drawn), (std::vector<std::string>{"0", "5", "10"}));
  EXPECT_EQ(label_texts(r.horizontal_marks, Fate::Crowded), (std::vector<std::string>{"2.5", "7.5"}));
  EXPECT_EQ(text("2.5"), nullptr);
  for (int x : {42, 59, 76, 93, 110}) EXPECT_TRUE(has_line(x, 344, x, 348)) << x;
}

TEST_F(Render, CrowdedVerticalLabelsAreLeftOut) {
  ComputedPlot plot("0 0\n10 100\n");
  plot.compute();
  // 0.64 pixels per unit of Y: the marks stand 16 pixels apart, at 74, 58, 42, 26 and 10;
  // a two-digit label needs 12 pixels and a character's width of room
  RenderResult r = draw(plot, OutputMode::Screen, 500, 56 + 84);
  EXPECT_EQ(label_texts(r.vertical_marks, Fate::Drawn), (std::vector<std::string>{"0", "25", "75"}));
  EXPECT_EQ(label_texts(r.vertical_marks, Fate::Crowded), (std::vector<std::string>{"50", "100"}));
  EXPECT_EQ(r.vertical_marks.size(), 5u);
}

TEST_F(Render, LabelsAtTheWindowEdgesMoveBackIntoIt) {
  ComputedPlot plot("0 0\n1000 1000\n");
  plot.compute();
  RenderResult r = draw(plot);
  // "1000" is 24 wide: at x = 490 it would pass the width; at y = 10 the top of the window
  EXPECT_EQ(r.horizontal_marks.back().position, 490);
  EXPECT_EQ(r.horizontal_marks.back().label_position, 500 - 12);
  EXPECT_EQ(r.vertical_marks.back().position, 10);
  EXPECT_EQ(r.vertical_marks.back().label_position, 12);
  // printed pages keep them where they are
  r = draw(plot, OutputMode::Printer);
  EXPECT_EQ(r.horizontal_marks.back().label_position, 490);
  EXPECT_EQ(r.vertical_marks.back().label_position, r.vertical_marks.back().position);
}

TEST_F(Render, TheFirstXLabelKeepsClearOfTheVerticalLabels) {
  // The lowest Y label, "1000" (24 pixels) centred at y = 334, reaches below the axis at 344.
  ComputedPlot low("1000 1000\n2000 2000\n");
  low.compute();
  RenderResult r = draw(low);
  ASSERT_EQ(r.vertical_marks.front().position, 334);
  EXPECT_EQ(r.horizontal_marks.front().position, 42);
  EXPECT_EQ(r.horizontal_marks.front().label_position, 32 + 12);
  // Y labels that stay above the axis leave the X label at its mark (its left edge is past 0).
  ComputedPlot high("1000 0\n2000 10\n");
  high.compute();
  r = draw(high);
  EXPECT_EQ(r.horizontal_marks.front().label_position, 42);
}

TEST_F(Render, VerticalLabelsAreTurnedToReadUpward) {
  ComputedPlot plot("0 0\n10 100\n");
  plot.definition().ylab = "Volts";
  plot.compute();
  RenderResult r = draw(plot);
  for (const MarkLabel& mark : r.vertical_marks) {
    const Operation* label = text(mark.text);
    ASSERT_NE(label, nullptr) << mark.text;
    EXPECT_TRUE(label->turned);
    EXPECT_EQ(label->x, 32 - 5 - 12);
    EXPECT_EQ(label->y, mark.position);
    EXPECT_EQ(label->align, (TextAlign{HAlign::Centre, VAlign::Top}));
    EXPECT_EQ(label->font, options.fonts.scale_marks);
    EXPECT_TRUE(label->opaque);
  }
  const Operation* axis_label = text("Volts");
  ASSERT_NE(axis_label, nullptr);
  EXPECT_TRUE(axis_label->turned);
  EXPECT_EQ(axis_label->x, 32 - 6 - 12 - 14);
}

TEST_F(Render, GridLinesReplaceTicksOnXYPlotsOnly) {
  ComputedPlot plot("0 0\n10 100\n");
  plot.definition().x_grid = 1;
  plot.definition().y_grid = 1;
  plot.compute();
  draw(plot);
  EXPECT_TRUE(has_line(42, 344, 42, 0));
  EXPECT_TRUE(has_line(32, 334, 500, 334));
  EXPECT_FALSE(has_line(42, 344, 42, 348));

  ComputedPlot histogram("0\n1\n2\n3\n", {"C1"});
  histogram.definition().xy_or_histo = 1;
  histogram.definition().x_grid = 1;
  histogram.definition().y_grid = 1;
  histogram.compute();
  RenderResult r = draw(histogram);
  for (const MarkLabel& mark : r.horizontal_marks)
    EXPECT_TRUE(has_line(mark.position, r.layout.bottom, mark.position, r.layout.bottom + 4)) << mark.text;
  for (const MarkLabel& mark : r.vertical_marks)
    EXPECT_TRUE(has_line(32, mark.position, 28, mark.position)) << mark.text;
}

TEST_F(Render, LogarithmicAxesMarkPowersOfTen) {
  ComputedPlot plot("1 1\n100 1000\n");
  plot.definition().log_x = 1;
  plot.definition().log_y = 1;
  plot.compute();
  RenderResult r = draw(plot);
  // Y over the logarithms 0..3: marks every 0.5, labelled with 10 to their power
  EXPECT_EQ(label_texts(r.vertical_marks, Fate::Drawn),
            (std::vector<std::string>{"1", "3.1623", "10", "31.623", "100", "316.23", "1000"}));
  EXPECT_EQ(r.vertical_marks.front().position, 334);
  EXPECT_EQ(r.vertical_marks.back().position, 10);
  // X over 0..2, also every 0.5
  EXPECT_EQ(label_texts(r.horizontal_marks, Fate::Drawn),
            (std::vector<std::string>{"1", "3.1623", "10", "31.623", "100"}));
  EXPECT_EQ(r.horizontal_marks.back().position, 490);
  // points lie at the logarithms of their values
  std::vector<Operation> stars = plotted("*");
  ASSERT_EQ(stars.size(), 2u);
  EXPECT_EQ(stars[0].x, 42);
  EXPECT_EQ(stars[1].x, 490);
  EXPECT_EQ(stars[1].y, 10 + 5);
}

TEST_F(Render, DateAxesLabelTheirMarksAsTimes) {
  // 2001-09-09 01:46:40 to 07:46:40 UTC, marks every hour
  ComputedPlot plot("1000000000 1\n1000021600 2\n");
  plot.definition().log_x = 2;
  plot.definition().x_automark = 0;
  plot.definition().x_bytick = "1 hour";
  plot.compute();
  RenderResult r = draw(plot);
  EXPECT_EQ(label_texts(r.horizontal_marks, Fate::Drawn),
            (std::vector<std::string>{"02:00", "03:00", "04:00", "05:00", "06:00", "07:00"}));

  plot.definition().date_format = "%#d %b %#H:%M";
  r = draw(plot);
  EXPECT_EQ(r.horizontal_marks.front().text, "9 Sep 2:00");

  // Before 1970 there is no date: such marks keep their ticks and show no label.
  ComputedPlot early("-7200 1\n3600 2\n");
  early.definition().log_x = 2;
  early.definition().x_automark = 0;
  early.definition().x_bytick = "1 hour";
  early.compute();
  r = draw(early);
  EXPECT_EQ(label_texts(r.horizontal_marks, Fate::Invalid), (std::vector<std::string>{"Invalid date", "Invalid date"}));
  EXPECT_EQ(text("Invalid date"), nullptr);
  EXPECT_EQ(label_texts(r.horizontal_marks, Fate::Drawn).size(), 2u);
}

// --- legend and statistics ------------------------------------------------------------

TEST_F(Render, TheBandShowsHeadersLegendsAndStatisticsInOrder) {
  ComputedPlot plot("0 0 5\n10 100 5\n", {"C2", "C3"});
  plot.y(2).description = "flat";
  plot.y(2).draw_lines = 1;
  plot.y(2).color = 0x0000FF;
  plot.compute();
  draw(plot);
  std::vector<std::string> all = text_strings();
  auto header = std::find(all.begin(), all.end(), "Min");
  ASSERT_NE(header, all.end());
  std::vector<std::string> band(header, all.end());
  band.resize(std::min<std::size_t>(band.size(), 17));
  EXPECT_EQ(band, (std::vector<std::string>{"Min", "Mean", "Max", "Std Dev", "Qty",
                                            "*", "*", " = C2", "0", "50", "100", "50", "2",
                                            "*", "*", " = flat", "5"}));
  // rows: three under the axis at 332; the header's texts end at 332 + 4 + 14 + 12 + 6 + 6,
  // each formula's a row lower
  EXPECT_EQ(text("Min")->y, 374);
  EXPECT_EQ(text(" = C2")->y, 386);
  EXPECT_EQ(text(" = C2")->x, 25);  // 5u with u = P / 2
  EXPECT_EQ(text(" = flat")->y, 398);
  EXPECT_EQ(text("Min")->x, 25 + 20 + 42);  // after the widest legend, " = flat"
  // headers underlined across their columns
  EXPECT_TRUE(has_line(87, 373, 87 + 18, 373));
  // the line sample of the second formula in its pen, from u to 4u
  EXPECT_EQ(lines_in(0x0000FF).front(), "5,392 20,392");
}

TEST_F(Render, PicturesAndPagesReuseTheBandOfTheLastScreenPaint) {
  ComputedPlot plot("0 0\n10 100\n");
  plot.compute();
  draw(plot);
  plot.y().description = "renamed";
  draw(plot, OutputMode::Picture);
  EXPECT_NE(text(" = C2"), nullptr);
  draw(plot, OutputMode::Printer);
  EXPECT_NE(text(" = C2"), nullptr);
  draw(plot);
  EXPECT_NE(text(" = renamed"), nullptr);

  // without a screen paint before, a picture lays its band out itself
  PaintMemory fresh;
  memory = fresh;
  draw(plot, OutputMode::Picture);
  EXPECT_NE(text(" = renamed"), nullptr);
}

// --- formulas ----------------------------------------------------------------------------

TEST_F(Render, ASingleValidPointIsDrawnAsItsCharacter) {
  ComputedPlot plot("1 1 5\n2 2 6\n3 3 7\n", {"C2 ? L = 3", "C3"});
  plot.y(1).draw_points = 0;  // lines only: the one point still shows
  plot.y(1).draw_lines = 1;
  plot.y(1).point_char = '#';
  plot.y(1).color = 0x00FF00;
  plot.y(2).draw_lines = 1;
  plot.y(2).point_char = '+';
  plot.y(2).color = 0xFF0000;
  plot.compute();
  RenderResult r = draw(plot);
  std::vector<Operation> hashes, pluses;
  for (const Operation& o : texts()) {
    if (o.text == "#" && o.font == options.fonts.plot_points) hashes.push_back(o);
    if (o.text == "+" && o.font == options.fonts.plot_points) pluses.push_back(o);
  }
  ASSERT_EQ(hashes.size(), 1u);
  EXPECT_EQ(hashes[0].x, 490);  // X = 3 at the right end
  EXPECT_EQ(hashes[0].color, 0x00FF00u);
  EXPECT_EQ(lines_in(0x00FF00).size(), 1u);  // its legend sample only
  // the formula after it draws its three points and two lines as usual
  EXPECT_EQ(pluses.size(), 3u + 2u);  // and twice in the legend
  EXPECT_EQ(lines_in(0xFF0000).size(), 2u + 1u);  // and its legend sample
  EXPECT_FALSE(r.fewer_than_two_distinct);
}

TEST_F(Render, ALineEndsWithTheCharacterOfItsLastPoint) {
  ComputedPlot plot("1 1\n2 2\n3 3\n", {"C2"});
  plot.y(1).draw_points = 0;  // lines only
  plot.y(1).draw_lines = 1;
  plot.y(1).point_char = '#';
  plot.compute();
  draw(plot);
  std::vector<Operation> hashes;
  for (const Operation& o : texts())
    if (o.text == "#" && o.font == options.fonts.plot_points) hashes.push_back(o);
  ASSERT_EQ(hashes.size(), 1u);
  EXPECT_EQ(hashes[0].x, 490);  // at the last point, X = 3
}

// A curve that stays on one pixel sends neither lines of no length nor the same
// character again; a character is sent again once a line has been drawn since,
// because the line may have painted over it.
TEST_F(Render, RepeatedPixelsAreSentOnceUntilALineCrossesThem) {
  // A, A, B, B, A: A lands at (42, 358) and B at (490, 10)
  ComputedPlot plot("1 1\n1 1\n2 2\n2 2\n1 1\n");
  plot.y().draw_lines = 1;
  plot.y().color = 0x0000FF;
  plot.window.legend = 0;
  plot.window.showstats = 0;
  plot.compute();
  auto characters = [&] {
    std::vector<std::string> found;
    for (const Operation& o : plotted("*")) found.push_back(std::to_string(o.x) + "," + std::to_string(o.y - 5));
    return found;
  };
  const std::vector<std::string> both_ways = {"42,358 490,10", "490,10 42,358"};

  draw(plot);  // points and lines: each line sent once, A again after the line leaving it
  EXPECT_EQ(characters(), (std::vector<std::string>{"42,358", "42,358", "490,10", "490,10", "42,358"}));
  EXPECT_EQ(lines_in(0x0000FF), both_ways);

  plot.y().draw_lines = 0;  // points only: nothing comes between the repeats
  draw(plot);
  EXPECT_EQ(characters(), (std::vector<std::string>{"42,358", "490,10", "42,358"}));
  EXPECT_TRUE(lines_in(0x0000FF).empty());

  plot.y().draw_lines = 1;  // lines only: the last point's character
  plot.y().draw_points = 0;
  draw(plot);
  EXPECT_EQ(characters(), (std::vector<std::string>{"42,358"}));
  EXPECT_EQ(lines_in(0x0000FF), both_ways);

  // a single point repeated shows one character
  ComputedPlot still("1 1\n1 1\n1 1\n");
  still.y().draw_lines = 1;
  still.window.legend = 0;
  still.window.showstats = 0;
  still.compute();
  draw(still);
  EXPECT_EQ(plotted("*").size(), 1u);
}

TEST_F(Render, PointsFarOffThePlotAreClamped) {
  ComputedPlot plot("0 0\n1 1\n2 1e30\n");
  plot.definition().auto_y = 0;
  plot.definition().y_from = 0;
  plot.definition().y_to = 1;
  plot.compute();
  RenderResult r = draw(plot);
  std::vector<Operation> stars = plotted("*");
  ASSERT_EQ(stars.size(), 3u);
  EXPECT_EQ(stars[2].y, -16000 + 5);
  // the clipping keeps it out of the band above the plot
  EXPECT_EQ(surface.of(Op::Exclude).size(), 4u);
  EXPECT_EQ(surface.of(Op::Exclude)[0].rect, (Rect{0, 0, 33, 400}));
  EXPECT_EQ(surface.of(Op::Exclude)[1].rect, (Rect{0, r.layout.bottom, 502, 400}));
  EXPECT_EQ(surface.of(Op::Exclude)[3].rect, (Rect{499, 0, 502, 400}));
}

TEST_F(Render, RegressionLinesRunAcrossThePlotArea) {
  ComputedPlot plot("1 2\n2 4\n3 6\n");
  plot.y().color = 0x0000FF;
  plot.y().draw_points = 0;
  plot.window.regress = 1;
  plot.window.legend = 0;
  plot.window.showstats = 0;
  plot.compute();
  RenderResult r = draw(plot);
  // 224 pixels per unit of X, 87 per unit of Y: the line's ends lie one margin outside
  // the points, where Y = 2 - 20/224 and Y = 6 + 20/224
  std::vector<Operation> lines;
  for (const Operation& o : surface.of(Op::Line))
    if (o.pen.width == 2) lines.push_back(o);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].pen.color, 0x0000FFu);
  EXPECT_NEAR(lines[0].x0, r.layout.left, 1);
  EXPECT_NEAR(lines[0].x, 500, 1);
  EXPECT_EQ(lines[0].y0, 10 + 355);  // trunc((4 + 20/224) * 87)
  EXPECT_EQ(lines[0].y, 10 - 7);

  plot.definition().log_y = 1;  // no regression on a logarithmic axis
  plot.compute();
  draw(plot);
  for (const Operation& o : surface.of(Op::Line)) EXPECT_NE(o.pen.width, 2);
}

TEST_F(Render, CountsThePointsTheZoomNeeds) {
  ComputedPlot one("1 5\n1 5\n");
  one.compute();
  RenderResult r = draw(one);
  EXPECT_FALSE(r.no_counted_point);
  EXPECT_TRUE(r.fewer_than_two_distinct);
  ASSERT_EQ(r.first_counted.size(), 1u);
  ASSERT_TRUE(r.first_counted[0].has_value());
  EXPECT_EQ(r.first_counted[0]->x, 1);
  EXPECT_EQ(r.first_counted[0]->y, 5);

  ComputedPlot two("1 5\n2 5\n");
  two.compute();
  EXPECT_FALSE(draw(two).fewer_than_two_distinct);
}

// Each formula's first counted point, and a second different point wherever it
// comes: in a later formula, on the last line, past excluded lines.
TEST_F(Render, CountsThePointsTheZoomNeedsOverEveryFormulaAndLine) {
  ComputedPlot plot("1 5 7\n1 5 5\n1 5 5\n1 5 6\n", {"C2", "C3"});
  plot.compute();
  RenderResult r = draw(plot);
  ASSERT_EQ(r.first_counted.size(), 2u);
  ASSERT_TRUE(r.first_counted[0] && r.first_counted[1]);
  EXPECT_EQ(r.first_counted[0]->y, 5);
  EXPECT_EQ(r.first_counted[1]->y, 7);
  EXPECT_FALSE(r.fewer_than_two_distinct);  // the second formula's first point differs

  plot.y(1).enabled = false;
  r = draw(plot);
  EXPECT_FALSE(r.first_counted[0].has_value());
  EXPECT_FALSE(r.fewer_than_two_distinct);  // 7, then 6 on the last line

  plot.data().set_included(4, false);  // the walk over some lines only
  plot.compute();
  r = draw(plot);
  ASSERT_TRUE(r.first_counted[1].has_value());
  EXPECT_EQ(r.first_counted[1]->y, 7);
  EXPECT_FALSE(r.fewer_than_two_distinct);  // 7, then 5

  plot.data().set_included(1, false);
  plot.compute();
  r = draw(plot);
  ASSERT_TRUE(r.first_counted[1].has_value());
  EXPECT_EQ(r.first_counted[1]->y, 5);
  EXPECT_TRUE(r.fewer_than_two_distinct);  // 5 and 5 on lines 2 and 3
  EXPECT_FALSE(r.no_counted_point);
}

// A paint for the layout alone says and remembers what the whole paint does, and
// draws everything but the formulas' points and lines.
TEST_F(Render, ALayoutOnlyPaintSaysWhatTheWholePaintSays) {
  ComputedPlot plot("1 5 7\n2 3 5\n3 8 5\n4 1 6\n", {"C2", "C3"});
  plot.y(1).draw_lines = 1;
  plot.y(1).color = 0x00FF00;
  plot.window.regress = 1;
  plot.compute();
  const RenderResult whole = draw(plot);
  const std::optional<StatisticsBox> whole_band = memory.statistics;
  const std::vector<std::string> whole_log = surface.log();
  ASSERT_FALSE(plotted("*").empty());
  ASSERT_GT(lines_in(0x00FF00).size(), 2u);

  memory = PaintMemory{};
  options.layout_only = true;
  const RenderResult layout = draw(plot);
  EXPECT_TRUE(plotted("*").empty());
  EXPECT_EQ(lines_in(0x00FF00).size(), 1u);  // the legend's sample
  EXPECT_EQ(layout.layout.left, whole.layout.left);
  EXPECT_EQ(layout.layout.bottom, whole.layout.bottom);
  EXPECT_EQ(layout.layout.vertical_scale, whole.layout.vertical_scale);
  EXPECT_EQ(label_texts(layout.horizontal_marks, Fate::Drawn), label_texts(whole.horizontal_marks, Fate::Drawn));
  EXPECT_EQ(label_texts(layout.vertical_marks, Fate::Drawn), label_texts(whole.vertical_marks, Fate::Drawn));
  ASSERT_EQ(layout.first_counted.size(), 2u);
  EXPECT_EQ(layout.first_counted[1]->y, whole.first_counted[1]->y);
  EXPECT_EQ(layout.fewer_than_two_distinct, whole.fewer_than_two_distinct);
  ASSERT_TRUE(memory.statistics && whole_band);
  EXPECT_EQ(memory.statistics->rows.size(), whole_band->rows.size());
  // what it draws, the whole paint draws in the same order
  auto next = whole_log.begin();
  for (const std::string& operation : surface.log()) {
    next = std::find(next, whole_log.end(), operation);
    ASSERT_NE(next, whole_log.end()) << operation;
    ++next;
  }
}

// --- histograms --------------------------------------------------------------------------

class HistogramRender : public Render {
 protected:
  // Bins of width 1 over 0..3 with the counts 2, 5, 3.
  HistogramRender() : plot("0\n0.5\n1\n1.2\n1.4\n1.6\n1.8\n2\n2.5\n3\n", {"C1"}) {
    plot.definition().xy_or_histo = 1;
    plot.y().bin_count = 3;
    plot.y().color = 0x0000FF;
    plot.compute();
  }
  ComputedPlot plot;
};

TEST_F(HistogramRender, BarsShareTheirSides) {
  RenderResult r = draw(plot);
  ASSERT_EQ(plot.y().bins.size(), 3u);
  // Horizontal: 149.33 pixels per bin from 42. Vertical: counts 0..5 over the room
  // above the quantity band (Q = 10), 64.8 pixels per count from 334 up to 10.
  EXPECT_EQ(r.layout.Q, 10);
  EXPECT_DOUBLE_EQ(r.layout.vertical_scale, (400 - 56 - 10 - 10) / 5.0);
  std::vector<std::string> lines = lines_in(0x0000FF);
  lines.erase(lines.begin());  // the legend's sample comes first
  EXPECT_EQ(lines, (std::vector<std::string>{
                       "42,334 42,204", "42,204 192,204", "192,204 192,334", "192,334 42,334",  // rises from the base
                       "192,204 192,10", "192,10 341,10", "341,10 341,334", "341,334 192,334",  // from the first bar's top
                       "341,139 491,139", "491,139 491,334", "491,334 341,334",  // starts at its own top
                   }));
  EXPECT_EQ(text("Quantity")->x, 0);
}

TEST_F(HistogramRender, QuantitiesStandUnderTheirBins) {
  draw(plot);
  std::vector<Operation> quantities;
  for (const Operation& o : texts())
    if (o.turned && o.align == TextAlign{HAlign::Right, VAlign::Bottom}) quantities.push_back(o);
  ASSERT_EQ(quantities.size(), 3u);
  EXPECT_EQ(quantities[0].text, "2");
  EXPECT_EQ(quantities[1].text, "5");
  EXPECT_EQ(quantities[2].text, "3");
  EXPECT_EQ(quantities[0].y, 336);
  EXPECT_EQ(quantities[0].x, 116 + 6);  // the middle of the bin, plus half the text height
  EXPECT_EQ(quantities[1].x, 266 + 6);

  // the picture keeps the band of the last screen paint
  options.histogram_quantities = false;
  EXPECT_EQ(draw(plot, OutputMode::Picture).layout.Q, 10);
  EXPECT_EQ(draw(plot).layout.Q, 0);
}

TEST_F(HistogramRender, AnEmptyBinDrawsNothing) {
  ComputedPlot gap("0\n0.5\n2.5\n3\n", {"C1"});
  gap.definition().xy_or_histo = 1;
  gap.y().bin_count = 3;
  gap.y().color = 0x0000FF;
  gap.compute();
  draw(gap);
  std::vector<std::string> lines = lines_in(0x0000FF);
  lines.erase(lines.begin());
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[4].substr(0, 7), "341,334");  // the third bar rises from the base
}

// --- the zoom box, the status bar and the paint ---------------------------------------

TEST_F(Render, TheRememberedZoomBoxIsDrawnOnTheWholePlot) {
  ComputedPlot plot("0 0\n10 100\n");
  plot.compute();
  options.zoom_box = ZoomBox{0, 5, 50, 100};
  RenderResult r = draw(plot);
  ASSERT_TRUE(r.zoom_box.has_value());
  EXPECT_EQ(*r.zoom_box, (Rect{42, 10, 266, 172}));
  std::vector<Operation> dotted;
  for (const Operation& o : surface.of(Op::Line))
    if (o.pen.style == PenStyle::Dot) dotted.push_back(o);
  EXPECT_EQ(dotted.size(), 4u);

  plot.window.auto_scaled = false;
  EXPECT_FALSE(draw(plot).zoom_box.has_value());
}

TEST_F(Render, TheStatusBarNamesTheRanges) {
  ComputedPlot plot("0 0\n10 100\n");
  plot.compute();
  EXPECT_EQ(plot_status_text(plot.window), ": 0, 0 to 10, 100");
  plot.window.title = "Run 5";
  plot.definition().y_tickprec = 2;
  plot.window.plot_y_max = 123.0;
  EXPECT_EQ(plot_status_text(plot.window), "Run 5: 0, 0 to 10, 1.2E2");
}

TEST_F(Render, ABusyWindowPaintsLater) {
  ComputedPlot plot("0 0\n10 100\n");
  plot.compute();
  EXPECT_FALSE(paint_plot_window(surface, 500, 420, 20, plot.window, true, options, memory).has_value());
  EXPECT_TRUE(surface.operations().empty());
  EXPECT_TRUE(take_pending_paint(memory));
  EXPECT_FALSE(take_pending_paint(memory));

  plot.ui.reset();
  options.ui = &plot.ui;
  options.mode = OutputMode::Printer;  // a window paints on the screen whatever it is asked
  auto paint = paint_plot_window(surface, 500, 420, 20, plot.window, false, options, memory);
  ASSERT_TRUE(paint.has_value());
  EXPECT_EQ(paint->status_text, ": 0, 0 to 10, 100");
  EXPECT_EQ(paint->render.layout.height, 400);
  EXPECT_EQ(paint->render.layout.top, 0);
  EXPECT_EQ(plot.ui.progressLog(), (std::vector<std::string>{"wait: on", "wait: off"}));
  plot.window.status_bar = 0;
  paint = paint_plot_window(surface, 500, 420, 20, plot.window, false, options, memory);
  EXPECT_EQ(paint->status_text, "");
  EXPECT_EQ(paint->render.layout.height, 420);
}

TEST_F(Render, NothingToPlotLeavesEmptyAxes) {
  ComputedPlot plot("0 0\n10 100\n");
  plot.compute();
  plot.window.plot_x_min = RANGE_UNSET_HIGH;  // as after a pass that found no points
  plot.window.plot_x_max = RANGE_UNSET_LOW;
  RenderResult r = draw(plot);
  EXPECT_TRUE(r.drawn);
  EXPECT_TRUE(r.horizontal_marks.empty());
  EXPECT_TRUE(r.vertical_marks.empty());
  EXPECT_TRUE(has_line(32, 344, 500, 344));
  EXPECT_TRUE(plotted("*").empty());
}

// A curve of many more points than the picture has pixels, some lines excluded: each
// pixel shows one character, drawn after the last line that reaches the pixel (so
// nothing drawn later would have covered it differently), whether the whole plot is
// shown or a zoom leaves points off the picture.
TEST_F(Render, ManyPointsDrawOnlyTheLastCharacterOnEachPixel) {
  std::string text;
  uint32_t seed = 3;
  for (int i = 0; i < 80000; ++i) {
    seed = seed * 1103515245u + 12345u;
    text += std::to_string(i) + " " + std::to_string((seed >> 8) % 1000) + "\n";
  }
  ComputedPlot plot(text);
  constexpr uint32_t kColour = 0x2050C0;
  plot.y().draw_lines = 1;
  plot.y().color = kColour;
  plot.compute();
  for (int32_t position = 3; position <= 80000; position += 11) plot.data().set_included(position, false);
  for (bool zoomed : {false, true}) {
    SCOPED_TRACE(zoomed ? "zoomed" : "whole");
    if (zoomed) {
      plot.window.auto_scaled = false;
      plot.window.plot_x_min = 10000;
      plot.window.plot_x_max = 70000;
      plot.window.plot_y_min = 100;
      plot.window.plot_y_max = 900;
    }
    const int half = draw(plot, OutputMode::Screen, 200, 150).layout.P / 2;
    const std::vector<Operation>& operations = surface.operations();
    std::map<std::pair<int, int>, std::size_t> last_line;                // a pixel, the last line to it
    std::map<std::pair<int, int>, std::vector<std::size_t>> characters;  // a pixel, its characters
    // the curve comes after the clipping to the plot area (the legend's line before it)
    std::size_t curve = 0;
    for (std::size_t i = 0; i < operations.size(); ++i)
      if (operations[i].op == Op::Exclude) curve = i;
    for (std::size_t i = curve; i < operations.size(); ++i) {
      const Operation& o = operations[i];
      if (o.op == Op::Line && o.pen.color == kColour) last_line[{o.x, o.y}] = i;
      if (o.op == Op::Text && o.text == "*" && !o.opaque) characters[{o.x, o.y - half}].push_back(i);
    }
    ASSERT_GT(last_line.size(), 1000u);
    std::size_t on_picture = 0;
    for (const auto& [pixel, line] : last_line) {
      const auto found = characters.find(pixel);
      ASSERT_NE(found, characters.end()) << "no character at " << pixel.first << "," << pixel.second;
      EXPECT_GT(found->second.back(), line) << "at " << pixel.first << "," << pixel.second;
      if (pixel.first < 0 || pixel.first >= 200 || pixel.second < 0 || pixel.second >= 150) continue;
      ++on_picture;
      EXPECT_EQ(found->second.size(), 1u) << "at " << pixel.first << "," << pixel.second;
    }
    EXPECT_GT(on_picture, 1000u);
  }
}

}  // namespace
}  // namespace zentrik
