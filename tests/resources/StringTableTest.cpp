#include "resources/StringTable.h"

#include <QStringList>

#include <gtest/gtest.h>

TEST(StringTable, TheDocumentStringHasItsSevenFieldsAndUnknownIdsGiveNothing)
{
    EXPECT_EQ(StringTable::Get(StringId::DocumentString).split(QLatin1Char('\n')),
              QStringList({"Carvestone", "", "NewMOD", "Carvestone Files (*.mod)", ".mod", "Carvestone.Document",
                           "Carvestone Document"}));
    EXPECT_TRUE(StringTable::Get(4711).isEmpty());
    EXPECT_FALSE(StringTable::Contains(4711));
}

TEST(StringTable, ACommandsStringSplitsIntoPromptAndTooltip)
{
    EXPECT_EQ(StringTable::Prompt(57600), QStringLiteral("Create a new document"));
    EXPECT_EQ(StringTable::Tooltip(57600), QStringLiteral("New"));
    EXPECT_EQ(StringTable::Prompt(57616), QStringLiteral("Open this document"));
    EXPECT_TRUE(StringTable::Tooltip(57616).isEmpty());
}
