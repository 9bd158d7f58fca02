#include "GridTestSupport.h"

#include <QGuiApplication>
#include <QScrollBar>
#include <QStyleHints>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace {

TEST(GridScroll, RangesAndPagesCoverTheNonFixedAreaAndBarsShowOnlyWhenItDoesNotFit)
{
    auto grid = MakeShownGrid(10, 6, 1, 1);
    EXPECT_FALSE(grid->IsScrollBarShown(SB_VERT) || grid->IsScrollBarShown(SB_HORZ));
    grid->SetRowCount(40);
    EXPECT_TRUE(grid->IsScrollBarShown(SB_VERT)) << "a count change resets the bars";
    EXPECT_FALSE(grid->IsScrollBarShown(SB_HORZ));
    grid->SetRowCount(50);
    grid->SetColumnCount(30);
    ShowGrid(*grid);
    const QRect client = grid->ClientRect();
    EXPECT_EQ(grid->GetScrollMax(SB_VERT), 49 * 20 - 1);
    EXPECT_EQ(grid->GetScrollMax(SB_HORZ), 29 * 50 - 1);
    const QScrollBar* vertical = grid->verticalScrollBar();
    const QScrollBar* horizontal = grid->horizontalScrollBar();
    EXPECT_EQ(vertical->pageStep(), client.height() - 20);
    EXPECT_EQ(horizontal->pageStep(), client.width() - 50);
    EXPECT_EQ(vertical->maximum(), 49 * 20 - vertical->pageStep()) << "the last page ends with the last row";
    EXPECT_EQ(horizontal->maximum(), 29 * 50 - horizontal->pageStep());
    grid->SetRowHeight(0, 400);
    EXPECT_FALSE(grid->IsScrollBarShown(SB_VERT) || grid->IsScrollBarShown(SB_HORZ))
        << "a grid smaller than its fixed cells shows none";
}

TEST(GridScroll, LinesStepByWholeShownRowsAndPagesByTheNonFixedExtentAsTheBarsDo)
{
    auto grid = MakeShownGrid(50, 30, 1, 1);
    const int page = grid->ClientRect().height() - 20;
    grid->OnVScroll(SB_PAGEDOWN);
    EXPECT_EQ(grid->GetScrollPos32(SB_VERT), page);
    grid->OnVScroll(SB_PAGEUP);
    EXPECT_EQ(grid->GetScrollPos32(SB_VERT), 0);
    grid->OnVScroll(SB_BOTTOM);
    EXPECT_TRUE(grid->IsCellVisible(49, 1)) << "the end shows the last row";

    QScrollBar* bar = grid->verticalScrollBar();
    bar->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(grid->GetScrollPos32(SB_VERT), 0);
    grid->SetRowHeight(1, 33);
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(grid->GetScrollPos32(SB_VERT), 33) << "a bar's line step is the row's height";
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(grid->GetScrollPos32(SB_VERT), 33 + page);
    bar->setSliderPosition(333);
    EXPECT_EQ(grid->GetScrollPos32(SB_VERT), 333) << "dragging the thumb goes where the thumb is";
    EXPECT_EQ(grid->GetTopLeftNonFixedCell().row, 17);

    bar->triggerAction(QAbstractSlider::SliderToMinimum);
    grid->SetRowHeight(1, 30);
    grid->SetRowHeight(2, 0);
    for (const auto& [action, position] : {std::pair{SB_LINEDOWN, 30}, {SB_LINEDOWN, 50}, {SB_LINEUP, 30},
                                           {SB_LINEUP, 0}, {SB_LINEUP, 0}}) {
        grid->OnVScroll(action);
        EXPECT_EQ(grid->GetScrollPos32(SB_VERT), position);
    }
    grid->SetColumnWidth(1, 0);
    grid->OnHScroll(SB_LINERIGHT);
    EXPECT_EQ(grid->GetScrollPos32(SB_HORZ), 50);
    EXPECT_EQ(grid->GetTopLeftNonFixedCell().col, 3);
}

TEST(GridScroll, EnsureVisibleBringsACellWhollyIntoViewSpendingNoStepsOnHiddenRows)
{
    auto grid = MakeShownGrid(50, 30, 1, 1);
    grid->EnsureVisible(40, 20);
    QRect rect;
    ASSERT_TRUE(grid->GetCellRect(40, 20, &rect));
    EXPECT_TRUE(QRect(50, 20, 400, 300).intersected(grid->ClientRect()).contains(rect));
    grid->EnsureVisible(2, 1);
    EXPECT_EQ(grid->GetTopLeftNonFixedCell(), GridCellId(2, 1));
    grid->EnsureVisible(1, 1);
    EXPECT_EQ(grid->GetScrollPos32(SB_VERT), 0);

    // The row before the last one shown was whole; ten hidden rows later, the row in its place is whole too.
    const int lastShown = grid->GetVisibleNonFixedRange().maxRow;
    for (int row = 1; row <= 10; ++row)
        grid->SetRowHeight(row, 0);
    grid->EnsureVisible(lastShown - 1 + 10, 1);
    EXPECT_TRUE(grid->IsCellVisible(lastShown - 1 + 10, 1));
    EXPECT_EQ(grid->GetScrollPos32(SB_VERT), 0) << "the hidden rows made room: nothing to scroll";
}

TEST(GridScroll, TheWheelScrollsLinesAfterItsEventAndKeepsWhatIsLeftOver)
{
    QGuiApplication::styleHints()->setWheelScrollLines(3);
    auto grid = MakeShownGrid(50, 30, 1, 1);
    const auto wheel = [&](int delta) {
        const QPointF at(100, 100);
        QWheelEvent event(at, grid->viewport()->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(grid->viewport(), &event);
    };
    wheel(-120);
    EXPECT_EQ(grid->GetScrollPos32(SB_VERT), 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(grid->GetScrollPos32(SB_VERT), 60);
    for (int step = 0; step < 4; ++step)
        wheel(-20);
    QCoreApplication::processEvents();
    EXPECT_EQ(grid->GetScrollPos32(SB_VERT), 100) << "four sixths of a notch make two lines";
    wheel(120);
    QCoreApplication::processEvents();
    EXPECT_EQ(grid->GetScrollPos32(SB_VERT), 40);
    grid->SetWheelScrollLines(0);
    wheel(-360);
    QCoreApplication::processEvents();
    EXPECT_EQ(grid->GetScrollPos32(SB_VERT), 40) << "a setting of no lines scrolls nothing";
}

} // namespace
