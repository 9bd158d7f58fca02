#pragma once

#include "TableStep.h"

#include <QStringList>

// A whole row added or removed: its texts (the heading first) and its
// height, so undoing Remove Row brings the row back exactly where it was.
class RowStep : public TableStep
{
public:
    enum Kind { Added, Removed };

    // The row as it is in the grid now (Added) or just before it goes (Removed).
    static QStringList RowTexts(const CGridCtrl& grid, int row);

    RowStep(Kind kind, int row, QStringList texts, int height, const GridMoment& before, const GridMoment& after);

    qint64 Bytes() const override;

protected:
    void PutBack(CGridCtrl& grid) const override;
    void DoAgain(CGridCtrl& grid) const override;
    GridCellId ChangedCell() const override;

private:
    void Insert(CGridCtrl& grid) const;
    void Remove(CGridCtrl& grid) const;

    Kind kind;
    int row;
    QStringList texts;
    int height;
};
