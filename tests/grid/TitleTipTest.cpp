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

// An owner's tints: cell (2, 2) in red with a note, every cell of row 3 in blue.
class TwoTints : public GridCellTint
{
public:
    QColor CellTint(int row, int col) const override
    {
        return row == 3 ? QColor(Qt::blue) : row == 2 && col == 2 ? QColor(Qt::red) : QColor();
    }
    QString CellNote(int row, int col) const override { return row == 2 && col == 2 ? "7 (game: 5)" : QString(); }
};

TEST(TitleTip, AnOwnersTintLiesUnderTheCellsItNamesAndItsNoteShowsEvenOverTextThatFits)
{
    auto grid = MakeShownGrid(6, 4, 1, 1);
    Activate(*grid);
    const TwoTints tints;
    grid->SetCellText(2, 2, QStringLiteral("7"));
    grid->SetCellTint(&tints);
    const auto colourAt = [&](int row, int col) {
        // Away from the cell's text and its grid lines.
        return grid->viewport()->grab().toImage().pixelColor(CellRect(*grid, row, col).topLeft() + QPoint(3, 3));
    };
    EXPECT_EQ(colourAt(2, 2), QColor(Qt::red));
    EXPECT_EQ(colourAt(3, 0), QColor(Qt::blue)) << "a heading cell of a tinted row";
    const QColor plain = colourAt(2, 1);
    EXPECT_NE(plain, QColor(Qt::red));
    // The selection's colour still shows which cells are selected.
    grid->SetSelectedRange(2, 2, 2, 2);
    EXPECT_NE(colourAt(2, 2), QColor(Qt::red));

    grid->UpdateTitleTip(CellCentre(*grid, 2, 2));
    ASSERT_TRUE(grid->GetTitleTip()->isVisible());
    EXPECT_EQ(grid->GetTitleTip()->Text(), " 7 (game: 5) ");
    grid->HideTitleTip();
    grid->UpdateTitleTip(CellCentre(*grid, 3, 2));
    EXPECT_FALSE(grid->GetTitleTip()->isVisible()) << "a tint without a note shows no tip";

    grid->SetCellTint(nullptr);
    grid->SetSelectedRange(-1, -1, -1, -1);
    EXPECT_EQ(colourAt(2, 2), plain);
}
