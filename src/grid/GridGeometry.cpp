#include "grid/GridGeometry.h"

#include "grid/CGridCtrl.h"

#include <algorithm>
#include <utility>

GridGeometry::GridGeometry(const CGridCtrl& grid, const GridCellStore& store)
    : m_grid(grid)
    , m_store(store)
{
}

GridCellId GridGeometry::TopLeft(bool recalculate) const
{
    if (!recalculate && m_grid.IsValid(m_topLeft))
        return m_topLeft;

    const std::vector<int>& widths = m_store.ColumnWidths();
    const int horizontal = m_grid.GetScrollPos32(SB_HORZ);
    int col = m_store.FixedColumnCount();
    for (int passed = 0; passed < horizontal && col < m_store.ColumnCount() - 1; ++col)
        passed += widths[size_t(col)];
    const std::vector<int>& heights = m_store.RowHeights();
    const int vertical = m_grid.GetScrollPos32(SB_VERT);
    int row = m_store.FixedRowCount();
    for (int passed = 0; passed < vertical && row < m_store.RowCount() - 1; ++row)
        passed += heights[size_t(row)];
    m_topLeft = GridCellId(row, col);
    return m_topLeft;
}

int GridGeometry::TopLeftOffset(bool vertical) const
{
    const GridCellId topLeft = TopLeft();
    return vertical ? m_store.RowSpan(m_store.FixedRowCount(), topLeft.row)
                    : m_store.ColumnSpan(m_store.FixedColumnCount(), topLeft.col);
}

GridCellRange GridGeometry::VisibleRange(QRect* rect, bool recalculate) const
{
    const QRect client = m_grid.ClientRect();
    const GridCellId topLeft = TopLeft(recalculate);

    // Adds the sizes from first on to start until they reach limit; answers
    // the last line counted and how far the lines reach (at most limit).
    const auto reach = [](const std::vector<int>& sizes, int first, int count, int start, int limit) {
        int end = start;
        int index = first;
        for (; index < count; ++index) {
            end += sizes[size_t(index)];
            if (end >= limit) {
                end = limit;
                break;
            }
        }
        return std::pair{std::min(index, count - 1), end};
    };
    const auto [maxRow, bottom] = reach(m_store.RowHeights(), topLeft.row, m_store.RowCount(),
                                        m_grid.GetFixedRowHeight(), client.height());
    const auto [maxCol, right] = reach(m_store.ColumnWidths(), topLeft.col, m_store.ColumnCount(),
                                       m_grid.GetFixedColumnWidth(), client.width());

    if (rect)
        *rect = QRect(0, 0, right, bottom);
    return GridCellRange(topLeft.row, topLeft.col, maxRow, maxCol);
}

bool GridGeometry::CellOrigin(int row, int col, QPoint* origin) const
{
    if (!m_grid.IsValid(row, col))
        return false;
    const int fixedRows = m_store.FixedRowCount();
    const int fixedCols = m_store.FixedColumnCount();
    const GridCellId topLeft = TopLeft();
    if ((row >= fixedRows && row < topLeft.row) || (col >= fixedCols && col < topLeft.col))
        return false;
    const int x = col < fixedCols ? m_store.ColumnSpan(0, col)
                                  : m_grid.GetFixedColumnWidth() + m_store.ColumnSpan(topLeft.col, col);
    const int y = row < fixedRows ? m_store.RowSpan(0, row)
                                  : m_grid.GetFixedRowHeight() + m_store.RowSpan(topLeft.row, row);
    if (origin)
        *origin = QPoint(x, y);
    return true;
}

bool GridGeometry::CellRect(int row, int col, QRect* rect) const
{
    QPoint origin;
    if (!CellOrigin(row, col, &origin))
        return false;
    if (rect)
        *rect = QRect(origin, QSize(m_store.ColumnWidth(col), m_store.RowHeight(row)));
    return true;
}

GridCellId GridGeometry::CellFromPoint(QPoint point, bool allowFixedCells) const
{
    const GridCellId topLeft = TopLeft();
    if (!m_grid.IsValid(topLeft))
        return GridCellId();

    const auto locate = [allowFixedCells](int pos, int fixedCount, int count, int first,
                                          const std::vector<int>& sizes, int fixedExtent) {
        if (pos < 0)
            return -1;
        if (pos < fixedExtent) {
            if (!allowFixedCells)
                return -1;
            int end = 0;
            for (int index = 0; index < fixedCount; ++index) {
                end += sizes[size_t(index)];
                if (end > pos)
                    return index;
            }
            return -1;
        }
        int end = fixedExtent;
        for (int index = first; index < count; ++index) {
            end += sizes[size_t(index)];
            if (end > pos)
                return index;
        }
        return -1;
    };
    return GridCellId(locate(point.y(), m_store.FixedRowCount(), m_store.RowCount(), topLeft.row,
                             m_store.RowHeights(), m_grid.GetFixedRowHeight()),
                      locate(point.x(), m_store.FixedColumnCount(), m_store.ColumnCount(), topLeft.col,
                             m_store.ColumnWidths(), m_grid.GetFixedColumnWidth()));
}

bool GridGeometry::IsCellVisible(int row, int col) const
{
    QPoint origin;
    if (!CellOrigin(row, col, &origin))
        return false;
    const QRect client = m_grid.ClientRect();
    return origin.x() < client.width() && origin.y() < client.height();
}

// Column borders can be grabbed within the fixed rows, row borders within
// the fixed columns; the first line's leading edge is no border.
bool GridGeometry::IsOverResizeArea(bool rows, QPoint point) const
{
    const auto along = [rows](QPoint p) { return rows ? p.y() : p.x(); };
    const int across = rows ? point.x() : point.y();
    if (across >= (rows ? m_grid.GetFixedColumnWidth() : m_grid.GetFixedRowHeight()))
        return false;
    const GridCellId cell = CellFromPoint(point);
    QPoint origin;
    if (!CellOrigin(cell.row, cell.col, &origin))
        return false;
    const int index = rows ? cell.row : cell.col;
    const int end = along(origin) + (rows ? m_store.RowHeight(index) : m_store.ColumnWidth(index));
    const int range = m_grid.GetResizeCaptureRange();
    return (along(point) - along(origin) <= range && index != 0) || end - along(point) <= range;
}
