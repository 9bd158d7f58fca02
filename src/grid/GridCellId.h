#pragma once

#include <compare>

// A cell's position in a grid; -1 in either part means "no cell".
struct GridCellId
{
    int row = -1;
    int col = -1;

    constexpr GridCellId() = default;
    constexpr GridCellId(int r, int c) : row(r), col(c) {}

    constexpr bool IsValid() const { return row >= 0 && col >= 0; }
    constexpr bool operator==(const GridCellId&) const = default;
    constexpr auto operator<=>(const GridCellId&) const = default;
};
