#include "ArchiveFixtures.h"
#include "SmallDisk.h"

#include "archive/ModInstaller.h"
#include "archive/MpqLibrary.h"

#include <QDir>

namespace {

// Below and above the 16 KB write buffer, and one whose last piece is below it.
const qsizetype Sizes[] = {6000, 40000, 16384 * 2 + 100};

class FullDiskTest : public SmpqTest
{
protected:
    void SetUp() override
    {
        SmpqTest::SetUp();
        if (IsSkipped())
            return;
        QMap<QString, QByteArray> files;
        for (const qsizetype size : Sizes)
            files.insert(QStringLiteral("data\\table%1.txt").arg(size), ArchiveFixtures::Pattern(size, int(size)));
        // Stored, not packed, so that each file takes its own size on disk.
        game = fixtures.MakeGameArchive(QStringLiteral("game.mpq"), files, {QStringLiteral("-C"), QStringLiteral("none")});
        ASSERT_FALSE(game.isEmpty());
    }
    // A fresh small disk for each case; null where none can be mounted.
    std::unique_ptr<SmallDisk> Disk()
    {
        auto disk = std::make_unique<SmallDisk>(512);
        return disk->IsReady() ? std::move(disk) : nullptr;
    }
    static int FileCount(const QString& folder) { return int(ArchiveFixtures::FilesIn(folder).size()); }

    const QByteArray old = QByteArray("what the modder had\r\n").repeated(10);
    QString game;
    MpqLibrary library;
};

} // namespace

TEST_F(FullDiskTest, AnExtractionThatRunsOutOfRoomKeepsTheTableItWouldReplace)
{
    for (const qsizetype size : Sizes) {
        SCOPED_TRACE(size);
        const auto disk = Disk();
        if (!disk)
            GTEST_SKIP() << SmallDisk(512).Why().toStdString();
        const QString table = disk->Path() + QStringLiteral("/table%1.txt").arg(size);
        QFile file(table);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(old) == old.size());
        file.close();
        ASSERT_TRUE(disk->LeaveFree(size / 2));
        EXPECT_FALSE(library.ExtractFile(game, QStringLiteral("data\\table%1.txt").arg(size), disk->Path(), true));
        EXPECT_EQ(ArchiveFixtures::Read(table), old);
        EXPECT_EQ(FileCount(disk->Path()), 2) << "the table and the ballast, no temporary file";
    }
}

TEST_F(FullDiskTest, AnInstallThatDoesNotFitKeepsTheGamesPatchAndSaysWhy)
{
    for (const qsizetype size : Sizes) {
        SCOPED_TRACE(size);
        const auto disk = Disk();
        if (!disk)
            GTEST_SKIP() << SmallDisk(512).Why().toStdString();
        const QString patch = disk->Path() + QStringLiteral("/patch_d2.mpq");
        const QString modArchive = fixtures.Write(QStringLiteral("Mod.mpq"), ArchiveFixtures::Pattern(size, 9));
        QFile file(patch);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(old) == old.size());
        file.close();
        // Room for the backup of the game's patch, not for the MOD.
        ASSERT_TRUE(disk->LeaveFree(old.size() + 8192 + size / 4));
        QString error;
        EXPECT_FALSE(ModInstaller::Install(modArchive, disk->Path(), error));
        EXPECT_EQ(ArchiveFixtures::Read(patch), old);
        EXPECT_TRUE(error.contains(QStringLiteral("Disk full while accessing %1.").arg(QDir::toNativeSeparators(patch))))
            << error.toStdString();
    }
}

TEST_F(FullDiskTest, ABuildThatRunsOutOfRoomLeavesThePreviousModArchive)
{
    const auto disk = Disk();
    if (!disk)
        GTEST_SKIP() << SmallDisk(512).Why().toStdString();
    const QString modFolder = disk->Path() + QLatin1Char('/');
    const QString modArchive = modFolder + QStringLiteral("Weapons.mpq");
    QFile previous(modArchive);
    ASSERT_TRUE(previous.open(QIODevice::WriteOnly) && previous.write(old) == old.size());
    previous.close();
    QFile table(modFolder + QStringLiteral("weapons.txt"));
    ASSERT_TRUE(table.open(QIODevice::WriteOnly) && table.write("new") == 3);
    table.close();
    ASSERT_TRUE(disk->LeaveFree(QFileInfo(game).size() / 2));
    RecordingLog log;
    const ModBuilder::Request request{game, modArchive, modFolder, {QStringLiteral("data\\weapons.txt")}, false, {}};
    EXPECT_EQ(ModBuilder::Build(library, request, log), BuildOutcome::NotRun);
    EXPECT_EQ(ArchiveFixtures::Read(modArchive), old);
    EXPECT_TRUE(log.text.contains(QStringLiteral("Disk full while accessing"))) << log.text.toStdString();
    EXPECT_EQ(FileCount(disk->Path()), 3) << "the archive, the table and the ballast";
}

TEST_F(FullDiskTest, InstallOffersOnlyTheArchiveBuildWrites)
{
    // Folders with a "." and project files without one, or in odd case.
    for (const QString& name : {QStringLiteral("Mods.v2/Weapons/Weapons"), QStringLiteral("Mods.v2/Armor/Armor.MOD"),
                                QStringLiteral("Mods/Rings/Rings.mod")}) {
        SCOPED_TRACE(name.toStdString());
        const QString project = fixtures.Write(name, "Carvestone Project File Version 1.0\n");
        const QFileInfo info(project);
        fixtures.Write(QStringLiteral("Mods.v2/Weapons.mpq"), "not built by Build");
        const QString built = ModBuilder::ArchivePathFor(info.absolutePath(), info.fileName());
        EXPECT_EQ(ModBuilder::ArchivePathForProject(project), built);
        EXPECT_FALSE(ModInstaller::CanInstall(fixtures.Path(QStringLiteral("game/")), project));
        if (built.isEmpty())
            continue;
        fixtures.Write(QDir(fixtures.Path({})).relativeFilePath(built), "built");
        EXPECT_TRUE(ModInstaller::CanInstall(fixtures.Path(QStringLiteral("game/")), project));
    }
}
