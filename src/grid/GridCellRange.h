#pragma once

#include "grid/GridCellId.h"

// An inclusive rectangle of cells; (-1, -1, -1, -1) means "no range".
struct GridCellRange
{
    int minRow = -1;
    int minCol = -1;
    int maxRow = -1;
    int maxCol = -1;

    constexpr GridCellRange() = default;
    constexpr GridCellRange(int r1, int c1, int r2, int c2) : minRow(r1), minCol(c1), maxRow(r2), maxCol(c2) {}

    constexpr bool IsValid() const
    {
        return minRow >= 0 && minCol >= 0 && maxRow >= 0 && maxCol >= 0 && minRow <= maxRow && minCol <= maxCol;
    }
    constexpr bool InRange(int row, int col) const
    {
        return row >= minRow && row <= maxRow && col >= minCol && col <= maxCol;
    }
    constexpr bool InRange(const GridCellId& cell) const { return InRange(cell.row, cell.col); }
    constexpr int Rows() const { return maxRow - minRow + 1; }
    constexpr int Cols() const { return maxCol - minCol + 1; }
    constexpr GridCellId TopLeft() const { return {minRow, minCol}; }
    constexpr bool operator==(const GridCellRange&) const = default;
};
