#include "grid/GridMouse.h"

#include "grid/CGridCtrl.h"
#include "grid/GridKeyboard.h"
#include "grid/GridSelection.h"
#include "grid/GridSizingBar.h"
#include "grid/WindowsKeys.h"

#include <QGuiApplication>

#include <algorithm>
#include <cstdlib>

GridMouse::GridMouse(CGridCtrl& grid, GridSelection& selection, GridKeyboard& keyboard)
    : m_grid(grid)
    , m_selection(selection)
    , m_keyboard(keyboard)
{
}

bool GridMouse::IsIdle() const
{
    return m_mode == Mode::Nothing || IsOverDivider();
}

void GridMouse::ExtendSelection(const GridCellId& cell)
{
    switch (m_mode) {
    case Mode::SelectColumns: m_selection.SelectColumns(cell, true); break;
    case Mode::SelectRows: m_selection.SelectRows(cell, true); break;
    case Mode::SelectCells: m_selection.SelectCells(cell, true); break;
    // A click on the corner selects the whole grid, as Ctrl+A does.
    case Mode::SelectAll:
        m_selection.SetRange(GridCellRange(m_grid.GetFixedRowCount(), m_grid.GetFixedColumnCount(),
                                           m_grid.GetRowCount() - 1, m_grid.GetColumnCount() - 1),
                             true);
        break;
    default: break;
    }
}

QPoint GridMouse::RelativeToCell(const GridCellId& cell, QPoint point) const
{
    QPoint origin;
    return m_grid.GetCellOrigin(cell.row, cell.col, &origin) ? point - origin : QPoint(0, 0);
}

void GridMouse::OnLeftButtonDown(QPoint point, Qt::KeyboardModifiers modifiers)
{
    m_grid.setFocus(Qt::MouseFocusReason);
    m_clickDownPoint = point;
    m_leftButtonDown = true;
    m_clickDownCell = m_grid.GetCellFromPoint(point);
    if (!m_grid.IsValid(m_clickDownCell))
        return;
    if (!(modifiers & Qt::ShiftModifier))
        m_selection.SetStart(m_clickDownCell);
    else if (!m_grid.IsValid(m_selection.Start()))
        m_selection.SetStart(m_grid.GetFocusCell());
    m_grid.EndEditing();
    // The mouse reaches only cell objects: a cell that is no more than its
    // text and state has no handler of its own.
    if (CGridCellBase* cell = m_grid.GetExistingCell(m_clickDownCell.row, m_clickDownCell.col))
        cell->OnClickDown(RelativeToCell(m_clickDownCell, point));
    if (m_mode == Mode::Nothing)
        UpdateDividerHover(point);
    if (IsOverDivider()) {
        StartSizing(m_mode == Mode::OverRowDivide, point);
        return;
    }
    const bool ctrl = modifiers & Qt::ControlModifier;
    if (!PlaceFocusForClick(ctrl))
        BeginSelecting(point, ctrl);
}

// Moves the focus to the clicked cell; answers true when that is all the
// click does: a click on the focus cell prepares its edit, and a Ctrl-click
// on a selected cell deselects it.
bool GridMouse::PlaceFocusForClick(bool ctrl)
{
    const GridCellId cell = m_clickDownCell;
    if (cell == m_grid.GetFocusCell()) {
        if (m_grid.IsCellEditable(cell.row, cell.col))
            m_mode = Mode::PrepareEdit;
        return true;
    }
    if (m_grid.IsCellSelected(cell.row, cell.col)) {
        if (!ctrl)
            return false;
        m_grid.SetFocusCell(cell);
        if (m_grid.GetListMode())
            m_selection.SelectRows(cell, false);
        else
            m_selection.SelectCells(cell, false);
        return true;
    }
    m_grid.SetFocusCell(-1, -1);
    if (m_grid.GetRowCount() > m_grid.GetFixedRowCount() && m_grid.GetColumnCount() > m_grid.GetFixedColumnCount())
        m_grid.SetFocusCell(std::max(cell.row, m_grid.GetFixedRowCount()),
                            std::max(cell.col, m_grid.GetFixedColumnCount()));
    return false;
}

void GridMouse::BeginSelecting(QPoint point, bool ctrl)
{
    const GridCellId cell = m_clickDownCell;
    m_grid.SendMessageToParent(cell.row, cell.col, GridNotifySelectionChanging);
    m_selection.Begin(ctrl);
    if (cell.row < m_grid.GetFixedRowCount()) {
        OnFixedRowClick(cell);
    } else if (cell.col < m_grid.GetFixedColumnCount()) {
        OnFixedColumnClick(cell);
    } else {
        m_mode = m_grid.GetListMode() ? Mode::SelectRows : Mode::SelectCells;
        ExtendSelection(cell);
        m_autoScrollTimer.start(AutoScrollPeriodMs, &m_grid);
    }
    m_lastPoint = point;
}

void GridMouse::OnFixedRowClick(const GridCellId& cell)
{
    if (!m_grid.IsValid(cell))
        return;
    if (m_grid.GetHeaderSort()) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        m_grid.SortByColumn(cell.col, cell.col == m_grid.GetSortColumn() ? !m_grid.GetSortAscending() : true);
        m_grid.viewport()->update();
        QGuiApplication::restoreOverrideCursor();
    }
    if (m_grid.GetFixedRowSelection()) {
        m_mode = cell.col >= m_grid.GetFixedColumnCount() ? Mode::SelectColumns : Mode::SelectAll;
        ExtendSelection(cell);
    }
}

void GridMouse::OnFixedColumnClick(const GridCellId& cell)
{
    if (!m_grid.IsValid(cell) || !m_grid.GetFixedColumnSelection())
        return;
    m_mode = cell.row >= m_grid.GetFixedRowCount() ? Mode::SelectRows : Mode::SelectAll;
    ExtendSelection(cell);
}

// Starts dragging a column border (or a row border): the click-down column
// becomes the one whose right edge moves.
void GridMouse::StartSizing(bool rows, QPoint point)
{
    const int range = m_grid.GetResizeCaptureRange();
    const int count = rows ? m_grid.GetRowCount() : m_grid.GetColumnCount();
    const auto along = [rows](QPoint p) { return rows ? p.y() : p.x(); };
    const auto sizeOf = [&](int i) { return rows ? m_grid.GetRowHeight(i) : m_grid.GetColumnWidth(i); };
    const auto originOf = [&](int i, QPoint* origin) {
        return rows ? m_grid.GetCellOrigin(i, 0, origin) : m_grid.GetCellOrigin(0, i, origin);
    };
    int& index = rows ? m_clickDownCell.row : m_clickDownCell.col;
    m_mode = rows ? Mode::SizingRow : Mode::SizingColumn;

    QRect visible;
    m_grid.GetVisibleNonFixedRange(&visible);
    const bool lastIsNarrow = sizeOf(count - 1) < range;
    if (lastIsNarrow && std::abs(along(visible.bottomRight()) - along(point)) < range)
        index = count - 1;
    QPoint origin;
    if (!originOf(index, &origin)) {
        m_mode = Mode::Nothing;
        return;
    }
    const bool onLeftBorder = along(point) - along(origin) <= range;
    const bool unhide = rows ? m_grid.GetHiddenRowUnhide() : m_grid.GetHiddenColUnhide();
    if (!unhide && !(!onLeftBorder && index == count - 1)) {
        // Without unhiding, a border next to hidden lines belongs to the
        // nearest shown line before it.
        while (sizeOf(onLeftBorder ? index - 1 : index) == 0) {
            if (--index < (onLeftBorder ? 1 : 0)) {
                m_mode = Mode::Nothing;
                return;
            }
        }
    }
    if (onLeftBorder && !(index == count - 1 && lastIsNarrow)) {
        if (--index < 0 || !originOf(index, &origin)) {
            m_mode = Mode::Nothing;
            return;
        }
    }
    if (!m_sizingBar)
        m_sizingBar = new GridSizingBar(m_grid.viewport());
    if (rows)
        m_sizingBar->ShowAtRowBorder(point.y());
    else
        m_sizingBar->ShowAtColumnBorder(point.x());
    m_lastPoint = point;
}

void GridMouse::FinishSizing(QPoint point)
{
    const bool rows = m_mode == Mode::SizingRow;
    if (m_sizingBar)
        m_sizingBar->hide();
    if (point == m_clickDownPoint || point == QPoint(0, 0))
        return;
    QPoint origin;
    const int index = rows ? m_clickDownCell.row : m_clickDownCell.col;
    if (!(rows ? m_grid.GetCellOrigin(index, 0, &origin) : m_grid.GetCellOrigin(0, index, &origin)))
        return;
    const bool allowHide = rows ? m_grid.GetRowHide() : m_grid.GetColumnHide();
    const int size = std::max(rows ? point.y() - origin.y() : point.x() - origin.x(), allowHide ? 0 : 1);
    if (rows)
        m_grid.SetRowHeight(index, size);
    else
        m_grid.SetColumnWidth(index, size);
    m_grid.ResetScrollBars();
    m_grid.viewport()->update();
}

bool GridMouse::UpdateDividerHover(QPoint point)
{
    if (m_grid.GetColumnResize() && m_grid.MouseOverColumnResizeArea(point)) {
        if (m_mode != Mode::OverColDivide) {
            m_grid.viewport()->setCursor(Qt::SizeHorCursor);
            m_mode = Mode::OverColDivide;
        }
        return true;
    }
    if (m_grid.GetRowResize() && m_grid.MouseOverRowResizeArea(point)) {
        if (m_mode != Mode::OverRowDivide) {
            m_grid.viewport()->setCursor(Qt::SizeVerCursor);
            m_mode = Mode::OverRowDivide;
        }
        return true;
    }
    if (m_mode != Mode::Nothing) {
        m_grid.viewport()->setCursor(Qt::ArrowCursor);
        m_mode = Mode::Nothing;
    }
    return false;
}

bool GridMouse::OnMove(QPoint point)
{
    const bool handled = DragWithMouse(point) || UpdateDividerHover(point);
    m_lastPoint = point;
    return handled;
}

// Moves with the left button down extend the selection or move the sizing
// bar.  Answers false when the move is a plain hover.
bool GridMouse::DragWithMouse(QPoint point)
{
    if (!m_leftButtonDown || m_mode == Mode::Nothing)
        return false;
    switch (m_mode) {
    case Mode::SelectColumns:
    case Mode::SelectRows:
    case Mode::SelectCells: {
        if (!m_grid.IsValid(m_clickDownCell))
            break;
        const GridCellId cell = m_grid.GetCellFromPoint(point);
        if (!m_grid.IsValid(cell) || cell == m_grid.GetFocusCell())
            break;
        ExtendSelection(cell);
        if (!(m_mode == Mode::SelectCells && m_grid.IsCellFixed(cell.row, cell.col)))
            m_grid.SetFocusCell(cell);
        break;
    }
    case Mode::SizingRow:
        if (m_sizingBar)
            m_sizingBar->ShowAtRowBorder(point.y());
        break;
    case Mode::SizingColumn:
        if (m_sizingBar)
            m_sizingBar->ShowAtColumnBorder(point.x());
        break;
    default: break;
    }
    return true;
}

void GridMouse::OnLeftButtonUp(QPoint point)
{
    m_leftButtonDown = false;
    StopAutoScroll();
    const GridCellId focus = m_grid.GetFocusCell();
    const QPoint relative = RelativeToCell(focus, point);
    switch (m_mode) {
    case Mode::PrepareEdit: m_grid.EditCell(focus.row, focus.col, relative, VK_LBUTTON); break;
    case Mode::SizingColumn:
    case Mode::SizingRow: FinishSizing(point); break;
    default: {
        m_grid.SendMessageToParent(focus.row, focus.col, GridNotifySelectionChanged);
        // The owner may have moved the focus on that notification.
        const GridCellId clicked = m_grid.GetFocusCell();
        if (CGridCellBase* cell = m_grid.GetExistingCell(clicked.row, clicked.col))
            cell->OnClick(relative);
        m_grid.SendMessageToParent(m_clickDownCell.row, m_clickDownCell.col, NM_CLICK);
        break;
    }
    }
    m_mode = Mode::Nothing;
    m_grid.viewport()->setCursor(Qt::ArrowCursor);
    if (m_grid.IsValid(m_clickDownCell))
        m_grid.PostMessageToParent(m_clickDownCell.row, m_clickDownCell.col, GridNotifyClicked);
}

void GridMouse::OnRightButtonUp(QPoint point)
{
    const GridCellId cell = m_grid.GetCellFromPoint(point);
    m_grid.EndEditing();
    if (m_grid.IsValid(cell)) {
        m_grid.SetFocusCell(-1, -1);
        m_grid.SetFocusCell(std::max(cell.row, m_grid.GetFixedRowCount()),
                            std::max(cell.col, m_grid.GetFixedColumnCount()));
        if (CGridCellBase* clicked = m_grid.GetExistingCell(cell.row, cell.col))
            clicked->OnRClick(RelativeToCell(cell, point));
    }
    m_grid.SendMessageToParent(cell.row, cell.col, NM_RCLICK);
}

void GridMouse::OnLeftDoubleClick(QPoint point)
{
    const GridCellId cell = m_grid.GetCellFromPoint(point);
    if (!m_grid.IsValid(cell))
        return;
    if (m_mode == Mode::Nothing)
        UpdateDividerHover(point);
    if (IsOverDivider()) {
        AutoSizeDivider(m_mode == Mode::OverRowDivide, point, cell);
        return;
    }
    if (m_mode != Mode::Nothing)
        return;
    const QPoint relative = RelativeToCell(cell, point);
    const bool listRowHeading = m_grid.GetListMode() && cell.row >= m_grid.GetFixedRowCount()
                                && cell.col < m_grid.GetFixedColumnCount();
    if ((!m_grid.IsCellFixed(cell.row, cell.col) && m_grid.IsValid(m_clickDownCell)) || listRowHeading)
        m_grid.EditCell(cell.row, cell.col, relative, VK_LBUTTON);
    if (CGridCellBase* clicked = m_grid.GetExistingCell(cell.row, cell.col))
        clicked->OnDblClick(relative);
    m_grid.SendMessageToParent(cell.row, cell.col, NM_DBLCLK);
}

// A double click on a border fits the line left of (or above) it.
void GridMouse::AutoSizeDivider(bool rows, QPoint point, const GridCellId& cell)
{
    QPoint origin;
    int index = rows ? cell.row : cell.col;
    if (!(rows ? m_grid.GetCellOrigin(index, 0, &origin) : m_grid.GetCellOrigin(0, index, &origin)))
        return;
    if ((rows ? point.y() - origin.y() : point.x() - origin.x()) <= m_grid.GetResizeCaptureRange())
        --index;
    while (index >= 0 && (rows ? m_grid.GetRowHeight(index) : m_grid.GetColumnWidth(index)) == 0)
        --index;
    if (index < 0)
        return;
    if (rows)
        m_grid.AutoSizeRow(index, true);
    else
        m_grid.AutoSizeColumn(index, m_grid.GetAutoSizeStyle(), true);
    m_grid.viewport()->update();
}

bool GridMouse::OnTimer(int timerId)
{
    if (timerId != m_autoScrollTimer.timerId())
        return false;
    OnAutoScroll();
    return true;
}

// While a selection is dragged past an edge, the grid scrolls one line per
// tick towards the pointer and extends the selection to the edge.
void GridMouse::OnAutoScroll()
{
    const QPoint point = m_lastPoint;
    const QRect client = m_grid.ClientRect();
    const int fixedHeight = m_grid.GetFixedRowHeight();
    const int fixedWidth = m_grid.GetFixedColumnWidth();
    const int x = std::clamp(point.x(), client.left(), client.right());
    const int y = std::clamp(point.y(), client.top(), client.bottom());
    if (point.y() > client.bottom())
        StepTowardPointer(VK_DOWN, QPoint(x, client.bottom()));
    else if (point.y() < fixedHeight)
        StepTowardPointer(VK_UP, QPoint(x, fixedHeight + 1));
    if (point.x() > client.right())
        StepTowardPointer(VK_RIGHT, QPoint(client.right(), y));
    else if (point.x() < fixedWidth)
        StepTowardPointer(VK_LEFT, QPoint(fixedWidth + 1, y));
}

void GridMouse::StepTowardPointer(int vk, QPoint edgePoint)
{
    m_keyboard.OnKeyDown(vk, Qt::NoModifier, IsIdle());
    ExtendSelection(m_grid.GetCellFromPoint(edgePoint));
}
