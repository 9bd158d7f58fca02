#pragma once

#include "grid/GridCellId.h"
#include "grid/GridCellRange.h"

#include <QPoint>
#include <QRect>

class CGridCtrl;
class GridCellStore;

// Where the cells lie in the grid's client area: the fixed rows and columns
// at the top and left, then the non-fixed cells from the top-left one that
// the scroll positions reach.  That cell is kept until something that moves
// it (a scroll, a count or size change) says to forget it.
class GridGeometry
{
public:
    GridGeometry(const CGridCtrl& grid, const GridCellStore& store);

    void ForgetTopLeft() { m_topLeft = GridCellId(); }
    GridCellId TopLeft(bool recalculate = false) const;
    // How far the top-left non-fixed column (row) starts past the first
    // non-fixed one.
    int TopLeftOffset(bool vertical) const;
    GridCellRange VisibleRange(QRect* rect = nullptr, bool recalculate = false) const;

    bool CellOrigin(int row, int col, QPoint* origin) const;
    bool CellRect(int row, int col, QRect* rect) const;
    GridCellId CellFromPoint(QPoint point, bool allowFixedCells = true) const;
    bool IsCellVisible(int row, int col) const;
    // Within the capture range of a row (column) border that can be dragged.
    bool IsOverResizeArea(bool rows, QPoint point) const;

private:
    const CGridCtrl& m_grid;
    const GridCellStore& m_store;
    mutable GridCellId m_topLeft;
};
