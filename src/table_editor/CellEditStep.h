#pragma once

#include "TableStep.h"

#include <QByteArray>
#include <QString>

#include <vector>

// Texts of cells changed by one action: an edit, Delete, cut, paste, a
// formula, a property code or a renamed heading.  Each cell keeps the text
// it had and the text it got, so a paste over a whole table is one step.
// A cell holds Latin-1 only, so the step keeps all its texts as bytes one
// after the other: a paste over a whole table costs about its bytes twice,
// not two strings per cell.
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
    struct Cell
    {
        int row;
        int col;
    };

    // Where each text starts in texts, in the order they were added.
    std::vector<qsizetype> TextStarts() const;
    QString TextAt(qsizetype start) const;

    std::vector<Cell> cells;
    // For each change its text before, then its text after, each as its
    // length (seven bits a byte, the high bit set on all but the last byte)
    // followed by its bytes: almost every cell's length takes one byte.
    QByteArray texts;
};
