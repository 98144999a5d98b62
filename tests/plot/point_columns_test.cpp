#include "plot/PointColumns.h"

#include <gtest/gtest.h>

#include <memory>

#include "plot/Formula.h"

namespace zentrik {
namespace {

// Each flag set alone around the 64-point word boundaries stays where it was put and
// leaves its neighbours and the other flag alone, through a view and a copy too.
TEST(PointColumns, FlagsAtWordBoundariesStandAlone) {
  const std::size_t size = 200;
  for (std::size_t at : {0u, 1u, 62u, 63u, 64u, 65u, 127u, 128u, 199u}) {
    PointColumns points(size);
    points.set_valid(at, true);
    points.set_in_range(at == 0 ? 199 : at - 1, true);
    const PointColumns copy(points);
    const PointColumns::View view = copy.view();
    for (std::size_t i = 0; i < size; ++i) {
      EXPECT_EQ(points.valid(i), i == at) << at << " " << i;
      EXPECT_EQ(view.valid(i), i == at) << at << " " << i;
      EXPECT_EQ(view.in_range(i), i == (at == 0 ? 199 : at - 1)) << at << " " << i;
    }
    points.set_valid(at, false);
    for (std::size_t i = 0; i < size; ++i) EXPECT_FALSE(points.valid(i)) << at << " " << i;
    EXPECT_TRUE(copy.valid(at));  // the copy has flags of its own
  }

  PointColumns all(130);
  for (std::size_t i = 0; i < 130; ++i) all.set_in_range(i, true);
  all.set_in_range(64, false);
  for (std::size_t i = 0; i < 130; ++i) EXPECT_EQ(all.in_range(i), i != 64) << i;
  for (std::size_t i = 0; i < 130; ++i) EXPECT_FALSE(all.valid(i)) << i;
}

// The X formula's values are stored once: a Y formula reads them, sees them change,
// and keeps reading the original's after a copy; X values of its own are copied.
TEST(PointColumns, XValuesAreSharedOrOwn) {
  FormulaList formulas = {Formula("C1"), Formula("C2"), Formula("C3 \\ C4")};
  for (Formula& formula : formulas) formula.points = std::make_shared<PointColumns>(4);
  formulas[2].points->keep_own_x();
  share_x_values(formulas);
  PointColumns& x = *formulas[0].points;
  x.set_value(2, 7);
  formulas[2].points->set_x(2, 9);
  EXPECT_EQ(x.x(2), 7);  // the X formula's X values are its values
  EXPECT_EQ(formulas[1].points->x(2), 7);
  EXPECT_EQ(formulas[2].points->x(2), 9);

  FormulaList copies = formulas;
  for (Formula& formula : copies) formula.points = std::make_shared<PointColumns>(*formula.points);
  x.set_value(2, 8);
  formulas[2].points->set_x(2, 10);
  EXPECT_EQ(copies[1].points->x(2), 8);  // still the original's X values
  EXPECT_EQ(copies[2].points->x(2), 9);
  share_x_values(copies);
  EXPECT_EQ(copies[1].points->x(2), 7);
  EXPECT_TRUE(copies[1].points->reads_x_from(*copies[0].points));

  // A borrowed Y formula gets its own copy before it reads other X values.
  FormulaList committed = formulas;
  formulas[0].points = std::make_shared<PointColumns>(*formulas[0].points);
  formulas[0].points->set_value(2, 1);
  share_x_values(formulas);
  EXPECT_EQ(formulas[1].points->x(2), 1);
  EXPECT_EQ(committed[1].points->x(2), 8);
  EXPECT_NE(formulas[1].points, committed[1].points);
  EXPECT_EQ(formulas[2].points, committed[2].points);  // its own X values: nothing to change
}

// Growing after an append keeps the points before the first new line, clears the rest
// (flags too, inside a word), and leaves a Y formula reading the X formula's values.
TEST(PointColumns, GrowingKeepsThePointsBeforeTheAppendedLines) {
  FormulaList formulas = {Formula("C1"), Formula("C2"), Formula("C3 \\ C4")};
  for (Formula& formula : formulas) formula.points = std::make_shared<PointColumns>(100);
  formulas[2].points->keep_own_x();
  share_x_values(formulas);
  for (Formula& formula : formulas) {
    for (std::size_t i = 0; i < 100; ++i) {
      formula.points->set_value(i, static_cast<double>(i));
      formula.points->set_valid(i, true);
      formula.points->set_in_range(i, true);
      if (formula.points->has_own_x()) formula.points->set_x(i, -static_cast<double>(i));
    }
  }
  for (Formula& formula : formulas) formula.points->grow(1000, 70);  // line 70 was unfinished
  for (std::size_t i = 0; i < 1000; ++i) {
    const bool kept = i < 70;
    for (const Formula& formula : formulas) {
      const PointColumns& points = *formula.points;
      ASSERT_EQ(points.size(), 1000u);
      EXPECT_EQ(points.valid(i), kept) << i;
      EXPECT_EQ(points.in_range(i), kept) << i;
      EXPECT_EQ(points.value(i), kept ? static_cast<double>(i) : 0) << i;
    }
    EXPECT_EQ(formulas[1].points->x(i), formulas[0].points->value(i)) << i;
    EXPECT_EQ(formulas[2].points->x(i), kept ? -static_cast<double>(i) : 0) << i;
  }
  formulas[0].points->set_value(999, 5);
  EXPECT_EQ(formulas[1].points->x(999), 5);
}

}  // namespace
}  // namespace zentrik
