#include "GridTestSupport.h"

#include <QImage>
#include <QScreen>
#include <QScrollBar>
#include <QStyleHints>
#include <QWheelEvent>

TEST(GridGeometry, ScrollingMovesOnlyTheNonFixedCellsAndHiddenLinesTakeNoSpace)
{
    auto grid = MakeShownGrid(50, 30, 1, 1);
    grid->SetScrollPos32(SB_HORZ, 100);
    grid->SetScrollPos32(SB_VERT, 60);
    EXPECT_EQ(grid->GetTopLeftNonFixedCell(), GridCellId(4, 3));
    EXPECT_EQ(CellRect(*grid, 4, 3), QRect(50, 20, 50, 20));
    EXPECT_EQ(CellRect(*grid, 0, 3), QRect(50, 0, 50, 20)) << "the fixed row follows horizontally";
    EXPECT_EQ(CellRect(*grid, 4, 0), QRect(0, 20, 50, 20)) << "the fixed column follows vertically";
    QRect out;
    EXPECT_FALSE(grid->GetCellRect(3, 3, &out) || grid->GetCellRect(4, 2, &out) || grid->IsCellVisible(3, 1));
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
    EXPECT_EQ(CellRect(*grid, 3, 3).topLeft(), QPoint(100, 40));
    EXPECT_EQ(grid->GetCellFromPoint(QPoint(100, 40)), GridCellId(3, 3));
    EXPECT_EQ(grid->GetCellFromPoint(QPoint(99, 39)), GridCellId(1, 1));
    grid->SetRowHeight(1, 0);
    grid->SetScrollPos32(SB_VERT, 20);
    EXPECT_EQ(grid->GetTopLeftNonFixedCell().row, 4);
    EXPECT_EQ(CellRect(*grid, 4, 1).top(), 20);
}

TEST(GridView, PaintsLinesRaisedHeadingsTheFocusAndClippedTextBarsShowOnlyWhenNeededAndEnsureVisibleShowsACell)
{
    auto grid = MakeShownGrid(10, 6, 1, 1);
    EXPECT_FALSE(grid->IsScrollBarShown(SB_VERT) || grid->IsScrollBarShown(SB_HORZ));
    grid->SetCellText(2, 5, QString(40, QLatin1Char('W')));
    grid->SetCellFormat(2, 5, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    const QColor line = ColorRefToQColor(grid->GetGridLineColor());
    const auto Colour = [](int sysColour) { return ColorRefToQColor(GetSysColor(sysColour)); };
    QImage image = grid->viewport()->grab().toImage();
    QImage beyond(95, 20, image.format());
    beyond.fill(image.pixelColor(395, 50));
    EXPECT_TRUE(image.copy(300, 40, 95, 20) == beyond) << "the last column ends at x 300, even for a text without ...";
    EXPECT_EQ(grid->GetCellFromPoint(QPoint(350, 250)), GridCellId(-1, -1)) << "no cell lies beyond the last one";
    EXPECT_EQ(image.pixelColor(99, 30), line) << "last pixel of column 1";
    EXPECT_EQ(image.pixelColor(100, 30), Colour(COLOR_WINDOW));
    EXPECT_EQ(image.pixelColor(75, 39), line) << "last pixel of row 1";
    EXPECT_EQ(image.pixelColor(75, 40), Colour(COLOR_WINDOW));
    EXPECT_NE(image.pixelColor(99, 10), line) << "the fixed row has no grid lines";
    EXPECT_EQ(image.pixelColor(0, 30), Colour(COLOR_3DHIGHLIGHT)) << "raised: light top and left";
    EXPECT_EQ(image.pixelColor(49, 30), Colour(COLOR_3DDKSHADOW)) << "raised: dark right and bottom";

    grid->SetFocusCell(2, 2);
    image = grid->viewport()->grab().toImage();
    for (const QPoint frame : {QPoint(100, 50), QPoint(148, 50), QPoint(120, 40), QPoint(120, 58)})
        EXPECT_EQ(image.pixelColor(frame), Colour(COLOR_WINDOWTEXT)) << frame.x() << "," << frame.y();
    EXPECT_EQ(image.pixelColor(149, 50), line);
    EXPECT_EQ(image.pixelColor(0, 50), Colour(COLOR_3DDKSHADOW)) << "the focus row's heading is sunken";
    EXPECT_EQ(image.pixelColor(100, 5), Colour(COLOR_3DDKSHADOW)) << "the focus column's heading is sunken";
    EXPECT_EQ(image.pixelColor(50, 5), Colour(COLOR_3DHIGHLIGHT)) << "other headings stay raised";

    grid->SetRowCount(40);
    EXPECT_TRUE(grid->IsScrollBarShown(SB_VERT) && !grid->IsScrollBarShown(SB_HORZ)) << "a count change resets them";
    grid->SetRowCount(50);
    grid->SetColumnCount(30);
    ShowGrid(*grid);
    const QScrollBar* vertical = grid->verticalScrollBar();
    EXPECT_EQ(vertical->maximum(), 49 * 20 - vertical->pageStep()) << "the last page ends with the last row";

    // A cell comes wholly into view; ten hidden rows make room for the ten after the last one shown.
    grid->EnsureVisible(40, 20);
    EXPECT_TRUE(QRect(50, 20, 400, 300).intersected(grid->ClientRect()).contains(CellRect(*grid, 40, 20)));
    grid->EnsureVisible(1, 1);
    EXPECT_EQ(grid->GetScrollPos32(SB_VERT), 0);
    const int lastShown = grid->GetVisibleNonFixedRange().maxRow;
    for (int row = 1; row <= 10; ++row)
        grid->SetRowHeight(row, 0);
    grid->EnsureVisible(lastShown - 1 + 10, 1);
    EXPECT_TRUE(grid->IsCellVisible(lastShown - 1 + 10, 1));
    EXPECT_EQ(grid->GetScrollPos32(SB_VERT), 0) << "the hidden rows made room: nothing to scroll";
    grid->SetRowHeight(0, 400);
    EXPECT_FALSE(grid->IsScrollBarShown(SB_VERT) || grid->IsScrollBarShown(SB_HORZ)) << "all fixed: no bars";
}

TEST(GridScroll, LinesStepByShownRowsPagesByTheNonFixedExtentTheWheelThreeLinesANotchAndThePictureStaysRight)
{
    QGuiApplication::styleHints()->setWheelScrollLines(3);
    auto grid = MakeShownGrid(50, 30, 1, 1);
    // Four sixths of a notch make two lines.
    for (const auto& [delta, times, position] : {std::tuple{-120, 1, 60}, {-20, 4, 100}, {120, 1, 40}}) {
        for (int time = 0; time < times; ++time) {
            const QPointF at(100, 100);
            QWheelEvent event(at, grid->viewport()->mapToGlobal(at), {}, {0, delta}, {}, {}, Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(grid->viewport(), &event);
        }
        QCoreApplication::processEvents();
        EXPECT_EQ(grid->GetScrollPos32(SB_VERT), position) << delta;
    }
    grid->OnVScroll(SB_BOTTOM);
    EXPECT_TRUE(grid->IsCellVisible(49, 1)) << "the end shows the last row";

    QScrollBar* bar = grid->verticalScrollBar();
    bar->triggerAction(QAbstractSlider::SliderToMinimum);
    grid->SetRowHeight(1, 33);
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(grid->GetScrollPos32(SB_VERT), 33) << "a bar's line step is the row's height";
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(grid->GetScrollPos32(SB_VERT), 33 + grid->ClientRect().height() - 20);
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

    for (int row = 0; row < 50; ++row)
        for (int col = 0; col < 30; ++col)
            grid->SetCellText(row, col, QStringLiteral("%1:%2").arg(row).arg(col));
    grid->SetRowHeight(4, 0);
    grid->SetColumnWidth(5, 73);
    grid->SetFocusCell(6, 3);
    const auto onScreen = [&] { // what the window shows, as the window system has it
        QCoreApplication::processEvents();
        const QImage window = grid->screen()->grabWindow(grid->winId()).toImage();
        return window.copy(grid->viewport()->geometry()).convertToFormat(QImage::Format_RGB32);
    };
    (void)onScreen();
    const auto repainted = [&] { return grid->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32); };
    for (const Qt::Key key : {Qt::Key_Down, Qt::Key_Right, Qt::Key_Up}) {
        QTest::keyClick(grid.get(), key);
        EXPECT_TRUE(onScreen() == repainted()) << "the sunken headings follow the focus, key " << key;
    }
    for (int step : {SB_LINEDOWN, SB_LINEDOWN, SB_PAGEDOWN, SB_LINEUP, SB_LINEDOWN}) {
        grid->OnVScroll(step);
        grid->OnHScroll(step);
        EXPECT_TRUE(onScreen() == repainted()) << "after scroll action " << step;
    }
    // A column scrolled out to the left grows: the next scroll starts from the picture as it now is.
    grid->SetColumnWidth(2, 130);
    grid->ResetScrollBars();
    grid->OnHScroll(SB_LINEDOWN);
    EXPECT_TRUE(onScreen() == repainted());
}
