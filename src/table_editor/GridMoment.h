#pragma once

// Before the cell types: their <=> needs <compare>, which Qt brings in.
#include <QtGlobal>

#include "grid/GridCellId.h"
#include "grid/GridCellRange.h"

class CGridCtrl;

// Where the user was in a grid at one moment: the selected rectangle and
// the focus cell.  An undone step puts the user back there, so the next
// key works on the same cells as before the step.
struct GridMoment
{
    GridCellRange selection;
    GridCellId focus;

    static GridMoment Capture(const CGridCtrl& grid);
    void Restore(CGridCtrl& grid) const;
};
