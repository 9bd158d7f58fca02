#pragma once

#include "grid/GridAxis.h"

// Where a navigation key takes the focus cell.  The focus never enters a
// fixed row or column and never lands on a hidden row or column; at an
// edge it stays where it is.
class GridKeyNavigator
{
public:
    enum class Move { Up, Down, Left, Right, Tab, BackTab, Home, End, GridHome, GridEnd };

    struct Target
    {
        int row;
        int column;
        bool wrapped; // TAB or Shift+TAB went on to another row
    };

    GridKeyNavigator(GridAxis rows, GridAxis columns);

    Target Step(Move move, int row, int column) const;

    // Page Up / Page Down: the focus row follows the scrolled top row; when
    // the grid could not scroll any further it goes to the first / last row.
    int PageUp(int row, int topRowBefore, int topRowAfter) const;
    int PageDown(int row, int topRowBefore, int topRowAfter) const;

private:
    Target Tab(int row, int column) const;
    Target BackTab(int row, int column) const;
    static int OrStay(int candidate, int current) { return candidate >= 0 ? candidate : current; }

    GridAxis m_rows;
    GridAxis m_columns;
};
