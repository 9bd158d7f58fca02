#include "GridTestSupport.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>

long RecordingOwner::OnGridNotify(const GridNotifyInfo& info)
{
    received.push_back(info);
    const auto answer = answers.find(info.code);
    return answer == answers.end() ? 0 : answer->second;
}

int RecordingOwner::Count(int code) const
{
    return int(std::count_if(received.begin(), received.end(),
                             [code](const GridNotifyInfo& info) { return info.code == code; }));
}

void ShowGrid(CGridCtrl& grid, QSize clientSize, int rowHeight, int colWidth)
{
    grid.setFrameShape(QFrame::NoFrame);
    for (int row = 0; row < grid.GetRowCount(); ++row)
        grid.SetRowHeight(row, rowHeight);
    for (int col = 0; col < grid.GetColumnCount(); ++col)
        grid.SetColumnWidth(col, colWidth);
    grid.resize(clientSize);
    grid.show();
    grid.ResetScrollBars();
}

std::unique_ptr<CGridCtrl> MakeShownGrid(int rows, int cols, int fixedRows, int fixedCols)
{
    auto grid = std::make_unique<CGridCtrl>(rows, cols, fixedRows, fixedCols);
    ShowGrid(*grid);
    return grid;
}

void Activate(QWidget& widget)
{
    widget.activateWindow();
    QApplication::setActiveWindow(&widget);
    (void)QTest::qWaitForWindowActive(&widget);
}

QRect CellRect(const CGridCtrl& grid, int row, int col)
{
    QRect rect;
    EXPECT_TRUE(grid.GetCellRect(row, col, &rect)) << row << "," << col;
    return rect;
}

QPoint CellCentre(const CGridCtrl& grid, int row, int col)
{
    return CellRect(grid, row, col).center();
}

void ClickCell(CGridCtrl& grid, int row, int col, Qt::KeyboardModifiers modifiers)
{
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, modifiers, CellCentre(grid, row, col));
}
