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

TEST(StringTable, TheProgramsQuestionsAndErrorsReadExactly)
{
    EXPECT_EQ(StringTable::Get(StringId::ProjectExists),
              QStringLiteral("A project with the name \"%s\" already exists. Please choose another name."));
    EXPECT_EQ(StringTable::Get(StringId::CreateFolderFailed), QStringLiteral("Failed to create the directory \"%s\""));
    EXPECT_EQ(StringTable::Get(StringId::BadProjectName), QStringLiteral("Project name may not contain (. \\ ? * / \" ')"));
    EXPECT_EQ(StringTable::Get(StringId::SaveChanges), QStringLiteral("Save changes to %1?"));
    EXPECT_EQ(StringTable::Get(StringId::BadFormat), QStringLiteral("%1 has a bad format."));
    EXPECT_EQ(StringTable::Get(StringId::Untitled), QStringLiteral("Untitled"));
    EXPECT_EQ(StringTable::Get(StringId::Ready), QStringLiteral("Ready"));
    EXPECT_TRUE(StringTable::Get(StringId::ConfirmInstall).startsWith(QStringLiteral("Are you sure you wish to install this MOD?\n\n")));
}

TEST(StringTable, ACommandsStringSplitsIntoPromptAndTooltip)
{
    EXPECT_EQ(StringTable::Prompt(57600), QStringLiteral("Create a new document"));
    EXPECT_EQ(StringTable::Tooltip(57600), QStringLiteral("New"));
    EXPECT_EQ(StringTable::Prompt(57616), QStringLiteral("Open this document"));
    EXPECT_TRUE(StringTable::Tooltip(57616).isEmpty());
}
