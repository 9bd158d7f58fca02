#pragma once

#include "grid/GridAxis.h"
#include "grid/GridRow.h"

#include <memory>
#include <new>
#include <vector>

// The grid's content: its cells row by row, the height of every row, the
// width of every column, and how many of the first rows and columns are
// fixed.  Indexes are not checked here; the grid checks them before it asks.
// What may run out of memory answers false and leaves rows of one length.
// New cells come from create(row, col); it is a template parameter, so that
// the hundred thousand cells of a table are made without a call through a
// function object each.
class GridCellStore
{
public:
    int RowCount() const { return m_rows; }
    int ColumnCount() const { return m_cols; }
    int FixedRowCount() const { return m_fixedRows; }
    int FixedColumnCount() const { return m_fixedCols; }

    CGridCellBase* Cell(int row, int col) const { return m_cells[size_t(row)][size_t(col)].get(); }
    const GridRow& Row(int row) const { return m_cells[size_t(row)]; }
    template <typename Visit>
    void ForEachCell(Visit visit) const
    {
        for (const GridRow& cells : m_cells)
            for (const auto& cell : cells)
                if (cell)
                    visit(*cell);
    }

    const std::vector<int>& RowHeights() const { return m_rowHeights; }
    const std::vector<int>& ColumnWidths() const { return m_colWidths; }
    int RowHeight(int row) const { return m_rowHeights[size_t(row)]; }
    int ColumnWidth(int col) const { return m_colWidths[size_t(col)]; }
    void SetRowHeight(int row, int height) { m_rowHeights[size_t(row)] = height; }
    void SetColumnWidth(int col, int width) { m_colWidths[size_t(col)] = width; }
    // The sizes of the rows (columns) from..to-1 added up; bounds outside
    // the grid are clipped.
    int RowSpan(int from, int to) const { return SumOf(m_rowHeights, from, to); }
    int ColumnSpan(int from, int to) const { return SumOf(m_colWidths, from, to); }
    GridAxis RowAxis() const;
    GridAxis ColumnAxis() const;

    // A fixed count never exceeds the count it is part of.
    void LimitFixedCount(bool rows, int count);
    // Cells of the rows (or columns) between the old and the new fixed count
    // become fixed or stop being fixed in that direction.
    void SetFixedCount(bool rows, int fixedCount);

    // New rows take height, new columns width; cells that go are destroyed.
    template <typename Create>
    bool ResizeRows(int rows, int height, Create create);
    template <typename Create>
    bool ResizeColumns(int cols, int width, Create create);
    // A new line of size 0 at index.
    template <typename Create>
    bool InsertRow(int index, Create create);
    template <typename Create>
    bool InsertColumn(int index, Create create);
    // The line goes with its cells; a fixed line lowers the fixed count.
    void EraseRow(int row);
    void EraseColumn(int col);
    void Clear();
    // The rows from first on take the order given: order[i] is the old index
    // of the row that goes to first + i.  Every moved cell learns its row.
    void ReorderRows(int first, const std::vector<int>& order);

private:
    static int SumOf(const std::vector<int>& sizes, int from, int to);
    void SetFixedFlags(bool rows, int from, int to, bool becomeFixed);

    int m_rows = 0;
    int m_fixedRows = 0;
    int m_cols = 0;
    int m_fixedCols = 0;
    std::vector<int> m_rowHeights;
    std::vector<int> m_colWidths;
    std::vector<GridRow> m_cells;
};

template <typename Create>
bool GridCellStore::ResizeRows(int rows, int height, Create create)
{
    if (rows < m_rows) {
        m_cells.resize(size_t(rows));
        m_rowHeights.resize(size_t(rows));
        m_rows = rows;
        return true;
    }
    try {
        m_cells.reserve(size_t(rows));
        m_rowHeights.reserve(size_t(rows));
        while (m_rows < rows) {
            GridRow cells(static_cast<size_t>(m_cols));
            for (int col = 0; col < m_cols; ++col)
                cells[size_t(col)] = create(m_rows, col);
            m_cells.push_back(std::move(cells));
            m_rowHeights.push_back(height);
            ++m_rows;
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

template <typename Create>
bool GridCellStore::ResizeColumns(int cols, int width, Create create)
{
    if (cols < m_cols) {
        for (GridRow& cells : m_cells)
            cells.resize(size_t(cols));
        m_colWidths.resize(size_t(cols));
        m_cols = cols;
        return true;
    }
    const int oldCols = m_cols;
    try {
        m_colWidths.resize(size_t(cols), width);
        // Every row grows before the count changes, so that a failure
        // leaves rows of one length.
        for (GridRow& cells : m_cells)
            cells.reserve(size_t(cols));
        for (int row = 0; row < m_rows; ++row)
            for (int col = oldCols; col < cols; ++col)
                m_cells[size_t(row)].push_back(create(row, col));
        m_cols = cols;
    } catch (const std::bad_alloc&) {
        for (GridRow& cells : m_cells)
            cells.resize(size_t(oldCols));
        m_colWidths.resize(size_t(oldCols));
        return false;
    }
    return true;
}

template <typename Create>
bool GridCellStore::InsertRow(int index, Create create)
{
    try {
        GridRow cells(static_cast<size_t>(m_cols));
        m_rowHeights.reserve(m_rowHeights.size() + 1);
        m_cells.insert(m_cells.begin() + index, std::move(cells));
        m_rowHeights.insert(m_rowHeights.begin() + index, 0);
        ++m_rows;
        for (int col = 0; col < m_cols; ++col)
            m_cells[size_t(index)][size_t(col)] = create(index, col);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

template <typename Create>
bool GridCellStore::InsertColumn(int index, Create create)
{
    try {
        m_colWidths.reserve(m_colWidths.size() + 1);
        for (GridRow& cells : m_cells)
            cells.reserve(cells.size() + 1);
        // Nothing below allocates a row again, so the rows stay one length.
        std::vector<std::unique_ptr<CGridCellBase>> created;
        created.reserve(size_t(m_rows));
        for (int row = 0; row < m_rows; ++row)
            created.push_back(create(row, index));
        m_colWidths.insert(m_colWidths.begin() + index, 0);
        for (int row = 0; row < m_rows; ++row) {
            GridRow& cells = m_cells[size_t(row)];
            cells.insert(cells.begin() + index, std::move(created[size_t(row)]));
        }
        ++m_cols;
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}
