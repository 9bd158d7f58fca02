#include "GridTestSupport.h"

#include "grid/CGridCell.h"

#include <gtest/gtest.h>

namespace {

TEST(GridModel, NewLinesTakeTheirDefaultSizesAndIndexesOutsideAreRefusedQuietly)
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

    CGridCtrl fixed(4, 4, 2, 2);
    EXPECT_FALSE(fixed.DeleteRow(4) || fixed.DeleteColumn(-1) || fixed.DeleteColumn(4) || fixed.DeleteRow(-1));
    EXPECT_EQ(fixed.InsertRow("x", 1) + fixed.InsertRow("x", 4), -2) << "not among the headings, not at the count";
    EXPECT_EQ(fixed.InsertColumn("x", DT_CENTER, 1) + fixed.InsertColumn("x", DT_CENTER, 5), -2);
    EXPECT_EQ(fixed.GetRowCount() + fixed.GetColumnCount(), 8);
}

TEST(GridModel, ChangingTheFixedCountsTurnsCellsIntoHeadingsAndBackAndMovesTheFocusOut)
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

    grid.SetFixedRowCount(1);
    grid.SetFocusCell(1, 1);
    grid.SetCellState(2, 2, CellStateSelected);
    EXPECT_TRUE(grid.SetFixedColumnCount(4));
    EXPECT_EQ(grid.GetColumnCount(), 4);
    EXPECT_EQ(grid.GetFocusCell(), GridCellId());
    EXPECT_EQ(grid.GetSelectedCount(), 0);
    EXPECT_FALSE(grid.GetCell(2, 2)->IsSelected());
    EXPECT_TRUE(grid.GetCell(2, 2)->IsFixedCol());

    CGridCtrl corner(4, 4, 2, 1);
    EXPECT_TRUE(corner.SetFixedRowCount(1));
    EXPECT_EQ(corner.GetCellState(1, 0), CellStateFixed | CellStateFixedColumn) << "a corner cell heads its row";
    EXPECT_EQ(corner.GetCellState(1, 1), 0u);
    EXPECT_TRUE(corner.SetFixedColumnCount(0));
    EXPECT_EQ(corner.GetCellState(1, 0), 0u) << "without heading columns it is a body cell";
}

TEST(GridModel, ShrinkingACountClipsTheFixedCountAndDropsAFocusOutside)
{
    CGridCtrl grid(10, 10, 3, 3);
    grid.SetFocusCell(0, 0);
    EXPECT_EQ(grid.GetFocusCell(), GridCellId(3, 3)) << "the focus never lands on a heading";
    EXPECT_TRUE(grid.GetCell(3, 3)->IsFocused());
    grid.SetFocusCell(8, 8);
    EXPECT_FALSE(grid.GetCell(3, 3)->IsFocused());
    EXPECT_TRUE(grid.SetRowCount(9));
    EXPECT_EQ(grid.GetFocusCell(), GridCellId(8, 8)) << "a focus inside the new count stays";
    EXPECT_TRUE(grid.SetRowCount(8));
    EXPECT_EQ(grid.GetFocusCell(), GridCellId());
    grid.SetFocusCell(4, 8);
    EXPECT_TRUE(grid.SetColumnCount(8));
    EXPECT_EQ(grid.GetFocusCell(), GridCellId());
    EXPECT_TRUE(grid.SetRowCount(2) && grid.SetColumnCount(1));
    EXPECT_EQ(grid.GetFixedRowCount(), 2);
    EXPECT_EQ(grid.GetFixedColumnCount(), 1);
    EXPECT_EQ(grid.GetCell(2, 0), nullptr);
    EXPECT_EQ(grid.GetCell(0, 1), nullptr);
}

TEST(GridModel, InsertingAndDeletingKeepTheFocusOnItsCellAndTheFixedCountsRight)
{
    CGridCtrl grid(6, 6, 1, 1);
    grid.SetFocusCell(3, 3);
    grid.SetCellState(4, 4, CellStateSelected);
    EXPECT_EQ(grid.InsertRow("middle", 1), 1);
    EXPECT_EQ(grid.GetFocusCell(), GridCellId(4, 3));
    EXPECT_EQ(grid.GetSelectedCount(), 0) << "the selection does not survive a change of rows";
    EXPECT_EQ(grid.InsertRow("appended"), 7);
    EXPECT_EQ(grid.GetCellText(1, 0) + grid.GetCellText(7, 0), "middleappended");
    grid.DeleteRow(2);
    grid.DeleteColumn(5);
    EXPECT_EQ(grid.GetFocusCell(), GridCellId(3, 3));
    EXPECT_EQ(grid.InsertColumn("end", DT_RIGHT, 5), 5) << "the count appends";
    EXPECT_EQ(grid.GetCell(1, 5)->GetFormat(), DT_RIGHT);
    EXPECT_EQ(grid.InsertColumn("c", DT_CENTER, 1), 1);
    EXPECT_EQ(grid.GetCellText(0, 6), "end");
    EXPECT_EQ(grid.GetFocusCell(), GridCellId(3, 4));
    grid.DeleteColumn(4);
    EXPECT_EQ(grid.GetFocusCell(), GridCellId()) << "deleting the focus column drops the focus";

    CGridCtrl fixed(4, 4, 2, 2);
    EXPECT_TRUE(fixed.DeleteRow(0));
    EXPECT_EQ(fixed.GetFixedRowCount(), 1);
    EXPECT_TRUE(fixed.DeleteColumn(3));
    EXPECT_EQ(fixed.GetFixedColumnCount(), 2);
    EXPECT_EQ(fixed.GetColumnCount(), 3);
    EXPECT_TRUE(fixed.DeleteAllItems());
    EXPECT_EQ(fixed.GetRowCount() + fixed.GetColumnCount() + fixed.GetFixedRowCount() + fixed.GetFixedColumnCount(),
              0);
    EXPECT_TRUE(fixed.GetModified());
    EXPECT_EQ(fixed.InsertRow(QString()), 0) << "inserting into an empty grid makes a column too";
    EXPECT_EQ(fixed.GetColumnCount(), 1);
    EXPECT_EQ(fixed.GetRowHeight(0), fixed.GetDefaultCell(true, false)->GetHeight());
    CGridCtrl empty;
    EXPECT_EQ(empty.InsertColumn("Heading"), 0);
    EXPECT_EQ(empty.GetCellText(0, 0), "Heading");
}

TEST(GridModel, ModifiedFlagsFollowTheirRulesAndAChangedSortColumnLosesItsIndicator)
{
    CGridCtrl grid(4, 4, 1, 1);
    grid.SetModified(false);
    grid.SetModified(true, 0, 2);
    EXPECT_TRUE(grid.GetModified());
    EXPECT_FALSE(grid.GetCell(0, 2)->IsModified()) << "heading cells never carry the flag";

    grid.SetModified(false);
    grid.SetSortColumn(2);
    grid.SetCellText(2, 3, "changed");
    EXPECT_EQ(grid.GetSortColumn(), 2);
    EXPECT_TRUE(grid.GetModified() && grid.GetModified(2, 3));
    EXPECT_FALSE(grid.GetModified(2, 2));
    grid.SetModified(false, 2, 3);
    EXPECT_FALSE(grid.GetModified(2, 3));
    EXPECT_TRUE(grid.GetModified()) << "clearing one cell leaves the grid's flag";

    grid.SetCellText(3, 2, "in the sort column");
    EXPECT_EQ(grid.GetSortColumn(), -1);
    grid.SetModified(false);
    EXPECT_FALSE(grid.GetModified(3, 2)) << "clearing the grid clears every cell";
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
    EXPECT_TRUE(grid.GetCell(1, 1)->IsSelected());
    grid.ResetSelection();
    EXPECT_FALSE(grid.GetCell(1, 1)->IsSelected());
    EXPECT_EQ(grid.GetSelectedCount(), 0);
}

} // namespace
