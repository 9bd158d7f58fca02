#include "grid/GridRowSorter.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace {

std::vector<int> OrderTexts(const QStringList& keys, int first, bool ascending)
{
    return GridRowSorter::Order(first, static_cast<int>(keys.size()) - 1, ascending, [&](int a, int b) {
        return GridRowSorter::CompareTexts(keys[a], keys[b]);
    });
}

} // namespace

TEST(GridRowSorter, OrdersByCodeValueBothWaysKeepingEqualKeysInPlace)
{
    const QStringList keys{"heading", "b", "B", "a", "b", "10", "9"};
    EXPECT_EQ(OrderTexts(keys, 1, true), (std::vector<int>{5, 6, 2, 3, 1, 4}));
    EXPECT_EQ(OrderTexts(keys, 1, false), (std::vector<int>{1, 4, 3, 2, 6, 5}));
}

TEST(GridRowSorter, AnEmptyOrSingleRowRangeStaysAsItIs)
{
    EXPECT_TRUE(OrderTexts({"heading"}, 1, true).empty());
    EXPECT_EQ(OrderTexts({"heading", "z"}, 1, true), (std::vector<int>{1}));
}
