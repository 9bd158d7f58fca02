#include "project/ProjectCreation.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(ProjectCreation, NamesWithAnyListedCharacterAreRefusedAndNothingElseIsChecked)
{
    for (const char* name : {"My.Mod", "a/b", "it's", "say \"hi\"", "a\\b", "what?", "star*"})
        EXPECT_FALSE(ProjectCreation::IsValidName(QString::fromLatin1(name))) << name;
    for (const char* name : {"Test", "", "  spaced  ", "Mod-2 (final)"})
        EXPECT_TRUE(ProjectCreation::IsValidName(QString::fromLatin1(name))) << name;
}

TEST(ProjectCreation, AFolderThatCannotBeMadeFailsAndNothingIsWritten)
{
    QTemporaryDir mods;
    QDir(mods.path()).mkdir(QStringLiteral("Test"));
    for (const QString& modsPath : {mods.path() + QLatin1Char('/'), mods.path() + QStringLiteral("/absent/")}) {
        SCOPED_TRACE(modsPath.toStdString());
        const auto result = ProjectCreation::Create(modsPath, QStringLiteral("Test"));
        EXPECT_EQ(result.outcome, ProjectCreation::Outcome::FolderFailed);
        EXPECT_EQ(result.projectFolder, modsPath + QStringLiteral("Test"));
    }
    EXPECT_TRUE(QDir(mods.filePath(QStringLiteral("Test"))).isEmpty());
}

} // namespace
