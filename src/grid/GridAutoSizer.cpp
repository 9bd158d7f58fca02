#include "grid/GridAutoSizer.h"

#include "grid/CGridCtrl.h"

#include <algorithm>
#include <vector>

GridAutoSizer::GridAutoSizer(const CGridCtrl& grid, GridCellStore& store)
    : m_store(store)
    , m_plain{GridPlainMeasure(*grid.GetDefaultCell(false, false)), GridPlainMeasure(*grid.GetDefaultCell(false, true)),
              GridPlainMeasure(*grid.GetDefaultCell(true, false)), GridPlainMeasure(*grid.GetDefaultCell(true, true))}
{
}

std::pair<int, int> GridAutoSizer::RowSpan(int style) const
{
    const int fixedRows = m_store.FixedRowCount();
    return {style & GVS_HEADER ? 0 : fixedRows, style & GVS_DATA ? m_store.RowCount() - 1 : fixedRows - 1};
}

const GridPlainMeasure& GridAutoSizer::PlainMeasure(quint32 state) const
{
    const bool fixedRow = state & CellStateFixedRow;
    const bool fixedCol = state & CellStateFixedColumn;
    return m_plain[size_t(fixedRow) * 2 + size_t(fixedCol)];
}

QSize GridAutoSizer::Extent(int row, int col)
{
    const GridRow& cells = m_store.Row(row);
    if (const CGridCellBase* object = cells.Object(col))
        return m_extents.Extent(*object);
    const GridPlainMeasure& plain = PlainMeasure(cells.PlainState(col));
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

// Rows and columns grow together in one pass over the cells, row by row as
// the cells lie in memory; a shown row starts from 1 so that it stays shown.
// Hidden columns neither take a width nor make a row taller.
void GridAutoSizer::FitAll(int style)
{
    const auto [first, last] = RowSpan(style);
    const int cols = m_store.ColumnCount();
    std::vector<int> widths(size_t(cols), 0);
    std::vector<int> shown;
    for (int col = 0; col < cols; ++col) {
        if (m_store.ColumnWidth(col) != 0)
            shown.push_back(col);
    }
    for (int row = first; row <= last; ++row) {
        if (m_store.RowHeight(row) == 0)
            continue;
        int height = 1;
        for (const int col : shown) {
            const QSize extent = Extent(row, col);
            widths[size_t(col)] = std::max(widths[size_t(col)], extent.width());
            height = std::max(height, extent.height());
        }
        m_store.SetRowHeight(row, height);
    }
    for (const int col : shown)
        m_store.SetColumnWidth(col, widths[size_t(col)]);
}
