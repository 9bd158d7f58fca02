#include "grid/GridDefaultCells.h"

GridDefaultCells::GridDefaultCells(CGridCtrl* grid)
    : m_windowText(GetSysColor(COLOR_WINDOWTEXT))
    , m_window(GetSysColor(COLOR_WINDOW))
    , m_face(GetSysColor(COLOR_3DFACE))
    , m_shadow(GetSysColor(COLOR_3DSHADOW))
{
    for (CGridDefaultCell* cell : All()) {
        cell->SetGrid(grid);
        cell->SetTextClr(m_windowText);
        cell->SetBackClr(m_face);
    }
    m_ordinary.SetBackClr(m_window);
}

CGridDefaultCell* GridDefaultCells::Get(bool fixedRow, bool fixedCol)
{
    if (fixedRow && fixedCol)
        return &m_corner;
    if (fixedRow)
        return &m_fixedRow;
    if (fixedCol)
        return &m_fixedColumn;
    return &m_ordinary;
}

void GridDefaultCells::SetFixedTextColour(COLORREF colour)
{
    for (CGridDefaultCell* cell : Fixed())
        cell->SetTextClr(colour);
}

void GridDefaultCells::SetFixedBackColour(COLORREF colour)
{
    for (CGridDefaultCell* cell : Fixed())
        cell->SetBackClr(colour);
}

void GridDefaultCells::SetFont(const QFont& font)
{
    const LogFont logFont = LogFont::FromQFont(font);
    for (CGridDefaultCell* cell : All())
        cell->SetFont(&logFont);
}

void GridDefaultCells::FollowSystemColours(COLORREF& gridBackground)
{
    const COLORREF windowText = GetSysColor(COLOR_WINDOWTEXT);
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    const COLORREF face = GetSysColor(COLOR_3DFACE);
    const COLORREF shadow = GetSysColor(COLOR_3DSHADOW);
    const auto follow = [&](CGridDefaultCell& cell, COLORREF oldBack, COLORREF newBack) {
        if (cell.GetTextClr() == m_windowText)
            cell.SetTextClr(windowText);
        if (cell.GetBackClr() == oldBack)
            cell.SetBackClr(newBack);
    };
    follow(m_ordinary, m_window, window);
    for (CGridDefaultCell* cell : Fixed())
        follow(*cell, m_face, face);
    if (gridBackground == m_shadow)
        gridBackground = shadow;
    m_windowText = windowText;
    m_window = window;
    m_face = face;
    m_shadow = shadow;
}
