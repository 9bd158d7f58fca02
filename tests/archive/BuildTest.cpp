#include "ArchiveFixtures.h"
#include "FakeChild.h"
#include "SmallDisk.h"

#include "archive/MpqLibrary.h"
#include "project/ProjectEntry.h"

#include <QFile>

namespace {

class BuildTest : public ModProjectTest
{
protected:
    void SetUp() override
    {
        ModProjectTest::SetUp();
        request = Request();
    }
    MpqLibrary library;
    ModBuilder::Request request;
    RecordingLog log;
};

// Points the system temp folder elsewhere for the life of the instance.
class TempFolderOverride
{
public:
    explicit TempFolderOverride(const QString& folder) { qputenv("TMPDIR", QFile::encodeName(folder)); }
    ~TempFolderOverride() { wasSet ? qputenv("TMPDIR", previous) : qunsetenv("TMPDIR"); }
    TempFolderOverride(const TempFolderOverride&) = delete;
    TempFolderOverride& operator=(const TempFolderOverride&) = delete;

private:
    const bool wasSet = qEnvironmentVariableIsSet("TMPDIR");
    const QByteArray previous = qgetenv("TMPDIR");
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

TEST_F(BuildTest, EachFailedEntryIsFollowedByItsCauseAndARebuildStartsFromAFreshGameArchive)
{
    QFile::remove(modFolder + QLatin1String("armor.txt"));
    request.entries << QStringLiteral("data\\") << QStringLiteral("data\\..\\..");   // the last leaves the MOD folder
    ASSERT_EQ(ModBuilder::Build(library, request, log), BuildOutcome::SomeFailed);
    EXPECT_EQ(log.text, QStringLiteral("Adding data\\global\\excel\\weapons.txt succeeded\r\n"
                                       "Adding data\\global\\excel\\armor.txt failed\r\n"
                                       "    armor.txt is not in the MOD folder\r\n"
                                       "Adding data\\global\\ui\\panel.dc6 succeeded\r\n"
                                       "Adding data\\ failed\r\n"
                                       "    the entry names a folder, not a file\r\n"
                                       "Adding data\\..\\.. failed\r\n"
                                       "    .. is not a plain file name\r\n"));
    EXPECT_TRUE(log.busy);
    EXPECT_FALSE(ArchiveBusy::IsBusy() || library.IsLoaded());
    EXPECT_EQ(fixtures.SmpqExtract(modArchive, Weapons), ModFile(Weapons));

    request.entries = {QStringLiteral("data\\global\\ui\\panel.dc6")};
    ASSERT_EQ(ModBuilder::Build(library, request, log), BuildOutcome::AllAdded);
    EXPECT_EQ(fixtures.SmpqExtract(modArchive, Weapons), gameFiles.value(Weapons));
    EXPECT_EQ(ArchiveFixtures::SmpqList(modArchive).size(), 4);
}

TEST_F(BuildTest, AGameArchiveThatKeepsNoNamesHasItsTablesReplacedAndItsFullHashTableGrown)
{
    // The game's patch archives keep no "(listfile)": StormLib then knows no
    // name of the files the MOD replaces, unless the listing file tells it.
    const QStringList tables{QStringLiteral("data\\global\\excel\\armor.txt"), QStringLiteral("data\\global\\excel\\misc.txt"),
                             QStringLiteral("data\\global\\excel\\weapons.txt")};
    QMap<QString, QByteArray> game;
    for (const QString& table : tables)
        game.insert(table, "old " + table.toLatin1());
    // smpq sizes the hash table to the files; the MOD brings twice as many more.
    request.gameMpqPath = fixtures.MakeGameArchive(QStringLiteral("nameless.mpq"), game, {QStringLiteral("-A")});
    const int slots = ArchiveFixtures::SmpqMaxFileCount(request.gameMpqPath);
    ASSERT_GT(slots, 0);
    qint64 listStart = 32;
    for (auto it = game.begin(); it != game.end(); ++it)
        listStart += fixtures.SmpqPacked(it.key(), it.value()).size();
    ASSERT_TRUE(ArchiveFixtures::WipeListFile(request.gameMpqPath, listStart));
    ASSERT_FALSE(ArchiveFixtures::SmpqList(request.gameMpqPath).contains(tables.first())) << "no names are kept";
    request.listingPath = fixtures.Write(QStringLiteral("AllFiles.txt"), tables.join(QLatin1String("\r\n")).toLatin1());
    request.entries = tables;
    for (const QString& table : tables)
        fixtures.Write(QStringLiteral("Mods/Weapons/") + ProjectEntry::NamePart(table), "new " + table.toLatin1());
    for (int i = 0; i < slots * 2; ++i) {
        fixtures.Write(QStringLiteral("Mods/Weapons/file%1.txt").arg(i), QByteArray::number(i));
        request.entries << QStringLiteral("data\\file%1.txt").arg(i);
    }
    const auto expectBuilt = [&] {
        for (const QString& table : tables)
            EXPECT_EQ(fixtures.SmpqExtract(request.archivePath, table), "new " + table.toLatin1());
        EXPECT_EQ(fixtures.SmpqExtract(request.archivePath, request.entries.last()), QByteArray::number(slots * 2 - 1));
    };

    EXPECT_EQ(ModBuilder::Build(library, request, log), BuildOutcome::AllAdded) << log.text.toStdString();
    EXPECT_EQ(log.text.count(QStringLiteral(" succeeded\r\n")), slots * 2 + 3);
    expectBuilt();
    // The window builds in a child process, which must be told the names too.
    QFile::remove(request.archivePath);
    ArchiveJob job(BinFolder());
    job.StartBuild(request);
    ASSERT_TRUE(RunToEnd(job));
    EXPECT_EQ(job.GetResult(), ArchiveJob::Result::Succeeded) << job.Message().toStdString();
    expectBuilt();
}

TEST_F(BuildTest, TheSystemTempFolderTakesNoPartEvenOnAnotherFileSystem)
{
    // Many machines keep /tmp on a file system of its own: a copy made
    // there could not be renamed into the MOD folder.
    SmallDisk otherFileSystem(64);
    QTemporaryDir sameFileSystem;
    WatchingLog watching(otherFileSystem.IsReady() ? otherFileSystem.Path() : sameFileSystem.path());
    const TempFolderOverride temp(watching.watched);
    EXPECT_EQ(ModBuilder::Build(library, request, watching), BuildOutcome::AllAdded) << watching.text.toStdString();
    EXPECT_EQ(watching.seen.join(u' ').toStdString(), "") << "files in the temp folder during the build";
    EXPECT_EQ(ArchiveFixtures::FilesIn(watching.watched).join(u' ').toStdString(), "");
    EXPECT_EQ(ArchiveFixtures::FilesIn(modFolder).join(u' ').toStdString(),
              "Weapons.mod Weapons.mpq armor.txt panel.dc6 weapons.txt");
}
