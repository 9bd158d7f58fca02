#include "ArchiveFixtures.h"
#include "FileSizeLimit.h"

#include "archive/ModInstaller.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

namespace {

class InstallTest : public ::testing::Test
{
protected:
    QStringList GameFiles() const { return QDir(gameFolder).entryList(QDir::Files | QDir::Hidden, QDir::Name); }

    ArchiveFixtures fixtures;
    const QString gameFolder = fixtures.Path(QStringLiteral("Diablo II"));
    const QString firstMod = fixtures.Write(QStringLiteral("One/One.mpq"), "first MOD archive");
    const QString secondMod = fixtures.Write(QStringLiteral("Two/Two.mpq"), "second MOD archive");
};

} // namespace

TEST(ModInstallerRulesTest, InstallIsOfferedForASavedProjectWithABuiltArchive)
{
    ArchiveFixtures fixtures;
    const QString project = fixtures.Write(QStringLiteral("W/W.mod"), "Carvestone Project File Version 1.0\r\n");
    EXPECT_EQ(ModInstaller::ModArchivePath(project), fixtures.Path(QStringLiteral("W/W.mpq")));
    EXPECT_EQ(ModInstaller::ModArchivePath(QStringLiteral("/a.b/c")), QStringLiteral("/a.mpq"));
    EXPECT_FALSE(ModInstaller::CanInstall(QStringLiteral("/game/"), project));   // never built
    fixtures.Write(QStringLiteral("W/W.mpq"), "built");
    EXPECT_TRUE(ModInstaller::CanInstall(QStringLiteral("/game/"), project));
    EXPECT_FALSE(ModInstaller::CanInstall(QString(), project));
    EXPECT_FALSE(ModInstaller::CanInstall(QStringLiteral("/game/"), QString()));

    const QString untitled = fixtures.Write(QStringLiteral("untitled/W.mod"), "x");
    fixtures.Write(QStringLiteral("untitled/W.mpq"), "built");
    EXPECT_FALSE(ModInstaller::CanInstall(QStringLiteral("/game/"), untitled));
    const QString capital = fixtures.Write(QStringLiteral("Untitled/W.mod"), "x");
    fixtures.Write(QStringLiteral("Untitled/W.mpq"), "built");
    EXPECT_TRUE(ModInstaller::CanInstall(QStringLiteral("/game/"), capital));
}

TEST_F(InstallTest, FirstInstallKeepsTheGamesFileAndLaterOnesKeepThatBackup)
{
    fixtures.Write(QStringLiteral("Diablo II/patch_d2.mpq"), "the game's own patch");
    QString error;
    ASSERT_TRUE(ModInstaller::Install(firstMod, gameFolder, error)) << error.toStdString();
    ASSERT_TRUE(ModInstaller::Install(secondMod, gameFolder, error)) << error.toStdString();
    EXPECT_EQ(GameFiles(), (QStringList{QStringLiteral("patch_d2.bak"), QStringLiteral("patch_d2.mpq")}));
    EXPECT_EQ(ArchiveFixtures::Read(gameFolder + QLatin1String("/patch_d2.bak")), "the game's own patch");
    EXPECT_EQ(ArchiveFixtures::Read(gameFolder + QLatin1String("/patch_d2.mpq")), "second MOD archive");
}

TEST_F(InstallTest, TheGamesSpellingIsFoundWithoutRegardToCaseAndKept)
{
    fixtures.Write(QStringLiteral("Diablo II/Patch_D2.mpq"), "the game's own patch");
    QString error;
    ASSERT_TRUE(ModInstaller::Install(firstMod, gameFolder, error)) << error.toStdString();
    EXPECT_EQ(GameFiles(), (QStringList{QStringLiteral("Patch_D2.mpq"), QStringLiteral("patch_d2.bak")}));
    EXPECT_EQ(ArchiveFixtures::Read(gameFolder + QLatin1String("/Patch_D2.mpq")), "first MOD archive");

    // A backup spelled otherwise is still the backup.
    QFile::rename(gameFolder + QLatin1String("/patch_d2.bak"), gameFolder + QLatin1String("/PATCH_D2.BAK"));
    ASSERT_TRUE(ModInstaller::Install(secondMod, gameFolder, error)) << error.toStdString();
    EXPECT_EQ(GameFiles(), (QStringList{QStringLiteral("PATCH_D2.BAK"), QStringLiteral("Patch_D2.mpq")}));
    EXPECT_EQ(ArchiveFixtures::Read(gameFolder + QLatin1String("/PATCH_D2.BAK")), "the game's own patch");
}

TEST_F(InstallTest, AGameFolderWithoutPatchArchiveGetsOneAndNoBackup)
{
    ASSERT_TRUE(QDir().mkpath(gameFolder));
    QString error;
    ASSERT_TRUE(ModInstaller::Install(firstMod, gameFolder, error)) << error.toStdString();
    EXPECT_EQ(GameFiles(), QStringList{QStringLiteral("patch_d2.mpq")});
}

TEST_F(InstallTest, ABackupThatCannotBeWrittenStopsTheInstallBeforeAnythingChanges)
{
    fixtures.Write(QStringLiteral("Diablo II/patch_d2.mpq"), ArchiveFixtures::Pattern(200000, 2));
    const QByteArray game = ArchiveFixtures::Read(gameFolder + QLatin1String("/patch_d2.mpq"));
    QString error;
    bool installed = true;
    {
        FileSizeLimit limit(100000);
        if (!limit.IsActive())
            GTEST_SKIP() << "cannot limit the file size of this process";
        installed = ModInstaller::Install(firstMod, gameFolder, error);
    }
    EXPECT_FALSE(installed);
    EXPECT_TRUE(error.startsWith(QStringLiteral("Cannot keep "))) << error.toStdString();
    EXPECT_EQ(ArchiveFixtures::Read(gameFolder + QLatin1String("/patch_d2.mpq")), game);
    EXPECT_EQ(GameFiles(), QStringList{QStringLiteral("patch_d2.mpq")});
}

TEST_F(InstallTest, MissingArchiveOrGameFolderIsReported)
{
    QString error;
    EXPECT_FALSE(ModInstaller::Install(fixtures.Path(QStringLiteral("none.mpq")), gameFolder, error));
    EXPECT_FALSE(error.isEmpty());
    error.clear();
    EXPECT_FALSE(ModInstaller::Install(firstMod, fixtures.Path(QStringLiteral("no game")), error));
    EXPECT_FALSE(error.isEmpty());
    // A folder in place of the patch archive cannot be replaced.
    ASSERT_TRUE(QDir().mkpath(gameFolder + QLatin1String("/patch_d2.mpq")));
    EXPECT_FALSE(ModInstaller::Install(firstMod, gameFolder, error));
    EXPECT_TRUE(QFileInfo(gameFolder + QLatin1String("/patch_d2.mpq")).isDir());
}
