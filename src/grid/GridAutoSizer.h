#pragma once

#include "grid/GridExtentCache.h"

#include <QSize>

#include <utility>

class GridCellStore;

// Fits rows and columns to their cells' texts, as painting measures them.
// style is a GVS_* choice of the rows a column's width considers: the fixed
// rows, the others, or both.  Hidden rows and columns stay hidden.  A sizer
// serves one pass.
class GridAutoSizer
{
public:
    explicit GridAutoSizer(GridCellStore& store);

    bool FitColumn(int col, int style);
    bool FitRow(int row);
    // Every shown column, and every shown row that style considers.
    void FitAll(int style);

private:
    std::pair<int, int> RowSpan(int style) const;
    QSize Extent(int row, int col);

    GridCellStore& m_store;
    GridExtentCache m_extents;
};
