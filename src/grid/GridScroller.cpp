#include "grid/GridScroller.h"

#include "grid/CGridCtrl.h"

#include <QGuiApplication>
#include <QScrollBar>
#include <QStyleHints>

#include <algorithm>
#include <cstdlib>

GridScroller::GridScroller(CGridCtrl& grid, const GridCellStore& store, GridGeometry& geometry)
    : m_grid(grid)
    , m_store(store)
    , m_geometry(geometry)
    , m_linesPerNotch(QGuiApplication::styleHints()->wheelScrollLines())
{
}

QScrollBar* GridScroller::Bar(bool vertical) const
{
    return vertical ? m_grid.verticalScrollBar() : m_grid.horizontalScrollBar();
}

int GridScroller::BarExtent(bool vertical) const
{
    const QSize hint = Bar(vertical)->sizeHint();
    return vertical ? hint.width() : hint.height();
}

QRect GridScroller::ClientRect() const
{
    QSize size = m_grid.contentsRect().size();
    if (m_verticalShown)
        size.rwidth() -= BarExtent(true);
    if (m_horizontalShown)
        size.rheight() -= BarExtent(false);
    return QRect(QPoint(0, 0), size.expandedTo(QSize(0, 0)));
}

// The state changes before the policy: the policy resizes the viewport, and
// the resize already asks for the new client area.
void GridScroller::ShowBar(bool vertical, bool show)
{
    bool& shown = vertical ? m_verticalShown : m_horizontalShown;
    if (shown == show)
        return;
    shown = show;
    const Qt::ScrollBarPolicy policy = show ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
    if (vertical)
        m_grid.setVerticalScrollBarPolicy(policy);
    else
        m_grid.setHorizontalScrollBarPolicy(policy);
}

void GridScroller::HideBars()
{
    ShowBar(true, false);
    ShowBar(false, false);
    m_verticalMax = m_horizontalMax = 0;
    Bar(true)->setRange(0, 0);
    Bar(false)->setRange(0, 0);
}

void GridScroller::Reset()
{
    m_geometry.ForgetTopLeft();
    m_shownOffsetKnown = false;
    if (!m_grid.GetRedraw() || m_resetting)
        return;
    const QSize whole = m_grid.contentsRect().size();
    if (whole.isEmpty())
        return;
    // Showing or hiding a bar resizes the viewport, and a resize would reset
    // the bars again halfway through.
    m_resetting = true;
    const int fixedHeight = m_grid.GetFixedRowHeight();
    const int fixedWidth = m_grid.GetFixedColumnWidth();
    if (fixedWidth >= whole.width() || fixedHeight >= whole.height())
        HideBars();
    else
        FitBars(whole.width() - fixedWidth, whole.height() - fixedHeight);
    m_resetting = false;
}

// width and height are what the fixed rows and columns leave of the client
// area before any bar takes its share.
void GridScroller::FitBars(int width, int height)
{
    const int verticalRange = m_store.RowSpan(m_store.FixedRowCount(), m_store.RowCount());
    const int horizontalRange = m_store.ColumnSpan(m_store.FixedColumnCount(), m_store.ColumnCount());
    if (height < verticalRange)
        width -= BarExtent(true);
    if (width < horizontalRange)
        height -= BarExtent(false);

    const bool needVertical = height < verticalRange;
    const bool needHorizontal = width < horizontalRange;
    ShowBar(true, needVertical);
    m_verticalMax = needVertical ? verticalRange - 1 : 0;
    ShowBar(false, needHorizontal);
    m_horizontalMax = needHorizontal ? horizontalRange - 1 : 0;

    // The grid's maximum is the last pixel of the content; a bar stops when
    // its page shows that pixel.
    const int horizontalPage = m_horizontalMax > 0 ? width : 0;
    const int verticalPage = m_verticalMax > 0 ? height : 0;
    Bar(true)->setPageStep(std::max(1, verticalPage));
    Bar(false)->setPageStep(std::max(1, horizontalPage));
    Bar(true)->setRange(0, std::max(0, m_verticalMax + 1 - verticalPage));
    Bar(false)->setRange(0, std::max(0, m_horizontalMax + 1 - horizontalPage));
    m_geometry.ForgetTopLeft();
}

int GridScroller::Position(bool vertical) const
{
    const QScrollBar* bar = Bar(vertical);
    return bar->isSliderDown() ? bar->sliderPosition() : bar->value();
}

void GridScroller::SetPosition(bool vertical, int position)
{
    m_geometry.ForgetTopLeft();
    Bar(vertical)->setValue(position);
}

void GridScroller::OnBarAction(bool vertical, int action)
{
    QScrollBar* bar = Bar(vertical);
    int code = -1;
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub: code = SB_LINEUP; break;
    case QAbstractSlider::SliderSingleStepAdd: code = SB_LINEDOWN; break;
    case QAbstractSlider::SliderPageStepSub: code = SB_PAGEUP; break;
    case QAbstractSlider::SliderPageStepAdd: code = SB_PAGEDOWN; break;
    case QAbstractSlider::SliderToMinimum: code = SB_TOP; break;
    case QAbstractSlider::SliderToMaximum: code = SB_BOTTOM; break;
    case QAbstractSlider::SliderMove: code = SB_THUMBTRACK; break;
    default: return;
    }
    // The bar has already taken its own step; the grid steps by whole rows
    // and columns instead, from where the bar stood.
    if (code != SB_THUMBTRACK)
        bar->setSliderPosition(bar->value());
    Scroll(vertical, code);
}

void GridScroller::Scroll(bool vertical, int code)
{
    m_grid.EndEditing();
    m_grid.HideTitleTip();
    const int position = Position(vertical);
    const int maximum = Maximum(vertical);
    switch (code) {
    case SB_LINEUP:
    case SB_LINEDOWN:
        ScrollLine(vertical, code == SB_LINEUP, position);
        break;
    case SB_PAGEUP:
        if (position > 0)
            SetPosition(vertical, std::max(0, position - PageSize(vertical)));
        break;
    case SB_PAGEDOWN:
        if (position < maximum)
            SetPosition(vertical, std::min(maximum, position + PageSize(vertical)));
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        SetPosition(vertical, Bar(vertical)->sliderPosition());
        break;
    case SB_TOP:
        if (position > 0) {
            SetPosition(vertical, 0);
            m_grid.Refresh();
        }
        break;
    case SB_BOTTOM:
        if (position < maximum) {
            SetPosition(vertical, maximum);
            m_grid.Refresh();
        }
        break;
    default:
        break;
    }
}

int GridScroller::PageSize(bool vertical) const
{
    const QRect client = ClientRect();
    return vertical ? client.height() - m_grid.GetFixedRowHeight() : client.width() - m_grid.GetFixedColumnWidth();
}

// One line back: by the nearest shown line before the top-left one; or on:
// by the top-left line, or the nearest shown one after it when it is hidden.
void GridScroller::ScrollLine(bool vertical, bool back, int position)
{
    const GridCellId topLeft = m_geometry.TopLeft();
    const int first = vertical ? m_store.FixedRowCount() : m_store.FixedColumnCount();
    const int count = vertical ? m_store.RowCount() : m_store.ColumnCount();
    const int current = vertical ? topLeft.row : topLeft.col;
    const std::vector<int>& sizes = vertical ? m_store.RowHeights() : m_store.ColumnWidths();
    if (back) {
        if (position <= 0 || current <= first || current >= count)
            return;
        int index = current - 1;
        while (index > first && sizes[size_t(index)] == 0)
            --index;
        SetPosition(vertical, std::max(0, position - sizes[size_t(index)]));
        return;
    }
    if (position >= Maximum(vertical) || current < first || current >= count)
        return;
    int index = current;
    while (sizes[size_t(index)] == 0 && index < count - 1)
        ++index;
    SetPosition(vertical, position + sizes[size_t(index)]);
}

void GridScroller::EnsureVisible(int row, int col)
{
    if (!m_grid.GetRedraw() || !m_grid.IsValid(row, col))
        return;
    const GridCellRange range = m_geometry.VisibleRange();
    StepToward(false, col, range.minCol, range.maxCol);
    StepToward(true, row, range.minRow, range.maxRow);

    // A cell wider or taller than what is left of the window: step on while
    // it sticks out and a step still moves.
    const QRect client = ClientRect();
    StepWhileCut(false, row, col, client);
    StepWhileCut(true, row, col, client);
}

// One line step for every shown line between the visible lines first..last
// and index.
void GridScroller::StepToward(bool vertical, int index, int first, int last)
{
    const int fixed = vertical ? m_store.FixedRowCount() : m_store.FixedColumnCount();
    const std::vector<int>& sizes = vertical ? m_store.RowHeights() : m_store.ColumnWidths();
    for (int line = last + 1; line <= index; ++line)
        if (line >= fixed && sizes[size_t(line)] > 0)
            Scroll(vertical, SB_LINEDOWN);
    for (int line = std::max(index, fixed); line < first; ++line)
        if (sizes[size_t(line)] > 0)
            Scroll(vertical, SB_LINEUP);
}

void GridScroller::StepWhileCut(bool vertical, int row, int col, const QRect& client)
{
    QRect rect;
    const auto cut = [&] {
        return vertical ? rect.bottom() >= client.height() && rect.top() > m_grid.GetFixedRowHeight()
                        : rect.right() >= client.width() && rect.left() > m_grid.GetFixedColumnWidth();
    };
    while (m_geometry.CellRect(row, col, &rect) && cut()) {
        const int before = Position(vertical);
        Scroll(vertical, SB_LINEDOWN);
        if (Position(vertical) == before)
            break;
    }
}

void GridScroller::NotePaintedOffsets()
{
    m_shownOffsetX = m_geometry.TopLeftOffset(false);
    m_shownOffsetY = m_geometry.TopLeftOffset(true);
    m_shownOffsetKnown = true;
}

// Positions count pixels, but the cells start at whole rows and columns: the
// picture moves by the difference of the top-left cells' offsets.
void GridScroller::OnContentsScrolled()
{
    m_geometry.ForgetTopLeft();
    const int offsetX = m_geometry.TopLeftOffset(false);
    const int offsetY = m_geometry.TopLeftOffset(true);
    const int shiftX = m_shownOffsetX - offsetX;
    const int shiftY = m_shownOffsetY - offsetY;
    m_shownOffsetX = offsetX;
    m_shownOffsetY = offsetY;
    if (!m_grid.GetRedraw()) {
        // The screen keeps the old picture until drawing is allowed again.
        m_shownOffsetKnown = false;
        return;
    }
    const bool canMove = m_shownOffsetKnown && m_grid.viewport()->isVisible();
    const QRect client = ClientRect();
    if (shiftX != 0) {
        const int fixedWidth = m_grid.GetFixedColumnWidth();
        MoveOrRepaint(false, shiftX, QRect(fixedWidth, 0, client.width() - fixedWidth, client.height()), canMove);
    }
    if (shiftY != 0) {
        const int fixedHeight = m_grid.GetFixedRowHeight();
        MoveOrRepaint(true, shiftY, QRect(0, fixedHeight, client.width(), client.height() - fixedHeight), canMove);
    }
}

void GridScroller::MoveOrRepaint(bool vertical, int shift, const QRect& area, bool canMove)
{
    QWidget* viewport = m_grid.viewport();
    if (canMove && std::abs(shift) < (vertical ? area.height() : area.width()))
        viewport->scroll(vertical ? 0 : shift, vertical ? shift : 0, area);
    else
        viewport->update(area);
}

// Fine-grained wheels send less than a notch at a time: what is left over is
// kept until it adds up to a line.
void GridScroller::OnWheel(int angleDelta)
{
    if (m_linesPerNotch <= 0)
        return;
    m_wheelRemainder += angleDelta * m_linesPerNotch;
    const int lines = m_wheelRemainder / 120;
    m_wheelRemainder -= lines * 120;
    if (lines == 0)
        return;
    QMetaObject::invokeMethod(
        &m_grid,
        [this, lines] {
            for (int step = 0; step < std::abs(lines); ++step)
                Scroll(true, lines > 0 ? SB_LINEUP : SB_LINEDOWN);
        },
        Qt::QueuedConnection);
}
