#include "GridTestSupport.h"

#include <QApplication>
#include <QTest>

#include <algorithm>

int RecordingOwner::Count(int code) const
{
    return int(std::count_if(received.begin(), received.end(),
                             [code](const GridNotifyInfo& info) { return info.code == code; }));
}

std::unique_ptr<CGridCtrl> MakeShownGrid(int rows, int cols, int fixedRows, int fixedCols, QSize clientSize,
                                         int rowHeight, int colWidth)
{
    auto grid = std::make_unique<CGridCtrl>(rows, cols, fixedRows, fixedCols);
    grid->setFrameShape(QFrame::NoFrame);
    for (int row = 0; row < rows; ++row)
        grid->SetRowHeight(row, rowHeight);
    for (int col = 0; col < cols; ++col)
        grid->SetColumnWidth(col, colWidth);
    grid->resize(clientSize);
    grid->show();
    grid->ResetScrollBars();
    return grid;
}

void Activate(QWidget& widget)
{
    widget.activateWindow();
    QApplication::setActiveWindow(&widget);
    (void)QTest::qWaitForWindowActive(&widget);
}
