#include "grid/CGridCtrl.h"

#include "grid/CGridCell.h"
#include "grid/CInPlaceEdit.h"
#include "grid/CTitleTip.h"
#include "grid/CellTextRule.h"
#include "grid/GridClipboardText.h"
#include "grid/GridErrorReporter.h"
#include "grid/GridExtentCache.h"
#include "grid/GridKeyNavigator.h"
#include "grid/GridRowSorter.h"
#include "grid/GridSizingBar.h"
#include "grid/WindowsKeys.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleHints>
#include <QWheelEvent>

#include <algorithm>
#include <new>
#include <numeric>

namespace {

int SumOf(const std::vector<int>& sizes, int from, int to)
{
    from = std::clamp(from, 0, int(sizes.size()));
    to = std::clamp(to, from, int(sizes.size()));
    return std::accumulate(sizes.begin() + from, sizes.begin() + to, 0);
}

} // namespace

CGridCtrl::CGridCtrl(int rows, int cols, int fixedRows, int fixedCols, QWidget* parent)
    : QAbstractScrollArea(parent)
{
    m_crWindowText = GetSysColor(COLOR_WINDOWTEXT);
    m_crWindowColour = GetSysColor(COLOR_WINDOW);
    m_cr3DFace = GetSysColor(COLOR_3DFACE);
    m_crShadow = GetSysColor(COLOR_3DSHADOW);
    m_crGridBkColour = m_crShadow;
    m_nRowsPerWheelNotch = QGuiApplication::styleHints()->wheelScrollLines();

    for (CGridDefaultCell* cell : {&m_cellDefault, &m_cellFixedColDef, &m_cellFixedRowDef, &m_cellFixedRowColDef}) {
        cell->SetGrid(this);
        cell->SetTextClr(m_crWindowText);
        cell->SetBackClr(m_cr3DFace);
    }
    m_cellDefault.SetBackClr(m_crWindowColour);

    setFocusPolicy(Qt::StrongFocus);
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setMouseTracking(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(horizontalScrollBar(), &QScrollBar::actionTriggered, this,
            [this](int action) { OnScrollBarAction(false, action); });
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this,
            [this](int action) { OnScrollBarAction(true, action); });

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

void CGridCtrl::ReportOutOfMemory()
{
    GridErrorReporter::Report(this, QStringLiteral("Out of memory."));
}

// ---- Cells

std::unique_ptr<CGridCellBase> CGridCtrl::CreateCell(int row, int col)
{
    auto cell = std::make_unique<CGridCell>();
    cell->SetGrid(this);
    cell->SetCoords(row, col);
    quint32 state = 0;
    const bool fixedRow = row < m_nFixedRows;
    const bool fixedCol = col < m_nFixedCols;
    if (fixedCol)
        state |= CellStateFixed | CellStateFixedColumn;
    if (fixedRow)
        state |= CellStateFixed | CellStateFixedRow;
    cell->SetState(state);
    cell->SetFormat(GetDefaultCell(fixedRow, fixedCol)->GetFormat());
    return cell;
}

void CGridCtrl::DestroyCell(int row, int col)
{
    SetCellState(row, col, 0);
    m_RowData[size_t(row)][size_t(col)].reset();
}

CGridCellBase* CGridCtrl::GetCell(int row, int col) const
{
    if (!IsValid(row, col))
        return nullptr;
    return m_RowData[size_t(row)][size_t(col)].get();
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
    return range.IsValid() && range.maxRow < m_nRows && range.maxCol < m_nCols;
}

CGridDefaultCell* CGridCtrl::GetDefaultCell(bool fixedRow, bool fixedCol) const
{
    auto* self = const_cast<CGridCtrl*>(this);
    if (fixedRow && fixedCol)
        return &self->m_cellFixedRowColDef;
    if (fixedRow)
        return &self->m_cellFixedRowDef;
    if (fixedCol)
        return &self->m_cellFixedColDef;
    return &self->m_cellDefault;
}

void CGridCtrl::SetFixedTextColor(COLORREF colour)
{
    m_cellFixedRowDef.SetTextClr(colour);
    m_cellFixedColDef.SetTextClr(colour);
    m_cellFixedRowColDef.SetTextClr(colour);
}

void CGridCtrl::SetFixedBkColor(COLORREF colour)
{
    m_cellFixedRowDef.SetBackClr(colour);
    m_cellFixedColDef.SetBackClr(colour);
    m_cellFixedRowColDef.SetBackClr(colour);
}

// ---- Counts

// What every change of the row or column count shares: the fixed count is
// clipped to the new count, a focus beyond it goes, and afterwards the whole
// grid counts as changed.  resize does the change and answers its success.
template <typename Resize>
bool CGridCtrl::ChangeCount(bool rows, int count, Resize resize)
{
    if (count < 0)
        return false;
    if (count == (rows ? m_nRows : m_nCols))
        return true;
    ForgetTopLeft();
    int& fixed = rows ? m_nFixedRows : m_nFixedCols;
    fixed = std::min(fixed, count);
    if ((rows ? m_idCurrentCell.row : m_idCurrentCell.col) >= count)
        SetFocusCell(-1, -1);
    const bool ok = resize();
    SetModified(true);
    ResetScrollBars();
    Refresh();
    return ok;
}

bool CGridCtrl::SetRowCount(int rows)
{
    return ChangeCount(true, rows, [this, rows] { return ResizeRows(rows); });
}

bool CGridCtrl::SetColumnCount(int cols)
{
    return ChangeCount(false, cols, [this, cols] { return ResizeColumns(cols); });
}

bool CGridCtrl::ResizeRows(int rows)
{
    if (rows < m_nRows) {
        for (int row = rows; row < m_nRows; ++row)
            for (int col = 0; col < m_nCols; ++col)
                DestroyCell(row, col);
        m_RowData.resize(size_t(rows));
        m_arRowHeights.resize(size_t(rows));
        m_nRows = rows;
    } else {
        try {
            m_RowData.reserve(size_t(rows));
            m_arRowHeights.reserve(size_t(rows));
            const int height = m_cellDefault.GetHeight();
            while (m_nRows < rows) {
                GridRow cells(static_cast<size_t>(m_nCols));
                for (int col = 0; col < m_nCols; ++col)
                    cells[size_t(col)] = CreateCell(m_nRows, col);
                m_RowData.push_back(std::move(cells));
                m_arRowHeights.push_back(height);
                ++m_nRows;
            }
        } catch (const std::bad_alloc&) {
            ReportOutOfMemory();
            return false;
        }
    }
    return true;
}

bool CGridCtrl::ResizeColumns(int cols)
{
    if (cols < m_nCols) {
        for (int row = 0; row < m_nRows; ++row) {
            for (int col = cols; col < m_nCols; ++col)
                DestroyCell(row, col);
            m_RowData[size_t(row)].resize(size_t(cols));
        }
        m_arColWidths.resize(size_t(cols));
        m_nCols = cols;
    } else {
        const int oldCols = m_nCols;
        try {
            m_arColWidths.resize(size_t(cols), m_cellFixedColDef.GetWidth());
            // Every row grows before the count changes, so that a failure
            // leaves rows of one length.
            for (GridRow& cells : m_RowData)
                cells.reserve(size_t(cols));
            for (int row = 0; row < m_nRows; ++row)
                for (int col = oldCols; col < cols; ++col)
                    m_RowData[size_t(row)].push_back(CreateCell(row, col));
            m_nCols = cols;
        } catch (const std::bad_alloc&) {
            for (GridRow& cells : m_RowData)
                cells.resize(size_t(oldCols));
            m_arColWidths.resize(size_t(oldCols));
            ReportOutOfMemory();
            return false;
        }
    }
    return true;
}

// Cells of the rows (or columns) from..to-1 become fixed, or stop being
// fixed in that direction; a cell that changes between heading and body
// takes the default colours of its new area.
void CGridCtrl::SetFixedFlags(bool rows, int from, int to, bool becomeFixed)
{
    const quint32 lineBit = rows ? CellStateFixedRow : CellStateFixedColumn;
    for (int row = rows ? from : 0; row < (rows ? to : m_nRows); ++row) {
        for (int col = rows ? 0 : from; col < (rows ? m_nCols : to); ++col) {
            CGridCellBase* cell = GetCell(row, col);
            if (!cell)
                continue;
            quint32 state = cell->GetState();
            const bool fixedOtherWay = rows ? col < m_nFixedCols : row < m_nFixedRows;
            if (becomeFixed) {
                state |= CellStateFixed | lineBit;
            } else if (fixedOtherWay) {
                cell->SetState(state & ~lineBit);
                continue;
            } else {
                state &= ~(CellStateFixed | lineBit);
            }
            cell->SetState(state);
            cell->SetTextClr(CLR_DEFAULT);
            cell->SetBackClr(CLR_DEFAULT);
        }
    }
}

bool CGridCtrl::SetFixedRowCount(int fixedRows)
{
    if (fixedRows == m_nFixedRows)
        return true;
    if (fixedRows < 0)
        return false;
    ResetSelection();
    ForgetTopLeft();
    if (fixedRows > m_nRows && !SetRowCount(fixedRows))
        return false;
    if (m_idCurrentCell.row != -1 && m_idCurrentCell.row < fixedRows)
        SetFocusCell(-1, -1);
    if (fixedRows < m_nFixedRows)
        SetFixedFlags(true, fixedRows, m_nFixedRows, false);
    else
        SetFixedFlags(true, m_nFixedRows, fixedRows, true);
    m_nFixedRows = fixedRows;
    ResetScrollBars();
    Refresh();
    return true;
}

bool CGridCtrl::SetFixedColumnCount(int fixedCols)
{
    if (fixedCols == m_nFixedCols)
        return true;
    if (fixedCols < 0)
        return false;
    if (fixedCols > m_nCols && !SetColumnCount(fixedCols))
        return false;
    if (m_idCurrentCell.col != -1 && m_idCurrentCell.col < fixedCols)
        SetFocusCell(-1, -1);
    ResetSelection();
    ForgetTopLeft();
    if (fixedCols < m_nFixedCols)
        SetFixedFlags(false, fixedCols, m_nFixedCols, false);
    else
        SetFixedFlags(false, m_nFixedCols, fixedCols, true);
    m_nFixedCols = fixedCols;
    ResetScrollBars();
    Refresh();
    return true;
}

int CGridCtrl::InsertRow(const QString& heading, int row)
{
    if (row >= 0 && (row < m_nFixedRows || row >= m_nRows))
        return -1;
    ForgetTopLeft();
    const GridCellId focus = m_idCurrentCell;
    ResetSelection();
    if (m_nCols == 0 && !SetColumnCount(1))
        return -1;

    const int index = row < 0 ? m_nRows : row;
    try {
        GridRow cells(static_cast<size_t>(m_nCols));
        m_arRowHeights.reserve(m_arRowHeights.size() + 1);
        m_RowData.insert(m_RowData.begin() + index, std::move(cells));
        m_arRowHeights.insert(m_arRowHeights.begin() + index, 0);
        ++m_nRows;
        for (int col = 0; col < m_nCols; ++col)
            m_RowData[size_t(index)][size_t(col)] = CreateCell(index, col);
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory();
        return -1;
    }

    SetCellText(index, 0, heading);
    m_arRowHeights[size_t(index)] = heading.isEmpty() ? m_cellFixedRowDef.GetHeight()
                                                      : GetCell(index, 0)->GetTextExtent(heading).height();
    // The selection is gone, but the focus stays on its cell.
    if (focus.row != -1 && index <= focus.row)
        SetFocusCell(focus.row + 1, focus.col);
    else
        SetFocusCell(focus);
    ResetScrollBars();
    SetModified(true);
    return index;
}

int CGridCtrl::InsertColumn(const QString& heading, quint32 format, int col)
{
    if (col >= 0 && (col < m_nFixedCols || col > m_nCols))
        return -1;
    ForgetTopLeft();
    const GridCellId focus = m_idCurrentCell;
    ResetSelection();
    if (m_nRows == 0 && !SetRowCount(1))
        return -1;

    const int index = (col < 0 || col == m_nCols) ? m_nCols : col;
    try {
        m_arColWidths.reserve(m_arColWidths.size() + 1);
        for (GridRow& cells : m_RowData)
            cells.reserve(cells.size() + 1);
        // Nothing below allocates a row again, so the rows stay one length.
        std::vector<std::unique_ptr<CGridCellBase>> created;
        created.reserve(size_t(m_nRows));
        for (int row = 0; row < m_nRows; ++row)
            created.push_back(CreateCell(row, index));
        m_arColWidths.insert(m_arColWidths.begin() + index, 0);
        for (int row = 0; row < m_nRows; ++row) {
            GridRow& cells = m_RowData[size_t(row)];
            cells.insert(cells.begin() + index, std::move(created[size_t(row)]));
        }
        ++m_nCols;
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory();
        return -1;
    }

    SetCellText(0, index, heading);
    for (int row = 0; row < m_nRows; ++row)
        SetCellFormat(row, index, format);
    m_arColWidths[size_t(index)] = GetCell(0, index)->GetTextExtent(heading).width();
    if (focus.col != -1 && index <= focus.col)
        SetFocusCell(focus.row, focus.col + 1);
    else
        SetFocusCell(focus);
    ResetScrollBars();
    SetModified(true);
    return index;
}

bool CGridCtrl::DeleteColumn(int col)
{
    if (col < 0 || col >= m_nCols)
        return false;
    const GridCellId focus = m_idCurrentCell;
    ResetSelection();
    for (int row = 0; row < m_nRows; ++row) {
        DestroyCell(row, col);
        GridRow& cells = m_RowData[size_t(row)];
        cells.erase(cells.begin() + col);
    }
    m_arColWidths.erase(m_arColWidths.begin() + col);
    FinishDelete(false, col, focus);
    return true;
}

bool CGridCtrl::DeleteRow(int row)
{
    if (row < 0 || row >= m_nRows)
        return false;
    const GridCellId focus = m_idCurrentCell;
    ResetSelection();
    for (int col = 0; col < m_nCols; ++col)
        DestroyCell(row, col);
    m_RowData.erase(m_RowData.begin() + row);
    m_arRowHeights.erase(m_arRowHeights.begin() + row);
    FinishDelete(true, row, focus);
    return true;
}

// After a row (or column) at index left the storage: the counts shrink, and
// the focus, taken before the selection was reset, follows its cell or goes
// with it.
void CGridCtrl::FinishDelete(bool rows, int index, GridCellId focus)
{
    --(rows ? m_nRows : m_nCols);
    int& fixed = rows ? m_nFixedRows : m_nFixedCols;
    if (index < fixed)
        --fixed;
    ForgetTopLeft();
    int& line = rows ? focus.row : focus.col;
    if (line != index) {
        if (line > index)
            --line;
        SetFocusCell(focus);
    }
    ResetScrollBars();
    SetModified(true);
}

bool CGridCtrl::DeleteAllItems()
{
    ResetSelection();
    m_arRowHeights.clear();
    m_arColWidths.clear();
    m_RowData.clear();
    m_SelectedCellMap.clear();
    m_idCurrentCell = GridCellId();
    m_nRows = m_nFixedRows = m_nCols = m_nFixedCols = 0;
    ForgetTopLeft();
    ResetScrollBars();
    SetModified(true);
    return true;
}

// ---- Sizes

int CGridCtrl::GetRowHeight(int row) const
{
    return (row < 0 || row >= m_nRows) ? -1 : m_arRowHeights[size_t(row)];
}

int CGridCtrl::GetColumnWidth(int col) const
{
    return (col < 0 || col >= m_nCols) ? -1 : m_arColWidths[size_t(col)];
}

bool CGridCtrl::SetRowHeight(int row, int height)
{
    if (row < 0 || row >= m_nRows || height < 0)
        return false;
    m_arRowHeights[size_t(row)] = height;
    ResetScrollBars();
    return true;
}

bool CGridCtrl::SetColumnWidth(int col, int width)
{
    if (col < 0 || col >= m_nCols || width < 0)
        return false;
    m_arColWidths[size_t(col)] = width;
    ResetScrollBars();
    return true;
}

int CGridCtrl::GetFixedRowHeight() const
{
    return SumOf(m_arRowHeights, 0, m_nFixedRows);
}

int CGridCtrl::GetFixedColumnWidth() const
{
    return SumOf(m_arColWidths, 0, m_nFixedCols);
}

int CGridCtrl::GetVirtualHeight() const
{
    return SumOf(m_arRowHeights, 0, m_nRows);
}

int CGridCtrl::GetVirtualWidth() const
{
    return SumOf(m_arColWidths, 0, m_nCols);
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
        for (GridRow& cells : m_RowData)
            for (auto& cell : cells)
                if (cell && cell->IsModified())
                    cell->SetState(cell->GetState() & ~CellStateModified);
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

// ---- Focus and selection storage

GridCellId CGridCtrl::SetFocusCell(int row, int col)
{
    const GridCellId previous = m_idCurrentCell;
    if (previous == GridCellId(row, col))
        return previous;
    if (row != -1)
        row = std::max(row, m_nFixedRows);
    if (col != -1)
        col = std::max(col, m_nFixedCols);
    const GridCellId next(row, col);
    m_idCurrentCell = next;

    const auto redrawHeadings = [this](const GridCellId& cell, bool colChanged, bool rowChanged) {
        if (!m_bTrackFocusCell)
            return;
        if (colChanged)
            for (int fixedRow = 0; fixedRow < m_nFixedRows; ++fixedRow)
                InvalidateCellRect(fixedRow, cell.col);
        if (rowChanged)
            for (int fixedCol = 0; fixedCol < m_nFixedCols; ++fixedCol)
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

// ---- Geometry

QRect CGridCtrl::ClientRect() const
{
    QSize size = contentsRect().size();
    if (m_nBarState & 2)
        size.rwidth() -= BarExtent(true);
    if (m_nBarState & 1)
        size.rheight() -= BarExtent(false);
    return QRect(QPoint(0, 0), size.expandedTo(QSize(0, 0)));
}

bool CGridCtrl::GetCellOrigin(int row, int col, QPoint* origin) const
{
    if (!IsValid(row, col))
        return false;
    const GridCellId topLeft = GetTopLeftNonFixedCell();
    if ((row >= m_nFixedRows && row < topLeft.row) || (col >= m_nFixedCols && col < topLeft.col))
        return false;
    const int x = col < m_nFixedCols ? SumOf(m_arColWidths, 0, col)
                                     : GetFixedColumnWidth() + SumOf(m_arColWidths, topLeft.col, col);
    const int y = row < m_nFixedRows ? SumOf(m_arRowHeights, 0, row)
                                     : GetFixedRowHeight() + SumOf(m_arRowHeights, topLeft.row, row);
    if (origin)
        *origin = QPoint(x, y);
    return true;
}

bool CGridCtrl::GetCellRect(int row, int col, QRect* rect) const
{
    QPoint origin;
    if (!GetCellOrigin(row, col, &origin))
        return false;
    if (rect)
        *rect = QRect(origin, QSize(GetColumnWidth(col), GetRowHeight(row)));
    return true;
}

GridCellId CGridCtrl::GetTopLeftNonFixedCell(bool forceRecalculation) const
{
    if (!forceRecalculation && IsValid(m_idTopLeftCell))
        return m_idTopLeftCell;

    const int horizontal = GetScrollPos32(SB_HORZ);
    int col = m_nFixedCols;
    for (int passed = 0; passed < horizontal && col < m_nCols - 1; ++col)
        passed += m_arColWidths[size_t(col)];
    const int vertical = GetScrollPos32(SB_VERT);
    int row = m_nFixedRows;
    for (int passed = 0; passed < vertical && row < m_nRows - 1; ++row)
        passed += m_arRowHeights[size_t(row)];
    m_idTopLeftCell = GridCellId(row, col);
    return m_idTopLeftCell;
}

GridCellRange CGridCtrl::GetVisibleNonFixedRange(QRect* rect, bool forceRecalculation) const
{
    const QRect client = ClientRect();
    const GridCellId topLeft = GetTopLeftNonFixedCell(forceRecalculation);

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
    const auto [maxRow, bottom] = reach(m_arRowHeights, topLeft.row, m_nRows, GetFixedRowHeight(), client.height());
    const auto [maxCol, right] = reach(m_arColWidths, topLeft.col, m_nCols, GetFixedColumnWidth(), client.width());

    if (rect)
        *rect = QRect(0, 0, right, bottom);
    return GridCellRange(topLeft.row, topLeft.col, maxRow, maxCol);
}

GridCellId CGridCtrl::GetCellFromPoint(QPoint point, bool allowFixedCellCheck) const
{
    const GridCellId topLeft = GetTopLeftNonFixedCell();
    if (!IsValid(topLeft))
        return GridCellId();

    const auto locate = [allowFixedCellCheck](int pos, int fixedCount, int count, int first,
                                              const std::vector<int>& sizes) {
        if (pos < 0)
            return -1;
        const int fixedExtent = SumOf(sizes, 0, fixedCount);
        if (pos < fixedExtent) {
            if (!allowFixedCellCheck)
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
    return GridCellId(locate(point.y(), m_nFixedRows, m_nRows, topLeft.row, m_arRowHeights),
                      locate(point.x(), m_nFixedCols, m_nCols, topLeft.col, m_arColWidths));
}

bool CGridCtrl::IsCellVisible(int row, int col) const
{
    if (!IsValid(row, col))
        return false;
    const GridCellId topLeft = GetTopLeftNonFixedCell();
    if ((row >= m_nFixedRows && row < topLeft.row) || (col >= m_nFixedCols && col < topLeft.col))
        return false;
    const QRect client = ClientRect();
    const int x = col < m_nFixedCols ? SumOf(m_arColWidths, 0, col)
                                     : GetFixedColumnWidth() + SumOf(m_arColWidths, topLeft.col, col);
    if (x >= client.width())
        return false;
    const int y = row < m_nFixedRows ? SumOf(m_arRowHeights, 0, row)
                                     : GetFixedRowHeight() + SumOf(m_arRowHeights, topLeft.row, row);
    return y < client.height();
}

bool CGridCtrl::MouseOverColumnResizeArea(QPoint point) const
{
    return MouseOverResizeArea(false, point);
}

bool CGridCtrl::MouseOverRowResizeArea(QPoint point) const
{
    return MouseOverResizeArea(true, point);
}

// Column borders can be grabbed within the fixed rows, row borders within
// the fixed columns; the first line's leading edge is no border.
bool CGridCtrl::MouseOverResizeArea(bool rows, QPoint point) const
{
    const auto along = [rows](QPoint p) { return rows ? p.y() : p.x(); };
    const int across = rows ? point.x() : point.y();
    if (across >= (rows ? GetFixedColumnWidth() : GetFixedRowHeight()))
        return false;
    const GridCellId cell = GetCellFromPoint(point);
    QPoint origin;
    if (!GetCellOrigin(cell.row, cell.col, &origin))
        return false;
    const int index = rows ? cell.row : cell.col;
    const int end = along(origin) + (rows ? GetRowHeight(index) : GetColumnWidth(index));
    return (along(point) - along(origin) <= m_nResizeCaptureRange && index != 0)
           || end - along(point) <= m_nResizeCaptureRange;
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
    const int fixedHeight = GetFixedRowHeight();
    const int fixedWidth = GetFixedColumnWidth();
    const GridCellId topLeft = GetTopLeftNonFixedCell();
    QRect visible;
    const GridCellRange range = GetVisibleNonFixedRange(&visible);
    m_nShownOffsetX = TopLeftOffset(false);
    m_nShownOffsetY = TopLeftOffset(true);
    m_bShownOffsetKnown = true;

    EraseBackground(painter, clip, visible, fixedHeight, fixedWidth);
    painter.setFont(*m_cellDefault.GetFontObject());

    DrawCellBlock(painter, clip, 0, m_nFixedRows - 1, 0, 0, m_nFixedCols - 1, 0, false);
    DrawCellBlock(painter, clip, topLeft.row, range.maxRow, fixedHeight, 0, m_nFixedCols - 1, 0, true);
    DrawCellBlock(painter, clip, 0, m_nFixedRows - 1, 0, topLeft.col, range.maxCol, fixedWidth, true);
    DrawCellBlock(painter, clip, topLeft.row, range.maxRow, fixedHeight, topLeft.col, range.maxCol, fixedWidth,
                  true);
    DrawGridLines(painter, range, visible, fixedHeight, fixedWidth);
}

void CGridCtrl::DrawCellBlock(QPainter& painter, const QRect& clip, int rowFrom, int rowTo, int y, int colFrom,
                              int colTo, int x, bool clipped)
{
    for (int row = rowFrom; row <= rowTo; ++row) {
        const int height = m_arRowHeights[size_t(row)];
        if (clipped && y > clip.bottom())
            break;
        if (height == 0 || (clipped && y + height - 1 < clip.top())) {
            y += height;
            continue;
        }
        const GridRow& cells = m_RowData[size_t(row)];
        int left = x;
        for (int col = colFrom; col <= colTo; ++col) {
            const int width = m_arColWidths[size_t(col)];
            if (clipped && left > clip.right())
                break;
            if (width > 0 && !(clipped && left + width - 1 < clip.left())) {
                if (CGridCellBase* cell = cells[size_t(col)].get())
                    cell->Draw(&painter, row, col, QRect(left, y, width, height), false);
            }
            left += width;
        }
        y += height;
    }
}

void CGridCtrl::EraseBackground(QPainter& painter, const QRect& clip, const QRect& visible, int fixedHeight,
                                int fixedWidth)
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

    if (clipLeft < fixedWidth && clipTop < fixedHeight)
        fill(clipLeft, clipTop, fixedWidth, fixedHeight, m_cellFixedRowColDef.GetBackClr());
    if (clipLeft < fixedWidth && clipTop < visibleBottom)
        fill(clipLeft, std::max(clipTop, fixedHeight), fixedWidth, visibleBottom, m_cellFixedColDef.GetBackClr());
    if (clipTop < fixedHeight && clipRight > fixedWidth && clipLeft < visibleRight)
        fill(std::max(fixedWidth - 1, clipLeft), clipTop, visibleRight, fixedHeight, m_cellFixedRowDef.GetBackClr());
    fill(std::max({clipLeft, fixedWidth}), std::max({clipTop, fixedHeight}), std::min(clipRight, visibleRight),
         std::min(clipBottom, visibleBottom), m_cellDefault.GetBackClr());
    if (visibleRight < clipRight)
        fill(visibleRight, clipTop, clipRight, clipBottom, m_crGridBkColour);
    if (visibleBottom < clipBottom && clipLeft < visibleRight)
        fill(clipLeft, visibleBottom, visibleRight, clipBottom, m_crGridBkColour);
}

void CGridCtrl::DrawGridLines(QPainter& painter, const GridCellRange& range, const QRect& visible,
                              int fixedHeight, int fixedWidth)
{
    if (m_nGridLines == GVL_NONE)
        return;
    QVarLengthArray<QLine, 256> lines;
    if (m_nGridLines & GVL_VERT) {
        int x = fixedWidth;
        for (int col = range.minCol; col >= 0 && col <= range.maxCol; ++col) {
            const int width = m_arColWidths[size_t(col)];
            x += width;
            if (width > 0)
                lines.append(QLine(x - 1, fixedHeight, x - 1, visible.height() - 1));
        }
    }
    if (m_nGridLines & GVL_HORZ) {
        int y = fixedHeight;
        for (int row = range.minRow; row >= 0 && row <= range.maxRow; ++row) {
            const int height = m_arRowHeights[size_t(row)];
            y += height;
            if (height > 0)
                lines.append(QLine(fixedWidth, y - 1, visible.width() - 1, y - 1));
        }
    }
    painter.setPen(ColorRefToQColor(m_crGridLineColour));
    painter.drawLines(lines.constData(), int(lines.size()));
    painter.setPen(Qt::NoPen);
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
    CGridCellBase* cell = GetCell(row, col);
    const bool drawn = cell->Draw(painter, row, col, rect, true);
    if (!IsCellFixed(row, col)) {
        painter->setPen(ColorRefToQColor(m_crGridLineColour));
        if (m_nGridLines & GVL_HORZ)
            painter->drawLine(rect.bottomLeft(), rect.bottomRight());
        if (m_nGridLines & GVL_VERT)
            painter->drawLine(rect.topRight(), rect.bottomRight());
    }
    return drawn;
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
    m_bShownOffsetKnown = false;
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

QScrollBar* CGridCtrl::Bar(bool vertical) const
{
    return vertical ? verticalScrollBar() : horizontalScrollBar();
}

int CGridCtrl::BarExtent(bool vertical) const
{
    const QSize hint = Bar(vertical)->sizeHint();
    return vertical ? hint.width() : hint.height();
}

void CGridCtrl::ShowScrollBar(bool vertical, bool show)
{
    const int bit = vertical ? 2 : 1;
    if (bool(m_nBarState & bit) == show)
        return;
    m_nBarState = show ? (m_nBarState | bit) : (m_nBarState & ~bit);
    const Qt::ScrollBarPolicy policy = show ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
    if (vertical)
        setVerticalScrollBarPolicy(policy);
    else
        setHorizontalScrollBarPolicy(policy);
}

void CGridCtrl::ResetScrollBars()
{
    ForgetTopLeft();
    m_bShownOffsetKnown = false;
    if (!m_bAllowDraw || m_bResettingScrollBars)
        return;
    const QSize whole = contentsRect().size();
    if (whole.isEmpty())
        return;
    m_bResettingScrollBars = true;

    const int fixedHeight = GetFixedRowHeight();
    const int fixedWidth = GetFixedColumnWidth();
    if (fixedWidth >= whole.width() || fixedHeight >= whole.height()) {
        ShowScrollBar(true, false);
        ShowScrollBar(false, false);
        m_nVScrollMax = m_nHScrollMax = 0;
        Bar(true)->setRange(0, 0);
        Bar(false)->setRange(0, 0);
        m_bResettingScrollBars = false;
        return;
    }

    int width = whole.width() - fixedWidth;
    int height = whole.height() - fixedHeight;
    const int verticalRange = GetVirtualHeight() - fixedHeight;
    const int horizontalRange = GetVirtualWidth() - fixedWidth;
    if (height < verticalRange)
        width -= BarExtent(true);
    if (width < horizontalRange)
        height -= BarExtent(false);

    const bool needVertical = height < verticalRange;
    const bool needHorizontal = width < horizontalRange;
    ShowScrollBar(true, needVertical);
    m_nVScrollMax = needVertical ? verticalRange - 1 : 0;
    ShowScrollBar(false, needHorizontal);
    m_nHScrollMax = needHorizontal ? horizontalRange - 1 : 0;

    // The grid's maximum is the last pixel of the content; a bar stops when
    // its page shows that pixel.
    const int horizontalPage = m_nHScrollMax > 0 ? width : 0;
    const int verticalPage = m_nVScrollMax > 0 ? height : 0;
    Bar(true)->setPageStep(std::max(1, verticalPage));
    Bar(false)->setPageStep(std::max(1, horizontalPage));
    Bar(true)->setRange(0, std::max(0, m_nVScrollMax + 1 - verticalPage));
    Bar(false)->setRange(0, std::max(0, m_nHScrollMax + 1 - horizontalPage));
    ForgetTopLeft();
    m_bResettingScrollBars = false;
}

int CGridCtrl::GetScrollPos32(int bar) const
{
    const QScrollBar* scrollBar = Bar(bar == SB_VERT);
    return scrollBar->isSliderDown() ? scrollBar->sliderPosition() : scrollBar->value();
}

bool CGridCtrl::SetScrollPos32(int bar, int pos)
{
    ForgetTopLeft();
    Bar(bar == SB_VERT)->setValue(pos);
    return true;
}

int CGridCtrl::TopLeftOffset(bool vertical) const
{
    const GridCellId topLeft = GetTopLeftNonFixedCell();
    return vertical ? SumOf(m_arRowHeights, m_nFixedRows, topLeft.row)
                    : SumOf(m_arColWidths, m_nFixedCols, topLeft.col);
}

void CGridCtrl::scrollContentsBy(int, int)
{
    // Positions count pixels, but the cells start at whole rows and columns:
    // the picture moves by the difference of the top-left cells' offsets.
    ForgetTopLeft();
    const int offsetX = TopLeftOffset(false);
    const int offsetY = TopLeftOffset(true);
    const int shiftX = m_nShownOffsetX - offsetX;
    const int shiftY = m_nShownOffsetY - offsetY;
    m_nShownOffsetX = offsetX;
    m_nShownOffsetY = offsetY;
    if (!m_bAllowDraw) {
        // The screen keeps the old picture until drawing is allowed again.
        m_bShownOffsetKnown = false;
        return;
    }
    const bool canMove = m_bShownOffsetKnown && viewport()->isVisible();
    const QRect client = ClientRect();
    if (shiftX != 0) {
        const int fixedWidth = GetFixedColumnWidth();
        const QRect area(fixedWidth, 0, client.width() - fixedWidth, client.height());
        if (canMove && std::abs(shiftX) < area.width())
            viewport()->scroll(shiftX, 0, area);
        else
            viewport()->update(area);
    }
    if (shiftY != 0) {
        const int fixedHeight = GetFixedRowHeight();
        const QRect area(0, fixedHeight, client.width(), client.height() - fixedHeight);
        if (canMove && std::abs(shiftY) < area.height())
            viewport()->scroll(0, shiftY, area);
        else
            viewport()->update(area);
    }
}

void CGridCtrl::OnScrollBarAction(bool vertical, int action)
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
    ScrollAxis(vertical, code);
}

void CGridCtrl::OnHScroll(int code)
{
    ScrollAxis(false, code);
}

void CGridCtrl::OnVScroll(int code)
{
    ScrollAxis(true, code);
}

void CGridCtrl::ScrollAxis(bool vertical, int code)
{
    EndEditing();
    HideTitleTip();
    const int bar = vertical ? SB_VERT : SB_HORZ;
    const int position = GetScrollPos32(bar);
    const GridCellId topLeft = GetTopLeftNonFixedCell();
    const int first = vertical ? m_nFixedRows : m_nFixedCols;
    const int count = vertical ? m_nRows : m_nCols;
    const int current = vertical ? topLeft.row : topLeft.col;
    const std::vector<int>& sizes = vertical ? m_arRowHeights : m_arColWidths;
    const int maximum = vertical ? m_nVScrollMax : m_nHScrollMax;
    const QRect client = ClientRect();
    const int page = vertical ? client.height() - GetFixedRowHeight() : client.width() - GetFixedColumnWidth();

    switch (code) {
    case SB_LINEUP:
        if (position > 0 && current > first && current < count) {
            int index = current - 1;
            while (index > first && sizes[size_t(index)] == 0)
                --index;
            SetScrollPos32(bar, std::max(0, position - sizes[size_t(index)]));
        }
        break;
    case SB_LINEDOWN:
        if (position < maximum && current >= first && current < count) {
            int index = current;
            while (sizes[size_t(index)] == 0 && index < count - 1)
                ++index;
            SetScrollPos32(bar, position + sizes[size_t(index)]);
        }
        break;
    case SB_PAGEUP:
        if (position > 0)
            SetScrollPos32(bar, std::max(0, position - page));
        break;
    case SB_PAGEDOWN:
        if (position < maximum)
            SetScrollPos32(bar, std::min(maximum, position + page));
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        SetScrollPos32(bar, Bar(vertical)->sliderPosition());
        break;
    case SB_TOP:
        if (position > 0) {
            SetScrollPos32(bar, 0);
            Refresh();
        }
        break;
    case SB_BOTTOM:
        if (position < maximum) {
            SetScrollPos32(bar, maximum);
            Refresh();
        }
        break;
    default:
        break;
    }
}

void CGridCtrl::EnsureVisible(int row, int col)
{
    if (!m_bAllowDraw || !IsValid(row, col))
        return;
    const GridCellRange range = GetVisibleNonFixedRange();

    for (int c = range.maxCol + 1; c <= col; ++c)
        if (c >= m_nFixedCols && m_arColWidths[size_t(c)] > 0)
            OnHScroll(SB_LINERIGHT);
    for (int c = std::max(col, m_nFixedCols); c < range.minCol; ++c)
        if (m_arColWidths[size_t(c)] > 0)
            OnHScroll(SB_LINELEFT);
    for (int r = range.maxRow + 1; r <= row; ++r)
        if (r >= m_nFixedRows && m_arRowHeights[size_t(r)] > 0)
            OnVScroll(SB_LINEDOWN);
    for (int r = std::max(row, m_nFixedRows); r < range.minRow; ++r)
        if (m_arRowHeights[size_t(r)] > 0)
            OnVScroll(SB_LINEUP);

    // A cell wider or taller than what is left of the window: step on while
    // it sticks out and a step still moves.
    const QRect client = ClientRect();
    QRect rect;
    while (GetCellRect(row, col, &rect) && rect.right() >= client.width() && rect.left() > GetFixedColumnWidth()) {
        const int before = GetScrollPos32(SB_HORZ);
        OnHScroll(SB_LINERIGHT);
        if (GetScrollPos32(SB_HORZ) == before)
            break;
    }
    while (GetCellRect(row, col, &rect) && rect.bottom() >= client.height() && rect.top() > GetFixedRowHeight()) {
        const int before = GetScrollPos32(SB_VERT);
        OnVScroll(SB_LINEDOWN);
        if (GetScrollPos32(SB_VERT) == before)
            break;
    }
}

void CGridCtrl::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    if (m_bResettingScrollBars)
        return;
    EndEditing();
    ResetScrollBars();
}

void CGridCtrl::wheelEvent(QWheelEvent* event)
{
    event->accept();
    if (m_nRowsPerWheelNotch <= 0)
        return;
    // Fine-grained wheels send less than a notch at a time: keep what is
    // left over until it adds up to a line.
    m_nWheelRemainder += event->angleDelta().y() * m_nRowsPerWheelNotch;
    const int lines = m_nWheelRemainder / 120;
    m_nWheelRemainder -= lines * 120;
    if (lines == 0)
        return;
    QMetaObject::invokeMethod(
        this,
        [this, lines] {
            for (int step = 0; step < std::abs(lines); ++step)
                OnVScroll(lines > 0 ? SB_LINEUP : SB_LINEDOWN);
        },
        Qt::QueuedConnection);
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

// ==== Selection, keyboard and editing ======================================

GridAxis CGridCtrl::RowAxis() const
{
    return GridAxis(m_nRows, m_nFixedRows, [this](int row) { return m_arRowHeights[size_t(row)]; });
}

GridAxis CGridCtrl::ColumnAxis() const
{
    return GridAxis(m_nCols, m_nFixedCols, [this](int col) { return m_arColWidths[size_t(col)]; });
}

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
    const GridCellRange range(raise(minRow, m_nFixedRows), raise(minCol, m_nFixedCols), raise(maxRow, m_nFixedRows),
                              raise(maxCol, m_nFixedCols));
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
    GridCellRange range(m_nRows, m_nCols, -1, -1);
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
    SetSelectedRange(m_nFixedRows, m_nFixedCols, m_nRows - 1, m_nCols - 1);
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
    if (!m_bEnableSelection || !IsValid(cell) || cell.row < m_nFixedRows)
        return;
    const int startRow = (m_bListMode && m_bSingleRowSelection) ? cell.row : m_idSelectionStart.row;
    SetSelectedRange(std::min(startRow, cell.row), m_nFixedCols, std::max(startRow, cell.row), m_nCols - 1,
                     forceRepaint, select);
}

void CGridCtrl::SelectColumns(GridCellId cell, bool forceRepaint, bool select)
{
    if (!m_bEnableSelection || !IsValid(cell) || cell.col < m_nFixedCols)
        return;
    const int startCol = m_bSingleColSelection ? cell.col : m_idSelectionStart.col;
    SetSelectedRange(m_nFixedRows, std::min(startCol, cell.col), m_nRows - 1, std::max(startCol, cell.col),
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
    case MouseMode::SelectAll: SetSelectedRange(m_nFixedRows, m_nFixedCols, m_nRows - 1, m_nCols - 1); break;
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
    const GridKeyNavigator navigator(RowAxis(), ColumnAxis());
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
    *text = GridClipboardText::Encode(RowAxis(), ColumnAxis(), range.minRow, range.minCol, range.maxRow, range.maxCol,
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
    GridClipboardText::Place(GridClipboardText::Decode(text), RowAxis(), ColumnAxis(), start.row, start.col,
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
        if (m_nRows > m_nFixedRows && m_nCols > m_nFixedCols)
            SetFocusCell(std::max(m_LeftClickDownCell.row, m_nFixedRows),
                         std::max(m_LeftClickDownCell.col, m_nFixedCols));
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
    if (m_LeftClickDownCell.row < m_nFixedRows) {
        OnFixedRowClick(m_LeftClickDownCell);
    } else if (m_LeftClickDownCell.col < m_nFixedCols) {
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
        m_MouseMode = cell.col >= m_nFixedCols ? MouseMode::SelectColumns : MouseMode::SelectAll;
        OnSelecting(cell);
    }
}

void CGridCtrl::OnFixedColumnClick(const GridCellId& cell)
{
    if (!IsValid(cell) || !m_bFixedColumnSelection)
        return;
    m_MouseMode = cell.row >= m_nFixedRows ? MouseMode::SelectRows : MouseMode::SelectAll;
    OnSelecting(cell);
}

// Starts dragging a column border (or a row border): the click-down column
// becomes the one whose right edge moves.
void CGridCtrl::StartSizing(bool rows, QPoint point)
{
    const int range = m_nResizeCaptureRange;
    const int count = rows ? m_nRows : m_nCols;
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
        SetFocusCell(std::max(cell.row, m_nFixedRows), std::max(cell.col, m_nFixedCols));
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
    const bool listRowHeading = m_bListMode && cell.row >= m_nFixedRows && cell.col < m_nFixedCols;
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

// ==== Auto-size, sorting, fonts and colours ================================

std::pair<int, int> CGridCtrl::AutoSizeRowSpan(int style) const
{
    return {style & GVS_HEADER ? 0 : m_nFixedRows, style & GVS_DATA ? m_nRows - 1 : m_nFixedRows - 1};
}

bool CGridCtrl::AutoSizeColumn(int col, int style, bool resetScrollBars)
{
    if (col < 0 || col >= m_nCols || m_arColWidths[size_t(col)] == 0)
        return false;
    const auto [first, last] = AutoSizeRowSpan(style ? style : m_nAutoSizeColumnStyle);
    GridExtentCache extents;
    int width = 0;
    for (int row = first; row <= last; ++row) {
        if (const CGridCellBase* cell = GetCell(row, col))
            width = std::max(width, extents.Extent(*cell).width());
    }
    m_arColWidths[size_t(col)] = width;
    if (resetScrollBars)
        ResetScrollBars();
    return true;
}

bool CGridCtrl::AutoSizeRow(int row, bool resetScrollBars)
{
    if (row < 0 || row >= m_nRows || m_arRowHeights[size_t(row)] == 0)
        return false;
    GridExtentCache extents;
    int height = 0;
    for (int col = 0; col < m_nCols; ++col) {
        if (const CGridCellBase* cell = GetCell(row, col))
            height = std::max(height, extents.Extent(*cell).height());
    }
    m_arRowHeights[size_t(row)] = height;
    if (resetScrollBars)
        ResetScrollBars();
    return true;
}

void CGridCtrl::AutoSize(int style)
{
    const auto [first, last] = AutoSizeRowSpan(style ? style : m_nAutoSizeColumnStyle);
    for (int row = first; row <= last; ++row) {
        if (m_arRowHeights[size_t(row)] != 0)
            m_arRowHeights[size_t(row)] = 1;
    }
    GridExtentCache extents;
    for (int col = 0; col < m_nCols; ++col) {
        if (m_arColWidths[size_t(col)] == 0)
            continue;
        int width = 0;
        for (int row = first; row <= last; ++row) {
            int& height = m_arRowHeights[size_t(row)];
            const CGridCellBase* cell = GetCell(row, col);
            if (height == 0 || !cell)
                continue;
            const QSize extent = extents.Extent(*cell);
            width = std::max(width, extent.width());
            height = std::max(height, extent.height());
        }
        m_arColWidths[size_t(col)] = width;
    }
    ResetScrollBars();
    Refresh();
}

bool CGridCtrl::SortByColumn(int col, bool ascending, qint32 data)
{
    if (col < 0 || col >= m_nCols)
        return false;
    SetSortColumn(col);
    m_bAscending = ascending;
    ResetSelection();
    if (m_nRows - m_nFixedRows < 2)
        return false;
    const auto compare = [&](int a, int b) {
        const CGridCellBase* first = GetCell(a, col);
        const CGridCellBase* second = GetCell(b, col);
        if (m_pfnCompare)
            return m_pfnCompare(first, second, data);
        return first && second ? GridRowSorter::CompareTexts(first->GetText(), second->GetText()) : 0;
    };
    const std::vector<int> order = GridRowSorter::Order(m_nFixedRows, m_nRows - 1, ascending, compare);
    std::vector<GridRow> rows;
    std::vector<int> heights;
    rows.reserve(order.size());
    heights.reserve(order.size());
    for (int old : order) {
        rows.push_back(std::move(m_RowData[size_t(old)]));
        heights.push_back(m_arRowHeights[size_t(old)]);
    }
    for (size_t i = 0; i < order.size(); ++i) {
        const int row = m_nFixedRows + int(i);
        m_RowData[size_t(row)] = std::move(rows[i]);
        m_arRowHeights[size_t(row)] = heights[i];
        for (int col2 = 0; col2 < m_nCols; ++col2) {
            if (CGridCellBase* cell = GetCell(row, col2))
                cell->SetCoords(row, col2);
        }
    }
    Refresh();
    return true;
}

void CGridCtrl::changeEvent(QEvent* event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        ApplyFont(font());
    else if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ApplicationPaletteChange)
        OnSysColorChange();
}

// Every default cell takes the font and measures its default size anew;
// existing rows and columns keep their sizes until the owner auto-sizes.
void CGridCtrl::ApplyFont(const QFont& font)
{
    const LogFont logFont = LogFont::FromQFont(font);
    for (CGridDefaultCell* cell : {&m_cellDefault, &m_cellFixedColDef, &m_cellFixedRowDef, &m_cellFixedRowColDef})
        cell->SetFont(&logFont);
    Refresh();
}

// Colours still at the system values captured earlier follow the new
// palette; colours an owner chose stay.
void CGridCtrl::OnSysColorChange()
{
    const COLORREF windowText = GetSysColor(COLOR_WINDOWTEXT);
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    const COLORREF face = GetSysColor(COLOR_3DFACE);
    const COLORREF shadow = GetSysColor(COLOR_3DSHADOW);
    const auto follow = [](CGridDefaultCell& cell, COLORREF oldBack, COLORREF newBack, COLORREF oldText,
                           COLORREF newText) {
        if (cell.GetTextClr() == oldText)
            cell.SetTextClr(newText);
        if (cell.GetBackClr() == oldBack)
            cell.SetBackClr(newBack);
    };
    follow(m_cellDefault, m_crWindowColour, window, m_crWindowText, windowText);
    for (CGridDefaultCell* cell : {&m_cellFixedColDef, &m_cellFixedRowDef, &m_cellFixedRowColDef})
        follow(*cell, m_cr3DFace, face, m_crWindowText, windowText);
    if (m_crGridBkColour == m_crShadow)
        m_crGridBkColour = shadow;
    m_crWindowText = windowText;
    m_crWindowColour = window;
    m_cr3DFace = face;
    m_crShadow = shadow;
    Refresh();
}
