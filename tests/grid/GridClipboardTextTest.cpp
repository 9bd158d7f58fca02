#include "grid/GridClipboardText.h"

#include <QMap>
#include <QPair>

#include <gtest/gtest.h>

#include <set>

namespace {

GridAxis Axis(int count, int fixed, std::set<int> hidden = {})
{
    return GridAxis(count, fixed, [hidden](int i) { return hidden.count(i) ? 0 : 20; });
}

using Cells = QMap<QPair<int, int>, QString>;

QString EncodeCells(const Cells& cells, const GridAxis& rows, const GridAxis& columns, int r1, int c1, int r2, int c2)
{
    return GridClipboardText::Encode(rows, columns, r1, c1, r2, c2,
                                     [&](int r, int c) { return cells.value({r, c}); });
}

Cells PlaceText(const QString& text, const GridAxis& rows, const GridAxis& columns, int row, int column)
{
    Cells written;
    GridClipboardText::Place(GridClipboardText::Decode(text), rows, columns, row, column,
                             [&](int r, int c, const QString& t) { written.insert({r, c}, t); });
    return written;
}

} // namespace

TEST(GridClipboardTextEncode, SeparatesCellsWithTabAndRowsWithLineFeedWithoutTrailers)
{
    const Cells cells{{{1, 1}, "a"}, {{1, 2}, "b"}, {{1, 3}, "c"}, {{2, 1}, "d"}, {{2, 2}, "e"}, {{2, 3}, "f"}};
    EXPECT_EQ(EncodeCells(cells, Axis(5, 1), Axis(5, 1), 1, 1, 2, 3), QStringLiteral("a\tb\tc\nd\te\tf"));
}

TEST(GridClipboardTextEncode, LeavesOutHiddenRowsAndColumnsWithTheirSeparators)
{
    const Cells cells{{{1, 1}, "a"}, {{1, 2}, "x"}, {{1, 3}, "b"}, {{2, 1}, "y"}, {{3, 1}, "c"}, {{3, 3}, "d"}};
    // Hidden middle column and middle row.
    EXPECT_EQ(EncodeCells(cells, Axis(4, 1, {2}), Axis(4, 1, {2}), 1, 1, 3, 3), QStringLiteral("a\tb\nc\td"));
    // Hidden last column and last row leave no dangling separator.
    EXPECT_EQ(EncodeCells(cells, Axis(4, 1, {3}), Axis(4, 1, {3}), 1, 1, 3, 3), QStringLiteral("a\tx\ny\t"));
}

TEST(GridClipboardTextEncode, CellsWithoutTextGiveEmptyFields)
{
    const Cells cells{{{1, 1}, "a"}, {{2, 3}, "f"}};
    EXPECT_EQ(EncodeCells(cells, Axis(4, 1), Axis(4, 1), 1, 1, 2, 3), QStringLiteral("a\t\t\n\t\tf"));
}

TEST(GridClipboardTextDecode, SplitsAtTabOnlyAndKeepsCommasSpacesAndEmptyFields)
{
    const GridClipboardText::Table table = GridClipboardText::Decode(QStringLiteral("hpot,qty=3\t  x \t\n\tend \r\n\r\nlast\0ignored"));
    ASSERT_EQ(table.size(), 4);
    EXPECT_EQ(table[0], QStringList({"hpot,qty=3", "  x ", ""}));
    EXPECT_EQ(table[1], QStringList({"", "end "}));
    EXPECT_EQ(table[2], QStringList({""}));
    EXPECT_EQ(table[3], QStringList({"last"}));
}

TEST(GridClipboardTextDecode, StripsOnlyTheCarriageReturnBeforeALineFeed)
{
    const GridClipboardText::Table table = GridClipboardText::Decode(QStringLiteral("a\rb\r\r\nc\r"));
    ASSERT_EQ(table.size(), 2);
    EXPECT_EQ(table[0], QStringList({"a\rb\r"}));
    EXPECT_EQ(table[1], QStringList({"c"}));
}

TEST(GridClipboardTextPlace, SkipsHiddenRowsAndColumnsAndDropsWhatFallsOutside)
{
    const Cells written = PlaceText(QStringLiteral("a\tb\tc\nd\te\tf\ng"), Axis(4, 1, {2}), Axis(4, 1, {2}), 1, 1);
    const Cells expected{{{1, 1}, "a"}, {{1, 3}, "b"}, {{3, 1}, "d"}, {{3, 3}, "e"}};
    EXPECT_EQ(written, expected);
}

TEST(GridClipboardTextPlace, CopyThenPasteReproducesAnyRectangleExactly)
{
    const Cells source{{{1, 1}, "hpot,qty=3"}, {{1, 2}, " lead"}, {{1, 3}, ""},
                       {{2, 1}, ""},           {{2, 2}, "trail  "}, {{2, 3}, "a, b"},
                       {{3, 1}, ""},           {{3, 2}, ""},        {{3, 3}, ""}};
    const QString text = EncodeCells(source, Axis(6, 1), Axis(6, 1), 1, 1, 3, 3);
    const Cells written = PlaceText(text, Axis(9, 1), Axis(9, 1), 5, 4);
    ASSERT_EQ(written.size(), source.size());
    for (auto it = source.cbegin(); it != source.cend(); ++it)
        EXPECT_EQ(written.value({it.key().first + 4, it.key().second + 3}, QStringLiteral("<missing>")), it.value());
}
