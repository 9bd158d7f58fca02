#include "CellEditStep.h"

#include "grid/CGridCtrl.h"

CellEditStep::CellEditStep(std::vector<Change> changes, const GridMoment& before, const GridMoment& after)
    : TableStep(before, after), changes(std::move(changes))
{
}

qint64 CellEditStep::Bytes() const
{
    qint64 bytes = qint64(sizeof(*this)) + qint64(changes.capacity() * sizeof(Change));
    for (const Change& change : changes)
        bytes += TextBytes(change.before) + TextBytes(change.after);
    return bytes;
}

void CellEditStep::PutBack(CGridCtrl& grid) const
{
    // Backwards, so a cell changed twice in one step ends with its first text.
    for (auto change = changes.rbegin(); change != changes.rend(); ++change)
        grid.SetCellText(change->row, change->col, change->before);
}

void CellEditStep::DoAgain(CGridCtrl& grid) const
{
    for (const Change& change : changes)
        grid.SetCellText(change.row, change.col, change.after);
}

GridCellId CellEditStep::ChangedCell() const
{
    return changes.empty() ? GridCellId() : GridCellId(changes.front().row, changes.front().col);
}
