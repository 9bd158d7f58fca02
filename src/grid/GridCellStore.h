#pragma once

#include "grid/CGridCell.h"
#include "grid/GridAxis.h"
#include "grid/GridRow.h"

#include <QString>

#include <new>
#include <vector>

class CGridCtrl;

// The grid's content: its cells row by row, the height of every row, the
// width of every column, and how many of the first rows and columns are
// fixed.  A cell is its text and state bits in its row's compact storage
// until it gets attributes of its own; then it gets a cell object (see
// GridRow).  Indexes are not checked here; the grid checks them before it
// asks.  What may run out of memory answers false and leaves rows of one
// length.
class GridCellStore
{
public:
    explicit GridCellStore(CGridCtrl* grid);

    int RowCount() const { return m_rows; }
    int ColumnCount() const { return m_cols; }
    int FixedRowCount() const { return m_fixedRows; }
    int FixedColumnCount() const { return m_fixedCols; }

    // The cell's object, or null while the cell has none.
    CGridCellBase* Object(int row, int col) const { return m_cells[size_t(row)].Object(col); }
    // The cell's object, made now when it has none yet; it stays with the
    // cell until the cell goes.
    CGridCellBase& MakeObject(int row, int col);
    // The cell as painting, measuring and title tips read it: its object, or
    // a stand-in holding its text and state that is good until the next call.
    CGridCellBase& CellView(int row, int col) const;
    // The text and state of any cell.
    QString Text(int row, int col) const;
    void SetText(int row, int col, const QString& text);
    // The bytes of a cell without an object (empty for one with an object).
    QByteArrayView PlainText(int row, int col) const { return m_cells[size_t(row)].Text(col); }
    quint32 State(int row, int col) const { return m_cells[size_t(row)].State(col); }
    void SetState(int row, int col, quint32 state);
    const GridRow& Row(int row) const { return m_cells[size_t(row)]; }
    GridRow& Row(int row) { return m_cells[size_t(row)]; }
    // Takes the modified mark off every cell.
    void ClearModifiedMarks();

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

    // New rows take height, new columns width; new cells are empty, with the
    // state bits of where they lie; cells that go are destroyed.
    bool ResizeRows(int rows, int height);
    bool ResizeColumns(int cols, int width);
    // A new line of size 0 at index.
    bool InsertRow(int index);
    bool InsertColumn(int index);
    // The line goes with its cells; a fixed line lowers the fixed count.
    void EraseRow(int row);
    void EraseColumn(int col);
    void Clear();
    // The rows from first on take the order given: order[i] is the old index
    // of the row that goes to first + i.  Every moved cell object learns its
    // row.
    void ReorderRows(int first, const std::vector<int>& order);

private:
    static int SumOf(const std::vector<int>& sizes, int from, int to);
    // The fixed bits of a new cell at (row, col).
    quint32 PlaceState(int row, int col) const;
    GridRow NewRow(int row) const;
    void SetFixedFlags(bool rows, int from, int to, bool becomeFixed);

    CGridCtrl* m_grid;
    int m_rows = 0;
    int m_fixedRows = 0;
    int m_cols = 0;
    int m_fixedCols = 0;
    std::vector<int> m_rowHeights;
    std::vector<int> m_colWidths;
    std::vector<GridRow> m_cells;
    // Lent out by CellView for cells without an object.
    mutable CGridCell m_standIn;
};
