#include "grid/GridCellStore.h"

#include <algorithm>
#include <numeric>

GridCellStore::GridCellStore(CGridCtrl* grid)
    : m_grid(grid)
{
    m_standIn.SetGrid(grid);
}

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

// ---- Cells

CGridCellBase& GridCellStore::MakeObject(int row, int col)
{
    if (CGridCellBase* object = Object(row, col))
        return *object;
    auto cell = std::make_unique<CGridCell>();
    cell->SetGrid(m_grid);
    cell->SetCoords(row, col);
    return Row(row).Adopt(col, std::move(cell));
}

CGridCellBase& GridCellStore::CellView(int row, int col) const
{
    const GridRow& cells = Row(row);
    if (CGridCellBase* object = cells.Object(col))
        return *object;
    m_standIn.SetState(cells.State(col));
    m_standIn.SetTextLatin1(cells.Text(col));
    return m_standIn;
}

QString GridCellStore::Text(int row, int col) const
{
    const GridRow& cells = Row(row);
    if (const CGridCellBase* object = cells.Object(col))
        return object->GetText();
    return QString::fromLatin1(cells.Text(col));
}

// The cell text rule keeps a cell's text to Latin-1, so the bytes hold it
// whole.
void GridCellStore::SetText(int row, int col, const QString& text)
{
    GridRow& cells = Row(row);
    if (CGridCellBase* object = cells.Object(col))
        object->SetText(text);
    else
        cells.SetText(col, QStringView(text));
}

void GridCellStore::SetState(int row, int col, quint32 state)
{
    GridRow& cells = Row(row);
    if (CGridCellBase* object = cells.Object(col))
        object->SetState(state);
    else if (state & ~GridRow::ByteStates)
        MakeObject(row, col).SetState(state);
    else
        cells.SetPlainState(col, state);
}

void GridCellStore::ClearModifiedMarks()
{
    for (GridRow& cells : m_cells)
        cells.ClearStates(CellStateModified);
}

// ---- Fixed rows and columns

quint32 GridCellStore::PlaceState(int row, int col) const
{
    quint32 state = 0;
    if (col < m_fixedCols)
        state |= CellStateFixed | CellStateFixedColumn;
    if (row < m_fixedRows)
        state |= CellStateFixed | CellStateFixedRow;
    return state;
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
// its new area; a cell without an object has them already.
void GridCellStore::SetFixedFlags(bool rows, int from, int to, bool becomeFixed)
{
    const quint32 lineBit = rows ? CellStateFixedRow : CellStateFixedColumn;
    for (int row = rows ? from : 0; row < (rows ? to : m_rows); ++row) {
        GridRow& cells = Row(row);
        for (int col = rows ? 0 : from; col < (rows ? m_cols : to); ++col) {
            quint32 state = cells.State(col);
            const bool fixedOtherWay = rows ? col < m_fixedCols : row < m_fixedRows;
            if (becomeFixed)
                state |= CellStateFixed | lineBit;
            else if (fixedOtherWay)
                state &= ~lineBit;
            else
                state &= ~(CellStateFixed | lineBit);
            CGridCellBase* object = cells.Object(col);
            if (!object) {
                cells.SetPlainState(col, state);
                continue;
            }
            object->SetState(state);
            if (becomeFixed || !fixedOtherWay) {
                object->SetTextClr(CLR_DEFAULT);
                object->SetBackClr(CLR_DEFAULT);
            }
        }
    }
}

// ---- Shape

GridRow GridCellStore::NewRow(int row) const
{
    GridRow cells;
    cells.Grow(m_cols, [this, row](int col) { return PlaceState(row, col); });
    return cells;
}

bool GridCellStore::ResizeRows(int rows, int height)
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
            m_cells.push_back(NewRow(m_rows));
            m_rowHeights.push_back(height);
            ++m_rows;
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool GridCellStore::ResizeColumns(int cols, int width)
{
    if (cols < m_cols) {
        for (GridRow& cells : m_cells)
            cells.Shrink(cols);
        m_colWidths.resize(size_t(cols));
        m_cols = cols;
        return true;
    }
    const int oldCols = m_cols;
    try {
        m_colWidths.resize(size_t(cols), width);
        for (int row = 0; row < m_rows; ++row)
            Row(row).Grow(cols, [this, row](int col) { return PlaceState(row, col); });
        m_cols = cols;
    } catch (const std::bad_alloc&) {
        // Rows of one length again, as before.
        for (GridRow& cells : m_cells)
            cells.Shrink(std::min(oldCols, cells.Size()));
        m_colWidths.resize(size_t(oldCols));
        return false;
    }
    return true;
}

bool GridCellStore::InsertRow(int index)
{
    try {
        GridRow cells = NewRow(index);
        m_rowHeights.reserve(m_rowHeights.size() + 1);
        m_cells.insert(m_cells.begin() + index, std::move(cells));
        m_rowHeights.insert(m_rowHeights.begin() + index, 0);
        ++m_rows;
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool GridCellStore::InsertColumn(int index)
{
    try {
        m_colWidths.reserve(m_colWidths.size() + 1);
        for (GridRow& cells : m_cells)
            cells.Reserve(m_cols + 1);
    } catch (const std::bad_alloc&) {
        return false;
    }
    // With room reserved nothing below allocates, so the rows stay one
    // length.
    m_colWidths.insert(m_colWidths.begin() + index, 0);
    for (int row = 0; row < m_rows; ++row)
        Row(row).Insert(index, PlaceState(row, index));
    ++m_cols;
    return true;
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
        cells.Erase(col);
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
        m_cells[size_t(row)].ForEachObject([row](int col, CGridCellBase& cell) { cell.SetCoords(row, col); });
    }
}
