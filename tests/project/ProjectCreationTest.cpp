#include "project/ProjectCreation.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class ProjectCreationTest : public ::testing::Test
{
protected:
    QString Mods() const { return mods.path() + QLatin1Char('/'); }
    QTemporaryDir mods;
};

TEST_F(ProjectCreationTest, NamesWithAnyListedCharacterAreRefused)
{
    for (const char* name : {"My.Mod", "a/b", "it's", "say \"hi\"", "a\\b", "what?", "star*"})
        EXPECT_FALSE(ProjectCreation::IsValidName(QString::fromLatin1(name))) << name;
    for (const char* name : {"Test", "", "  spaced  ", "Mod-2 (final)"})
        EXPECT_TRUE(ProjectCreation::IsValidName(QString::fromLatin1(name))) << name;
}

TEST_F(ProjectCreationTest, CreatesTheFolderAndTheHeaderOnlyProjectFile)
{
    const auto result = ProjectCreation::Create(Mods(), QStringLiteral("Test"));
    ASSERT_EQ(result.outcome, ProjectCreation::Outcome::Created);
    EXPECT_EQ(result.projectFile, Mods() + QStringLiteral("Test/Test.mod"));
    QFile file(result.projectFile);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("Carvestone Project File Version 1.0\r\n"));

    EXPECT_EQ(ProjectCreation::Create(Mods(), QStringLiteral("Test")).outcome,
              ProjectCreation::Outcome::ProjectExists);
}

TEST_F(ProjectCreationTest, AnExistingFolderWithoutProjectFileFailsAndNothingIsWritten)
{
    QDir(mods.path()).mkdir(QStringLiteral("Test"));
    const auto result = ProjectCreation::Create(Mods(), QStringLiteral("Test"));
    EXPECT_EQ(result.outcome, ProjectCreation::Outcome::FolderFailed);
    EXPECT_EQ(result.projectFolder, Mods() + QStringLiteral("Test"));
    EXPECT_TRUE(QDir(mods.filePath(QStringLiteral("Test"))).isEmpty());
}

TEST_F(ProjectCreationTest, AnEmptyNameNamesTheModsFolderWhichExists)
{
    const auto result = ProjectCreation::Create(Mods(), QString());
    EXPECT_EQ(result.outcome, ProjectCreation::Outcome::FolderFailed);
    EXPECT_EQ(result.projectFolder, Mods());
}

TEST_F(ProjectCreationTest, AMissingModsFolderFailsAtTheFolder)
{
    const auto result = ProjectCreation::Create(Mods() + QStringLiteral("absent/"), QStringLiteral("Test"));
    EXPECT_EQ(result.outcome, ProjectCreation::Outcome::FolderFailed);
}

} // namespace
