#pragma once

#include "grid/CGridCtrl.h"

#include <QSize>

#include <map>
#include <memory>
#include <vector>

// Records what a grid tells its owner and answers each code as the test set (0 for codes it did not set).
class RecordingOwner : public GridOwner
{
public:
    long OnGridNotify(const GridNotifyInfo& info) override;
    int Count(int code) const;

    std::vector<GridNotifyInfo> received;
    std::map<int, long> answers;
};

// Uniform sizes and no frame, so that client pixels are easy to reason about.
void ShowGrid(CGridCtrl& grid, QSize clientSize = QSize(400, 300), int rowHeight = 20, int colWidth = 50);
std::unique_ptr<CGridCtrl> MakeShownGrid(int rows, int cols, int fixedRows, int fixedCols);

// Makes the grid's window the active one, as when the user works in it.
void Activate(QWidget& widget);

QRect CellRect(const CGridCtrl& grid, int row, int col);
QPoint CellCentre(const CGridCtrl& grid, int row, int col);
void ClickCell(CGridCtrl& grid, int row, int col, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
