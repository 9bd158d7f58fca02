#include "GridTestSupport.h"

#include "grid/CGridCell.h"

#include <gtest/gtest.h>

namespace {

TEST(GridModel, NewRowsAndColumnsTakeTheirDefaultSizesAndOutsideAnswersAreQuiet)
{
    CGridCtrl grid;
    grid.SetRowCount(2);
    grid.SetColumnCount(2);
    EXPECT_EQ(grid.GetRowHeight(1), grid.GetDefaultCell(false, false)->GetHeight());
    EXPECT_EQ(grid.GetColumnWidth(1), grid.GetDefaultCell(false, true)->GetWidth());
    EXPECT_EQ(grid.GetRowHeight(2) + grid.GetColumnWidth(-1), -2);
    EXPECT_FALSE(grid.SetRowHeight(0, -1) || grid.SetColumnWidth(5, 10) || grid.SetCellText(5, 5, "x"));
    EXPECT_EQ(grid.GetCell(2, 0), nullptr);
    EXPECT_EQ(grid.GetCellText(-1, 0), QString());
}

TEST(GridModel, ShrinkingACountClipsTheFixedCountAndDropsAFocusOutside)
{
    CGridCtrl grid(10, 10, 3, 3);
    grid.SetFocusCell(8, 8);
    EXPECT_TRUE(grid.SetRowCount(9));
    EXPECT_EQ(grid.GetFocusCell(), GridCellId(8, 8)) << "a focus inside the new count stays";
    EXPECT_TRUE(grid.SetRowCount(8));
    EXPECT_EQ(grid.GetFocusCell(), GridCellId());
    grid.SetFocusCell(4, 8);
    EXPECT_TRUE(grid.SetColumnCount(8));
    EXPECT_EQ(grid.GetFocusCell(), GridCellId());
    EXPECT_TRUE(grid.SetRowCount(2));
    EXPECT_TRUE(grid.SetColumnCount(1));
    EXPECT_EQ(grid.GetFixedRowCount(), 2);
    EXPECT_EQ(grid.GetFixedColumnCount(), 1);
    EXPECT_EQ(grid.GetCell(2, 0), nullptr);
    EXPECT_EQ(grid.GetCell(0, 1), nullptr);
}

TEST(GridModel, GrowingTheFixedRowsGrowsTheGridAndMovesTheFocusOut)
{
    CGridCtrl grid(3, 3, 0, 0);
    grid.SetFocusCell(1, 1);
    grid.SetCellBackColour(1, 2, RGB(255, 0, 0));
    grid.SetCellTextColour(1, 2, RGB(0, 255, 0));
    EXPECT_TRUE(grid.SetFixedRowCount(2));
    EXPECT_EQ(grid.GetFocusCell(), GridCellId());
    EXPECT_EQ(grid.GetCell(1, 2)->GetBackClr(), CLR_DEFAULT) << "a cell that becomes fixed takes the default colours";
    EXPECT_EQ(grid.GetCell(1, 2)->GetTextClr(), CLR_DEFAULT);
    EXPECT_TRUE(grid.GetCell(1, 2)->IsFixedRow());
    EXPECT_FALSE(grid.GetCell(2, 2)->IsFixedRow()) << "the first body row stays a body row";

    EXPECT_TRUE(grid.SetFixedRowCount(5));
    EXPECT_EQ(grid.GetRowCount(), 5);
    EXPECT_EQ(grid.GetCellState(4, 1), CellStateFixed | CellStateFixedRow);
}

TEST(GridModel, ShrinkingTheFixedRowsKeepsCornerCellsFixedColumnCells)
{
    CGridCtrl grid(4, 4, 2, 1);
    EXPECT_TRUE(grid.SetFixedRowCount(1));
    EXPECT_EQ(grid.GetCellState(1, 0), CellStateFixed | CellStateFixedColumn);
    EXPECT_EQ(grid.GetCellState(1, 1), 0u);
    EXPECT_TRUE(grid.SetFixedColumnCount(0));
    EXPECT_EQ(grid.GetCellState(1, 0), 0u) << "without heading columns it is a body cell";
}

TEST(GridModel, GrowingTheFixedColumnsGrowsTheGridAndDropsTheFocusAndSelection)
{
    CGridCtrl grid(3, 2, 1, 0);
    grid.SetFocusCell(1, 1);
    grid.SetCellState(2, 1, CellStateSelected);
    EXPECT_TRUE(grid.SetFixedColumnCount(3));
    EXPECT_EQ(grid.GetColumnCount(), 3);
    EXPECT_EQ(grid.GetFocusCell(), GridCellId());
    EXPECT_EQ(grid.GetSelectedCount(), 0);
    EXPECT_FALSE(grid.GetCell(2, 1)->IsSelected());
    EXPECT_TRUE(grid.GetCell(2, 1)->IsFixedCol());
}

TEST(GridModel, TheFocusNeverLandsOnAFixedCell)
{
    CGridCtrl grid(5, 5, 2, 1);
    grid.SetFocusCell(0, 0);
    EXPECT_EQ(grid.GetFocusCell(), GridCellId(2, 1));
    EXPECT_TRUE(grid.GetCell(2, 1)->IsFocused());
    grid.SetFocusCell(3, 3);
    EXPECT_FALSE(grid.GetCell(2, 1)->IsFocused());
    EXPECT_TRUE(grid.GetCell(3, 3)->IsFocused());
}

TEST(GridModel, InsertRowRefusesPositionsInTheFixedRowsAndAtTheCount)
{
    CGridCtrl grid(3, 2, 1, 1);
    EXPECT_EQ(grid.InsertRow("x", 0), -1);
    EXPECT_EQ(grid.InsertRow("x", 3), -1);
    EXPECT_EQ(grid.GetRowCount(), 3);
    EXPECT_EQ(grid.InsertRow("appended"), 3);
    EXPECT_EQ(grid.GetCellText(3, 0), "appended");
    EXPECT_EQ(grid.InsertRow("middle", 1), 1);
    EXPECT_EQ(grid.GetCellText(1, 0), "middle");
    EXPECT_EQ(grid.GetCellText(4, 0), "appended");
}

TEST(GridModel, InsertColumnAcceptsTheCountAsAppendButNothingBeyond)
{
    CGridCtrl grid(2, 3, 1, 1);
    EXPECT_EQ(grid.InsertColumn("x", DT_CENTER, 0), -1);
    EXPECT_EQ(grid.InsertColumn("x", DT_CENTER, 4), -1);
    EXPECT_EQ(grid.InsertColumn("end", DT_RIGHT, 3), 3);
    EXPECT_EQ(grid.GetCellText(0, 3), "end");
    EXPECT_EQ(grid.GetCell(1, 3)->GetFormat(), DT_RIGHT);
    EXPECT_EQ(grid.InsertColumn("mid", DT_CENTER, 1), 1);
    EXPECT_EQ(grid.GetCellText(0, 4), "end");
}

TEST(GridModel, InsertingIntoAnEmptyGridCreatesTheMissingDirection)
{
    CGridCtrl rows;
    EXPECT_EQ(rows.InsertRow(QString()), 0);
    EXPECT_EQ(rows.GetColumnCount(), 1);
    EXPECT_EQ(rows.GetRowHeight(0), rows.GetDefaultCell(true, false)->GetHeight());

    CGridCtrl cols;
    EXPECT_EQ(cols.InsertColumn("Heading"), 0);
    EXPECT_EQ(cols.GetRowCount(), 1);
    EXPECT_EQ(cols.GetCellText(0, 0), "Heading");
}

TEST(GridModel, InsertAndDeleteKeepTheFocusOnItsCell)
{
    CGridCtrl grid(6, 6, 1, 1);
    grid.SetFocusCell(3, 3);
    grid.SetCellState(4, 4, CellStateSelected);
    grid.InsertRow("new", 2);
    EXPECT_EQ(grid.GetFocusCell(), GridCellId(4, 3));
    EXPECT_EQ(grid.GetSelectedCount(), 0) << "the selection does not survive a change of rows";
    grid.DeleteRow(1);
    EXPECT_EQ(grid.GetFocusCell(), GridCellId(3, 3));
    grid.DeleteColumn(5);
    EXPECT_EQ(grid.GetFocusCell(), GridCellId(3, 3));
    grid.InsertColumn("c", DT_CENTER, 1);
    EXPECT_EQ(grid.GetFocusCell(), GridCellId(3, 4));
    grid.DeleteColumn(4);
    EXPECT_EQ(grid.GetFocusCell(), GridCellId()) << "deleting the focus column drops the focus";
}

TEST(GridModel, DeleteRefusesIndexesOutsideAndAdjustsFixedCounts)
{
    CGridCtrl grid(4, 4, 2, 2);
    EXPECT_FALSE(grid.DeleteRow(4) || grid.DeleteColumn(-1) || grid.DeleteColumn(4) || grid.DeleteRow(-1));
    EXPECT_TRUE(grid.DeleteRow(0));
    EXPECT_EQ(grid.GetFixedRowCount(), 1);
    EXPECT_TRUE(grid.DeleteColumn(3));
    EXPECT_EQ(grid.GetFixedColumnCount(), 2);
    EXPECT_EQ(grid.GetColumnCount(), 3);
    EXPECT_TRUE(grid.DeleteAllItems());
    EXPECT_EQ(grid.GetRowCount() + grid.GetColumnCount() + grid.GetFixedRowCount() + grid.GetFixedColumnCount(), 0);
    EXPECT_TRUE(grid.GetModified());
}

TEST(GridModel, ModifiedFlagsFollowTheirRules)
{
    CGridCtrl grid(4, 4, 1, 1);
    grid.SetModified(false);
    grid.SetModified(true, 0, 2);
    EXPECT_TRUE(grid.GetModified());
    EXPECT_FALSE(grid.GetCell(0, 2)->IsModified()) << "heading cells never carry the flag";

    grid.SetModified(false);
    grid.SetCellText(2, 2, "changed");
    EXPECT_TRUE(grid.GetModified());
    EXPECT_TRUE(grid.GetModified(2, 2));
    EXPECT_FALSE(grid.GetModified(2, 3));

    grid.SetModified(false, 2, 2);
    EXPECT_FALSE(grid.GetModified(2, 2));
    EXPECT_TRUE(grid.GetModified()) << "clearing one cell leaves the grid's flag";

    grid.SetCellText(3, 3, "again");
    grid.SetModified(false);
    EXPECT_FALSE(grid.GetModified(3, 3)) << "clearing the grid clears every cell";
}

TEST(GridModel, ChangesInTheSortColumnRemoveTheSortIndicator)
{
    CGridCtrl grid(4, 4, 1, 1);
    grid.SetSortColumn(2);
    grid.SetCellText(2, 3, "elsewhere");
    EXPECT_EQ(grid.GetSortColumn(), 2);
    grid.SetCellText(2, 2, "in the sort column");
    EXPECT_EQ(grid.GetSortColumn(), -1);
    grid.SetSortColumn(1);
    grid.SetModified(true);
    EXPECT_EQ(grid.GetSortColumn(), -1);
}

TEST(GridModel, SelectedCellsFarApartNeverShareAKey)
{
    CGridCtrl grid(65540, 2, 1, 1);
    grid.SetCellState(1, 1, CellStateSelected);
    grid.SetCellState(65537, 1, CellStateSelected);
    EXPECT_EQ(grid.GetSelectedCount(), 2);
    grid.SetCellState(65537, 1, 0);
    EXPECT_EQ(grid.GetSelectedCount(), 1);
    EXPECT_TRUE(grid.GetCell(1, 1)->IsSelected());
    grid.ResetSelection();
    EXPECT_FALSE(grid.GetCell(1, 1)->IsSelected());
    EXPECT_EQ(grid.GetSelectedCount(), 0);
}

TEST(GridModel, CellTextNeverHoldsWhatATableFileCannot)
{
    CGridCtrl grid(2, 2);
    grid.SetCellText(1, 1, QStringLiteral("a\tb\r\nc") + QChar(0) + QChar(0x20AC) + QStringLiteral("\u00e9"));
    EXPECT_EQ(grid.GetCellText(1, 1), QStringLiteral("abc\u00e9"));
}

} // namespace
