#pragma once

#include "grid/CGridCellBase.h"
#include "grid/GridCellId.h"
#include "grid/GridCellRange.h"

#include <QSet>

#include <vector>

class CGridCtrl;

// The selected cells of a grid.  A cell's selected state bit is the truth;
// the set of selected cells mirrors it so that nothing walks the whole grid
// to find them.  The cells selected when a Ctrl-click began stay selected
// while the drag selects more, and the selection start is the corner that
// Shift and dragging extend from.
class GridSelection
{
public:
    explicit GridSelection(CGridCtrl& grid);

    // One collision-free key per cell.
    static quint64 CellKey(int row, int col) { return (quint64(quint32(row)) << 32) | quint32(col); }
    static GridCellId CellFromKey(quint64 key) { return GridCellId(int(quint32(key >> 32)), int(quint32(key))); }

    int Count() const { return int(m_selected.size()); }
    // Sorted by row, then column.
    std::vector<GridCellId> Cells() const;
    GridCellRange BoundingRange() const;

    GridCellId Start() const { return m_start; }
    void SetStart(const GridCellId& cell) { m_start = cell; }
    // A new selection begins; with keepCurrent (a Ctrl-click) the cells
    // selected now stay selected beside it.
    void Begin(bool keepCurrent);

    // Keeps the set in step with a cell whose state bits change; inline, as
    // every state change of every cell passes here.
    void OnStateChange(int row, int col, quint32 oldState, quint32 newState)
    {
        const bool was = oldState & CellStateSelected;
        const bool is = newState & CellStateSelected;
        if (is && !was)
            m_selected.insert(CellKey(row, col));
        else if (was && !is)
            m_selected.remove(CellKey(row, col));
    }
    void SetCellSelected(const GridCellId& cell, bool selected);

    // Selects the range (or deselects it); selecting first drops whatever
    // lies outside the range, less the cells a Ctrl-click keeps.
    void SetRange(GridCellRange range, bool select);
    // The rectangle, the whole rows or the whole columns from the selection
    // start to cell.
    void SelectCells(const GridCellId& cell, bool select);
    void SelectRows(const GridCellId& cell, bool select);
    void SelectColumns(const GridCellId& cell, bool select);
    // Deselects every cell and forgets the kept ones.
    void Clear();

private:
    void DeselectAllBut(const GridCellRange& range, const GridCellRange& visible);
    void RestoreKept(const GridCellRange& visible);
    void RepaintCell(const GridCellId& cell, const GridCellRange& visible);

    CGridCtrl& m_grid;
    QSet<quint64> m_selected;
    QSet<quint64> m_kept;
    GridCellId m_start;
};
