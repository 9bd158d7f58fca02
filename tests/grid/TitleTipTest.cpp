#include "GridTestSupport.h"

#include "grid/CTitleTip.h"
#include "grid/WindowsKeys.h"

TEST(TitleTip, ACutOffTextShowsWholeExactlyOverTheCellUntilThePointerLeavesTheGridScrollsOrTakesAKeyOrAClick)
{
    auto grid = MakeShownGrid(60, 6, 1, 1);
    Activate(*grid);
    grid->SetCellText(1, 1, QStringLiteral("A text far too long for its cell"));
    grid->SetCellText(1, 2, QStringLiteral("ok"));
    grid->SetCellText(2, 1, QStringLiteral("Another long text that is cut off"));
    const CTitleTip* tip = grid->GetTitleTip();
    const auto tipAt = [&](int row, int col, QPoint offset = QPoint()) {
        grid->UpdateTitleTip(CellCentre(*grid, row, col) + offset);
        return tip->isVisible();
    };

    ASSERT_TRUE(tipAt(1, 1));
    const QRect textArea = grid->GetCell(1, 1)->TextArea(CellRect(*grid, 1, 1));
    // One pixel of border round the text area: the text inside lands where the cell's own text is.
    EXPECT_EQ(tip->geometry().topLeft(), grid->viewport()->mapToGlobal(textArea.topLeft() - QPoint(1, 1)));
    EXPECT_EQ(tip->height(), textArea.height() + 2);
    EXPECT_EQ(tip->Text(), " A text far too long for its cell ");

    EXPECT_TRUE(tipAt(1, 1, QPoint(10, 0))) << "moving inside the cell keeps it";
    EXPECT_FALSE(tipAt(1, 2));
    EXPECT_TRUE(tipAt(2, 1)) << "the next cut-off cell shows its own tip";
    EXPECT_EQ(tip->Text(), " Another long text that is cut off ");
    grid->OnVScroll(SB_LINEDOWN);
    EXPECT_FALSE(tip->isVisible());

    // A key or a click hides the tip and still reaches the grid.
    grid->OnVScroll(SB_LINEUP);
    grid->SetFocusCell(3, 3);
    QTest::mouseMove(grid->viewport(), CellCentre(*grid, 1, 1));
    ASSERT_TRUE(tip->isVisible()) << "the mouse resting on the cell shows the tip";
    QTest::keyClick(grid.get(), Qt::Key_Down);
    EXPECT_FALSE(tip->isVisible());
    EXPECT_EQ(grid->GetFocusCell(), GridCellId(4, 3));
    ASSERT_TRUE(tipAt(1, 1));
    ClickCell(*grid, 1, 1);
    EXPECT_FALSE(tip->isVisible());
    EXPECT_EQ(grid->GetFocusCell(), GridCellId(1, 1));

    // No tip for a cell being edited or with another program active.
    grid->GetCell(1, 1)->Edit(1, 1, CellRect(*grid, 1, 1), QPoint(), InPlaceEditId, VK_LBUTTON);
    EXPECT_FALSE(tipAt(1, 1));
    QApplication::setActiveWindow(nullptr);
    EXPECT_FALSE(tipAt(2, 1));
}
