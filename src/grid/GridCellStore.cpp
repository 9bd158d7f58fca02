#include "grid/GridCellStore.h"

#include <algorithm>
#include <numeric>

int GridCellStore::SumOf(const std::vector<int>& sizes, int from, int to)
{
    from = std::clamp(from, 0, int(sizes.size()));
    to = std::clamp(to, from, int(sizes.size()));
    return std::accumulate(sizes.begin() + from, sizes.begin() + to, 0);
}

GridAxis GridCellStore::RowAxis() const
{
    return GridAxis(m_rows, m_fixedRows, [this](int row) { return m_rowHeights[size_t(row)]; });
}

GridAxis GridCellStore::ColumnAxis() const
{
    return GridAxis(m_cols, m_fixedCols, [this](int col) { return m_colWidths[size_t(col)]; });
}

void GridCellStore::LimitFixedCount(bool rows, int count)
{
    int& fixed = rows ? m_fixedRows : m_fixedCols;
    fixed = std::min(fixed, count);
}

void GridCellStore::SetFixedCount(bool rows, int fixedCount)
{
    int& fixed = rows ? m_fixedRows : m_fixedCols;
    if (fixedCount < fixed)
        SetFixedFlags(rows, fixedCount, fixed, false);
    else
        SetFixedFlags(rows, fixed, fixedCount, true);
    fixed = fixedCount;
}

// A cell that changes between heading and body takes the default colours of
// its new area.
void GridCellStore::SetFixedFlags(bool rows, int from, int to, bool becomeFixed)
{
    const quint32 lineBit = rows ? CellStateFixedRow : CellStateFixedColumn;
    for (int row = rows ? from : 0; row < (rows ? to : m_rows); ++row) {
        for (int col = rows ? 0 : from; col < (rows ? m_cols : to); ++col) {
            CGridCellBase* cell = Cell(row, col);
            if (!cell)
                continue;
            quint32 state = cell->GetState();
            const bool fixedOtherWay = rows ? col < m_fixedCols : row < m_fixedRows;
            if (becomeFixed) {
                state |= CellStateFixed | lineBit;
            } else if (fixedOtherWay) {
                cell->SetState(state & ~lineBit);
                continue;
            } else {
                state &= ~(CellStateFixed | lineBit);
            }
            cell->SetState(state);
            cell->SetTextClr(CLR_DEFAULT);
            cell->SetBackClr(CLR_DEFAULT);
        }
    }
}

void GridCellStore::EraseRow(int row)
{
    m_cells.erase(m_cells.begin() + row);
    m_rowHeights.erase(m_rowHeights.begin() + row);
    --m_rows;
    if (row < m_fixedRows)
        --m_fixedRows;
}

void GridCellStore::EraseColumn(int col)
{
    for (GridRow& cells : m_cells)
        cells.erase(cells.begin() + col);
    m_colWidths.erase(m_colWidths.begin() + col);
    --m_cols;
    if (col < m_fixedCols)
        --m_fixedCols;
}

void GridCellStore::Clear()
{
    m_rowHeights.clear();
    m_colWidths.clear();
    m_cells.clear();
    m_rows = m_fixedRows = m_cols = m_fixedCols = 0;
}

void GridCellStore::ReorderRows(int first, const std::vector<int>& order)
{
    std::vector<GridRow> rows;
    std::vector<int> heights;
    rows.reserve(order.size());
    heights.reserve(order.size());
    for (int old : order) {
        rows.push_back(std::move(m_cells[size_t(old)]));
        heights.push_back(m_rowHeights[size_t(old)]);
    }
    for (size_t i = 0; i < order.size(); ++i) {
        const int row = first + int(i);
        m_cells[size_t(row)] = std::move(rows[i]);
        m_rowHeights[size_t(row)] = heights[i];
        for (int col = 0; col < m_cols; ++col) {
            if (CGridCellBase* cell = Cell(row, col))
                cell->SetCoords(row, col);
        }
    }
}
