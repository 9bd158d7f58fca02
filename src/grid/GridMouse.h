#pragma once

#include "grid/GridCellId.h"

#include <QBasicTimer>
#include <QPoint>
#include <Qt>

class CGridCtrl;
class GridKeyboard;
class GridSelection;
class GridSizingBar;

// What the mouse does to a grid.  The left button selects cells, or whole
// rows and columns from their headings, and drags the selection on, with
// the grid scrolling while the pointer is beyond an edge; a click on the
// focus cell edits it; a heading's border drags its line to a new size, and
// a double click on it fits the line to its texts.  The mode says which of
// these is under way, or that the pointer rests on a border.
class GridMouse
{
public:
    enum class Mode { Nothing, SelectAll, SelectColumns, SelectRows, SelectCells, OverRowDivide, SizingRow,
                      OverColDivide, SizingColumn, PrepareEdit };

    GridMouse(CGridCtrl& grid, GridSelection& selection, GridKeyboard& keyboard);

    // The pointer resting on a border is no drag: keys still select and edit.
    bool IsIdle() const;
    GridCellId ClickDownCell() const { return m_clickDownCell; }
    // Selects up to cell as the drag under way selects: the rectangle, whole
    // rows, whole columns or everything.
    void ExtendSelection(const GridCellId& cell);

    void OnLeftButtonDown(QPoint point, Qt::KeyboardModifiers modifiers);
    void OnLeftButtonUp(QPoint point);
    void OnRightButtonUp(QPoint point);
    void OnLeftDoubleClick(QPoint point);
    // Answers false when the move is a plain hover over the cells.
    bool OnMove(QPoint point);
    // Answers false for a timer that is not the auto-scroll's.
    bool OnTimer(int timerId);
    void StopAutoScroll() { m_autoScrollTimer.stop(); }

private:
    static constexpr int AutoScrollPeriodMs = 25;

    bool IsOverDivider() const { return m_mode == Mode::OverColDivide || m_mode == Mode::OverRowDivide; }
    QPoint RelativeToCell(const GridCellId& cell, QPoint point) const;
    bool PlaceFocusForClick(bool ctrl);
    void BeginSelecting(QPoint point, bool ctrl);
    void OnFixedRowClick(const GridCellId& cell);
    void OnFixedColumnClick(const GridCellId& cell);
    void StartSizing(bool rows, QPoint point);
    void FinishSizing(QPoint point);
    bool UpdateDividerHover(QPoint point);
    bool DragWithMouse(QPoint point);
    void AutoSizeDivider(bool rows, QPoint point, const GridCellId& cell);
    void OnAutoScroll();
    void StepTowardPointer(int vk, QPoint edgePoint);

    CGridCtrl& m_grid;
    GridSelection& m_selection;
    GridKeyboard& m_keyboard;

    Mode m_mode = Mode::Nothing;
    bool m_leftButtonDown = false;
    QPoint m_clickDownPoint;
    GridCellId m_clickDownCell;
    QPoint m_lastPoint;
    QBasicTimer m_autoScrollTimer;
    GridSizingBar* m_sizingBar = nullptr;
};
