#pragma once

#include "grid/GridCellRange.h"

#include <QLine>
#include <QRect>
#include <QVarLengthArray>

class CGridCtrl;
class GridCellStore;
class QPainter;

// Paints the grid: the background of its four areas (corner, fixed rows,
// fixed columns, body) and of what lies beyond the cells, the cells of each
// area that the clip reaches, and the grid lines between the body's cells.
class GridPainter
{
public:
    GridPainter(const CGridCtrl& grid, const GridCellStore& store);

    void Paint(QPainter& painter, const QRect& clip) const;
    // One cell at rect, with its grid lines when it is no heading.
    bool PaintCell(QPainter& painter, int row, int col, const QRect& rect) const;

private:
    using GridLines = QVarLengthArray<QLine, 256>;

    // The owner's tint under the cell, if it gives one; true when it did.
    bool FillTint(QPainter& painter, int row, int col, const QRect& rect) const;
    void EraseBackground(QPainter& painter, const QRect& clip, const QRect& visible, int fixedHeight,
                         int fixedWidth) const;
    void DrawCellBlock(QPainter& painter, const QRect& clip, int rowFrom, int rowTo, int y, int colFrom, int colTo,
                       int x, bool clipped) const;
    void DrawGridLines(QPainter& painter, const GridCellRange& range, const QRect& visible, int fixedHeight,
                       int fixedWidth) const;
    void AddLineAfterEach(GridLines& lines, bool rows, int first, int last, int start, int from, int to) const;

    const CGridCtrl& m_grid;
    const GridCellStore& m_store;
};
