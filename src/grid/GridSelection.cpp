#include "grid/GridSelection.h"

#include "grid/CGridCtrl.h"

#include <algorithm>

GridSelection::GridSelection(CGridCtrl& grid)
    : m_grid(grid)
{
}

std::vector<GridCellId> GridSelection::Cells() const
{
    std::vector<GridCellId> cells;
    cells.reserve(size_t(m_selected.size()));
    for (quint64 key : m_selected)
        cells.push_back(CellFromKey(key));
    std::sort(cells.begin(), cells.end());
    return cells;
}

GridCellRange GridSelection::BoundingRange() const
{
    GridCellRange range(m_grid.GetRowCount(), m_grid.GetColumnCount(), -1, -1);
    for (quint64 key : m_selected) {
        const GridCellId cell = CellFromKey(key);
        range.minRow = std::min(range.minRow, cell.row);
        range.minCol = std::min(range.minCol, cell.col);
        range.maxRow = std::max(range.maxRow, cell.row);
        range.maxCol = std::max(range.maxCol, cell.col);
    }
    return range;
}

void GridSelection::Begin(bool keepCurrent)
{
    m_kept.clear();
    if (keepCurrent)
        m_kept = m_selected;
}

void GridSelection::SetCellSelected(const GridCellId& cell, bool selected)
{
    const quint32 state = m_grid.GetCellState(cell.row, cell.col);
    m_grid.SetCellState(cell.row, cell.col, selected ? state | CellStateSelected : state & ~CellStateSelected);
}

// Only cells inside the visible range can need paint; checking the range is
// far cheaper than asking each of the hundred thousand cells of a select-all.
void GridSelection::RepaintCell(const GridCellId& cell, const GridCellRange& visible)
{
    if (visible.InRange(cell))
        m_grid.InvalidateCellRect(cell.row, cell.col);
}

void GridSelection::SetRange(GridCellRange range, bool select)
{
    if (!m_grid.IsSelectable())
        return;
    const GridCellRange visible = m_grid.GetVisibleNonFixedRange();
    const auto raise = [](int& bound, int fixed) { bound = bound >= 0 ? std::max(bound, fixed) : bound; };
    raise(range.minRow, m_grid.GetFixedRowCount());
    raise(range.minCol, m_grid.GetFixedColumnCount());
    raise(range.maxRow, m_grid.GetFixedRowCount());
    raise(range.maxCol, m_grid.GetFixedColumnCount());
    if (select) {
        DeselectAllBut(range, visible);
        if (!(m_grid.GetListMode() && m_grid.GetSingleRowSelection())) {
            if (range.minRow < 0)
                return;
            if (range.minCol >= 0 && range.maxRow >= 0 && range.maxCol >= 0)
                RestoreKept(visible);
        }
    }
    if (!m_grid.IsValid(range))
        return;
    for (int row = range.minRow; row <= range.maxRow; ++row) {
        for (int col = range.minCol; col <= range.maxCol; ++col) {
            if (bool(m_grid.GetCellState(row, col) & CellStateSelected) == select)
                continue;
            SetCellSelected({row, col}, select);
            RepaintCell({row, col}, visible);
        }
    }
}

// Cells inside range need no paint here: selecting them again repaints them.
void GridSelection::DeselectAllBut(const GridCellRange& range, const GridCellRange& visible)
{
    const QSet<quint64> selected = m_selected;
    for (quint64 key : selected) {
        const GridCellId cell = CellFromKey(key);
        if (!m_grid.IsValid(cell)) {
            m_selected.remove(key);
            continue;
        }
        SetCellSelected(cell, false);
        if (!range.InRange(cell))
            RepaintCell(cell, visible);
    }
    // A hash keeps the capacity of its largest size; after a select-all
    // every later copy and walk of the set would pay for it.
    if (m_selected.isEmpty())
        m_selected.squeeze();
}

void GridSelection::RestoreKept(const GridCellRange& visible)
{
    for (quint64 key : std::as_const(m_kept)) {
        const GridCellId cell = CellFromKey(key);
        if (!m_grid.IsValid(cell))
            continue;
        SetCellSelected(cell, true);
        RepaintCell(cell, visible);
    }
}

void GridSelection::SelectCells(const GridCellId& cell, bool select)
{
    if (!m_grid.IsSelectable() || !m_grid.IsValid(cell) || m_grid.IsCellFixed(cell.row, cell.col))
        return;
    SetRange(GridCellRange(std::min(m_start.row, cell.row), std::min(m_start.col, cell.col),
                           std::max(m_start.row, cell.row), std::max(m_start.col, cell.col)),
             select);
}

void GridSelection::SelectRows(const GridCellId& cell, bool select)
{
    if (!m_grid.IsSelectable() || !m_grid.IsValid(cell) || cell.row < m_grid.GetFixedRowCount())
        return;
    const int startRow = (m_grid.GetListMode() && m_grid.GetSingleRowSelection()) ? cell.row : m_start.row;
    SetRange(GridCellRange(std::min(startRow, cell.row), m_grid.GetFixedColumnCount(), std::max(startRow, cell.row),
                           m_grid.GetColumnCount() - 1),
             select);
}

void GridSelection::SelectColumns(const GridCellId& cell, bool select)
{
    if (!m_grid.IsSelectable() || !m_grid.IsValid(cell) || cell.col < m_grid.GetFixedColumnCount())
        return;
    const int startCol = m_grid.GetSingleColSelection() ? cell.col : m_start.col;
    SetRange(GridCellRange(m_grid.GetFixedRowCount(), std::min(startCol, cell.col), m_grid.GetRowCount() - 1,
                           std::max(startCol, cell.col)),
             select);
}

void GridSelection::Clear()
{
    m_kept.clear();
    const QSet<quint64> selected = m_selected;
    for (quint64 key : selected) {
        const GridCellId cell = CellFromKey(key);
        SetCellSelected(cell, false);
        m_grid.InvalidateCellRect(cell.row, cell.col);
    }
    m_selected.clear();
}
