#pragma once

#include "grid/CGridCtrl.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

// Records what a grid tells its owner and answers each code as the test set (0 for codes it did not set).
class RecordingOwner : public GridOwner
{
public:
    long OnGridNotify(const GridNotifyInfo& info) override
    {
        received.push_back(info);
        const auto answer = answers.find(info.code);
        return answer == answers.end() ? 0 : answer->second;
    }
    int Count(int code) const { return int(std::ranges::count(received, code, &GridNotifyInfo::code)); }

    std::vector<GridNotifyInfo> received;
    std::map<int, long> answers;
};

// Uniform sizes and no frame, so that client pixels are easy to reason about.
inline void ShowGrid(CGridCtrl& grid, QSize clientSize = QSize(400, 300), int rowHeight = 20, int colWidth = 50)
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

inline std::unique_ptr<CGridCtrl> MakeShownGrid(int rows, int cols, int fixedRows, int fixedCols)
{
    auto grid = std::make_unique<CGridCtrl>(rows, cols, fixedRows, fixedCols);
    ShowGrid(*grid);
    return grid;
}

// Makes the window the active one, as when the user works in it.
inline void Activate(QWidget& widget)
{
    widget.activateWindow();
    QApplication::setActiveWindow(&widget);
    (void)QTest::qWaitForWindowActive(&widget);
}

inline QRect CellRect(const CGridCtrl& grid, int row, int col)
{
    QRect rect;
    EXPECT_TRUE(grid.GetCellRect(row, col, &rect)) << row << "," << col;
    return rect;
}

inline QPoint CellCentre(const CGridCtrl& grid, int row, int col) { return CellRect(grid, row, col).center(); }

inline void ClickCell(CGridCtrl& grid, int row, int col, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, modifiers, CellCentre(grid, row, col));
}
