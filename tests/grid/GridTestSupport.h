#pragma once

#include "grid/CGridCtrl.h"

#include <QSize>

#include <memory>
#include <vector>

// Records what a grid tells its owner and answers with what the test set.
class RecordingOwner : public GridOwner
{
public:
    long OnGridNotify(const GridNotifyInfo& info) override
    {
        received.push_back(info);
        return answer;
    }
    int Count(int code) const;

    std::vector<GridNotifyInfo> received;
    long answer = 0;
};

// A grid of uniform sizes (rows of rowHeight, columns of colWidth pixels),
// without a frame, shown at clientSize, so that client pixels are easy to
// reason about.
std::unique_ptr<CGridCtrl> MakeShownGrid(int rows, int cols, int fixedRows, int fixedCols,
                                         QSize clientSize = QSize(400, 300), int rowHeight = 20,
                                         int colWidth = 50);

// Makes the grid's window the active one, as when the user works in it.
void Activate(QWidget& widget);
