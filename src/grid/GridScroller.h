#pragma once

#include <QRect>

class CGridCtrl;
class GridCellStore;
class GridGeometry;
class QScrollBar;

// The grid's scroll bars and what scrolling does to the picture.  Positions
// count pixels past the fixed rows and columns, but the grid steps by whole
// rows and columns, and a bar is shown only while the content does not fit.
// The offsets of the last painted top-left cell let a scroll move the
// pixels already on screen and paint only what comes into view.
class GridScroller
{
public:
    GridScroller(CGridCtrl& grid, const GridCellStore& store, GridGeometry& geometry);

    // The client area: the viewport less the shown bars.
    QRect ClientRect() const;
    void Reset();
    bool IsResetting() const { return m_resetting; }

    int Position(bool vertical) const;
    void SetPosition(bool vertical, int position);
    // The last pixel of the content (0 without a bar); the bar itself stops
    // a page earlier.
    int Maximum(bool vertical) const { return vertical ? m_verticalMax : m_horizontalMax; }
    bool IsBarShown(bool vertical) const { return vertical ? m_verticalShown : m_horizontalShown; }

    // code is one of the SB_* actions.
    void Scroll(bool vertical, int code);
    // A QAbstractSlider action on one of the bars.
    void OnBarAction(bool vertical, int action);
    void EnsureVisible(int row, int col);

    // Painting tells what it showed; a full repaint makes it unknown.
    void NotePaintedOffsets();
    void ForgetShownOffsets() { m_shownOffsetKnown = false; }
    // The scroll position changed: moves or repaints the non-fixed area.
    void OnContentsScrolled();

    int WheelScrollLines() const { return m_linesPerNotch; }
    void SetWheelScrollLines(int lines) { m_linesPerNotch = lines; }
    void OnWheel(int angleDelta);

private:
    QScrollBar* Bar(bool vertical) const;
    int BarExtent(bool vertical) const;
    void ShowBar(bool vertical, bool show);
    void HideBars();
    void FitBars(int width, int height);
    int PageSize(bool vertical) const;
    void ScrollLine(bool vertical, bool back, int position);
    void StepToward(bool vertical, int index, int first, int last);
    void StepWhileCut(bool vertical, int row, int col, const QRect& client);
    void MoveOrRepaint(bool vertical, int shift, const QRect& area, bool canMove);

    CGridCtrl& m_grid;
    const GridCellStore& m_store;
    GridGeometry& m_geometry;

    int m_verticalMax = 0;
    int m_horizontalMax = 0;
    bool m_verticalShown = false;
    bool m_horizontalShown = false;
    bool m_resetting = false;
    int m_shownOffsetX = 0;
    int m_shownOffsetY = 0;
    bool m_shownOffsetKnown = false;
    int m_linesPerNotch;
    int m_wheelRemainder = 0;
};
