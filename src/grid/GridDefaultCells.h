#pragma once

#include "grid/CGridDefaultCell.h"
#include "grid/ColorRef.h"

#include <array>

class CGridCtrl;
class QFont;

// The default cells of a grid's four areas: the ordinary cells, the fixed
// columns, the fixed rows and the corner where they meet.  They start in the
// system's colours and remember them, so that a palette change moves only
// the colours still at the old system values: colours an owner chose stay.
class GridDefaultCells
{
public:
    explicit GridDefaultCells(CGridCtrl* grid);

    CGridDefaultCell* Get(bool fixedRow, bool fixedCol);
    CGridDefaultCell& Ordinary() { return m_ordinary; }
    const CGridDefaultCell& Ordinary() const { return m_ordinary; }
    // The grid's background starts in this colour.
    COLORREF SystemShadow() const { return m_shadow; }

    void SetFixedTextColour(COLORREF colour);
    void SetFixedBackColour(COLORREF colour);
    // Every default cell takes the font and measures its default size anew.
    void SetFont(const QFont& font);
    // gridBackground follows too while it is the old shadow colour.
    void FollowSystemColours(COLORREF& gridBackground);

private:
    std::array<CGridDefaultCell*, 4> All() { return {&m_ordinary, &m_fixedColumn, &m_fixedRow, &m_corner}; }
    std::array<CGridDefaultCell*, 3> Fixed() { return {&m_fixedColumn, &m_fixedRow, &m_corner}; }

    CGridDefaultCell m_ordinary;
    CGridDefaultCell m_fixedColumn;
    CGridDefaultCell m_fixedRow;
    CGridDefaultCell m_corner;
    COLORREF m_windowText;
    COLORREF m_window;
    COLORREF m_face;
    COLORREF m_shadow;
};
