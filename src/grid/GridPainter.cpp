#include "grid/GridPainter.h"

#include "grid/CGridCtrl.h"

#include <QPainter>

#include <algorithm>

GridPainter::GridPainter(const CGridCtrl& grid, const GridCellStore& store)
    : m_grid(grid)
    , m_store(store)
{
}

void GridPainter::Paint(QPainter& painter, const QRect& clip) const
{
    const int fixedRows = m_store.FixedRowCount();
    const int fixedCols = m_store.FixedColumnCount();
    const int fixedHeight = m_grid.GetFixedRowHeight();
    const int fixedWidth = m_grid.GetFixedColumnWidth();
    const GridCellId topLeft = m_grid.GetTopLeftNonFixedCell();
    QRect visible;
    const GridCellRange range = m_grid.GetVisibleNonFixedRange(&visible);

    EraseBackground(painter, clip, visible, fixedHeight, fixedWidth);
    painter.setFont(*m_grid.GetDefaultCell(false, false)->GetFontObject());

    DrawCellBlock(painter, clip, 0, fixedRows - 1, 0, 0, fixedCols - 1, 0, false);
    DrawCellBlock(painter, clip, topLeft.row, range.maxRow, fixedHeight, 0, fixedCols - 1, 0, true);
    DrawCellBlock(painter, clip, 0, fixedRows - 1, 0, topLeft.col, range.maxCol, fixedWidth, true);
    DrawCellBlock(painter, clip, topLeft.row, range.maxRow, fixedHeight, topLeft.col, range.maxCol, fixedWidth, true);
    DrawGridLines(painter, range, visible, fixedHeight, fixedWidth);
}

bool GridPainter::PaintCell(QPainter& painter, int row, int col, const QRect& rect) const
{
    const bool tinted = FillTint(painter, row, col, rect);
    const bool drawn = m_store.CellView(row, col).Draw(&painter, row, col, rect, !tinted);
    if (!m_grid.IsCellFixed(row, col)) {
        const int lines = m_grid.GetGridLines();
        painter.setPen(ColorRefToQColor(m_grid.GetGridLineColor()));
        if (lines & GVL_HORZ)
            painter.drawLine(rect.bottomLeft(), rect.bottomRight());
        if (lines & GVL_VERT)
            painter.drawLine(rect.topRight(), rect.bottomRight());
    }
    return drawn;
}

void GridPainter::DrawCellBlock(QPainter& painter, const QRect& clip, int rowFrom, int rowTo, int y, int colFrom,
                                int colTo, int x, bool clipped) const
{
    const std::vector<int>& heights = m_store.RowHeights();
    const std::vector<int>& widths = m_store.ColumnWidths();
    for (int row = rowFrom; row <= rowTo; ++row) {
        const int height = heights[size_t(row)];
        if (clipped && y > clip.bottom())
            break;
        if (height == 0 || (clipped && y + height - 1 < clip.top())) {
            y += height;
            continue;
        }
        int left = x;
        for (int col = colFrom; col <= colTo; ++col) {
            const int width = widths[size_t(col)];
            if (clipped && left > clip.right())
                break;
            if (width > 0 && !(clipped && left + width - 1 < clip.left())) {
                const QRect rect(left, y, width, height);
                FillTint(painter, row, col, rect);
                m_store.CellView(row, col).Draw(&painter, row, col, rect, false);
            }
            left += width;
        }
        y += height;
    }
}

bool GridPainter::FillTint(QPainter& painter, int row, int col, const QRect& rect) const
{
    const GridCellTint* tint = m_grid.GetCellTint();
    if (!tint)
        return false;
    const QColor colour = tint->CellTint(row, col);
    if (colour.isValid())
        painter.fillRect(rect, colour);
    return colour.isValid();
}

void GridPainter::EraseBackground(QPainter& painter, const QRect& clip, const QRect& visible, int fixedHeight,
                                  int fixedWidth) const
{
    // Edges here are exclusive, as the areas meet without overlapping.
    const int clipLeft = clip.left();
    const int clipTop = clip.top();
    const int clipRight = clip.right() + 1;
    const int clipBottom = clip.bottom() + 1;
    const int visibleRight = visible.width();
    const int visibleBottom = visible.height();
    const auto fill = [&painter](int left, int top, int right, int bottom, COLORREF colour) {
        if (right > left && bottom > top)
            painter.fillRect(QRect(left, top, right - left, bottom - top), ColorRefToQColor(colour));
    };
    const auto background = [this](bool fixedRow, bool fixedCol) {
        return m_grid.GetDefaultCell(fixedRow, fixedCol)->GetBackClr();
    };
    const COLORREF beyond = m_grid.GetGridBkColor();

    if (clipLeft < fixedWidth && clipTop < fixedHeight)
        fill(clipLeft, clipTop, fixedWidth, fixedHeight, background(true, true));
    if (clipLeft < fixedWidth && clipTop < visibleBottom)
        fill(clipLeft, std::max(clipTop, fixedHeight), fixedWidth, visibleBottom, background(false, true));
    if (clipTop < fixedHeight && clipRight > fixedWidth && clipLeft < visibleRight)
        fill(std::max(fixedWidth - 1, clipLeft), clipTop, visibleRight, fixedHeight, background(true, false));
    fill(std::max({clipLeft, fixedWidth}), std::max({clipTop, fixedHeight}), std::min(clipRight, visibleRight),
         std::min(clipBottom, visibleBottom), background(false, false));
    if (visibleRight < clipRight)
        fill(visibleRight, clipTop, clipRight, clipBottom, beyond);
    if (visibleBottom < clipBottom && clipLeft < visibleRight)
        fill(clipLeft, visibleBottom, visibleRight, clipBottom, beyond);
}

void GridPainter::DrawGridLines(QPainter& painter, const GridCellRange& range, const QRect& visible,
                                int fixedHeight, int fixedWidth) const
{
    const int mode = m_grid.GetGridLines();
    if (mode == GVL_NONE)
        return;
    GridLines lines;
    if (mode & GVL_VERT)
        AddLineAfterEach(lines, false, range.minCol, range.maxCol, fixedWidth, fixedHeight, visible.height() - 1);
    if (mode & GVL_HORZ)
        AddLineAfterEach(lines, true, range.minRow, range.maxRow, fixedHeight, fixedWidth, visible.width() - 1);
    painter.setPen(ColorRefToQColor(m_grid.GetGridLineColor()));
    painter.drawLines(lines.constData(), int(lines.size()));
    painter.setPen(Qt::NoPen);
}

// A line on the last pixel of each shown row (or column) from first to last,
// the first of them starting at start; each line reaches across from from to
// to.
void GridPainter::AddLineAfterEach(GridLines& lines, bool rows, int first, int last, int start, int from,
                                   int to) const
{
    int end = start;
    for (int index = first; index >= 0 && index <= last; ++index) {
        const int size = rows ? m_store.RowHeight(index) : m_store.ColumnWidth(index);
        end += size;
        if (size > 0)
            lines.append(rows ? QLine(from, end - 1, to, end - 1) : QLine(end - 1, from, end - 1, to));
    }
}
