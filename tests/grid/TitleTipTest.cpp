#include "GridTestSupport.h"

#include "grid/CTitleTip.h"
#include "grid/WindowsKeys.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class TitleTipTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        grid = MakeShownGrid(10, 6, 1, 1);
        Activate(*grid);
        grid->SetCellText(1, 1, QStringLiteral("A text far too long for its cell"));
        grid->SetCellText(1, 2, QStringLiteral("ok"));
        grid->SetCellText(2, 1, QStringLiteral("Another long text that is cut off"));
    }

    QPoint CentreOf(int row, int col) const
    {
        QRect rect;
        grid->GetCellRect(row, col, &rect);
        return rect.center();
    }

    CTitleTip* Tip() const { return grid->GetTitleTip(); }

    std::unique_ptr<CGridCtrl> grid;
};

TEST_F(TitleTipTest, ACutOffTextShowsWholeExactlyOverTheCell)
{
    grid->UpdateTitleTip(CentreOf(1, 1));
    ASSERT_TRUE(Tip()->isVisible());
    QRect cellRect;
    grid->GetCellRect(1, 1, &cellRect);
    const QRect textArea = grid->GetCell(1, 1)->TextArea(cellRect);
    // One pixel of border round the text area: the text inside lands where
    // the cell's own text is.
    const QPoint expectedTopLeft = grid->viewport()->mapToGlobal(textArea.topLeft() - QPoint(1, 1));
    EXPECT_EQ(Tip()->geometry().topLeft(), expectedTopLeft);
    EXPECT_EQ(Tip()->height(), textArea.height() + 2);
    EXPECT_EQ(Tip()->Text(), " A text far too long for its cell ");
    EXPECT_EQ(Tip()->HoverRect(), cellRect);
}

TEST_F(TitleTipTest, LeavingTheCellOrScrollingHidesTheTip)
{
    grid->SetRowCount(60);
    grid->UpdateTitleTip(CentreOf(1, 1));
    ASSERT_TRUE(Tip()->isVisible());
    grid->UpdateTitleTip(CentreOf(1, 1) + QPoint(10, 0));
    EXPECT_TRUE(Tip()->isVisible()) << "moving inside the cell keeps it";
    grid->UpdateTitleTip(CentreOf(1, 2));
    EXPECT_FALSE(Tip()->isVisible());
    grid->UpdateTitleTip(CentreOf(2, 1));
    EXPECT_TRUE(Tip()->isVisible()) << "the next cut-off cell shows its own tip";
    EXPECT_EQ(Tip()->Text(), " Another long text that is cut off ");
    grid->OnVScroll(SB_LINEDOWN);
    EXPECT_FALSE(Tip()->isVisible());
}

TEST_F(TitleTipTest, AKeyOrAClickHidesTheTipAndStillReachesTheGrid)
{
    grid->SetFocusCell(3, 3);
    QTest::mouseMove(grid->viewport(), CentreOf(1, 1));
    ASSERT_TRUE(Tip()->isVisible()) << "the mouse resting on the cell shows the tip";
    QTest::keyClick(grid.get(), Qt::Key_Down);
    EXPECT_FALSE(Tip()->isVisible());
    EXPECT_EQ(grid->GetFocusCell(), GridCellId(4, 3));
    grid->UpdateTitleTip(CentreOf(1, 1));
    ASSERT_TRUE(Tip()->isVisible());
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, CentreOf(1, 1));
    EXPECT_FALSE(Tip()->isVisible());
    EXPECT_EQ(grid->GetFocusCell(), GridCellId(1, 1));
}

TEST_F(TitleTipTest, NoTipForATextThatFitsAnEditedCellWithTipsOffOrAnotherProgramActive)
{
    grid->UpdateTitleTip(CentreOf(1, 2));
    EXPECT_FALSE(Tip()->isVisible()) << "a text that fits";
    grid->UpdateTitleTip(CentreOf(3, 3));
    EXPECT_FALSE(Tip()->isVisible()) << "an empty cell";
    QRect rect;
    grid->GetCellRect(1, 1, &rect);
    grid->GetCell(1, 1)->Edit(1, 1, rect, QPoint(), InPlaceEditId, VK_LBUTTON);
    grid->UpdateTitleTip(CentreOf(1, 1));
    EXPECT_FALSE(Tip()->isVisible()) << "a cell being edited";
    grid->EnableTitleTips(false);
    grid->UpdateTitleTip(CentreOf(2, 1));
    EXPECT_FALSE(Tip()->isVisible()) << "tips off";
    grid->EnableTitleTips(true);
    QApplication::setActiveWindow(nullptr);
    grid->UpdateTitleTip(CentreOf(2, 1));
    EXPECT_FALSE(Tip()->isVisible()) << "another program active";
}

} // namespace
