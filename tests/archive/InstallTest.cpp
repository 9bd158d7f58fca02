#include "ArchiveFixtures.h"
#include "FileSizeLimit.h"

#include "archive/ModInstaller.h"

#include <QDir>
#include <QFileInfo>

namespace {

class InstallTest : public ::testing::Test
{
protected:
    QString Game(const QString& name) const { return gameFolder + QLatin1Char('/') + name; }
    bool Install(const QString& modArchive)
    {
        error.clear();
        return ModInstaller::Install(modArchive, gameFolder, error);
    }

    ArchiveFixtures fixtures;
    const QString gameFolder = fixtures.Path(QStringLiteral("Diablo II"));
    const QString firstMod = fixtures.Write(QStringLiteral("One/One.mpq"), "first MOD archive");
    const QString secondMod = fixtures.Write(QStringLiteral("Two/Two.mpq"), "second MOD archive");
    QString error;
};

} // namespace

TEST(ModInstallerRulesTest, InstallIsOfferedForASavedProjectWithABuiltArchive)
{
    ArchiveFixtures fixtures;
    const QString game = QStringLiteral("/game/");
    const QString project = fixtures.Write(QStringLiteral("W/W.mod"), "x");
    EXPECT_EQ(ModInstaller::ModArchivePath(project), fixtures.Path(QStringLiteral("W/W.mpq")));
    EXPECT_FALSE(ModInstaller::CanInstall(game, project));   // never built
    fixtures.Write(QStringLiteral("W/W.mpq"), "built");
    EXPECT_TRUE(ModInstaller::CanInstall(game, project));
    EXPECT_FALSE(ModInstaller::CanInstall(QString(), project));
    EXPECT_FALSE(ModInstaller::CanInstall(game, QString()));
    for (const QString& folder : {QStringLiteral("untitled"), QStringLiteral("Untitled")}) {
        const QString other = fixtures.Write(folder + QLatin1String("/W.mod"), "x");
        fixtures.Write(folder + QLatin1String("/W.mpq"), "built");
        EXPECT_EQ(ModInstaller::CanInstall(game, other), folder == QLatin1String("Untitled"));
    }
}

TEST_F(InstallTest, TheGamesFilesAreFoundWithoutRegardToCaseAndKeepTheirSpelling)
{
    fixtures.Write(QStringLiteral("Diablo II/Patch_D2.mpq"), "the game's own patch");
    ASSERT_TRUE(Install(firstMod)) << error.toStdString();
    EXPECT_EQ(ArchiveFixtures::FilesIn(gameFolder), (QStringList{QStringLiteral("Patch_D2.mpq"), QStringLiteral("patch_d2.bak")}));
    EXPECT_EQ(ArchiveFixtures::Read(Game(QStringLiteral("Patch_D2.mpq"))), "first MOD archive");

    QFile::rename(Game(QStringLiteral("patch_d2.bak")), Game(QStringLiteral("PATCH_D2.BAK")));
    ASSERT_TRUE(Install(secondMod)) << error.toStdString();
    EXPECT_EQ(ArchiveFixtures::FilesIn(gameFolder), (QStringList{QStringLiteral("PATCH_D2.BAK"), QStringLiteral("Patch_D2.mpq")}));
    EXPECT_EQ(ArchiveFixtures::Read(Game(QStringLiteral("PATCH_D2.BAK"))), "the game's own patch");
    EXPECT_EQ(ArchiveFixtures::Read(Game(QStringLiteral("Patch_D2.mpq"))), "second MOD archive");
}

TEST_F(InstallTest, AGameFolderWithoutPatchArchiveGetsOneAndNoBackup)
{
    ASSERT_TRUE(QDir().mkpath(gameFolder));
    ASSERT_TRUE(Install(firstMod)) << error.toStdString();
    EXPECT_EQ(ArchiveFixtures::FilesIn(gameFolder), QStringList{QStringLiteral("patch_d2.mpq")});
}

TEST_F(InstallTest, FailuresAreReportedAndChangeNothing)
{
    const QString patch = fixtures.Write(QStringLiteral("Diablo II/patch_d2.mpq"), ArchiveFixtures::Pattern(200000, 2));
    const QByteArray game = ArchiveFixtures::Read(patch);
    EXPECT_FALSE(Install(fixtures.Path(QStringLiteral("none.mpq"))));
    EXPECT_TRUE(error.contains(QStringLiteral("does not exist")));
    EXPECT_FALSE(ModInstaller::Install(firstMod, fixtures.Path(QStringLiteral("no game")), error));
    EXPECT_TRUE(error.contains(QStringLiteral("does not exist")));
    {
        FileSizeLimit limit(100000);
        if (!limit.IsActive())
            GTEST_SKIP() << "cannot limit the file size of this process";
        EXPECT_FALSE(Install(firstMod));   // the backup does not fit
    }
    EXPECT_TRUE(error.startsWith(QStringLiteral("Cannot keep "))) << error.toStdString();
    EXPECT_EQ(ArchiveFixtures::Read(patch), game);
    EXPECT_EQ(ArchiveFixtures::FilesIn(gameFolder), QStringList{QStringLiteral("patch_d2.mpq")});

    // A folder in place of the patch archive cannot be replaced.
    QFile::remove(patch);
    ASSERT_TRUE(QDir().mkpath(patch));
    EXPECT_FALSE(Install(firstMod));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(QFileInfo(patch).isDir());
}
