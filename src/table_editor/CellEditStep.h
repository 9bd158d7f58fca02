#pragma once

#include "TableStep.h"

#include <QString>

#include <vector>

// Texts of cells changed by one action: an edit, Delete, cut, paste, a
// formula, a property code or a renamed heading.  Each cell keeps the text
// it had and the text it got, so a paste over a whole table is one step.
class CellEditStep : public TableStep
{
public:
    struct Change
    {
        int row;
        int col;
        QString before;
        QString after;
    };

    CellEditStep(std::vector<Change> changes, const GridMoment& before, const GridMoment& after);

    qint64 Bytes() const override;

protected:
    void PutBack(CGridCtrl& grid) const override;
    void DoAgain(CGridCtrl& grid) const override;
    GridCellId ChangedCell() const override;

private:
    std::vector<Change> changes;
};
