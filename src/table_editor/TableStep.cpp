#include "TableStep.h"

#include "grid/CGridCtrl.h"

qint64 TableStep::TextBytes(const QString& text)
{
    constexpr qint64 HeaderAndAllocator = 32;
    return text.capacity() > 0 ? HeaderAndAllocator + text.capacity() * qint64(sizeof(QChar)) : 0;
}

void TableStep::Undo(CGridCtrl& grid) const
{
    const bool allowDraw = grid.GetRedraw();
    // One repaint at the end: a step can reach every cell of a table.
    grid.SetRedraw(false);
    PutBack(grid);
    Finish(grid, allowDraw, before);
}

void TableStep::Redo(CGridCtrl& grid) const
{
    const bool allowDraw = grid.GetRedraw();
    grid.SetRedraw(false);
    DoAgain(grid);
    Finish(grid, allowDraw, after);
}

void TableStep::Finish(CGridCtrl& grid, bool allowDraw, const GridMoment& moment) const
{
    moment.Restore(grid);
    grid.SetRedraw(allowDraw, true);
    if (grid.IsValid(ChangedCell()))
        grid.EnsureVisible(ChangedCell());
    grid.Refresh();
}
