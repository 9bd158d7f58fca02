#include "resources/StringTable.h"

#include <QStringList>

#include <gtest/gtest.h>

TEST(StringTable, KnownIdsGiveTheirTextsAndUnknownIdsNothing)
{
    EXPECT_EQ(StringTable::Get(StringId::AppTitle), QStringLiteral("Carvestone"));
    EXPECT_EQ(StringTable::Get(StringId::StyleBoldItalic), QStringLiteral("Bold Italic"));
    EXPECT_TRUE(StringTable::Get(4711).isEmpty());
    EXPECT_FALSE(StringTable::Contains(4711));
}

TEST(StringTable, DocumentStringHasSevenLineFeedSeparatedFields)
{
    const QStringList fields = StringTable::Get(StringId::DocumentString).split(QLatin1Char('\n'));
    ASSERT_EQ(fields.size(), 7);
    EXPECT_TRUE(fields[1].isEmpty());
    EXPECT_EQ(fields[4], QStringLiteral(".mod"));
    EXPECT_EQ(fields[5], QStringLiteral("Carvestone.Document"));
}
