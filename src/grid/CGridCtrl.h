#pragma once

#include "grid/CGridDefaultCell.h"
#include "grid/ColorRef.h"
#include "grid/CommandState.h"
#include "grid/DrawTextFlags.h"
#include "grid/GridCellId.h"
#include "grid/GridCellRange.h"
#include "grid/GridAxis.h"
#include "grid/GridOwner.h"
#include "grid/GridRow.h"

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QSet>

#include <functional>
#include <vector>

class CTitleTip;
class GridSizingBar;
class QScrollBar;

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
// client area); cell rectangles include their right and bottom pixel.
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
    int GetRowCount() const { return m_nRows; }
    int GetColumnCount() const { return m_nCols; }
    int GetFixedRowCount() const { return m_nFixedRows; }
    int GetFixedColumnCount() const { return m_nFixedCols; }
    bool SetRowCount(int rows);
    bool SetColumnCount(int cols);
    bool SetFixedRowCount(int fixedRows);
    bool SetFixedColumnCount(int fixedCols);

    int InsertRow(const QString& heading, int row = -1);
    int InsertColumn(const QString& heading, quint32 format = DT_CENTER | DT_VCENTER | DT_SINGLELINE, int col = -1);
    bool DeleteRow(int row);
    bool DeleteColumn(int col);
    bool DeleteAllItems();

    // ---- Sizes (0 = hidden)
    int GetRowHeight(int row) const;
    int GetColumnWidth(int col) const;
    bool SetRowHeight(int row, int height);
    bool SetColumnWidth(int col, int width);
    int GetFixedRowHeight() const;
    int GetFixedColumnWidth() const;
    int GetVirtualHeight() const;
    int GetVirtualWidth() const;

    // ---- Cells
    CGridCellBase* GetCell(int row, int col) const;
    bool SetCellText(int row, int col, const QString& text);
    QString GetCellText(int row, int col) const;
    bool SetCellState(int row, int col, quint32 state);
    quint32 GetCellState(int row, int col) const;
    bool SetCellBackColour(int row, int col, COLORREF colour);
    bool SetCellTextColour(int row, int col, COLORREF colour);
    bool SetCellFormat(int row, int col, quint32 format);
    bool IsCellEditable(int row, int col) const;
    bool IsCellFixed(int row, int col) const { return row < m_nFixedRows || col < m_nFixedCols; }

    bool IsValid(int row, int col) const { return row >= 0 && row < m_nRows && col >= 0 && col < m_nCols; }
    bool IsValid(const GridCellId& cell) const { return IsValid(cell.row, cell.col); }
    bool IsValid(const GridCellRange& range) const;

    // ---- Default cells and colours
    CGridDefaultCell* GetDefaultCell(bool fixedRow, bool fixedCol) const;
    void SetTextColor(COLORREF colour) { m_cellDefault.SetTextClr(colour); }
    COLORREF GetTextColor() const { return m_cellDefault.GetTextClr(); }
    void SetTextBkColor(COLORREF colour) { m_cellDefault.SetBackClr(colour); }
    COLORREF GetTextBkColor() const { return m_cellDefault.GetBackClr(); }
    void SetFixedTextColor(COLORREF colour);
    void SetFixedBkColor(COLORREF colour);
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
    int GetWheelScrollLines() const { return m_nRowsPerWheelNotch; }
    // Lines per wheel notch; read from the desktop at construction.
    void SetWheelScrollLines(int lines) { m_nRowsPerWheelNotch = lines; }

    // ---- Modified flag
    void SetModified(bool modified = true, int row = -1, int col = -1);
    bool GetModified(int row = -1, int col = -1) const;

    // ---- Sorting state that painting shows (the arrow in row 0)
    int GetSortColumn() const { return m_nSortColumn; }
    void SetSortColumn(int col);
    bool GetSortAscending() const { return m_bAscending; }
    void SetSortAscending(bool ascending) { m_bAscending = ascending; }

    // ---- Focus and selection storage
    GridCellId GetFocusCell() const { return m_idCurrentCell; }
    GridCellId SetFocusCell(int row, int col);
    GridCellId SetFocusCell(const GridCellId& cell) { return SetFocusCell(cell.row, cell.col); }
    void ResetSelection();
    // The selected cells, one collision-free key per cell.
    static quint64 CellKey(int row, int col) { return (quint64(quint32(row)) << 32) | quint32(col); }
    static GridCellId CellFromKey(quint64 key) { return GridCellId(int(quint32(key >> 32)), int(quint32(key))); }
    int GetSelectedCount() const { return int(m_SelectedCellMap.size()); }

    // ---- Geometry
    bool GetCellOrigin(int row, int col, QPoint* origin) const;
    bool GetCellRect(int row, int col, QRect* rect) const;
    GridCellId GetCellFromPoint(QPoint point, bool allowFixedCellCheck = true) const;
    GridCellId GetTopLeftNonFixedCell(bool forceRecalculation = false) const;
    GridCellRange GetVisibleNonFixedRange(QRect* rect = nullptr, bool forceRecalculation = false) const;
    bool IsCellVisible(int row, int col) const;
    bool IsCellVisible(const GridCellId& cell) const { return IsCellVisible(cell.row, cell.col); }
    bool MouseOverColumnResizeArea(QPoint point) const;
    bool MouseOverRowResizeArea(QPoint point) const;
    // The client area: the viewport less nothing (the scroll bars lie outside).
    QRect ClientRect() const;

    // ---- Drawing and scrolling
    bool RedrawCell(int row, int col, QPainter* painter = nullptr);
    void InvalidateCellRect(int row, int col);
    void Refresh();
    void SetRedraw(bool allowDraw, bool resetScrollBars = false);
    bool GetRedraw() const { return m_bAllowDraw; }
    void ResetScrollBars();
    void EnsureVisible(int row, int col);
    void EnsureVisible(const GridCellId& cell) { EnsureVisible(cell.row, cell.col); }
    void OnHScroll(int code);
    void OnVScroll(int code);
    int GetScrollPos32(int bar) const;
    bool SetScrollPos32(int bar, int pos);
    // The largest scroll position the grid computed (content extent - 1, or
    // 0 without a bar); the bar itself stops a page earlier.
    int GetScrollMax(int bar) const { return bar == SB_VERT ? m_nVScrollMax : m_nHScrollMax; }
    bool IsScrollBarShown(int bar) const { return m_nBarState & (bar == SB_VERT ? 2 : 1); }

    // ---- Editing
    void EndEditing();
    void EndEditCell(int row, int col, const QString& text);
    // The in-place editor's end-of-edit report: the edited cell, the text in
    // the box and the key that ended the edit (0 when the focus went away).
    virtual void OnEndInPlaceEdit(int row, int col, const QString& text, int lastKey,
                                  Qt::KeyboardModifiers modifiers);

    // ---- Title tips
    // Shows or hides the tip for the pointer at point (client coordinates).
    void UpdateTitleTip(QPoint point);
    void HideTitleTip();
    CTitleTip* GetTitleTip() const { return m_pTitleTip; }

    // ---- Selection, keyboard and editing (driven by keys and the mouse)
    void SetSelectedRange(int minRow, int minCol, int maxRow, int maxCol, bool forceRepaint = false,
                          bool select = true);
    void SetSelectedRange(const GridCellRange& range, bool forceRepaint = false, bool select = true);
    GridCellRange GetSelectedRange() const;
    bool IsCellSelected(int row, int col) const;
    void SelectAllCells();
    void SelectCells(GridCellId cell, bool forceRepaint = false, bool select = true);
    void SelectRows(GridCellId cell, bool forceRepaint = false, bool select = true);
    void SelectColumns(GridCellId cell, bool forceRepaint = false, bool select = true);
    void OnSelecting(const GridCellId& cell);
    GridCellId GetSelectionStart() const { return m_idSelectionStart; }
    void EditCell(int row, int col, QPoint point, int ch);
    // Delete, cut and paste change cells through here: the owner may veto
    // (begin edit) and revert (end edit) every single cell.
    void ModifyCellText(int row, int col, const QString& text);

    // ---- Clipboard (plain text: TAB between cells, LF between rows)
    static constexpr int ID_EDIT_COPY = 57634;
    static constexpr int ID_EDIT_CUT = 57635;
    static constexpr int ID_EDIT_PASTE = 57637;
    static constexpr int ID_EDIT_SELECT_ALL = 57642;
    void OnEditCopy();
    void OnEditCut();
    void OnEditPaste();
    // The text of the selection's bounding rectangle; false when nothing is
    // selected.
    virtual bool CopySelection(QString* text) const;
    // Empties the selected cells (cut).
    virtual void ClearSelection();
    virtual bool PasteText(const GridCellId& start, const QString& text);

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
    void scrollContentsBy(int dx, int dy) override;
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
    template <typename Resize>
    bool ChangeCount(bool rows, int count, Resize resize);
    bool ResizeRows(int rows);
    bool ResizeColumns(int cols);
    void FinishDelete(bool rows, int index, GridCellId focus);
    std::unique_ptr<CGridCellBase> CreateCell(int row, int col);
    void DestroyCell(int row, int col);
    // Applies change to the cell at (row, col); false when there is none.
    template <typename Change>
    bool WithCell(int row, int col, Change change)
    {
        CGridCellBase* cell = GetCell(row, col);
        if (cell)
            change(*cell);
        return cell != nullptr;
    }
    void EraseBackground(QPainter& painter, const QRect& clip, const QRect& visible, int fixedHeight,
                         int fixedWidth);
    void DrawCellBlock(QPainter& painter, const QRect& clip, int rowFrom, int rowTo, int y, int colFrom,
                       int colTo, int x, bool clipped);
    void DrawGridLines(QPainter& painter, const GridCellRange& range, const QRect& visible, int fixedHeight,
                       int fixedWidth);
    void SetFixedFlags(bool rows, int from, int to, bool becomeFixed);
    bool MouseOverResizeArea(bool rows, QPoint point) const;
    void ScrollAxis(bool vertical, int code);
    void OnScrollBarAction(bool vertical, int action);
    QScrollBar* Bar(bool vertical) const;
    void ShowScrollBar(bool vertical, bool show);
    int BarExtent(bool vertical) const;
    void ForgetTopLeft() { m_idTopLeftCell = GridCellId(); }
    int TopLeftOffset(bool vertical) const;
    void ReportOutOfMemory();

    // Counts and sizes.
    int m_nRows = 0;
    int m_nFixedRows = 0;
    int m_nCols = 0;
    int m_nFixedCols = 0;
    std::vector<int> m_arRowHeights;
    std::vector<int> m_arColWidths;
    std::vector<GridRow> m_RowData;

    // Default cells: ordinary, fixed column, fixed row, corner.
    CGridDefaultCell m_cellDefault;
    CGridDefaultCell m_cellFixedColDef;
    CGridDefaultCell m_cellFixedRowDef;
    CGridDefaultCell m_cellFixedRowColDef;

    // Cells of interest.
    GridCellId m_idCurrentCell;
    GridCellId m_idSelectionStart;
    GridCellId m_LeftClickDownCell;
    mutable GridCellId m_idTopLeftCell;

    QSet<quint64> m_SelectedCellMap;
    QSet<quint64> m_PrevSelectedCellMap;

    bool m_bModified = false;
    int m_nSortColumn = -1;
    bool m_bAscending = true;

    int m_nVScrollMax = 0;
    int m_nHScrollMax = 0;
    int m_nBarState = 0;
    bool m_bResettingScrollBars = false;
    // How far past the first non-fixed column and row the cells on screen
    // start, known from the last paint: a scroll then moves the pixels
    // already there and paints only what comes into view.
    int m_nShownOffsetX = 0;
    int m_nShownOffsetY = 0;
    bool m_bShownOffsetKnown = false;

    int m_nResizeCaptureRange = 3;
    int m_nRowsPerWheelNotch = 3;
    int m_nWheelRemainder = 0;

    COLORREF m_crGridBkColour;
    COLORREF m_crGridLineColour = RGB(0xC0, 0xC0, 0xC0);
    COLORREF m_crWindowText;
    COLORREF m_crWindowColour;
    COLORREF m_cr3DFace;
    COLORREF m_crShadow;
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
    int m_nID = 0;
    CTitleTip* m_pTitleTip = nullptr;

    // ---- Keyboard, mouse and editing: state and steps
    enum class MouseMode { Nothing, SelectAll, SelectColumns, SelectRows, SelectCells, OverRowDivide, SizingRow,
                           OverColDivide, SizingColumn, PrepareEdit };
    static constexpr int AutoScrollPeriodMs = 25;
    GridAxis RowAxis() const;
    GridAxis ColumnAxis() const;
    void SetCellSelected(const GridCellId& cell, bool selected);
    void RepaintCell(const GridCellId& cell, const GridCellRange& visible);
    bool OnShortcutKey(int vk, Qt::KeyboardModifiers modifiers);
    void OnKeyDown(int vk, Qt::KeyboardModifiers modifiers);
    void OnCharacter(const QString& text, Qt::KeyboardModifiers modifiers);
    bool IsMouseIdle() const;
    void CommitCellText(int row, int col, const QString& text);
    bool SuspendDrawing();
    QPoint RelativeToCell(const GridCellId& cell, QPoint point) const;
    void OnFixedRowClick(const GridCellId& cell);
    void OnFixedColumnClick(const GridCellId& cell);
    void StartSizing(bool rows, QPoint point);
    void FinishSizing(QPoint point);
    bool UpdateDividerHover(QPoint point);
    bool DragWithMouse(QPoint point);
    void OnRightButtonUp(QPoint point);
    void AutoSizeDivider(bool rows, QPoint point, const GridCellId& cell);
    void StopAutoScroll();
    void OnAutoScroll();
    std::pair<int, int> AutoSizeRowSpan(int style) const;
    void ApplyFont(const QFont& font);
    void OnSysColorChange();

    MouseMode m_MouseMode = MouseMode::Nothing;
    bool m_bLMouseButtonDown = false;
    QPoint m_LeftClickDownPoint;
    QPoint m_LastMousePoint;
    QBasicTimer m_AutoScrollTimer;
    GridSizingBar* m_pSizingBar = nullptr;
    CompareFunction m_pfnCompare;
};
