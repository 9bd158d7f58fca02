#include "ArchiveFixtures.h"
#include "FileSizeLimit.h"
#include "SmallDisk.h"

#include "archive/ModBuilder.h"
#include "archive/ModInstaller.h"
#include "archive/MpqLibrary.h"

#include <QDir>

TEST(ModInstallerTest, FindsTheGamesFilesInAnyCaseChangesNothingWhenTheBackupDoesNotFitAndOffersWhatBuildWrote)
{
    ArchiveFixtures fixtures;
    const QString game = fixtures.Path("Diablo II") + '/';
    const QByteArray gameOwn = ArchiveFixtures::Pattern(200000, 2);
    QString error;
    const auto install = [&](const QByteArray& contents, const QStringList& files, const QByteArray& patch) {
        const bool installed = ModInstaller::Install(fixtures.Write("Mod/Mod.mpq", contents), game, error);
        EXPECT_EQ(ArchiveFixtures::FilesIn(game), files);
        EXPECT_EQ(ArchiveFixtures::Read(game + "Patch_D2.mpq"), patch);
        return installed;
    };
    fixtures.Write("Diablo II/Patch_D2.mpq", gameOwn);
    {
        FileSizeLimit limit(100000);
        if (!limit.IsActive())
            GTEST_SKIP() << "cannot limit the file size of this process";
        EXPECT_FALSE(install("first MOD", {"Patch_D2.mpq"}, gameOwn));
    }
    EXPECT_TRUE(error.startsWith("Cannot keep ")) << error.toStdString();
    EXPECT_TRUE(install("first MOD", {"Patch_D2.mpq", "patch_d2.bak"}, "first MOD")) << error.toStdString();
    // A backup in other case is found and kept: it holds the game's own patch.
    QFile::rename(game + "patch_d2.bak", game + "PATCH_D2.BAK");
    EXPECT_TRUE(install("second MOD", {"PATCH_D2.BAK", "Patch_D2.mpq"}, "second MOD")) << error.toStdString();
    EXPECT_EQ(ArchiveFixtures::Read(game + "PATCH_D2.BAK"), gameOwn);

    const struct { const char* project; const char* built; bool offered; } cases[] = {
        {"MODs/Test/Test.mod", "MODs/Test/Test.mpq", true},
        {"MODs/Test.v2/Test.v2.mod", "MODs/Test.v2/Test.v2.mpq", true},
        {"MODs/Armor/Armor.MOD", "MODs/Armor/Armor.mpq", true},
        {"MODs/My.Mods/Plain", "MODs/My.mpq", false}, // a dot in a folder name is no extension
        {"MODs/untitled/untitled.mod", "MODs/untitled/untitled.mpq", false},
    };
    for (const auto& c : cases) {
        const QString project = fixtures.Write(c.project, "Carvestone Project File Version 1.0\n");
        EXPECT_FALSE(ModInstaller::CanInstall(game, project)) << c.project << " before any build";
        const QString built = fixtures.Write(c.built, "MOD");
        EXPECT_EQ(ModInstaller::CanInstall(game, project), c.offered) << c.project;
        QFile::remove(built);
    }
}

using FullDiskTest = SmpqTest;

TEST_F(FullDiskTest, ExtractionInstallAndBuildThatRunOutOfRoomKeepTheFileTheyWouldReplace)
{
    const QByteArray old = QByteArray("what the modder had\r\n").repeated(10);
    std::unique_ptr<SmallDisk> disk;
    QString folder;
    const auto makeDisk = [&](const QString& name) {
        disk.reset();
        disk = std::make_unique<SmallDisk>(512);
        folder = disk->Path() + '/';
        return disk->IsReady() && fixtures.Write("old", old) != "" && QFile::copy(fixtures.Path("old"), folder + name);
    };
    // Below and above the 16 KB write buffer, and one whose last piece is below it; stored, to take their size on disk.
    const qsizetype sizes[] = {6000, 40000, 16384 * 2 + 100};
    QMap<QString, QByteArray> files;
    for (const qsizetype size : sizes)
        files.insert(QStringLiteral("data\\table%1.txt").arg(size), ArchiveFixtures::Pattern(size, int(size)));
    const QString game = fixtures.MakeGameArchive("game.mpq", files, {"-C", "none"});
    ASSERT_FALSE(game.isEmpty());
    MpqLibrary library;
    for (const qsizetype size : sizes) {
        SCOPED_TRACE(size);
        const QString table = QStringLiteral("table%1.txt").arg(size);
        if (!makeDisk(table))
            GTEST_SKIP() << disk->Why().toStdString();
        ASSERT_TRUE(disk->LeaveFree(size / 2));
        EXPECT_FALSE(library.ExtractFile(game, "data\\" + table, folder, true));
        EXPECT_EQ(ArchiveFixtures::Read(folder + table), old);
        EXPECT_EQ(ArchiveFixtures::FilesIn(folder).size(), 2) << "the table and the ballast, no temporary file";

        ASSERT_TRUE(makeDisk("patch_d2.mpq"));
        ASSERT_TRUE(disk->LeaveFree(old.size() + 8192 + size / 4)); // room for the backup, not for the MOD
        QString error;
        const QString modArchive = fixtures.Write("Mod.mpq", ArchiveFixtures::Pattern(size, 9));
        EXPECT_FALSE(ModInstaller::Install(modArchive, folder, error));
        EXPECT_EQ(ArchiveFixtures::Read(folder + "patch_d2.mpq"), old);
        EXPECT_TRUE(error.contains("Disk full while accessing " + QDir::toNativeSeparators(folder) + "patch_d2.mpq."))
            << error.toStdString();
    }

    ASSERT_TRUE(makeDisk("Weapons.mpq"));
    fixtures.Write("new", "new");
    ASSERT_TRUE(QFile::copy(fixtures.Path("new"), folder + "weapons.txt"));
    ASSERT_TRUE(disk->LeaveFree(QFileInfo(game).size() / 2));
    RecordingLog log;
    const ModBuilder::Request request{game, folder + "Weapons.mpq", folder, {"data\\weapons.txt"}, false, {}};
    EXPECT_EQ(ModBuilder::Build(library, request, log), BuildOutcome::NotRun);
    EXPECT_EQ(ArchiveFixtures::Read(request.archivePath), old);
    EXPECT_TRUE(log.text.contains("Disk full while accessing")) << log.text.toStdString();
    EXPECT_EQ(ArchiveFixtures::FilesIn(folder).size(), 3) << "the archive, the table and the ballast";
}
