#pragma once

#include <QColor>
#include <QString>

// What the grid's owner may lay on cells while they are painted, without
// the cells holding it: a colour under the cell (an invalid colour paints
// the cell as it is) and a note that the cell's title tip shows, even when
// the cell's text fits.  The grid asks for every cell it paints, so the
// answers must come fast.
class GridCellTint
{
public:
    virtual QColor CellTint(int row, int col) const = 0;
    // Empty for no note.
    virtual QString CellNote(int row, int col) const = 0;

protected:
    ~GridCellTint() = default;
};
