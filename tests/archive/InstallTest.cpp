#include "ArchiveFixtures.h"
#include "FileSizeLimit.h"

#include "archive/ModInstaller.h"

#include <QFile>

TEST(ModInstallerTest, TheGamesFilesAreFoundWithoutRegardToCaseAndAFirstBackupThatDoesNotFitChangesNothing)
{
    ArchiveFixtures fixtures;
    const QString game = fixtures.Path(QStringLiteral("Diablo II")) + QLatin1Char('/');
    const QByteArray gameOwn = ArchiveFixtures::Pattern(200000, 2);
    QString error;
    const auto install = [&](const QByteArray& contents) {
        return ModInstaller::Install(fixtures.Write(QStringLiteral("Mod/Mod.mpq"), contents), game, error);
    };
    const auto expectGame = [&](const QStringList& files, const QByteArray& patch) {
        EXPECT_EQ(ArchiveFixtures::FilesIn(game), files);
        EXPECT_EQ(ArchiveFixtures::Read(game + QLatin1String("Patch_D2.mpq")), patch);
    };
    fixtures.Write(QStringLiteral("Diablo II/Patch_D2.mpq"), gameOwn);
    {
        FileSizeLimit limit(100000);
        if (!limit.IsActive())
            GTEST_SKIP() << "cannot limit the file size of this process";
        EXPECT_FALSE(install("first MOD archive"));
    }
    EXPECT_TRUE(error.startsWith(QStringLiteral("Cannot keep "))) << error.toStdString();
    expectGame({QStringLiteral("Patch_D2.mpq")}, gameOwn);

    ASSERT_TRUE(install("first MOD archive")) << error.toStdString();
    expectGame({QStringLiteral("Patch_D2.mpq"), QStringLiteral("patch_d2.bak")}, "first MOD archive");
    // A backup in other case is found and kept: it holds the game's own patch.
    QFile::rename(game + QLatin1String("patch_d2.bak"), game + QLatin1String("PATCH_D2.BAK"));
    ASSERT_TRUE(install("second MOD archive")) << error.toStdString();
    expectGame({QStringLiteral("PATCH_D2.BAK"), QStringLiteral("Patch_D2.mpq")}, "second MOD archive");
    EXPECT_EQ(ArchiveFixtures::Read(game + QLatin1String("PATCH_D2.BAK")), gameOwn);
}

TEST(ModInstallerTest, InstallOffersTheArchiveBuildWritesAndNoOtherFileOfASimilarName)
{
    ArchiveFixtures fixtures;
    const QString game = fixtures.Path(QStringLiteral("Diablo II")) + QLatin1Char('/');
    fixtures.Write(QStringLiteral("Diablo II/patch_d2.mpq"), "game");
    const struct { const char* project; const char* built; bool offered; } cases[] = {
        {"MODs/Test/Test.mod", "MODs/Test/Test.mpq", true},
        {"MODs/Test.v2/Test.v2.mod", "MODs/Test.v2/Test.v2.mpq", true},
        {"MODs/Armor/Armor.MOD", "MODs/Armor/Armor.mpq", true},
        // A title without a "." builds nothing: a dot in a folder name is no extension.
        {"MODs/My.Mods/Plain", "MODs/My.mpq", false},
        {"MODs/untitled/untitled.mod", "MODs/untitled/untitled.mpq", false},
    };
    for (const auto& c : cases) {
        const QString project = fixtures.Write(QString::fromLatin1(c.project), "Carvestone Project File Version 1.0\n");
        EXPECT_FALSE(ModInstaller::CanInstall(game, project)) << c.project << " before any build";
        const QString built = fixtures.Write(QString::fromLatin1(c.built), "MOD");
        EXPECT_EQ(ModInstaller::CanInstall(game, project), c.offered) << c.project;
        QFile::remove(built);
    }
}
