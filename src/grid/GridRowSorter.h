#pragma once

#include <QString>

#include <functional>
#include <vector>

// Orders the non-fixed rows of a grid by one column.  Rows move as a whole
// and fixed rows never move; rows with equal keys keep their order.
class GridRowSorter
{
public:
    // Negative, zero or positive like strcmp, for the rows a and b.
    using RowCompare = std::function<int(int a, int b)>;

    // The rows firstRow..lastRow in their new order: element i is the old
    // index of the row that goes to firstRow + i.
    static std::vector<int> Order(int firstRow, int lastRow, bool ascending, const RowCompare& compare);

    // The grid's default comparison: the texts by code value, case-sensitive.
    static int CompareTexts(const QString& a, const QString& b);
};
