#pragma once

#include "grid/GridAxis.h"
#include "grid/GridRow.h"

#include <functional>
#include <memory>
#include <vector>

// The grid's content: its cells row by row, the height of every row, the
// width of every column, and how many of the first rows and columns are
// fixed.  Indexes are not checked here; the grid checks them before it asks.
// What may run out of memory answers false and leaves rows of one length.
class GridCellStore
{
public:
    // Makes the cell for a position; the store owns what it answers.
    using CellFactory = std::function<std::unique_ptr<CGridCellBase>(int row, int col)>;

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
    bool ResizeRows(int rows, int height, const CellFactory& create);
    bool ResizeColumns(int cols, int width, const CellFactory& create);
    // A new line of size 0 at index, its cells made by create.
    bool InsertRow(int index, const CellFactory& create);
    bool InsertColumn(int index, const CellFactory& create);
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
