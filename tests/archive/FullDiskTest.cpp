#include "ArchiveFixtures.h"
#include "SmallDisk.h"

#include "archive/ModInstaller.h"
#include "archive/MpqLibrary.h"

#include <QDir>

namespace {

// Below and above the 16 KB write buffer, and one whose last piece is below it.
const qsizetype Sizes[] = {6000, 40000, 16384 * 2 + 100};

// Each case gets a fresh nearly-full disk holding what the modder had in `name`.
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
    bool MakeDisk(const QString& name)
    {
        disk.reset();
        disk = std::make_unique<SmallDisk>(512);
        if (!disk->IsReady())
            return false;
        folder = disk->Path() + QLatin1Char('/');
        QFile file(folder + name);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(old) == old.size());
        return true;
    }
    QStringList Left() const { return ArchiveFixtures::FilesIn(folder); }

    const QByteArray old = QByteArray("what the modder had\r\n").repeated(10);
    QString game, folder;
    std::unique_ptr<SmallDisk> disk;
    MpqLibrary library;
};

} // namespace

TEST_F(FullDiskTest, ExtractionAndInstallThatRunOutOfRoomKeepTheFileTheyWouldReplace)
{
    for (const qsizetype size : Sizes) {
        SCOPED_TRACE(size);
        const QString table = QStringLiteral("table%1.txt").arg(size);
        if (!MakeDisk(table))
            GTEST_SKIP() << disk->Why().toStdString();
        ASSERT_TRUE(disk->LeaveFree(size / 2));
        EXPECT_FALSE(library.ExtractFile(game, QStringLiteral("data\\") + table, folder, true));
        EXPECT_EQ(ArchiveFixtures::Read(folder + table), old);
        EXPECT_EQ(Left().size(), 2) << "the table and the ballast, no temporary file";

        ASSERT_TRUE(MakeDisk(QStringLiteral("patch_d2.mpq")));
        // Room for the backup of the game's patch, not for the MOD.
        ASSERT_TRUE(disk->LeaveFree(old.size() + 8192 + size / 4));
        QString error;
        EXPECT_FALSE(ModInstaller::Install(fixtures.Write(QStringLiteral("Mod.mpq"), ArchiveFixtures::Pattern(size, 9)),
                                           folder, error));
        EXPECT_EQ(ArchiveFixtures::Read(folder + QLatin1String("patch_d2.mpq")), old);
        EXPECT_TRUE(error.contains(QStringLiteral("Disk full while accessing %1.")
                                       .arg(QDir::toNativeSeparators(folder + QLatin1String("patch_d2.mpq")))))
            << error.toStdString();
    }
}

TEST_F(FullDiskTest, ABuildThatRunsOutOfRoomLeavesThePreviousModArchive)
{
    if (!MakeDisk(QStringLiteral("Weapons.mpq")))
        GTEST_SKIP() << disk->Why().toStdString();
    QFile table(folder + QStringLiteral("weapons.txt"));
    ASSERT_TRUE(table.open(QIODevice::WriteOnly) && table.write("new") == 3);
    table.close();
    ASSERT_TRUE(disk->LeaveFree(QFileInfo(game).size() / 2));
    RecordingLog log;
    const ModBuilder::Request request{game, folder + QStringLiteral("Weapons.mpq"), folder,
                                      {QStringLiteral("data\\weapons.txt")}, false, {}};
    EXPECT_EQ(ModBuilder::Build(library, request, log), BuildOutcome::NotRun);
    EXPECT_EQ(ArchiveFixtures::Read(request.archivePath), old);
    EXPECT_TRUE(log.text.contains(QStringLiteral("Disk full while accessing"))) << log.text.toStdString();
    EXPECT_EQ(Left().size(), 3) << "the archive, the table and the ballast";
}
