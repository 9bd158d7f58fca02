#include "grid/GridAutoSizer.h"

#include "grid/CGridCtrl.h"

#include <algorithm>

GridAutoSizer::GridAutoSizer(const CGridCtrl& grid, GridCellStore& store)
    : m_grid(grid)
    , m_store(store)
{
}

std::pair<int, int> GridAutoSizer::RowSpan(int style) const
{
    const int fixedRows = m_store.FixedRowCount();
    return {style & GVS_HEADER ? 0 : fixedRows, style & GVS_DATA ? m_store.RowCount() - 1 : fixedRows - 1};
}

const GridPlainMeasure& GridAutoSizer::PlainMeasure(quint32 state)
{
    const bool fixedRow = state & CellStateFixedRow;
    const bool fixedCol = state & CellStateFixedColumn;
    std::optional<GridPlainMeasure>& measure = m_plain[size_t(fixedRow) * 2 + size_t(fixedCol)];
    if (!measure)
        measure.emplace(*m_grid.GetDefaultCell(fixedRow, fixedCol));
    return *measure;
}

QSize GridAutoSizer::Extent(int row, int col)
{
    const GridRow& cells = m_store.Row(row);
    if (const CGridCellBase* object = cells.Object(col))
        return m_extents.Extent(*object);
    const GridPlainMeasure& plain = PlainMeasure(cells.State(col));
    if (plain.IsDirect())
        return plain.Extent(cells.Text(col));
    return m_extents.Extent(m_store.CellView(row, col));
}

bool GridAutoSizer::FitColumn(int col, int style)
{
    if (col < 0 || col >= m_store.ColumnCount() || m_store.ColumnWidth(col) == 0)
        return false;
    const auto [first, last] = RowSpan(style);
    int width = 0;
    for (int row = first; row <= last; ++row)
        width = std::max(width, Extent(row, col).width());
    m_store.SetColumnWidth(col, width);
    return true;
}

bool GridAutoSizer::FitRow(int row)
{
    if (row < 0 || row >= m_store.RowCount() || m_store.RowHeight(row) == 0)
        return false;
    int height = 0;
    for (int col = 0; col < m_store.ColumnCount(); ++col)
        height = std::max(height, Extent(row, col).height());
    m_store.SetRowHeight(row, height);
    return true;
}

// Rows and columns grow together in one pass over the cells; a shown row
// starts from 1 so that it stays shown.
void GridAutoSizer::FitAll(int style)
{
    const auto [first, last] = RowSpan(style);
    for (int row = first; row <= last; ++row) {
        if (m_store.RowHeight(row) != 0)
            m_store.SetRowHeight(row, 1);
    }
    for (int col = 0; col < m_store.ColumnCount(); ++col) {
        if (m_store.ColumnWidth(col) == 0)
            continue;
        int width = 0;
        for (int row = first; row <= last; ++row) {
            const int height = m_store.RowHeight(row);
            if (height == 0)
                continue;
            const QSize extent = Extent(row, col);
            width = std::max(width, extent.width());
            m_store.SetRowHeight(row, std::max(height, extent.height()));
        }
        m_store.SetColumnWidth(col, width);
    }
}
