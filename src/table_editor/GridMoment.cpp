#include "GridMoment.h"

#include "grid/CGridCtrl.h"

GridMoment GridMoment::Capture(const CGridCtrl& grid)
{
    return GridMoment{grid.GetSelectedRange(), grid.GetFocusCell()};
}

void GridMoment::Restore(CGridCtrl& grid) const
{
    // A step may have removed the row the moment names: what no longer
    // exists is left out rather than selected.
    if (grid.IsValid(selection))
        grid.SetSelectedRange(selection);
    else
        grid.ResetSelection();
    if (grid.IsValid(focus))
        grid.SetFocusCell(focus);
}
