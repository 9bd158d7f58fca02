#include "grid/GridRowSorter.h"

#include <algorithm>
#include <numeric>

std::vector<int> GridRowSorter::Order(int firstRow, int lastRow, bool ascending, const RowCompare& compare)
{
    std::vector<int> order;
    if (lastRow < firstRow)
        return order;
    order.resize(static_cast<size_t>(lastRow - firstRow + 1));
    std::iota(order.begin(), order.end(), firstRow);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const int result = compare(a, b);
        return ascending ? result < 0 : result > 0;
    });
    return order;
}

int GridRowSorter::CompareTexts(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseSensitive);
}
