#include "grid/CGridCtrl.h"

#include "grid/CInPlaceEdit.h"
#include "grid/CTitleTip.h"
#include "grid/CellTextRule.h"
#include "grid/GridAutoSizer.h"
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
    if (!IsValid(row, col))
        return nullptr;
    // The object stands for the cell exactly as its storage did, so making
    // it leaves the grid as it was.
    return &const_cast<GridCellStore&>(m_store).MakeObject(row, col);
}

bool CGridCtrl::SetCellText(int row, int col, const QString& text)
{
    if (!IsValid(row, col))
        return false;
    // Whatever the source, a cell never holds what a table file cannot.
    m_store.SetText(row, col, CellTextRule::Filter(text));
    SetModified(true, row, col);
    return true;
}

QString CGridCtrl::GetCellText(int row, int col) const
{
    return IsValid(row, col) ? m_store.Text(row, col) : QString();
}

bool CGridCtrl::SetRowTexts(int row, std::span<const QByteArrayView> latin1)
{
    if (row < 0 || row >= GetRowCount())
        return false;
    std::vector<QByteArray> kept;
    std::vector<QByteArrayView> allowed(latin1.begin(), latin1.end());
    // A moved QByteArray keeps its bytes where they are, so the views stay
    // good while kept grows.
    for (QByteArrayView& text : allowed) {
        if (!CellTextRule::IsAllowed(text))
            text = kept.emplace_back(CellTextRule::Filter(text));
    }
    try {
        m_store.Row(row).SetTexts(allowed);
    } catch (const std::bad_alloc&) {
        GridErrorReporter::Report(this, QStringLiteral("Out of memory."));
        return false;
    }
    MarkRowModified(row);
    return true;
}

// What SetModified(true, row, col) does for every cell of the row: the grid
// is modified, its sorted order no longer holds, and the row's cells outside
// the headings carry the mark.
void CGridCtrl::MarkRowModified(int row)
{
    if (GetColumnCount() == 0)
        return;
    m_bModified = true;
    SetSortColumn(-1);
    if (row > 0)
        m_store.Row(row).AddStates(CellStateModified, 1);
}

bool CGridCtrl::SetCellState(int row, int col, quint32 state)
{
    if (!IsValid(row, col))
        return false;
    m_selection.OnStateChange(row, col, m_store.State(row, col), state);
    m_store.SetState(row, col, state);
    return true;
}

bool CGridCtrl::SetCellBackColour(int row, int col, COLORREF colour)
{
    return ChangeCell(row, col, colour != CLR_DEFAULT, [colour](CGridCellBase& cell) { cell.SetBackClr(colour); });
}

bool CGridCtrl::SetCellTextColour(int row, int col, COLORREF colour)
{
    return ChangeCell(row, col, colour != CLR_DEFAULT, [colour](CGridCellBase& cell) { cell.SetTextClr(colour); });
}

bool CGridCtrl::SetCellFormat(int row, int col, quint32 format)
{
    const bool differs = IsValid(row, col) && format != m_store.CellView(row, col).GetFormat();
    return ChangeCell(row, col, differs, [format](CGridCellBase& cell) { cell.SetFormat(format); });
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
        if (IsValid(row, col)) {
            const quint32 state = m_store.State(row, col);
            m_store.SetState(row, col, modified ? state | CellStateModified : state & ~CellStateModified);
        }
        if (modified)
            m_bModified = true;
    } else {
        m_bModified = modified;
    }
    if (!m_bModified)
        m_store.ClearModifiedMarks();
}

bool CGridCtrl::GetModified(int row, int col) const
{
    if (row <= 0 || col <= 0)
        return m_bModified;
    return GetCellState(row, col) & CellStateModified;
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

GridCellId CGridCtrl::GetFocusCell() const
{
    return m_idCurrentCell;
}

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

// Only a cell with an object can have an editor open.
void CGridCtrl::EndEditing()
{
    if (CGridCellBase* cell = GetExistingCell(m_idCurrentCell.row, m_idCurrentCell.col))
        cell->EndEdit();
}

void CGridCtrl::EndEditCell(int row, int col, const QString& text)
{
    if (!IsValid(row, col))
        return;
    CommitCellText(row, col, text);
    if (CGridCellBase* cell = GetExistingCell(row, col))
        cell->OnEndEdit();
}

void CGridCtrl::OnEndInPlaceEdit(int row, int col, const QString& text, int lastKey,
                                 Qt::KeyboardModifiers modifiers)
{
    EndEditCell(row, col, text);
    // Tab and the navigation keys carry the edit on to the cell they reach.
    if (lastKey != VK_TAB && !IsNavigationKey(lastKey))
        return;
    m_keyboard.OnKeyDown(lastKey, modifiers, m_mouse.IsIdle());
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
    if (!IsValid(row, col))
        return;
    const QString old = GetCellText(row, col);
    if (text == old)
        return;
    const bool cellWasModified = GetCellState(row, col) & CellStateModified;
    const bool gridWasModified = m_bModified;
    SetCellText(row, col, text);
    CGridCellBase* object = m_store.Object(row, col);
    if ((!object || object->ValidateEdit(text)) && SendMessageToParent(row, col, GridNotifyEndEdit) >= 0) {
        SetModified(true, row, col);
        RedrawCell(row, col);
        return;
    }
    SetCellText(row, col, old);
    // Nothing changed in the end, so the modified marks go back to what they
    // were; otherwise a vetoed edit would ask the user to save a table that
    // holds no change.
    if (!cellWasModified)
        m_store.SetState(row, col, m_store.State(row, col) & ~CellStateModified);
    m_bModified = gridWasModified;
    RedrawCell(row, col);
}

// ---- Title tips

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
    if (!IsValid(id))
        return;
    CGridCellBase& cell = m_store.CellView(id.row, id.col);
    if (cell.IsEditing())
        return;
    // A note of the owner's is shown whole, whether the cell's text fits or not.
    const QString note = m_pCellTint ? m_pCellTint->CellNote(id.row, id.col) : QString();
    const QString text = note.isEmpty() ? cell.GetTipText() : note;
    QRect rect;
    if (text.isEmpty() || !GetCellRect(id.row, id.col, &rect))
        return;
    QRect textRect = rect;
    if (!cell.GetTipTextRect(textRect))
        return;
    m_pTitleTip->Show(textRect, text, 0, rect, cell.GetFont(), m_crTTipTextClr, m_crTTipBackClr, !note.isEmpty());
}

// ---- Selection

void CGridCtrl::ResetSelection()
{
    m_selection.Clear();
    SetFocusCell(-1, -1);
}

void CGridCtrl::SetSelectedRange(const GridCellRange& range, bool forceRepaint, bool select)
{
    SetSelectedRange(range.minRow, range.minCol, range.maxRow, range.maxCol, forceRepaint, select);
}

// Painting always happens in the next paint event; forceRepaint only asks for
// it to come soon, which an update does.
void CGridCtrl::SetSelectedRange(int minRow, int minCol, int maxRow, int maxCol, bool, bool select)
{
    m_selection.SetRange(GridCellRange(minRow, minCol, maxRow, maxCol), select);
}

bool CGridCtrl::IsCellSelected(int row, int col) const
{
    return m_bEnableSelection && (GetCellState(row, col) & CellStateSelected);
}

void CGridCtrl::SelectAllCells()
{
    if (!m_bEnableSelection)
        return;
    const GridCellId clickDown = m_mouse.ClickDownCell();
    SendMessageToParent(clickDown.row, clickDown.col, GridNotifySelectionChanging);
    m_selection.Begin(false);
    SetSelectedRange(GetFixedRowCount(), GetFixedColumnCount(), GetRowCount() - 1, GetColumnCount() - 1);
    SendMessageToParent(m_idCurrentCell.row, m_idCurrentCell.col, GridNotifySelectionChanged);
}

void CGridCtrl::SelectCells(GridCellId cell, bool, bool select)
{
    m_selection.SelectCells(cell, select);
}

void CGridCtrl::SelectRows(GridCellId cell, bool, bool select)
{
    m_selection.SelectRows(cell, select);
}

void CGridCtrl::SelectColumns(GridCellId cell, bool, bool select)
{
    m_selection.SelectColumns(cell, select);
}

// ---- Keyboard and mouse

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
    m_keyboard.OnKeyPress(*event, m_mouse.IsIdle());
}

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
    m_mouse.OnLeftButtonDown(event->position().toPoint(), event->modifiers());
}

void CGridCtrl::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    if (m_mouse.OnMove(point)) {
        event->accept();
        return;
    }
    UpdateTitleTip(point);
    QAbstractScrollArea::mouseMoveEvent(event);
}

void CGridCtrl::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    if (event->button() == Qt::RightButton)
        m_mouse.OnRightButtonUp(point);
    else if (event->button() == Qt::LeftButton)
        m_mouse.OnLeftButtonUp(point);
    else
        QAbstractScrollArea::mouseReleaseEvent(event);
}

void CGridCtrl::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_mouse.OnLeftDoubleClick(event->position().toPoint());
    else
        QAbstractScrollArea::mouseDoubleClickEvent(event);
}

void CGridCtrl::timerEvent(QTimerEvent* event)
{
    if (!m_mouse.OnTimer(event->timerId()))
        QAbstractScrollArea::timerEvent(event);
}

void CGridCtrl::focusOutEvent(QFocusEvent* event)
{
    m_mouse.StopAutoScroll();
    QAbstractScrollArea::focusOutEvent(event);
}

// ---- Auto-size, sorting, fonts and colours

bool CGridCtrl::AutoSizeColumn(int col, int style, bool resetScrollBars)
{
    if (!GridAutoSizer(*this, m_store).FitColumn(col, style ? style : m_nAutoSizeColumnStyle))
        return false;
    if (resetScrollBars)
        ResetScrollBars();
    return true;
}

bool CGridCtrl::AutoSizeRow(int row, bool resetScrollBars)
{
    if (!GridAutoSizer(*this, m_store).FitRow(row))
        return false;
    if (resetScrollBars)
        ResetScrollBars();
    return true;
}

void CGridCtrl::AutoSize(int style)
{
    GridAutoSizer(*this, m_store).FitAll(style ? style : m_nAutoSizeColumnStyle);
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
    // An owner's compare function is handed cell objects; the texts alone
    // need none.
    const auto compare = [&](int a, int b) {
        if (m_pfnCompare)
            return m_pfnCompare(GetCell(a, col), GetCell(b, col), data);
        return GridRowSorter::CompareTexts(GetCellText(a, col), GetCellText(b, col));
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
