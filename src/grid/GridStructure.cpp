#include "grid/GridStructure.h"

#include "grid/CGridCtrl.h"
#include "grid/GridErrorReporter.h"

GridStructure::GridStructure(CGridCtrl& grid, GridCellStore& store, GridGeometry& geometry)
    : m_grid(grid)
    , m_store(store)
    , m_geometry(geometry)
{
}

void GridStructure::ClearCellStates(const GridCellRange& cells)
{
    for (int row = cells.minRow; row <= cells.maxRow; ++row)
        for (int col = cells.minCol; col <= cells.maxCol; ++col)
            m_grid.SetCellState(row, col, 0);
}

void GridStructure::ReportOutOfMemory()
{
    GridErrorReporter::Report(&m_grid, QStringLiteral("Out of memory."));
}

// The fixed count is clipped to the new count and a focus beyond it goes;
// afterwards the whole grid counts as changed.
bool GridStructure::SetCount(bool rows, int count)
{
    if (count < 0)
        return false;
    if (count == (rows ? m_store.RowCount() : m_store.ColumnCount()))
        return true;
    m_geometry.ForgetTopLeft();
    m_store.LimitFixedCount(rows, count);
    const GridCellId focus = m_grid.GetFocusCell();
    if ((rows ? focus.row : focus.col) >= count)
        m_grid.SetFocusCell(-1, -1);
    const bool ok = Resize(rows, count);
    m_grid.SetModified(true);
    m_grid.ResetScrollBars();
    m_grid.Refresh();
    return ok;
}

bool GridStructure::Resize(bool rows, int count)
{
    const int rowCount = m_store.RowCount();
    const int colCount = m_store.ColumnCount();
    if (count < (rows ? rowCount : colCount))
        ClearCellStates(rows ? GridCellRange(count, 0, rowCount - 1, colCount - 1)
                             : GridCellRange(0, count, rowCount - 1, colCount - 1));
    const bool ok = rows ? m_store.ResizeRows(count, m_grid.GetDefaultCell(false, false)->GetHeight())
                         : m_store.ResizeColumns(count, m_grid.GetDefaultCell(false, true)->GetWidth());
    if (!ok)
        ReportOutOfMemory();
    return ok;
}

// The grid grows to hold the fixed lines.  Resetting the selection also
// takes away the focus, which must not stay in a line that becomes fixed.
bool GridStructure::SetFixedCount(bool rows, int fixedCount)
{
    if (fixedCount == (rows ? m_store.FixedRowCount() : m_store.FixedColumnCount()))
        return true;
    if (fixedCount < 0)
        return false;
    if (fixedCount > (rows ? m_store.RowCount() : m_store.ColumnCount()) && !SetCount(rows, fixedCount))
        return false;
    m_grid.ResetSelection();
    m_geometry.ForgetTopLeft();
    m_store.SetFixedCount(rows, fixedCount);
    m_grid.ResetScrollBars();
    m_grid.Refresh();
    return true;
}

// Answers the focus as it was before the selection, and with it the focus,
// went.
GridCellId GridStructure::BeginInsert()
{
    m_geometry.ForgetTopLeft();
    const GridCellId focus = m_grid.GetFocusCell();
    m_grid.ResetSelection();
    return focus;
}

int GridStructure::InsertRow(const QString& heading, int row)
{
    if (row >= 0 && (row < m_store.FixedRowCount() || row >= m_store.RowCount()))
        return -1;
    const GridCellId focus = BeginInsert();
    if (m_store.ColumnCount() == 0 && !SetCount(false, 1))
        return -1;

    const int index = row < 0 ? m_store.RowCount() : row;
    if (!m_store.InsertRow(index)) {
        ReportOutOfMemory();
        return -1;
    }
    m_grid.SetCellText(index, 0, heading);
    m_store.SetRowHeight(index, heading.isEmpty() ? m_grid.GetDefaultCell(true, false)->GetHeight()
                                                  : m_store.CellView(index, 0).GetTextExtent(heading).height());
    FinishInsert(true, index, focus);
    return index;
}

int GridStructure::InsertColumn(const QString& heading, quint32 format, int col)
{
    if (col >= 0 && (col < m_store.FixedColumnCount() || col > m_store.ColumnCount()))
        return -1;
    const GridCellId focus = BeginInsert();
    if (m_store.RowCount() == 0 && !SetCount(true, 1))
        return -1;

    const int index = (col < 0 || col == m_store.ColumnCount()) ? m_store.ColumnCount() : col;
    if (!m_store.InsertColumn(index)) {
        ReportOutOfMemory();
        return -1;
    }
    m_grid.SetCellText(0, index, heading);
    for (int row = 0; row < m_store.RowCount(); ++row)
        m_grid.SetCellFormat(row, index, format);
    m_store.SetColumnWidth(index, m_store.CellView(0, index).GetTextExtent(heading).width());
    FinishInsert(false, index, focus);
    return index;
}

void GridStructure::FinishInsert(bool rows, int index, GridCellId focus)
{
    int& line = rows ? focus.row : focus.col;
    if (line != -1 && index <= line)
        ++line;
    m_grid.SetFocusCell(focus);
    m_grid.ResetScrollBars();
    m_grid.SetModified(true);
}

bool GridStructure::DeleteRow(int row)
{
    if (row < 0 || row >= m_store.RowCount())
        return false;
    const GridCellId focus = m_grid.GetFocusCell();
    m_grid.ResetSelection();
    ClearCellStates(GridCellRange(row, 0, row, m_store.ColumnCount() - 1));
    m_store.EraseRow(row);
    FinishDelete(true, row, focus);
    return true;
}

bool GridStructure::DeleteColumn(int col)
{
    if (col < 0 || col >= m_store.ColumnCount())
        return false;
    const GridCellId focus = m_grid.GetFocusCell();
    m_grid.ResetSelection();
    ClearCellStates(GridCellRange(0, col, m_store.RowCount() - 1, col));
    m_store.EraseColumn(col);
    FinishDelete(false, col, focus);
    return true;
}

void GridStructure::FinishDelete(bool rows, int index, GridCellId focus)
{
    m_geometry.ForgetTopLeft();
    int& line = rows ? focus.row : focus.col;
    if (line != index) {
        if (line > index)
            --line;
        m_grid.SetFocusCell(focus);
    }
    m_grid.ResetScrollBars();
    m_grid.SetModified(true);
}

void GridStructure::DeleteAll()
{
    m_grid.ResetSelection();
    m_store.Clear();
    m_geometry.ForgetTopLeft();
    m_grid.ResetScrollBars();
    m_grid.SetModified(true);
}
