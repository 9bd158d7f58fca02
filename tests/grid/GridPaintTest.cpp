#include "GridTestSupport.h"

#include <QCoreApplication>
#include <QImage>
#include <QScreen>

#include <gtest/gtest.h>

namespace {

QColor Colour(int sysColour)
{
    return ColorRefToQColor(GetSysColor(sysColour));
}

// What the window shows, as the window system has it.
QImage OnScreen(CGridCtrl& grid)
{
    QCoreApplication::processEvents();
    const QImage window = grid.screen()->grabWindow(grid.winId()).toImage();
    return window.copy(grid.viewport()->geometry()).convertToFormat(QImage::Format_RGB32);
}

QImage Repainted(CGridCtrl& grid)
{
    return grid.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

TEST(GridPaint, LinesEndEachBodyCellHeadingsAreRaisedAndTheFocusIsFramedWithSunkenHeadings)
{
    auto grid = MakeShownGrid(10, 6, 1, 1);
    const QColor line = ColorRefToQColor(grid->GetGridLineColor());
    QImage image = grid->viewport()->grab().toImage();
    EXPECT_EQ(image.pixelColor(99, 30), line) << "last pixel of column 1";
    EXPECT_EQ(image.pixelColor(100, 30), Colour(COLOR_WINDOW));
    EXPECT_EQ(image.pixelColor(75, 39), line) << "last pixel of row 1";
    EXPECT_EQ(image.pixelColor(75, 40), Colour(COLOR_WINDOW));
    EXPECT_NE(image.pixelColor(99, 10), line) << "the fixed row has no grid lines";
    EXPECT_EQ(image.pixelColor(0, 30), Colour(COLOR_3DHIGHLIGHT)) << "raised: light top and left";
    EXPECT_EQ(image.pixelColor(49, 30), Colour(COLOR_3DDKSHADOW)) << "raised: dark right and bottom";
    EXPECT_EQ(image.pixelColor(25, 39), Colour(COLOR_3DDKSHADOW));
    EXPECT_EQ(image.pixelColor(25, 30), Colour(COLOR_3DFACE));

    grid->SetFocusCell(2, 2);
    image = grid->viewport()->grab().toImage();
    for (const QPoint frame : {QPoint(100, 50), QPoint(148, 50), QPoint(120, 40), QPoint(120, 58)})
        EXPECT_EQ(image.pixelColor(frame), Colour(COLOR_WINDOWTEXT)) << frame.x() << "," << frame.y();
    EXPECT_EQ(image.pixelColor(149, 50), line);
    EXPECT_EQ(image.pixelColor(101, 50), Colour(COLOR_WINDOW));
    EXPECT_EQ(image.pixelColor(0, 50), Colour(COLOR_3DDKSHADOW)) << "the focus row's heading is sunken";
    EXPECT_EQ(image.pixelColor(100, 5), Colour(COLOR_3DDKSHADOW)) << "the focus column's heading is sunken";
    EXPECT_EQ(image.pixelColor(50, 5), Colour(COLOR_3DHIGHLIGHT)) << "other headings stay raised";
}

TEST(GridPaint, TextWiderThanItsCellIsCutAtTheCellsEdgeEvenWithoutAnEllipsis)
{
    auto grid = MakeShownGrid(10, 6, 1, 1);
    grid->SetCellText(2, 5, QString(40, QLatin1Char('W')));
    grid->SetCellFormat(2, 5, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    const QImage image = grid->viewport()->grab().toImage();
    const QColor empty = image.pixelColor(395, 50);
    int spilled = 0; // the last column ends at x 300
    for (int x = 300; x < 395; ++x)
        for (int y = 40; y < 60; ++y)
            spilled += image.pixelColor(x, y) != empty;
    EXPECT_EQ(spilled, 0);
}

TEST(GridPaint, ScrollingShowsWhatAWholeRepaintWouldShow)
{
    auto grid = MakeShownGrid(50, 30, 1, 1);
    for (int row = 0; row < 50; ++row)
        for (int col = 0; col < 30; ++col)
            grid->SetCellText(row, col, QStringLiteral("%1:%2").arg(row).arg(col));
    grid->SetRowHeight(4, 0);
    grid->SetColumnWidth(5, 73);
    grid->SetFocusCell(6, 3);
    (void)OnScreen(*grid);
    for (int step : {SB_LINEDOWN, SB_LINEDOWN, SB_PAGEDOWN, SB_LINEUP, SB_LINEDOWN}) {
        grid->OnVScroll(step);
        grid->OnHScroll(step);
        EXPECT_TRUE(OnScreen(*grid) == Repainted(*grid)) << "after scroll action " << step;
    }
    // A column scrolled out to the left grows: the next scroll starts from the picture as it now is.
    grid->SetColumnWidth(2, 130);
    grid->ResetScrollBars();
    grid->OnHScroll(SB_LINEDOWN);
    EXPECT_TRUE(OnScreen(*grid) == Repainted(*grid));
}

} // namespace
