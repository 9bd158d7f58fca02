#include "grid/GridClipboardText.h"

#include <gtest/gtest.h>

TEST(GridClipboardText, DecodingSplitsAtTabOnlyAndKeepsCommasSpacesEmptyFieldsAndEmptyLines)
{
    const GridClipboardText::Table table =
        GridClipboardText::Decode(QStringLiteral("hpot,qty=3\t  x \t\n\tend \r\n\r\nlast\0ignored"));
    ASSERT_EQ(table.size(), 4);
    EXPECT_EQ(table[0], QStringList({"hpot,qty=3", "  x ", ""}));
    EXPECT_EQ(table[1], QStringList({"", "end "}));
    EXPECT_EQ(table[2], QStringList({""}));
    EXPECT_EQ(table[3], QStringList({"last"}));
}

TEST(GridClipboardText, DecodingStripsOnlyTheCarriageReturnBeforeALineFeed)
{
    const GridClipboardText::Table table = GridClipboardText::Decode(QStringLiteral("a\rb\r\r\nc\r"));
    ASSERT_EQ(table.size(), 2);
    EXPECT_EQ(table[0], QStringList({"a\rb\r"}));
    EXPECT_EQ(table[1], QStringList({"c"}));
}
