#pragma once

#include "grid/GridExtentCache.h"
#include "grid/GridPlainMeasure.h"

#include <QSize>

#include <array>
#include <utility>

class CGridCtrl;
class GridCellStore;

// Fits rows and columns to their cells' texts, as painting measures them.
// style is a GVS_* choice of the rows a column's width considers: the fixed
// rows, the others, or both.  Hidden rows and columns stay hidden.  Cells
// with nothing of their own are measured straight from their bytes; cells
// with an object through the extent cache.  A sizer serves one pass.
class GridAutoSizer
{
public:
    GridAutoSizer(const CGridCtrl& grid, GridCellStore& store);

    bool FitColumn(int col, int style);
    bool FitRow(int row);
    // Every shown column, and every shown row that style considers.
    void FitAll(int style);

private:
    std::pair<int, int> RowSpan(int style) const;
    QSize Extent(int row, int col);
    const GridPlainMeasure& PlainMeasure(quint32 state) const;

    GridCellStore& m_store;
    GridExtentCache m_extents;
    // One a default cell: ordinary, fixed column, fixed row, corner.
    std::array<GridPlainMeasure, 4> m_plain;
};
