#include "grid/GridKeyNavigator.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using Move = GridKeyNavigator::Move;

GridAxis Axis(int count, int fixed, std::set<int> hidden = {})
{
    return GridAxis(count, fixed, [hidden](int i) { return hidden.count(i) ? 0 : 20; });
}

// 6 rows and 6 columns, one fixed of each; row 3 and column 3 hidden.
GridKeyNavigator HiddenMiddle()
{
    return GridKeyNavigator(Axis(6, 1, {3}), Axis(6, 1, {3}));
}

void ExpectTarget(const GridKeyNavigator::Target& target, int row, int column, bool wrapped = false)
{
    EXPECT_EQ(target.row, row);
    EXPECT_EQ(target.column, column);
    EXPECT_EQ(target.wrapped, wrapped);
}

} // namespace

TEST(GridKeyNavigator, ArrowsSkipHiddenLinesAndStopAtTheEdgesWithoutEnteringFixedOnes)
{
    const GridKeyNavigator nav = HiddenMiddle();
    ExpectTarget(nav.Step(Move::Down, 2, 2), 4, 2);
    ExpectTarget(nav.Step(Move::Up, 4, 2), 2, 2);
    ExpectTarget(nav.Step(Move::Right, 2, 2), 2, 4);
    ExpectTarget(nav.Step(Move::Left, 2, 4), 2, 2);
    ExpectTarget(nav.Step(Move::Up, 1, 2), 1, 2);
    ExpectTarget(nav.Step(Move::Left, 2, 1), 2, 1);
    ExpectTarget(nav.Step(Move::Down, 5, 2), 5, 2);
    ExpectTarget(nav.Step(Move::Right, 2, 5), 2, 5);
}

TEST(GridKeyNavigator, ArrowsStayWhenEveryLineBeyondIsHidden)
{
    const GridKeyNavigator nav(Axis(5, 1, {3, 4}), Axis(5, 1, {1, 2}));
    ExpectTarget(nav.Step(Move::Down, 2, 3), 2, 3);
    ExpectTarget(nav.Step(Move::Left, 2, 3), 2, 3);
}

TEST(GridKeyNavigator, TabWrapsToTheNextShownRowAndStaysAtTheVeryEnd)
{
    const GridKeyNavigator nav = HiddenMiddle();
    ExpectTarget(nav.Step(Move::Tab, 2, 2), 2, 4);
    ExpectTarget(nav.Step(Move::Tab, 2, 5), 4, 1, true);
    ExpectTarget(nav.Step(Move::Tab, 5, 5), 5, 5);
}

TEST(GridKeyNavigator, BackTabWrapsToTheLastShownColumnOfThePreviousRow)
{
    const GridKeyNavigator nav(Axis(6, 1, {3}), Axis(6, 1, {5}));
    ExpectTarget(nav.Step(Move::BackTab, 4, 1), 2, 4, true);
    ExpectTarget(nav.Step(Move::BackTab, 4, 3), 4, 2);
    ExpectTarget(nav.Step(Move::BackTab, 1, 1), 1, 1);
}

TEST(GridKeyNavigator, HomeAndEndGoToTheFirstAndLastShownCells)
{
    const GridKeyNavigator nav(Axis(6, 1, {1, 5}), Axis(6, 1, {1, 5}));
    ExpectTarget(nav.Step(Move::Home, 3, 3), 3, 2);
    ExpectTarget(nav.Step(Move::End, 3, 3), 3, 4);
    ExpectTarget(nav.Step(Move::GridHome, 3, 3), 2, 2);
    ExpectTarget(nav.Step(Move::GridEnd, 3, 3), 4, 4);
}

TEST(GridKeyNavigator, PagesFollowTheTopRowOrGoToTheEnds)
{
    const GridKeyNavigator nav(Axis(100, 1, {30}), Axis(3, 1));
    EXPECT_EQ(nav.PageDown(10, 1, 21), 31);
    EXPECT_EQ(nav.PageDown(10, 1, 20), 29);
    EXPECT_EQ(nav.PageDown(95, 80, 90), 99);
    EXPECT_EQ(nav.PageDown(50, 80, 80), 99);
    EXPECT_EQ(nav.PageUp(50, 41, 21), 31);
    EXPECT_EQ(nav.PageUp(5, 11, 1), 1);
    EXPECT_EQ(nav.PageUp(50, 1, 1), 1);
}
