#pragma once

#include <functional>

// One direction of a grid (its rows or its columns) as seen by keyboard
// navigation and pasting: how many lines there are, how many of them are
// fixed, and the size of each one.  A line of size 0 is hidden.
class GridAxis
{
public:
    GridAxis(int count, int fixedCount, std::function<int(int)> sizeOf);

    int Count() const { return m_count; }
    int FixedCount() const { return m_fixedCount; }
    bool IsShown(int index) const;

    // The nearest shown non-fixed line after / before index, or -1.
    int NextShown(int index) const;
    int PreviousShown(int index) const;
    // The first / last shown non-fixed line, or -1.
    int FirstShown() const;
    int LastShown() const;
    // index itself when shown, else the nearest shown non-fixed line after
    // it, else the nearest before it; -1 when every non-fixed line is hidden.
    int ShownNear(int index) const;

private:
    int m_count;
    int m_fixedCount;
    std::function<int(int)> m_sizeOf;
};
