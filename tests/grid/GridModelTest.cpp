#include "GridTestSupport.h"

#include "grid/CGridCell.h"
#include "grid/GridClipboardText.h"

TEST(GridClipboardText, SplitsOnlyAtTabsAndLineEndsKeepingEmptyFieldsAndLoneCarriageReturns)
{
    const GridClipboardText::Table table =
        GridClipboardText::Decode(QStringLiteral("hpot,qty=3\t  x \t\n\tend \r\n\r\na\rb\r\r\nlast\r\0ignored"));
    const GridClipboardText::Table expected{{"hpot,qty=3", "  x ", ""}, {"", "end "}, {""}, {"a\rb\r"}, {"last"}};
    EXPECT_EQ(table, expected);
}

TEST(GridModel, CountsInsertsDeletesAndTextsKeepHeadingsFocusModifiedFlagsAndBytesRightAndRefuseIndexesOutside)
{
    CGridCtrl headed(3, 3, 0, 0);
    headed.SetFocusCell(1, 1);
    EXPECT_TRUE(headed.SetFixedRowCount(2));
    EXPECT_EQ(headed.GetFocusCell(), GridCellId());
    EXPECT_TRUE(headed.GetCell(1, 2)->IsFixedRow());
    EXPECT_FALSE(headed.GetCell(2, 2)->IsFixedRow()) << "the first body row stays a body row";

    CGridCtrl corner(4, 4, 2, 1);
    corner.SetFocusCell(0, 0);
    EXPECT_EQ(corner.GetFocusCell(), GridCellId(2, 1)) << "never on a heading";
    EXPECT_TRUE(corner.SetFixedRowCount(1));
    EXPECT_EQ(corner.GetCellState(1, 0), CellStateFixed | CellStateFixedColumn) << "a corner cell heads its row";
    EXPECT_EQ(corner.GetCellState(1, 1), 0u);
    EXPECT_TRUE(corner.SetFixedColumnCount(0));
    EXPECT_EQ(corner.GetCellState(1, 0), 0u) << "without heading columns it is a body cell";

    // Shrinking a count clips the fixed count and drops a focus outside.
    CGridCtrl shrunk(10, 10, 3, 3);
    shrunk.SetFocusCell(8, 8);
    EXPECT_TRUE(shrunk.SetRowCount(9));
    EXPECT_EQ(shrunk.GetFocusCell(), GridCellId(8, 8)) << "a focus inside the new count stays";
    EXPECT_TRUE(shrunk.SetRowCount(8));
    EXPECT_EQ(shrunk.GetFocusCell(), GridCellId());
    shrunk.SetFocusCell(4, 8);
    EXPECT_TRUE(shrunk.SetColumnCount(8));
    EXPECT_EQ(shrunk.GetFocusCell(), GridCellId());
    EXPECT_TRUE(shrunk.SetRowCount(2) && shrunk.SetColumnCount(1));
    EXPECT_EQ(QPoint(shrunk.GetFixedRowCount(), shrunk.GetFixedColumnCount()), QPoint(2, 1));
    EXPECT_EQ(shrunk.GetCell(0, 1), nullptr);

    CGridCtrl grid(6, 6, 1, 1);
    grid.SetFocusCell(3, 3);
    grid.SetCellState(4, 4, CellStateSelected);
    EXPECT_EQ(grid.InsertRow("middle", 1), 1);
    EXPECT_EQ(grid.GetFocusCell(), GridCellId(4, 3));
    EXPECT_EQ(grid.GetSelectedCount(), 0) << "the selection does not survive a change of rows";
    EXPECT_EQ(grid.InsertRow("appended"), 7);
    EXPECT_EQ(grid.GetCellText(1, 0) + grid.GetCellText(7, 0), "middleappended");
    grid.DeleteRow(2);
    EXPECT_EQ(grid.GetFocusCell(), GridCellId(3, 3));
    grid.DeleteRow(3);
    EXPECT_EQ(grid.GetFocusCell(), GridCellId()) << "deleting the focus row drops the focus";

    CGridCtrl fixed(4, 4, 2, 2);
    EXPECT_FALSE(fixed.DeleteRow(4) || fixed.DeleteColumn(-1) || fixed.DeleteColumn(4) || fixed.DeleteRow(-1));
    EXPECT_FALSE(fixed.SetRowHeight(0, -1) || fixed.SetColumnWidth(5, 10) || fixed.SetCellText(5, 5, "x"));
    EXPECT_EQ(fixed.InsertRow("x", 1) + fixed.InsertRow("x", 4), -2) << "not among the headings, not at the count";
    EXPECT_EQ(fixed.InsertColumn("x", DT_CENTER, 1) + fixed.InsertColumn("x", DT_CENTER, 5), -2);
    EXPECT_TRUE(fixed.DeleteRow(0) && fixed.DeleteColumn(3));
    EXPECT_EQ(QPoint(fixed.GetFixedRowCount(), fixed.GetFixedColumnCount()), QPoint(1, 2));
    EXPECT_TRUE(fixed.DeleteAllItems());
    EXPECT_EQ(fixed.GetRowCount() + fixed.GetFixedRowCount() + fixed.GetFixedColumnCount(), 0);
    EXPECT_TRUE(fixed.GetModified());
    EXPECT_TRUE(fixed.InsertRow(QString()) == 0 && fixed.GetColumnCount() == 1) << "inserting makes a column too";
    EXPECT_EQ(fixed.GetRowHeight(0), fixed.GetDefaultCell(true, false)->GetHeight());

    grid.SetModified(false);
    grid.SetModified(true, 0, 2);
    EXPECT_TRUE(grid.GetModified() && !grid.GetCell(0, 2)->IsModified()) << "heading cells never carry the flag";
    grid.SetModified(false);
    grid.SetCellText(2, 3, QStringLiteral("hpot,qty=3 \t\u00ff\r\n\0\u0100\u20ac\u007f\u00a0end "));
    EXPECT_EQ(grid.GetCellText(2, 3), QStringLiteral("hpot,qty=3 \u00ff\u007f\u00a0end ")) << "bytes only";
    EXPECT_TRUE(grid.GetModified() && grid.GetModified(2, 3) && !grid.GetModified(2, 2));
    grid.SetModified(false, 2, 3);
    EXPECT_TRUE(!grid.GetModified(2, 3) && grid.GetModified()) << "clearing one cell leaves the grid's flag";
    grid.SetCellText(3, 2, "again");
    grid.SetModified(false);
    EXPECT_FALSE(grid.GetModified(3, 2)) << "clearing the grid clears every cell";
}
