#include "grid/GridAutoSizer.h"

#include "grid/CGridCtrl.h"
#include "grid/GridExtentCache.h"

#include <algorithm>

GridAutoSizer::GridAutoSizer(GridCellStore& store)
    : m_store(store)
{
}

std::pair<int, int> GridAutoSizer::RowSpan(int style) const
{
    const int fixedRows = m_store.FixedRowCount();
    return {style & GVS_HEADER ? 0 : fixedRows, style & GVS_DATA ? m_store.RowCount() - 1 : fixedRows - 1};
}

bool GridAutoSizer::FitColumn(int col, int style)
{
    if (col < 0 || col >= m_store.ColumnCount() || m_store.ColumnWidth(col) == 0)
        return false;
    const auto [first, last] = RowSpan(style);
    GridExtentCache extents;
    int width = 0;
    for (int row = first; row <= last; ++row) {
        if (const CGridCellBase* cell = m_store.Cell(row, col))
            width = std::max(width, extents.Extent(*cell).width());
    }
    m_store.SetColumnWidth(col, width);
    return true;
}

bool GridAutoSizer::FitRow(int row)
{
    if (row < 0 || row >= m_store.RowCount() || m_store.RowHeight(row) == 0)
        return false;
    GridExtentCache extents;
    int height = 0;
    for (int col = 0; col < m_store.ColumnCount(); ++col) {
        if (const CGridCellBase* cell = m_store.Cell(row, col))
            height = std::max(height, extents.Extent(*cell).height());
    }
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
    GridExtentCache extents;
    for (int col = 0; col < m_store.ColumnCount(); ++col) {
        if (m_store.ColumnWidth(col) == 0)
            continue;
        int width = 0;
        for (int row = first; row <= last; ++row) {
            const int height = m_store.RowHeight(row);
            const CGridCellBase* cell = m_store.Cell(row, col);
            if (height == 0 || !cell)
                continue;
            const QSize extent = extents.Extent(*cell);
            width = std::max(width, extent.width());
            m_store.SetRowHeight(row, std::max(height, extent.height()));
        }
        m_store.SetColumnWidth(col, width);
    }
}
