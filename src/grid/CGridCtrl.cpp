#include "grid/CGridCtrl.h"

#include "grid/CInPlaceEdit.h"
#include "grid/CTitleTip.h"
#include "grid/CellTextRule.h"
#include "grid/GridAutoSizer.h"
#include "grid/GridClipboardText.h"
#include "grid/GridKeyNavigator.h"
#include "grid/GridSizingBar.h"
#include "grid/GridErrorReporter.h"
#include "grid/GridRowSorter.h"
#include "grid/WindowsKeys.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>

CGridCtrl::CGridCtrl(int rows, int cols, int fixedRows, int fixedCols, QWidget* parent)
    : QAbstractScrollArea(parent)
    , m_crGridBkColour(m_defaults.SystemShadow())
{
    setFocusPolicy(Qt::StrongFocus);
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setMouseTracking(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(horizontalScrollBar(), &QScrollBar::actionTriggered, this,
            [this](int action) { m_scroller.OnBarAction(false, action); });
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this,
            [this](int action) { m_scroller.OnBarAction(true, action); });

    m_pTitleTip = new CTitleTip(this);

    SetRowCount(rows);
    SetColumnCount(cols);
    SetFixedRowCount(fixedRows);
    SetFixedColumnCount(fixedCols);
}

CGridCtrl::~CGridCtrl()
{
    // An editor still open must not report into a grid that is going away.
    for (CInPlaceEdit* editor : viewport()->findChildren<CInPlaceEdit*>())
        editor->Abandon();
}

// ---- Owner, id and commands

long CGridCtrl::SendMessageToParent(int row, int col, int code)
{
    if (!m_pOwner)
        return 0;
    return m_pOwner->OnGridNotify(GridNotifyInfo{this, m_nID, code, row, col});
}

void CGridCtrl::PostMessageToParent(int row, int col, int code)
{
    QMetaObject::invokeMethod(
        this, [this, row, col, code] { SendMessageToParent(row, col, code); }, Qt::QueuedConnection);
}

bool CGridCtrl::OnCommand(int id)
{
    switch (id) {
    case ID_EDIT_COPY: OnEditCopy(); return true;
    case ID_EDIT_CUT: OnEditCut(); return true;
    case ID_EDIT_PASTE: OnEditPaste(); return true;
    case ID_EDIT_SELECT_ALL: SelectAllCells(); return true;
    default: return false;
    }
}

bool CGridCtrl::OnUpdateCommand(int id, CommandState& state)
{
    const bool selection = IsValid(GetSelectedRange());
    switch (id) {
    case ID_EDIT_COPY: state.enabled = selection; return true;
    case ID_EDIT_CUT: state.enabled = m_bEditable && selection; return true;
    case ID_EDIT_PASTE: {
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        state.enabled = IsValid(m_idCurrentCell) && IsCellEditable(m_idCurrentCell.row, m_idCurrentCell.col)
                        && data && data->hasText();
        return true;
    }
    case ID_EDIT_SELECT_ALL: state.enabled = m_bEnableSelection; return true;
    default: return false;
    }
}

void CGridCtrl::SetErrorReporter(std::function<void(QWidget*, const QString&)> reporter)
{
    GridErrorReporter::Set(std::move(reporter));
}

// ---- Cells

CGridCellBase* CGridCtrl::GetCell(int row, int col) const
{
    return IsValid(row, col) ? m_store.Cell(row, col) : nullptr;
}

bool CGridCtrl::SetCellText(int row, int col, const QString& text)
{
    // Whatever the source, a cell never holds what a table file cannot.
    if (!WithCell(row, col, [&](CGridCellBase& cell) { cell.SetText(CellTextRule::Filter(text)); }))
        return false;
    SetModified(true, row, col);
    return true;
}

QString CGridCtrl::GetCellText(int row, int col) const
{
    const CGridCellBase* cell = GetCell(row, col);
    return cell ? cell->GetText() : QString();
}

bool CGridCtrl::SetCellState(int row, int col, quint32 state)
{
    CGridCellBase* cell = GetCell(row, col);
    if (!cell)
        return false;
    const quint32 old = cell->GetState();
    if ((state & CellStateSelected) && !(old & CellStateSelected))
        m_SelectedCellMap.insert(CellKey(row, col));
    else if (!(state & CellStateSelected) && (old & CellStateSelected))
        m_SelectedCellMap.remove(CellKey(row, col));
    cell->SetState(state);
    return true;
}

quint32 CGridCtrl::GetCellState(int row, int col) const
{
    const CGridCellBase* cell = GetCell(row, col);
    return cell ? cell->GetState() : 0;
}

bool CGridCtrl::SetCellBackColour(int row, int col, COLORREF colour)
{
    return WithCell(row, col, [colour](CGridCellBase& cell) { cell.SetBackClr(colour); });
}

bool CGridCtrl::SetCellTextColour(int row, int col, COLORREF colour)
{
    return WithCell(row, col, [colour](CGridCellBase& cell) { cell.SetTextClr(colour); });
}

bool CGridCtrl::SetCellFormat(int row, int col, quint32 format)
{
    return WithCell(row, col, [format](CGridCellBase& cell) { cell.SetFormat(format); });
}

bool CGridCtrl::IsCellEditable(int row, int col) const
{
    return m_bEditable && IsValid(row, col) && !(GetCellState(row, col) & CellStateReadOnly);
}

bool CGridCtrl::IsValid(const GridCellRange& range) const
{
    return range.IsValid() && range.maxRow < GetRowCount() && range.maxCol < GetColumnCount();
}

// ---- Sizes

int CGridCtrl::GetRowHeight(int row) const
{
    return (row < 0 || row >= GetRowCount()) ? -1 : m_store.RowHeight(row);
}

int CGridCtrl::GetColumnWidth(int col) const
{
    return (col < 0 || col >= GetColumnCount()) ? -1 : m_store.ColumnWidth(col);
}

bool CGridCtrl::SetRowHeight(int row, int height)
{
    if (row < 0 || row >= GetRowCount() || height < 0)
        return false;
    m_store.SetRowHeight(row, height);
    ResetScrollBars();
    return true;
}

bool CGridCtrl::SetColumnWidth(int col, int width)
{
    if (col < 0 || col >= GetColumnCount() || width < 0)
        return false;
    m_store.SetColumnWidth(col, width);
    ResetScrollBars();
    return true;
}

// ---- Modified flag and sort column

void CGridCtrl::SetModified(bool modified, int row, int col)
{
    if (col < 0 || col == m_nSortColumn)
        SetSortColumn(-1);
    if (row > 0 && col > 0) {
        CGridCellBase* cell = GetCell(row, col);
        if (modified) {
            if (cell)
                cell->SetState(cell->GetState() | CellStateModified);
            m_bModified = true;
        } else if (cell) {
            cell->SetState(cell->GetState() & ~CellStateModified);
        }
    } else {
        m_bModified = modified;
    }
    if (!m_bModified) {
        m_store.ForEachCell([](CGridCellBase& cell) {
            if (cell.IsModified())
                cell.SetState(cell.GetState() & ~CellStateModified);
        });
    }
}

bool CGridCtrl::GetModified(int row, int col) const
{
    if (row <= 0 || col <= 0)
        return m_bModified;
    const CGridCellBase* cell = GetCell(row, col);
    return cell && cell->IsModified();
}

void CGridCtrl::SetSortColumn(int col)
{
    if (m_nSortColumn == col)
        return;
    if (m_nSortColumn >= 0)
        InvalidateCellRect(0, m_nSortColumn);
    m_nSortColumn = col;
    if (col >= 0)
        InvalidateCellRect(0, col);
}

// ---- Focus

GridCellId CGridCtrl::SetFocusCell(int row, int col)
{
    const GridCellId previous = m_idCurrentCell;
    if (previous == GridCellId(row, col))
        return previous;
    if (row != -1)
        row = std::max(row, GetFixedRowCount());
    if (col != -1)
        col = std::max(col, GetFixedColumnCount());
    const GridCellId next(row, col);
    m_idCurrentCell = next;

    const auto redrawHeadings = [this](const GridCellId& cell, bool colChanged, bool rowChanged) {
        if (!m_bTrackFocusCell)
            return;
        if (colChanged)
            for (int fixedRow = 0; fixedRow < GetFixedRowCount(); ++fixedRow)
                InvalidateCellRect(fixedRow, cell.col);
        if (rowChanged)
            for (int fixedCol = 0; fixedCol < GetFixedColumnCount(); ++fixedCol)
                InvalidateCellRect(cell.row, fixedCol);
    };
    if (IsValid(previous)) {
        SetCellState(previous.row, previous.col, GetCellState(previous.row, previous.col) & ~CellStateFocused);
        RedrawCell(previous.row, previous.col);
        redrawHeadings(previous, previous.col != next.col, previous.row != next.row);
    }
    if (IsValid(next)) {
        SetCellState(next.row, next.col, GetCellState(next.row, next.col) | CellStateFocused);
        RedrawCell(next.row, next.col);
        redrawHeadings(next, previous.col != next.col, previous.row != next.row);
    }
    return previous;
}

// ---- Drawing

void CGridCtrl::paintEvent(QPaintEvent* event)
{
    // The window system's backing store already paints off-screen, whatever
    // the double-buffer setting says.
    QPainter painter(viewport());
    OnDraw(painter, event->rect());
}

void CGridCtrl::OnDraw(QPainter& painter, const QRect& clip)
{
    if (!m_bAllowDraw || clip.isEmpty())
        return;
    m_scroller.NotePaintedOffsets();
    m_painter.Paint(painter, clip);
}

bool CGridCtrl::RedrawCell(int row, int col, QPainter* painter)
{
    QRect rect;
    if (!m_bAllowDraw || !IsCellVisible(row, col) || !GetCellRect(row, col, &rect))
        return false;
    if (!painter) {
        // Widgets paint only from their paint event: ask for one.
        viewport()->update(rect);
        return true;
    }
    return m_painter.PaintCell(*painter, row, col, rect);
}

void CGridCtrl::InvalidateCellRect(int row, int col)
{
    QRect rect;
    if (!m_bAllowDraw || !IsCellVisible(row, col) || !GetCellRect(row, col, &rect))
        return;
    viewport()->update(rect.adjusted(0, 0, 1, 1));
}

void CGridCtrl::Refresh()
{
    m_scroller.ForgetShownOffsets();
    if (m_bAllowDraw)
        viewport()->update();
}

void CGridCtrl::SetRedraw(bool allowDraw, bool resetScrollBars)
{
    if (allowDraw && !m_bAllowDraw) {
        m_bAllowDraw = true;
        Refresh();
    }
    m_bAllowDraw = allowDraw;
    if (resetScrollBars)
        ResetScrollBars();
}

// ---- Scrolling

void CGridCtrl::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    if (m_scroller.IsResetting())
        return;
    EndEditing();
    ResetScrollBars();
}

void CGridCtrl::wheelEvent(QWheelEvent* event)
{
    event->accept();
    m_scroller.OnWheel(event->angleDelta().y());
}

// ---- Editing

void CGridCtrl::EndEditing()
{
    if (CGridCellBase* cell = GetCell(m_idCurrentCell.row, m_idCurrentCell.col))
        cell->EndEdit();
}

void CGridCtrl::EndEditCell(int row, int col, const QString& text)
{
    CGridCellBase* cell = GetCell(row, col);
    if (!cell)
        return;
    CommitCellText(row, col, text);
    cell->OnEndEdit();
}

void CGridCtrl::OnEndInPlaceEdit(int row, int col, const QString& text, int lastKey,
                                 Qt::KeyboardModifiers modifiers)
{
    EndEditCell(row, col, text);
    // Tab and the navigation keys carry the edit on to the cell they reach.
    if (lastKey != VK_TAB && !IsNavigationKey(lastKey))
        return;
    OnKeyDown(lastKey, modifiers);
    EditCell(m_idCurrentCell.row, m_idCurrentCell.col, QPoint(-1, -1),
             IsNavigationKey(lastKey) ? EditStartByKey(lastKey) : lastKey);
}

void CGridCtrl::EditCell(int row, int col, QPoint point, int ch)
{
    HideTitleTip();
    if (!IsValid(row, col) || !IsCellEditable(row, col))
        return;
    EnsureVisible(row, col);
    QRect rect;
    if (!IsCellVisible(row, col) || !GetCellRect(row, col, &rect))
        return;
    if (SendMessageToParent(row, col, GridNotifyBeginEdit) < 0)
        return;
    if (CGridCellBase* cell = GetCell(row, col))
        cell->Edit(row, col, rect, point, InPlaceEditId, ch);
}

void CGridCtrl::ModifyCellText(int row, int col, const QString& text)
{
    if (SendMessageToParent(row, col, GridNotifyBeginEdit) < 0)
        return;
    CommitCellText(row, col, text);
}

void CGridCtrl::CommitCellText(int row, int col, const QString& text)
{
    CGridCellBase* cell = GetCell(row, col);
    if (!cell)
        return;
    const QString old = cell->GetText();
    if (text == old)
        return;
    const bool cellWasModified = cell->IsModified();
    const bool gridWasModified = m_bModified;
    SetCellText(row, col, text);
    if (cell->ValidateEdit(text) && SendMessageToParent(row, col, GridNotifyEndEdit) >= 0) {
        SetModified(true, row, col);
        RedrawCell(row, col);
        return;
    }
    SetCellText(row, col, old);
    // Nothing changed in the end, so the modified marks go back to what they
    // were; otherwise a vetoed edit would ask the user to save a table that
    // holds no change.
    if (!cellWasModified)
        cell->SetState(cell->GetState() & ~CellStateModified);
    m_bModified = gridWasModified;
    RedrawCell(row, col);
}

// ---- Title tips

void CGridCtrl::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    if (DragWithMouse(point) || UpdateDividerHover(point)) {
        m_LastMousePoint = point;
        event->accept();
        return;
    }
    m_LastMousePoint = point;
    UpdateTitleTip(point);
    QAbstractScrollArea::mouseMoveEvent(event);
}

void CGridCtrl::leaveEvent(QEvent* event)
{
    HideTitleTip();
    QAbstractScrollArea::leaveEvent(event);
}

void CGridCtrl::HideTitleTip()
{
    m_pTitleTip->Hide();
}

void CGridCtrl::UpdateTitleTip(QPoint point)
{
    if (m_pTitleTip->isVisible() && !m_pTitleTip->HoverRect().contains(point))
        m_pTitleTip->Hide();
    if (!m_bTitleTips)
        return;
    const GridCellId id = GetCellFromPoint(point);
    CGridCellBase* cell = GetCell(id.row, id.col);
    if (!cell || cell->IsEditing())
        return;
    const QString text = cell->GetTipText();
    QRect rect;
    if (text.isEmpty() || !GetCellRect(id.row, id.col, &rect))
        return;
    QRect textRect = rect;
    if (!cell->GetTipTextRect(textRect))
        return;
    m_pTitleTip->Show(textRect, text, 0, rect, cell->GetFont(), m_crTTipTextClr, m_crTTipBackClr);
}

// ---- Selection

void CGridCtrl::ResetSelection()
{
    m_PrevSelectedCellMap.clear();
    const QSet<quint64> selected = m_SelectedCellMap;
    for (quint64 key : selected) {
        const GridCellId cell = CellFromKey(key);
        SetCellState(cell.row, cell.col, GetCellState(cell.row, cell.col) & ~CellStateSelected);
        InvalidateCellRect(cell.row, cell.col);
    }
    m_SelectedCellMap.clear();
    SetFocusCell(-1, -1);
}

// ==== Selection and keyboard

void CGridCtrl::SetCellSelected(const GridCellId& cell, bool selected)
{
    const quint32 state = GetCellState(cell.row, cell.col);
    SetCellState(cell.row, cell.col, selected ? state | CellStateSelected : state & ~CellStateSelected);
}

// Only cells inside the visible range can need paint; checking the range is
// far cheaper than asking each of the hundred thousand cells of a select-all.
void CGridCtrl::RepaintCell(const GridCellId& cell, const GridCellRange& visible)
{
    if (visible.InRange(cell))
        InvalidateCellRect(cell.row, cell.col);
}

void CGridCtrl::SetSelectedRange(const GridCellRange& range, bool forceRepaint, bool select)
{
    SetSelectedRange(range.minRow, range.minCol, range.maxRow, range.maxCol, forceRepaint, select);
}

void CGridCtrl::SetSelectedRange(int minRow, int minCol, int maxRow, int maxCol, bool forceRepaint, bool select)
{
    if (!m_bEnableSelection)
        return;
    // Painting always happens in the next paint event; forceRepaint only asks
    // for it to come soon, which an update does.
    Q_UNUSED(forceRepaint);
    const GridCellRange visible = GetVisibleNonFixedRange();
    const auto raise = [](int bound, int fixed) { return bound >= 0 ? std::max(bound, fixed) : bound; };
    const GridCellRange range(raise(minRow, GetFixedRowCount()), raise(minCol, GetFixedColumnCount()), raise(maxRow, GetFixedRowCount()),
                              raise(maxCol, GetFixedColumnCount()));
    if (select) {
        const QSet<quint64> selected = m_SelectedCellMap;
        for (quint64 key : selected) {
            const GridCellId cell = CellFromKey(key);
            if (!IsValid(cell)) {
                m_SelectedCellMap.remove(key);
                continue;
            }
            SetCellSelected(cell, false);
            if (!range.InRange(cell))
                RepaintCell(cell, visible);
        }
        // A hash keeps the capacity of its largest size; after a select-all
        // every later copy and walk of the set would pay for it.
        if (m_SelectedCellMap.isEmpty())
            m_SelectedCellMap.squeeze();
        if (!(m_bListMode && m_bSingleRowSelection)) {
            if (range.minRow < 0)
                return;
            if (range.minCol >= 0 && range.maxRow >= 0 && range.maxCol >= 0) {
                for (quint64 key : std::as_const(m_PrevSelectedCellMap)) {
                    const GridCellId cell = CellFromKey(key);
                    if (!IsValid(cell))
                        continue;
                    SetCellSelected(cell, true);
                    RepaintCell(cell, visible);
                }
            }
        }
    }
    if (!IsValid(range))
        return;
    for (int row = range.minRow; row <= range.maxRow; ++row) {
        for (int col = range.minCol; col <= range.maxCol; ++col) {
            if (bool(GetCellState(row, col) & CellStateSelected) == select)
                continue;
            SetCellSelected({row, col}, select);
            RepaintCell({row, col}, visible);
        }
    }
}

GridCellRange CGridCtrl::GetSelectedRange() const
{
    GridCellRange range(GetRowCount(), GetColumnCount(), -1, -1);
    for (quint64 key : m_SelectedCellMap) {
        const GridCellId cell = CellFromKey(key);
        range.minRow = std::min(range.minRow, cell.row);
        range.minCol = std::min(range.minCol, cell.col);
        range.maxRow = std::max(range.maxRow, cell.row);
        range.maxCol = std::max(range.maxCol, cell.col);
    }
    return range;
}

bool CGridCtrl::IsCellSelected(int row, int col) const
{
    return m_bEnableSelection && (GetCellState(row, col) & CellStateSelected);
}

void CGridCtrl::SelectAllCells()
{
    if (!m_bEnableSelection)
        return;
    SendMessageToParent(m_LeftClickDownCell.row, m_LeftClickDownCell.col, GridNotifySelectionChanging);
    m_PrevSelectedCellMap.clear();
    SetSelectedRange(GetFixedRowCount(), GetFixedColumnCount(), GetRowCount() - 1, GetColumnCount() - 1);
    SendMessageToParent(m_idCurrentCell.row, m_idCurrentCell.col, GridNotifySelectionChanged);
}

void CGridCtrl::SelectCells(GridCellId cell, bool forceRepaint, bool select)
{
    if (!m_bEnableSelection || !IsValid(cell) || IsCellFixed(cell.row, cell.col))
        return;
    const GridCellId start = m_idSelectionStart;
    SetSelectedRange(std::min(start.row, cell.row), std::min(start.col, cell.col), std::max(start.row, cell.row),
                     std::max(start.col, cell.col), forceRepaint, select);
}

void CGridCtrl::SelectRows(GridCellId cell, bool forceRepaint, bool select)
{
    if (!m_bEnableSelection || !IsValid(cell) || cell.row < GetFixedRowCount())
        return;
    const int startRow = (m_bListMode && m_bSingleRowSelection) ? cell.row : m_idSelectionStart.row;
    SetSelectedRange(std::min(startRow, cell.row), GetFixedColumnCount(), std::max(startRow, cell.row), GetColumnCount() - 1,
                     forceRepaint, select);
}

void CGridCtrl::SelectColumns(GridCellId cell, bool forceRepaint, bool select)
{
    if (!m_bEnableSelection || !IsValid(cell) || cell.col < GetFixedColumnCount())
        return;
    const int startCol = m_bSingleColSelection ? cell.col : m_idSelectionStart.col;
    SetSelectedRange(GetFixedRowCount(), std::min(startCol, cell.col), GetRowCount() - 1, std::max(startCol, cell.col),
                     forceRepaint, select);
}

void CGridCtrl::OnSelecting(const GridCellId& cell)
{
    if (!m_bEnableSelection)
        return;
    switch (m_MouseMode) {
    case MouseMode::SelectColumns: SelectColumns(cell); break;
    case MouseMode::SelectRows: SelectRows(cell); break;
    case MouseMode::SelectCells: SelectCells(cell); break;
    // A click on the corner selects the whole grid, as Ctrl+A does.
    case MouseMode::SelectAll: SetSelectedRange(GetFixedRowCount(), GetFixedColumnCount(), GetRowCount() - 1, GetColumnCount() - 1); break;
    default: break;
    }
}

bool CGridCtrl::event(QEvent* event)
{
    // Qt would move the keyboard focus on Tab before keyPressEvent sees it;
    // the grid moves its focus cell instead.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
        if (tab && m_bHandleTabKey && !(key->modifiers() & Qt::ControlModifier)) {
            keyPressEvent(key);
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

void CGridCtrl::keyPressEvent(QKeyEvent* event)
{
    // Alt combinations belong to the menus.
    if (!IsValid(m_idCurrentCell) || (event->modifiers() & Qt::AltModifier)) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    const int vk = WindowsKeyFromQtKey(event->key());
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    if (OnShortcutKey(vk, modifiers))
        return;
    switch (vk) {
    case VK_DELETE:
    case VK_DOWN:
    case VK_UP:
    case VK_RIGHT:
    case VK_LEFT:
    case VK_TAB:
    case VK_NEXT:
    case VK_PRIOR:
    case VK_HOME:
    case VK_END:
    case VK_F2:
        OnKeyDown(vk, modifiers);
        return;
    default:
        OnCharacter(event->text(), modifiers);
        return;
    }
}

bool CGridCtrl::OnShortcutKey(int vk, Qt::KeyboardModifiers modifiers)
{
    if (modifiers & Qt::ControlModifier) {
        switch (vk) {
        case VK_INSERT:
        case 'C': OnEditCopy(); return true;
        case 'A': SelectAllCells(); return true;
        case 'V': OnEditPaste(); return true;
        case 'X': OnEditCut(); return true;
        default: return false;
        }
    }
    if ((modifiers & Qt::ShiftModifier) && vk == VK_INSERT) {
        OnEditPaste();
        return true;
    }
    return false;
}

void CGridCtrl::OnKeyDown(int vk, Qt::KeyboardModifiers modifiers)
{
    if (!IsValid(m_idCurrentCell))
        return;
    const bool shift = modifiers & Qt::ShiftModifier;
    const bool ctrl = modifiers & Qt::ControlModifier;
    const GridKeyNavigator navigator(m_store.RowAxis(), m_store.ColumnAxis());
    const GridCellId focus = m_idCurrentCell;
    GridCellId next = focus;
    bool wrapped = false;
    const auto step = [&](GridKeyNavigator::Move move) {
        const GridKeyNavigator::Target target = navigator.Step(move, focus.row, focus.col);
        next = GridCellId(target.row, target.column);
        wrapped = target.wrapped;
    };
    using Move = GridKeyNavigator::Move;
    switch (vk) {
    case VK_DELETE:
        if (IsCellEditable(focus.row, focus.col))
            ModifyCellText(focus.row, focus.col, QString());
        break;
    case VK_DOWN: step(Move::Down); break;
    case VK_UP: step(Move::Up); break;
    case VK_RIGHT: step(Move::Right); break;
    case VK_LEFT: step(Move::Left); break;
    case VK_TAB: step(shift ? Move::BackTab : Move::Tab); break;
    case VK_NEXT:
    case VK_PRIOR: {
        const int topBefore = GetTopLeftNonFixedCell().row;
        OnVScroll(vk == VK_NEXT ? SB_PAGEDOWN : SB_PAGEUP);
        const int topAfter = GetTopLeftNonFixedCell(true).row;
        next.row = vk == VK_NEXT ? navigator.PageDown(focus.row, topBefore, topAfter)
                                 : navigator.PageUp(focus.row, topBefore, topAfter);
        break;
    }
    case VK_HOME:
        if (ctrl)
            OnVScroll(SB_TOP);
        OnHScroll(SB_LEFT);
        step(ctrl ? Move::GridHome : Move::Home);
        break;
    case VK_END:
        if (ctrl)
            OnVScroll(SB_BOTTOM);
        OnHScroll(SB_RIGHT);
        step(ctrl ? Move::GridEnd : Move::End);
        break;
    case VK_F2: EditCell(focus.row, focus.col, QPoint(-1, -1), VK_LBUTTON); break;
    default: return;
    }
    if (next == focus)
        return;
    if (IsMouseIdle()) {
        const MouseMode hover = m_MouseMode;
        m_PrevSelectedCellMap.clear();
        m_MouseMode = m_bListMode ? MouseMode::SelectRows : MouseMode::SelectCells;
        if (!shift || vk == VK_TAB)
            m_idSelectionStart = next;
        else if (!IsValid(m_idSelectionStart))
            m_idSelectionStart = focus;
        OnSelecting(next);
        m_MouseMode = hover;
    }
    SetFocusCell(next);
    if (wrapped && !IsCellVisible(next)) {
        // A wrapped TAB starts the new row at its left end (Shift+TAB at its
        // right end), as reading a table line by line expects.
        SetScrollPos32(SB_HORZ, vk == VK_TAB && !shift ? 0 : GetScrollMax(SB_HORZ));
        viewport()->update();
    }
    EnsureVisible(next);
}

// The pointer resting on a border is no drag: keys still select and edit.
bool CGridCtrl::IsMouseIdle() const
{
    return m_MouseMode == MouseMode::Nothing || m_MouseMode == MouseMode::OverColDivide
           || m_MouseMode == MouseMode::OverRowDivide;
}

void CGridCtrl::OnCharacter(const QString& text, Qt::KeyboardModifiers modifiers)
{
    if (text.isEmpty() || (modifiers & (Qt::ControlModifier | Qt::AltModifier)) || !IsMouseIdle())
        return;
    const QChar ch = text.at(0);
    const int code = ch.unicode();
    if (code == VK_ESCAPE || (code == VK_TAB && m_bHandleTabKey))
        return;
    if (code != VK_BACK && code != VK_RETURN && !ch.isPrint())
        return;
    EditCell(m_idCurrentCell.row, m_idCurrentCell.col, QPoint(-1, -1), code);
}

// ==== Clipboard ============================================================

// Cut and paste change many cells at once: one repaint at the end costs less
// than one per cell.  Answers whether drawing was allowed before.
bool CGridCtrl::SuspendDrawing()
{
    const bool allowDraw = m_bAllowDraw;
    SetRedraw(false);
    return allowDraw;
}

bool CGridCtrl::CopySelection(QString* text) const
{
    const GridCellRange range = GetSelectedRange();
    if (!IsValid(range))
        return false;
    *text = GridClipboardText::Encode(m_store.RowAxis(), m_store.ColumnAxis(), range.minRow, range.minCol, range.maxRow, range.maxCol,
                                      [this](int row, int col) {
                                          const CGridCellBase* cell = GetCell(row, col);
                                          return cell && cell->IsSelected() ? cell->GetText() : QString();
                                      });
    return true;
}

void CGridCtrl::OnEditCopy()
{
    QString text;
    if (CopySelection(&text))
        QGuiApplication::clipboard()->setText(text);
}

void CGridCtrl::OnEditCut()
{
    if (!m_bEditable)
        return;
    QString text;
    if (!CopySelection(&text))
        return;
    QGuiApplication::clipboard()->setText(text);
    ClearSelection();
}

// Empties exactly the cells that a copy takes: the selected ones in shown
// rows and columns.  Unselected cells between two Ctrl-clicked ones keep
// their text.
void CGridCtrl::ClearSelection()
{
    if (!m_bEditable || !IsValid(GetSelectedRange()))
        return;
    std::vector<GridCellId> cells;
    cells.reserve(size_t(m_SelectedCellMap.size()));
    for (quint64 key : std::as_const(m_SelectedCellMap))
        cells.push_back(CellFromKey(key));
    std::sort(cells.begin(), cells.end());
    const bool allowDraw = SuspendDrawing();
    for (const GridCellId& cell : cells) {
        if (GetRowHeight(cell.row) > 0 && GetColumnWidth(cell.col) > 0 && IsCellEditable(cell.row, cell.col))
            ModifyCellText(cell.row, cell.col, QString());
    }
    SetRedraw(allowDraw);
}

void CGridCtrl::OnEditPaste()
{
    if (!m_bEditable)
        return;
    GridCellId target = m_idCurrentCell;
    if (!IsValid(target))
        target = GetTopLeftNonFixedCell();
    if (!IsValid(target))
        return;
    CGridCellBase* cell = GetCell(target.row, target.col);
    if (cell && cell->IsEditing() && cell->GetEditWnd()) {
        cell->GetEditWnd()->paste();
        return;
    }
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (data && data->hasText())
        PasteText(target, QGuiApplication::clipboard()->text());
}

bool CGridCtrl::PasteText(const GridCellId& start, const QString& text)
{
    if (!IsValid(start) || !IsCellEditable(start.row, start.col))
        return false;
    bool dropped = false;
    const bool allowDraw = SuspendDrawing();
    GridClipboardText::Place(GridClipboardText::Decode(text), m_store.RowAxis(), m_store.ColumnAxis(), start.row, start.col,
                             [&](int row, int col, const QString& field) {
                                 if (!IsCellEditable(row, col))
                                     return;
                                 const QString kept = CellTextRule::Filter(field);
                                 dropped = dropped || kept.size() != field.size();
                                 ModifyCellText(row, col, kept);
                                 SetCellSelected({row, col}, false);
                             });
    SetRedraw(allowDraw);
    if (dropped)
        GridErrorReporter::Report(this, CellTextRule::DroppedMessage());
    return true;
}

// ==== Mouse ================================================================

void CGridCtrl::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        event->accept(); // the release moves the focus
        return;
    }
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    const QPoint point = event->position().toPoint();
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    setFocus(Qt::MouseFocusReason);
    m_LeftClickDownPoint = point;
    m_bLMouseButtonDown = true;
    m_LeftClickDownCell = GetCellFromPoint(point);
    if (!IsValid(m_LeftClickDownCell))
        return;
    if (!(modifiers & Qt::ShiftModifier))
        m_idSelectionStart = m_LeftClickDownCell;
    else if (!IsValid(m_idSelectionStart))
        m_idSelectionStart = m_idCurrentCell;
    EndEditing();
    if (CGridCellBase* cell = GetCell(m_LeftClickDownCell.row, m_LeftClickDownCell.col))
        cell->OnClickDown(RelativeToCell(m_LeftClickDownCell, point));
    if (m_MouseMode == MouseMode::Nothing)
        UpdateDividerHover(point);
    const bool overDivider = m_MouseMode == MouseMode::OverColDivide || m_MouseMode == MouseMode::OverRowDivide;

    if (!overDivider && m_LeftClickDownCell == m_idCurrentCell) {
        if (IsCellEditable(m_idCurrentCell.row, m_idCurrentCell.col))
            m_MouseMode = MouseMode::PrepareEdit;
        return;
    }
    if (!overDivider && IsCellSelected(m_LeftClickDownCell.row, m_LeftClickDownCell.col)) {
        if (modifiers & Qt::ControlModifier) {
            SetFocusCell(m_LeftClickDownCell);
            if (m_bListMode)
                SelectRows(m_LeftClickDownCell, true, false);
            else
                SelectCells(m_LeftClickDownCell, true, false);
            return;
        }
    } else if (!overDivider) {
        SetFocusCell(-1, -1);
        if (GetRowCount() > GetFixedRowCount() && GetColumnCount() > GetFixedColumnCount())
            SetFocusCell(std::max(m_LeftClickDownCell.row, GetFixedRowCount()),
                         std::max(m_LeftClickDownCell.col, GetFixedColumnCount()));
    }

    if (m_MouseMode == MouseMode::OverColDivide) {
        StartSizing(false, point);
        return;
    }
    if (m_MouseMode == MouseMode::OverRowDivide) {
        StartSizing(true, point);
        return;
    }
    SendMessageToParent(m_LeftClickDownCell.row, m_LeftClickDownCell.col, GridNotifySelectionChanging);
    m_PrevSelectedCellMap.clear();
    if (modifiers & Qt::ControlModifier)
        m_PrevSelectedCellMap = m_SelectedCellMap;
    if (m_LeftClickDownCell.row < GetFixedRowCount()) {
        OnFixedRowClick(m_LeftClickDownCell);
    } else if (m_LeftClickDownCell.col < GetFixedColumnCount()) {
        OnFixedColumnClick(m_LeftClickDownCell);
    } else {
        m_MouseMode = m_bListMode ? MouseMode::SelectRows : MouseMode::SelectCells;
        OnSelecting(m_LeftClickDownCell);
        m_AutoScrollTimer.start(AutoScrollPeriodMs, this);
    }
    m_LastMousePoint = point;
}

QPoint CGridCtrl::RelativeToCell(const GridCellId& cell, QPoint point) const
{
    QPoint origin;
    return GetCellOrigin(cell.row, cell.col, &origin) ? point - origin : QPoint(0, 0);
}

void CGridCtrl::OnFixedRowClick(const GridCellId& cell)
{
    if (!IsValid(cell))
        return;
    if (m_bSortOnClick) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        SortByColumn(cell.col, cell.col == m_nSortColumn ? !m_bAscending : true);
        viewport()->update();
        QGuiApplication::restoreOverrideCursor();
    }
    if (m_bFixedRowSelection) {
        m_MouseMode = cell.col >= GetFixedColumnCount() ? MouseMode::SelectColumns : MouseMode::SelectAll;
        OnSelecting(cell);
    }
}

void CGridCtrl::OnFixedColumnClick(const GridCellId& cell)
{
    if (!IsValid(cell) || !m_bFixedColumnSelection)
        return;
    m_MouseMode = cell.row >= GetFixedRowCount() ? MouseMode::SelectRows : MouseMode::SelectAll;
    OnSelecting(cell);
}

// Starts dragging a column border (or a row border): the click-down column
// becomes the one whose right edge moves.
void CGridCtrl::StartSizing(bool rows, QPoint point)
{
    const int range = m_nResizeCaptureRange;
    const int count = rows ? GetRowCount() : GetColumnCount();
    const auto along = [rows](QPoint p) { return rows ? p.y() : p.x(); };
    const auto sizeOf = [&](int i) { return rows ? GetRowHeight(i) : GetColumnWidth(i); };
    const auto originOf = [&](int i, QPoint* origin) {
        return rows ? GetCellOrigin(i, 0, origin) : GetCellOrigin(0, i, origin);
    };
    int& index = rows ? m_LeftClickDownCell.row : m_LeftClickDownCell.col;
    m_MouseMode = rows ? MouseMode::SizingRow : MouseMode::SizingColumn;

    QRect visible;
    GetVisibleNonFixedRange(&visible);
    const bool lastIsNarrow = sizeOf(count - 1) < range;
    if (lastIsNarrow && std::abs(along(visible.bottomRight()) - along(point)) < range)
        index = count - 1;
    QPoint origin;
    if (!originOf(index, &origin)) {
        m_MouseMode = MouseMode::Nothing;
        return;
    }
    const bool onLeftBorder = along(point) - along(origin) <= range;
    const bool unhide = rows ? m_bHiddenRowUnhide : m_bHiddenColUnhide;
    if (!unhide && !(!onLeftBorder && index == count - 1)) {
        // Without unhiding, a border next to hidden lines belongs to the
        // nearest shown line before it.
        while (sizeOf(onLeftBorder ? index - 1 : index) == 0) {
            if (--index < (onLeftBorder ? 1 : 0)) {
                m_MouseMode = MouseMode::Nothing;
                return;
            }
        }
    }
    if (onLeftBorder && !(index == count - 1 && lastIsNarrow)) {
        if (--index < 0 || !originOf(index, &origin)) {
            m_MouseMode = MouseMode::Nothing;
            return;
        }
    }
    if (!m_pSizingBar)
        m_pSizingBar = new GridSizingBar(viewport());
    if (rows)
        m_pSizingBar->ShowAtRowBorder(point.y());
    else
        m_pSizingBar->ShowAtColumnBorder(point.x());
    m_LastMousePoint = point;
}

void CGridCtrl::FinishSizing(QPoint point)
{
    const bool rows = m_MouseMode == MouseMode::SizingRow;
    if (m_pSizingBar)
        m_pSizingBar->hide();
    if (point == m_LeftClickDownPoint || point == QPoint(0, 0))
        return;
    QPoint origin;
    const int index = rows ? m_LeftClickDownCell.row : m_LeftClickDownCell.col;
    if (!(rows ? GetCellOrigin(index, 0, &origin) : GetCellOrigin(0, index, &origin)))
        return;
    const bool allowHide = rows ? m_bAllowRowHide : m_bAllowColHide;
    const int size = std::max(rows ? point.y() - origin.y() : point.x() - origin.x(), allowHide ? 0 : 1);
    if (rows)
        SetRowHeight(index, size);
    else
        SetColumnWidth(index, size);
    ResetScrollBars();
    viewport()->update();
}

bool CGridCtrl::UpdateDividerHover(QPoint point)
{
    if (m_bAllowColumnResize && MouseOverColumnResizeArea(point)) {
        if (m_MouseMode != MouseMode::OverColDivide) {
            viewport()->setCursor(Qt::SizeHorCursor);
            m_MouseMode = MouseMode::OverColDivide;
        }
        return true;
    }
    if (m_bAllowRowResize && MouseOverRowResizeArea(point)) {
        if (m_MouseMode != MouseMode::OverRowDivide) {
            viewport()->setCursor(Qt::SizeVerCursor);
            m_MouseMode = MouseMode::OverRowDivide;
        }
        return true;
    }
    if (m_MouseMode != MouseMode::Nothing) {
        viewport()->setCursor(Qt::ArrowCursor);
        m_MouseMode = MouseMode::Nothing;
    }
    return false;
}

// Mouse moves with the left button down: extends the selection or moves the
// sizing bar.  Answers false when the move is a plain hover.
bool CGridCtrl::DragWithMouse(QPoint point)
{
    if (!m_bLMouseButtonDown || m_MouseMode == MouseMode::Nothing)
        return false;
    switch (m_MouseMode) {
    case MouseMode::SelectColumns:
    case MouseMode::SelectRows:
    case MouseMode::SelectCells: {
        if (!IsValid(m_LeftClickDownCell))
            break;
        const GridCellId cell = GetCellFromPoint(point);
        if (!IsValid(cell))
            return true;
        if (cell != m_idCurrentCell) {
            OnSelecting(cell);
            if (!(m_MouseMode == MouseMode::SelectCells && IsCellFixed(cell.row, cell.col)))
                SetFocusCell(cell);
        }
        break;
    }
    case MouseMode::SizingRow:
        if (m_pSizingBar)
            m_pSizingBar->ShowAtRowBorder(point.y());
        break;
    case MouseMode::SizingColumn:
        if (m_pSizingBar)
            m_pSizingBar->ShowAtColumnBorder(point.x());
        break;
    default: break;
    }
    m_LastMousePoint = point;
    return true;
}

void CGridCtrl::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    if (event->button() == Qt::RightButton) {
        OnRightButtonUp(point);
        return;
    }
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mouseReleaseEvent(event);
        return;
    }
    m_bLMouseButtonDown = false;
    StopAutoScroll();
    const QPoint relative = RelativeToCell(m_idCurrentCell, point);
    switch (m_MouseMode) {
    case MouseMode::PrepareEdit: EditCell(m_idCurrentCell.row, m_idCurrentCell.col, relative, VK_LBUTTON); break;
    case MouseMode::SizingColumn:
    case MouseMode::SizingRow: FinishSizing(point); break;
    default:
        SendMessageToParent(m_idCurrentCell.row, m_idCurrentCell.col, GridNotifySelectionChanged);
        if (CGridCellBase* cell = GetCell(m_idCurrentCell.row, m_idCurrentCell.col))
            cell->OnClick(relative);
        SendMessageToParent(m_LeftClickDownCell.row, m_LeftClickDownCell.col, NM_CLICK);
        break;
    }
    m_MouseMode = MouseMode::Nothing;
    viewport()->setCursor(Qt::ArrowCursor);
    if (IsValid(m_LeftClickDownCell))
        PostMessageToParent(m_LeftClickDownCell.row, m_LeftClickDownCell.col, GridNotifyClicked);
}

void CGridCtrl::OnRightButtonUp(QPoint point)
{
    const GridCellId cell = GetCellFromPoint(point);
    EndEditing();
    if (IsValid(cell)) {
        SetFocusCell(-1, -1);
        SetFocusCell(std::max(cell.row, GetFixedRowCount()), std::max(cell.col, GetFixedColumnCount()));
        if (CGridCellBase* clicked = GetCell(cell.row, cell.col))
            clicked->OnRClick(RelativeToCell(cell, point));
    }
    SendMessageToParent(cell.row, cell.col, NM_RCLICK);
}

void CGridCtrl::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mouseDoubleClickEvent(event);
        return;
    }
    const QPoint point = event->position().toPoint();
    const GridCellId cell = GetCellFromPoint(point);
    if (!IsValid(cell))
        return;
    if (m_MouseMode == MouseMode::Nothing)
        UpdateDividerHover(point);
    if (m_MouseMode == MouseMode::OverColDivide || m_MouseMode == MouseMode::OverRowDivide) {
        AutoSizeDivider(m_MouseMode == MouseMode::OverRowDivide, point, cell);
        return;
    }
    if (m_MouseMode != MouseMode::Nothing)
        return;
    const QPoint relative = RelativeToCell(cell, point);
    const bool listRowHeading = m_bListMode && cell.row >= GetFixedRowCount() && cell.col < GetFixedColumnCount();
    if ((!IsCellFixed(cell.row, cell.col) && IsValid(m_LeftClickDownCell)) || listRowHeading)
        EditCell(cell.row, cell.col, relative, VK_LBUTTON);
    if (CGridCellBase* clicked = GetCell(cell.row, cell.col))
        clicked->OnDblClick(relative);
    SendMessageToParent(cell.row, cell.col, NM_DBLCLK);
}

// A double click on a border fits the line left of (or above) it.
void CGridCtrl::AutoSizeDivider(bool rows, QPoint point, const GridCellId& cell)
{
    QPoint origin;
    int index = rows ? cell.row : cell.col;
    if (!(rows ? GetCellOrigin(index, 0, &origin) : GetCellOrigin(0, index, &origin)))
        return;
    if ((rows ? point.y() - origin.y() : point.x() - origin.x()) <= m_nResizeCaptureRange)
        --index;
    while (index >= 0 && (rows ? GetRowHeight(index) : GetColumnWidth(index)) == 0)
        --index;
    if (index < 0)
        return;
    if (rows)
        AutoSizeRow(index, true);
    else
        AutoSizeColumn(index, m_nAutoSizeColumnStyle, true);
    viewport()->update();
}

void CGridCtrl::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == m_AutoScrollTimer.timerId())
        OnAutoScroll();
    else
        QAbstractScrollArea::timerEvent(event);
}

void CGridCtrl::focusOutEvent(QFocusEvent* event)
{
    StopAutoScroll();
    QAbstractScrollArea::focusOutEvent(event);
}

void CGridCtrl::StopAutoScroll()
{
    m_AutoScrollTimer.stop();
}

// While a selection is dragged past an edge, the grid scrolls one line per
// tick towards the pointer and extends the selection to the edge.
void CGridCtrl::OnAutoScroll()
{
    const QPoint point = m_LastMousePoint;
    const QRect client = ClientRect();
    const int fixedHeight = GetFixedRowHeight();
    const int fixedWidth = GetFixedColumnWidth();
    const int x = std::clamp(point.x(), client.left(), client.right());
    const int y = std::clamp(point.y(), client.top(), client.bottom());
    if (point.y() > client.bottom()) {
        OnKeyDown(VK_DOWN, Qt::NoModifier);
        OnSelecting(GetCellFromPoint(QPoint(x, client.bottom())));
    } else if (point.y() < fixedHeight) {
        OnKeyDown(VK_UP, Qt::NoModifier);
        OnSelecting(GetCellFromPoint(QPoint(x, fixedHeight + 1)));
    }
    if (point.x() > client.right()) {
        OnKeyDown(VK_RIGHT, Qt::NoModifier);
        OnSelecting(GetCellFromPoint(QPoint(client.right(), y)));
    } else if (point.x() < fixedWidth) {
        OnKeyDown(VK_LEFT, Qt::NoModifier);
        OnSelecting(GetCellFromPoint(QPoint(fixedWidth + 1, y)));
    }
}


// ---- Auto-size, sorting, fonts and colours

bool CGridCtrl::AutoSizeColumn(int col, int style, bool resetScrollBars)
{
    if (!GridAutoSizer(m_store).FitColumn(col, style ? style : m_nAutoSizeColumnStyle))
        return false;
    if (resetScrollBars)
        ResetScrollBars();
    return true;
}

bool CGridCtrl::AutoSizeRow(int row, bool resetScrollBars)
{
    if (!GridAutoSizer(m_store).FitRow(row))
        return false;
    if (resetScrollBars)
        ResetScrollBars();
    return true;
}

void CGridCtrl::AutoSize(int style)
{
    GridAutoSizer(m_store).FitAll(style ? style : m_nAutoSizeColumnStyle);
    ResetScrollBars();
    Refresh();
}

bool CGridCtrl::SortByColumn(int col, bool ascending, qint32 data)
{
    if (col < 0 || col >= GetColumnCount())
        return false;
    SetSortColumn(col);
    m_bAscending = ascending;
    ResetSelection();
    const int fixedRows = GetFixedRowCount();
    if (GetRowCount() - fixedRows < 2)
        return false;
    const auto compare = [&](int a, int b) {
        const CGridCellBase* first = GetCell(a, col);
        const CGridCellBase* second = GetCell(b, col);
        if (m_pfnCompare)
            return m_pfnCompare(first, second, data);
        return first && second ? GridRowSorter::CompareTexts(first->GetText(), second->GetText()) : 0;
    };
    m_store.ReorderRows(fixedRows, GridRowSorter::Order(fixedRows, GetRowCount() - 1, ascending, compare));
    Refresh();
    return true;
}

// Existing rows and columns keep their sizes through a font change until the
// owner auto-sizes.
void CGridCtrl::changeEvent(QEvent* event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        m_defaults.SetFont(font());
        Refresh();
    } else if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ApplicationPaletteChange) {
        m_defaults.FollowSystemColours(m_crGridBkColour);
        Refresh();
    }
}
