#pragma once

#include "grid/CGridDefaultCell.h"
#include "grid/ColorRef.h"
#include "grid/CommandState.h"
#include "grid/DrawTextFlags.h"
#include "grid/GridCellId.h"
#include "grid/GridCellRange.h"
#include "grid/GridCellStore.h"
#include "grid/GridCellTint.h"
#include "grid/GridClipboard.h"
#include "grid/GridDefaultCells.h"
#include "grid/GridGeometry.h"
#include "grid/GridKeyboard.h"
#include "grid/GridMouse.h"
#include "grid/GridOwner.h"
#include "grid/GridPainter.h"
#include "grid/GridScroller.h"
#include "grid/GridSelection.h"
#include "grid/GridStructure.h"

#include <QAbstractScrollArea>

#include <functional>
#include <memory>
#include <span>

class CTitleTip;

// Grid line modes.
inline constexpr int GVL_NONE = 0;
inline constexpr int GVL_HORZ = 1;
inline constexpr int GVL_VERT = 2;
inline constexpr int GVL_BOTH = 3;

// Auto-size style flags: fixed (header) rows and non-fixed rows take part.
inline constexpr int GVS_HEADER = 1;
inline constexpr int GVS_DATA = 2;
inline constexpr int GVS_BOTH = 3;

// Scroll bar actions, as the scroll handlers receive them.
inline constexpr int SB_LINEUP = 0;
inline constexpr int SB_LINELEFT = 0;
inline constexpr int SB_LINEDOWN = 1;
inline constexpr int SB_LINERIGHT = 1;
inline constexpr int SB_PAGEUP = 2;
inline constexpr int SB_PAGELEFT = 2;
inline constexpr int SB_PAGEDOWN = 3;
inline constexpr int SB_PAGERIGHT = 3;
inline constexpr int SB_THUMBPOSITION = 4;
inline constexpr int SB_THUMBTRACK = 5;
inline constexpr int SB_TOP = 6;
inline constexpr int SB_LEFT = 6;
inline constexpr int SB_BOTTOM = 7;
inline constexpr int SB_RIGHT = 7;
inline constexpr int SB_ENDSCROLL = 8;

inline constexpr int SB_HORZ = 0;
inline constexpr int SB_VERT = 1;

// Notification codes sent to the grid's owner.
inline constexpr int GridNotifyClicked = 0; // BN_CLICKED, posted after a left release
inline constexpr int NM_CLICK = -2;
inline constexpr int NM_DBLCLK = -3;
inline constexpr int NM_RCLICK = -5;
inline constexpr int GridNotifySelectionChanging = -100;
inline constexpr int GridNotifySelectionChanged = -101;
inline constexpr int GridNotifyBeginEdit = -105;
inline constexpr int GridNotifyEndEdit = -106;

// Control id of the in-place editor.
inline constexpr int InPlaceEditId = 8;

// The spreadsheet-like grid: rows and columns of cells, the first rows and
// columns optionally fixed (headings that never scroll), painted and scrolled
// in pixels by the grid itself.  Positions are pixels of the viewport (the
// client area); cell rectangles include their right and bottom pixel.  The
// grid keeps the settings, the focus and the modified state and leads the
// work; its helpers each do one part of it: the cell storage, geometry,
// scrolling, painting, selection, mouse, keyboard, clipboard and auto-size.
class CGridCtrl : public QAbstractScrollArea
{
    Q_OBJECT

public:
    explicit CGridCtrl(int rows = 0, int cols = 0, int fixedRows = 0, int fixedCols = 0,
                       QWidget* parent = nullptr);
    ~CGridCtrl() override;

    // ---- Owner, id and commands
    void SetOwner(GridOwner* owner) { m_pOwner = owner; }
    GridOwner* GetOwner() const { return m_pOwner; }
    void SetDlgCtrlID(int id) { m_nID = id; }
    int GetDlgCtrlID() const { return m_nID; }
    // Sends a notification to the owner at once; 0 without an owner.
    long SendMessageToParent(int row, int col, int code);
    // Sends it once the events now waiting have been handled.
    void PostMessageToParent(int row, int col, int code);
    bool OnCommand(int id);
    bool OnUpdateCommand(int id, CommandState& state);
    // Where the grid reports failures such as running out of memory; the
    // application routes them to its message boxes.  Without one they go to
    // the log.
    static void SetErrorReporter(std::function<void(QWidget*, const QString&)> reporter);

    // ---- Counts
    int GetRowCount() const { return m_store.RowCount(); }
    int GetColumnCount() const { return m_store.ColumnCount(); }
    int GetFixedRowCount() const { return m_store.FixedRowCount(); }
    int GetFixedColumnCount() const { return m_store.FixedColumnCount(); }
    bool SetRowCount(int rows) { return m_structure.SetCount(true, rows); }
    bool SetColumnCount(int cols) { return m_structure.SetCount(false, cols); }
    bool SetFixedRowCount(int fixedRows) { return m_structure.SetFixedCount(true, fixedRows); }
    bool SetFixedColumnCount(int fixedCols) { return m_structure.SetFixedCount(false, fixedCols); }

    int InsertRow(const QString& heading, int row = -1) { return m_structure.InsertRow(heading, row); }
    int InsertColumn(const QString& heading, quint32 format = DT_CENTER | DT_VCENTER | DT_SINGLELINE, int col = -1)
    {
        return m_structure.InsertColumn(heading, format, col);
    }
    bool DeleteRow(int row) { return m_structure.DeleteRow(row); }
    bool DeleteColumn(int col) { return m_structure.DeleteColumn(col); }
    bool DeleteAllItems()
    {
        m_structure.DeleteAll();
        return true;
    }

    // ---- Sizes (0 = hidden)
    int GetRowHeight(int row) const;
    int GetColumnWidth(int col) const;
    bool SetRowHeight(int row, int height);
    bool SetColumnWidth(int col, int width);
    int GetFixedRowHeight() const { return m_store.RowSpan(0, GetFixedRowCount()); }
    int GetFixedColumnWidth() const { return m_store.ColumnSpan(0, GetFixedColumnCount()); }
    int GetVirtualHeight() const { return m_store.RowSpan(0, GetRowCount()); }
    int GetVirtualWidth() const { return m_store.ColumnSpan(0, GetColumnCount()); }

    // ---- Cells
    // A cell holds its text and state bits in the grid's compact storage
    // until something needs it as an object: GetCell makes the object then,
    // and it stays with the cell.  Reading texts and states never makes one.
    CGridCellBase* GetCell(int row, int col) const;
    // The cell's object when it has one already; null for a cell that is
    // only its text and state (which has no behaviour of its own to call).
    CGridCellBase* GetExistingCell(int row, int col) const
    {
        return IsValid(row, col) ? m_store.Object(row, col) : nullptr;
    }
    bool SetCellText(int row, int col, const QString& text);
    QString GetCellText(int row, int col) const;
    // Sets every cell of a row from Latin-1 texts, from column 0 on, as
    // SetCellText on each would (texts beyond the row are left out, cells
    // beyond the texts become empty): loading a table this way costs no
    // string per cell.
    bool SetRowTexts(int row, std::span<const QByteArrayView> latin1);
    // Hands the cell's text to visit without making a string of it: as a
    // QByteArrayView of Latin-1 bytes, or as a QStringView for a cell with
    // an object.
    template <typename Visit>
    void VisitCellText(int row, int col, Visit visit) const
    {
        if (!IsValid(row, col))
            return visit(QByteArrayView());
        if (const CGridCellBase* object = m_store.Object(row, col))
            return visit(QStringView(object->GetText()));
        visit(m_store.PlainText(row, col));
    }
    bool SetCellState(int row, int col, quint32 state);
    quint32 GetCellState(int row, int col) const { return IsValid(row, col) ? m_store.State(row, col) : 0; }
    bool SetCellBackColour(int row, int col, COLORREF colour);
    bool SetCellTextColour(int row, int col, COLORREF colour);
    bool SetCellFormat(int row, int col, quint32 format);
    bool IsCellEditable(int row, int col) const;
    bool IsCellFixed(int row, int col) const { return row < GetFixedRowCount() || col < GetFixedColumnCount(); }

    bool IsValid(int row, int col) const
    {
        return row >= 0 && row < GetRowCount() && col >= 0 && col < GetColumnCount();
    }
    bool IsValid(const GridCellId& cell) const { return IsValid(cell.row, cell.col); }
    bool IsValid(const GridCellRange& range) const;

    // ---- Default cells and colours
    CGridDefaultCell* GetDefaultCell(bool fixedRow, bool fixedCol) const
    {
        return const_cast<GridDefaultCells&>(m_defaults).Get(fixedRow, fixedCol);
    }
    void SetTextColor(COLORREF colour) { m_defaults.Ordinary().SetTextClr(colour); }
    COLORREF GetTextColor() const { return m_defaults.Ordinary().GetTextClr(); }
    void SetTextBkColor(COLORREF colour) { m_defaults.Ordinary().SetBackClr(colour); }
    COLORREF GetTextBkColor() const { return m_defaults.Ordinary().GetBackClr(); }
    void SetFixedTextColor(COLORREF colour) { m_defaults.SetFixedTextColour(colour); }
    void SetFixedBkColor(COLORREF colour) { m_defaults.SetFixedBackColour(colour); }
    void SetGridBkColor(COLORREF colour) { m_crGridBkColour = colour; }
    COLORREF GetGridBkColor() const { return m_crGridBkColour; }
    void SetGridLineColor(COLORREF colour) { m_crGridLineColour = colour; }
    COLORREF GetGridLineColor() const { return m_crGridLineColour; }
    void SetTitleTipBackClr(COLORREF colour) { m_crTTipBackClr = colour; }
    COLORREF GetTitleTipBackClr() const { return m_crTTipBackClr; }
    void SetTitleTipTextClr(COLORREF colour) { m_crTTipTextClr = colour; }
    COLORREF GetTitleTipTextClr() const { return m_crTTipTextClr; }

    // ---- Settings
    void SetEditable(bool on) { m_bEditable = on; }
    bool IsEditable() const { return m_bEditable; }
    void SetListMode(bool on) { m_bListMode = on; }
    bool GetListMode() const { return m_bListMode; }
    void SetSingleRowSelection(bool on) { m_bSingleRowSelection = on; }
    bool GetSingleRowSelection() const { return m_bSingleRowSelection; }
    void SetSingleColSelection(bool on) { m_bSingleColSelection = on; }
    bool GetSingleColSelection() const { return m_bSingleColSelection; }
    void EnableSelection(bool on) { m_bEnableSelection = on; }
    bool IsSelectable() const { return m_bEnableSelection; }
    void SetFixedRowSelection(bool on) { m_bFixedRowSelection = on; }
    bool GetFixedRowSelection() const { return m_bFixedRowSelection; }
    void SetFixedColumnSelection(bool on) { m_bFixedColumnSelection = on; }
    bool GetFixedColumnSelection() const { return m_bFixedColumnSelection; }
    void SetHeaderSort(bool on) { m_bSortOnClick = on; }
    bool GetHeaderSort() const { return m_bSortOnClick; }
    void SetDoubleBuffering(bool on) { m_bDoubleBuffer = on; }
    bool GetDoubleBuffering() const { return m_bDoubleBuffer; }
    void EnableTitleTips(bool on) { m_bTitleTips = on; }
    bool GetTitleTips() const { return m_bTitleTips; }
    void SetHandleTabKey(bool on) { m_bHandleTabKey = on; }
    bool GetHandleTabKey() const { return m_bHandleTabKey; }
    void SetColumnResize(bool on) { m_bAllowColumnResize = on; }
    bool GetColumnResize() const { return m_bAllowColumnResize; }
    void SetRowResize(bool on) { m_bAllowRowResize = on; }
    bool GetRowResize() const { return m_bAllowRowResize; }
    void SetHiddenColUnhide(bool on) { m_bHiddenColUnhide = on; }
    bool GetHiddenColUnhide() const { return m_bHiddenColUnhide; }
    void SetHiddenRowUnhide(bool on) { m_bHiddenRowUnhide = on; }
    bool GetHiddenRowUnhide() const { return m_bHiddenRowUnhide; }
    void EnableColumnHide(bool on) { m_bAllowColHide = on; }
    bool GetColumnHide() const { return m_bAllowColHide; }
    void EnableRowHide(bool on) { m_bAllowRowHide = on; }
    bool GetRowHide() const { return m_bAllowRowHide; }
    void SetTrackFocusCell(bool on) { m_bTrackFocusCell = on; }
    bool GetTrackFocusCell() const { return m_bTrackFocusCell; }
    void SetFrameFocusCell(bool on) { m_bFrameFocus = on; }
    bool GetFrameFocusCell() const { return m_bFrameFocus; }
    void SetGridLines(int mode) { m_nGridLines = mode; }
    int GetGridLines() const { return m_nGridLines; }
    void SetAutoSizeStyle(int style) { m_nAutoSizeColumnStyle = style; }
    int GetAutoSizeStyle() const { return m_nAutoSizeColumnStyle; }
    int GetResizeCaptureRange() const { return m_nResizeCaptureRange; }
    int GetWheelScrollLines() const { return m_scroller.WheelScrollLines(); }
    // Lines per wheel notch; read from the desktop at construction.
    void SetWheelScrollLines(int lines) { m_scroller.SetWheelScrollLines(lines); }

    // ---- Modified flag
    void SetModified(bool modified = true, int row = -1, int col = -1);
    bool GetModified(int row = -1, int col = -1) const;

    // ---- Sorting state that painting shows (the arrow in row 0)
    int GetSortColumn() const { return m_nSortColumn; }
    void SetSortColumn(int col);
    bool GetSortAscending() const { return m_bAscending; }
    void SetSortAscending(bool ascending) { m_bAscending = ascending; }

    // ---- Focus and selection storage
    GridCellId GetFocusCell() const;
    GridCellId SetFocusCell(int row, int col);
    GridCellId SetFocusCell(const GridCellId& cell) { return SetFocusCell(cell.row, cell.col); }
    void ResetSelection();
    // The selected cells, one collision-free key per cell.
    static quint64 CellKey(int row, int col) { return GridSelection::CellKey(row, col); }
    static GridCellId CellFromKey(quint64 key) { return GridSelection::CellFromKey(key); }
    int GetSelectedCount() const { return m_selection.Count(); }

    // ---- Geometry
    bool GetCellOrigin(int row, int col, QPoint* origin) const { return m_geometry.CellOrigin(row, col, origin); }
    bool GetCellRect(int row, int col, QRect* rect) const { return m_geometry.CellRect(row, col, rect); }
    GridCellId GetCellFromPoint(QPoint point, bool allowFixedCellCheck = true) const
    {
        return m_geometry.CellFromPoint(point, allowFixedCellCheck);
    }
    GridCellId GetTopLeftNonFixedCell(bool forceRecalculation = false) const
    {
        return m_geometry.TopLeft(forceRecalculation);
    }
    GridCellRange GetVisibleNonFixedRange(QRect* rect = nullptr, bool forceRecalculation = false) const
    {
        return m_geometry.VisibleRange(rect, forceRecalculation);
    }
    bool IsCellVisible(int row, int col) const { return m_geometry.IsCellVisible(row, col); }
    bool IsCellVisible(const GridCellId& cell) const { return IsCellVisible(cell.row, cell.col); }
    bool MouseOverColumnResizeArea(QPoint point) const { return m_geometry.IsOverResizeArea(false, point); }
    bool MouseOverRowResizeArea(QPoint point) const { return m_geometry.IsOverResizeArea(true, point); }
    // The client area: the viewport less nothing (the scroll bars lie outside).
    QRect ClientRect() const { return m_scroller.ClientRect(); }

    // ---- Drawing and scrolling
    bool RedrawCell(int row, int col, QPainter* painter = nullptr);
    void InvalidateCellRect(int row, int col);
    void Refresh();
    void SetRedraw(bool allowDraw, bool resetScrollBars = false);
    bool GetRedraw() const { return m_bAllowDraw; }
    void ResetScrollBars() { m_scroller.Reset(); }
    void EnsureVisible(int row, int col) { m_scroller.EnsureVisible(row, col); }
    void EnsureVisible(const GridCellId& cell) { EnsureVisible(cell.row, cell.col); }
    void OnHScroll(int code) { m_scroller.Scroll(false, code); }
    void OnVScroll(int code) { m_scroller.Scroll(true, code); }
    int GetScrollPos32(int bar) const { return m_scroller.Position(bar == SB_VERT); }
    bool SetScrollPos32(int bar, int pos)
    {
        m_scroller.SetPosition(bar == SB_VERT, pos);
        return true;
    }
    // The largest scroll position the grid computed (content extent - 1, or
    // 0 without a bar); the bar itself stops a page earlier.
    int GetScrollMax(int bar) const { return m_scroller.Maximum(bar == SB_VERT); }
    bool IsScrollBarShown(int bar) const { return m_scroller.IsBarShown(bar == SB_VERT); }

    // ---- Editing
    void EndEditing();
    void EndEditCell(int row, int col, const QString& text);
    // The in-place editor's end-of-edit report: the edited cell, the text in
    // the box and the key that ended the edit (0 when the focus went away).
    virtual void OnEndInPlaceEdit(int row, int col, const QString& text, int lastKey,
                                  Qt::KeyboardModifiers modifiers);

    // ---- Tints laid under cells while painting (none: no tints)
    void SetCellTint(const GridCellTint* tint) { m_pCellTint = tint; }
    const GridCellTint* GetCellTint() const { return m_pCellTint; }

    // ---- Title tips
    // Shows or hides the tip for the pointer at point (client coordinates).
    void UpdateTitleTip(QPoint point);
    void HideTitleTip();
    CTitleTip* GetTitleTip() const { return m_pTitleTip; }

    // ---- Selection, keyboard and editing (driven by keys and the mouse)
    void SetSelectedRange(int minRow, int minCol, int maxRow, int maxCol, bool forceRepaint = false,
                          bool select = true);
    void SetSelectedRange(const GridCellRange& range, bool forceRepaint = false, bool select = true);
    GridCellRange GetSelectedRange() const { return m_selection.BoundingRange(); }
    bool IsCellSelected(int row, int col) const;
    void SelectAllCells();
    void SelectCells(GridCellId cell, bool forceRepaint = false, bool select = true);
    void SelectRows(GridCellId cell, bool forceRepaint = false, bool select = true);
    void SelectColumns(GridCellId cell, bool forceRepaint = false, bool select = true);
    void OnSelecting(const GridCellId& cell) { m_mouse.ExtendSelection(cell); }
    GridCellId GetSelectionStart() const { return m_selection.Start(); }
    void EditCell(int row, int col, QPoint point, int ch);
    // Delete, cut and paste change cells through here: the owner may veto
    // (begin edit) and revert (end edit) every single cell.
    void ModifyCellText(int row, int col, const QString& text);

    // ---- Clipboard (plain text: TAB between cells, LF between rows)
    static constexpr int ID_EDIT_COPY = 57634;
    static constexpr int ID_EDIT_CUT = 57635;
    static constexpr int ID_EDIT_PASTE = 57637;
    static constexpr int ID_EDIT_SELECT_ALL = 57642;
    void OnEditCopy() { m_clipboard.OnCopy(); }
    void OnEditCut() { m_clipboard.OnCut(); }
    void OnEditPaste() { m_clipboard.OnPaste(); }
    // The text of the selection's bounding rectangle; false when nothing is
    // selected.
    virtual bool CopySelection(QString* text) const { return m_clipboard.CopySelection(text); }
    // Empties the selected cells (cut).
    virtual void ClearSelection() { m_clipboard.ClearSelection(); }
    virtual bool PasteText(const GridCellId& start, const QString& text)
    {
        return m_clipboard.PasteText(start, text);
    }

    // ---- Auto-size and sorting
    bool AutoSizeColumn(int col, int style = 0, bool resetScrollBars = true);
    bool AutoSizeRow(int row, bool resetScrollBars = true);
    void AutoSize(int style = 0);
    // Compares two cells like strcmp; data is SortByColumn's.
    using CompareFunction = std::function<int(const CGridCellBase*, const CGridCellBase*, qint32 data)>;
    void SetCompareFunction(CompareFunction compare) { m_pfnCompare = std::move(compare); }
    bool SortByColumn(int col, bool ascending, qint32 data = 0);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void scrollContentsBy(int, int) override { m_scroller.OnContentsScrolled(); }
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

    virtual void OnDraw(QPainter& painter, const QRect& clip);

private:
    // Applies change to the cell at (row, col) unless it would change
    // nothing: a cell gets an object only for a value other than its area's
    // default (plain cells have that value).  False when there is no cell.
    template <typename Change>
    bool ChangeCell(int row, int col, bool differsFromPlain, Change change)
    {
        if (!IsValid(row, col))
            return false;
        if (differsFromPlain || m_store.Object(row, col))
            change(m_store.MakeObject(row, col));
        return true;
    }
    void CommitCellText(int row, int col, const QString& text);
    void MarkRowModified(int row);

    // The helpers; each is handed only helpers declared above it, which are
    // built first.
    GridCellStore m_store{this};
    GridGeometry m_geometry{*this, m_store};
    GridStructure m_structure{*this, m_store, m_geometry};
    GridScroller m_scroller{*this, m_store, m_geometry};
    GridDefaultCells m_defaults{this};
    GridSelection m_selection{*this};
    GridKeyboard m_keyboard{*this, m_selection, m_store};
    GridMouse m_mouse{*this, m_selection, m_keyboard};
    GridClipboard m_clipboard{*this, m_selection, m_store};
    GridPainter m_painter{*this, m_store};

    GridCellId m_idCurrentCell;
    bool m_bModified = false;
    int m_nSortColumn = -1;
    bool m_bAscending = true;
    CompareFunction m_pfnCompare;

    int m_nResizeCaptureRange = 3;

    COLORREF m_crGridBkColour;
    COLORREF m_crGridLineColour = RGB(0xC0, 0xC0, 0xC0);
    COLORREF m_crTTipBackClr = CLR_DEFAULT;
    COLORREF m_crTTipTextClr = CLR_DEFAULT;

    bool m_bEditable = true;
    bool m_bListMode = false;
    bool m_bSingleRowSelection = false;
    bool m_bSingleColSelection = false;
    bool m_bEnableSelection = true;
    bool m_bFixedRowSelection = true;
    bool m_bFixedColumnSelection = true;
    bool m_bSortOnClick = false;
    bool m_bAllowDraw = true;
    bool m_bDoubleBuffer = true;
    bool m_bTitleTips = true;
    bool m_bHandleTabKey = true;
    bool m_bAllowColumnResize = true;
    bool m_bAllowRowResize = true;
    bool m_bHiddenColUnhide = true;
    bool m_bHiddenRowUnhide = true;
    bool m_bAllowColHide = true;
    bool m_bAllowRowHide = true;
    bool m_bTrackFocusCell = true;
    bool m_bFrameFocus = true;
    int m_nGridLines = GVL_BOTH;
    int m_nAutoSizeColumnStyle = GVS_BOTH;

    GridOwner* m_pOwner = nullptr;
    const GridCellTint* m_pCellTint = nullptr;
    int m_nID = 0;
    CTitleTip* m_pTitleTip = nullptr;
};
