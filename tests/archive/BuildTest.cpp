#include "ArchiveFixtures.h"

#include "SmallDisk.h"
#include "archive/MpqLibrary.h"

namespace {

class BuildTest : public ModProjectTest
{
protected:
    // A game archive whose hash table smpq sized to its one file, and a MOD
    // of many more files than it has slots for.
    int UseTightGameArchive(int filesPerSlot)
    {
        request = Request();
        request.gameMpqPath = fixtures.MakeGameArchive(QStringLiteral("tight.mpq"), {{Weapons, "old"}},
                                                       {QStringLiteral("-A")});
        request.entries.clear();
        const int slots = ArchiveFixtures::SmpqMaxFileCount(request.gameMpqPath);
        for (int i = 0; i < slots * filesPerSlot; ++i) {
            fixtures.Write(QStringLiteral("Mods/Weapons/file%1.txt").arg(i), QByteArray::number(i));
            request.entries << QStringLiteral("data\\file%1.txt").arg(i);
        }
        return slots;
    }

    MpqLibrary library;
    ModBuilder::Request request;
    RecordingLog log;
};

// Points the system temp folder elsewhere for the life of the instance.
class TempFolderOverride
{
public:
    explicit TempFolderOverride(const QString& folder)
        : wasSet(qEnvironmentVariableIsSet("TMPDIR"))
        , previous(qgetenv("TMPDIR"))
    {
        qputenv("TMPDIR", QFile::encodeName(folder));
    }
    ~TempFolderOverride() { wasSet ? qputenv("TMPDIR", previous) : qunsetenv("TMPDIR"); }
    TempFolderOverride(const TempFolderOverride&) = delete;
    TempFolderOverride& operator=(const TempFolderOverride&) = delete;

private:
    bool wasSet;
    QByteArray previous;
};

// Notes, at every line of the log, what lies in a folder that should stay empty.
class WatchingLog : public RecordingLog
{
public:
    explicit WatchingLog(const QString& folder) : watched(folder) {}
    void AppendLog(const QString& piece) override
    {
        RecordingLog::AppendLog(piece);
        seen += ArchiveFixtures::FilesIn(watched);
    }
    const QString watched;
    QStringList seen;
};

} // namespace

TEST_F(BuildTest, ARebuildStartsFromAFreshCopyOfTheGameArchive)
{
    request = Request();
    request.entries << QStringLiteral("data\\..\\..");   // a name leaving the MOD folder
    ASSERT_EQ(ModBuilder::Build(library, request, log), BuildOutcome::SomeFailed);
    EXPECT_EQ(log.text, expectedLog + QStringLiteral("Adding data\\..\\.. failed\r\n"));
    EXPECT_TRUE(log.busy);
    EXPECT_FALSE(ArchiveBusy::IsBusy() || library.IsLoaded());
    EXPECT_EQ(fixtures.SmpqExtract(modArchive, Weapons), ModFile(Weapons));

    request.entries = {QStringLiteral("data\\global\\excel\\armor.txt")};
    ASSERT_EQ(ModBuilder::Build(library, request, log), BuildOutcome::AllAdded);
    EXPECT_EQ(fixtures.SmpqExtract(modArchive, Weapons), gameFiles.value(Weapons));
    EXPECT_EQ(ArchiveFixtures::SmpqList(modArchive).size(), 4);
}

TEST_F(BuildTest, AFullHashTableIsGrown)
{
    const int slots = UseTightGameArchive(3);
    ASSERT_GT(slots, 0);
    EXPECT_EQ(ModBuilder::Build(library, request, log), BuildOutcome::AllAdded);
    EXPECT_EQ(log.text.count(QStringLiteral(" succeeded\r\n")), slots * 3) << log.text.toStdString();
    EXPECT_EQ(fixtures.SmpqExtract(request.archivePath, request.entries.last()), QByteArray::number(slots * 3 - 1));
}

TEST_F(BuildTest, TheSystemTempFolderTakesNoPartEvenOnAnotherFileSystem)
{
    // Many machines keep /tmp on a file system of its own: a copy made
    // there could not be renamed into the MOD folder.
    SmallDisk otherFileSystem(64);
    QTemporaryDir sameFileSystem;
    WatchingLog watching(otherFileSystem.IsReady() ? otherFileSystem.Path() : sameFileSystem.path());
    const TempFolderOverride temp(watching.watched);
    request = Request();
    EXPECT_EQ(ModBuilder::Build(library, request, watching), BuildOutcome::AllAdded) << watching.text.toStdString();
    EXPECT_EQ(watching.seen.join(u' ').toStdString(), "") << "files in the temp folder during the build";
    EXPECT_EQ(ArchiveFixtures::FilesIn(watching.watched).join(u' ').toStdString(), "");
    EXPECT_EQ(ArchiveFixtures::FilesIn(modFolder).join(u' ').toStdString(),
              "Weapons.mod Weapons.mpq armor.txt panel.dc6 weapons.txt");
}
