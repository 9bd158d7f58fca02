#include "GridTestSupport.h"

#include <gtest/gtest.h>

namespace {

QRect RectOf(const CGridCtrl& grid, int row, int col)
{
    QRect rect;
    EXPECT_TRUE(grid.GetCellRect(row, col, &rect)) << row << "," << col;
    return rect;
}

TEST(GridGeometry, CellsLieSideBySideFromTheTopLeftAndPointsFindThem)
{
    auto grid = MakeShownGrid(10, 6, 1, 1);
    EXPECT_EQ(RectOf(*grid, 2, 3), QRect(150, 40, 50, 20));
    QRect outside;
    EXPECT_FALSE(grid->GetCellRect(10, 0, &outside));
    EXPECT_EQ(grid->GetCellFromPoint(QPoint(149, 39)), GridCellId(1, 2));
    EXPECT_EQ(grid->GetCellFromPoint(QPoint(150, 40)), GridCellId(2, 3));
    EXPECT_EQ(grid->GetCellFromPoint(QPoint(10, 10)), GridCellId(0, 0));
    EXPECT_EQ(grid->GetCellFromPoint(QPoint(10, 10), false), GridCellId(-1, -1));
    EXPECT_EQ(grid->GetCellFromPoint(QPoint(350, 250)), GridCellId(-1, -1)) << "beyond the last row and column";
    EXPECT_EQ(grid->GetCellFromPoint(QPoint(-1, 30)).col, -1);
}

TEST(GridGeometry, ScrollingMovesOnlyTheNonFixedCellsAndHiddenLinesTakeNoSpace)
{
    auto grid = MakeShownGrid(50, 30, 1, 1);
    grid->SetScrollPos32(SB_HORZ, 100);
    grid->SetScrollPos32(SB_VERT, 60);
    EXPECT_EQ(grid->GetTopLeftNonFixedCell(), GridCellId(4, 3));
    EXPECT_EQ(RectOf(*grid, 4, 3), QRect(50, 20, 50, 20));
    EXPECT_EQ(RectOf(*grid, 0, 3), QRect(50, 0, 50, 20)) << "the fixed row follows horizontally";
    EXPECT_EQ(RectOf(*grid, 4, 0), QRect(0, 20, 50, 20)) << "the fixed column follows vertically";
    QRect scrolledOut;
    EXPECT_FALSE(grid->GetCellRect(3, 3, &scrolledOut) || grid->GetCellRect(4, 2, &scrolledOut));
    EXPECT_FALSE(grid->IsCellVisible(3, 1));
    EXPECT_TRUE(grid->IsCellVisible(0, 3) && grid->IsCellVisible(5, 0));
    EXPECT_EQ(grid->GetCellFromPoint(QPoint(60, 30)), GridCellId(4, 3));
    EXPECT_EQ(grid->GetCellFromPoint(QPoint(10, 30)), GridCellId(4, 0));

    grid->SetScrollPos32(SB_HORZ, 0);
    grid->SetScrollPos32(SB_VERT, 0);
    const GridCellRange range = grid->GetVisibleNonFixedRange();
    EXPECT_TRUE(grid->IsCellVisible(range.maxRow, range.maxCol));
    EXPECT_FALSE(grid->IsCellVisible(range.maxRow + 1, 1) || grid->IsCellVisible(1, range.maxCol + 1));

    grid->SetColumnWidth(2, 0);
    grid->SetRowHeight(2, 0);
    EXPECT_EQ(RectOf(*grid, 3, 3).topLeft(), QPoint(100, 40));
    EXPECT_EQ(grid->GetCellFromPoint(QPoint(100, 40)), GridCellId(3, 3));
    EXPECT_EQ(grid->GetCellFromPoint(QPoint(99, 39)), GridCellId(1, 1));
    grid->SetRowHeight(1, 0);
    grid->SetScrollPos32(SB_VERT, 20);
    EXPECT_EQ(grid->GetTopLeftNonFixedCell().row, 4);
    EXPECT_EQ(RectOf(*grid, 4, 1).top(), 20);
}

TEST(GridGeometry, ResizeZonesLieOnBordersInsideTheFixedArea)
{
    auto grid = MakeShownGrid(10, 6, 1, 1);
    EXPECT_TRUE(grid->MouseOverColumnResizeArea(QPoint(52, 5)));
    EXPECT_FALSE(grid->MouseOverColumnResizeArea(QPoint(1, 5))) << "the left edge of column 0 is no border";
    EXPECT_FALSE(grid->MouseOverColumnResizeArea(QPoint(52, 25))) << "only within the fixed rows";
    EXPECT_TRUE(grid->MouseOverRowResizeArea(QPoint(5, 22)));
    EXPECT_FALSE(grid->MouseOverRowResizeArea(QPoint(5, 1))) << "the top edge of row 0 is no border";
    EXPECT_FALSE(grid->MouseOverRowResizeArea(QPoint(60, 19))) << "only within the fixed columns";
}

} // namespace
