#include "ArchiveFixtures.h"

#include "archive/ArchiveBusy.h"
#include "archive/BuildLog.h"
#include "archive/ModBuilder.h"
#include "archive/MpqLibrary.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

namespace {

class RecordingLog : public BuildLog
{
public:
    void AppendLog(const QString& text) override
    {
        text_ += text;
        ++appends;
        busyWhileLogging = busyWhileLogging && ArchiveBusy::IsBusy();
    }
    const QString& Text() const { return text_; }

    int appends = 0;
    bool busyWhileLogging = true;

private:
    QString text_;
};

class BuildTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!ArchiveFixtures::HasSmpq())
            GTEST_SKIP() << "smpq is not installed; it makes and reads the archives of these tests";
        game = fixtures.MakeGameArchive(QStringLiteral("game/patch_d2.mpq"), gameFiles);
        ASSERT_FALSE(game.isEmpty());
        modFolder = fixtures.Path(QStringLiteral("Weapons"));
        fixtures.Write(QStringLiteral("Weapons/weapons.txt"), newWeapons);
        fixtures.Write(QStringLiteral("Weapons/armor.txt"), armor);
        fixtures.Write(QStringLiteral("Weapons/font16.dc6"), font);
        request.gameMpqPath = game;
        request.archivePath = ModBuilder::ArchivePathFor(modFolder, QStringLiteral("Weapons.mod"));
        request.modFolder = modFolder;
        request.entries = {QStringLiteral("data\\global\\excel\\weapons.txt"),
                           QStringLiteral("data\\global\\excel\\armor.txt"),
                           QStringLiteral("data\\local\\font\\latin\\font16.dc6")};
    }

    void ExpectModArchiveHoldsGameAndEntries(const QString& archive)
    {
        QStringList names = ArchiveFixtures::SmpqList(archive);
        names.sort();
        QStringList expected = gameFiles.keys() + request.entries;
        expected.removeDuplicates();
        expected.sort();
        EXPECT_EQ(names, expected);
        EXPECT_EQ(fixtures.SmpqExtract(archive, QStringLiteral("data\\global\\excel\\misc.txt")),
                  gameFiles.value(QStringLiteral("data\\global\\excel\\misc.txt")));
        EXPECT_EQ(fixtures.SmpqExtract(archive, QStringLiteral("data\\global\\sfx\\hit.wav")),
                  gameFiles.value(QStringLiteral("data\\global\\sfx\\hit.wav")));
        EXPECT_EQ(fixtures.SmpqExtract(archive, request.entries[0]), newWeapons);
        EXPECT_EQ(fixtures.SmpqExtract(archive, request.entries[1]), armor);
        EXPECT_EQ(fixtures.SmpqExtract(archive, request.entries[2]), font);
    }

    const QMap<QString, QByteArray> gameFiles{
        {QStringLiteral("data\\global\\excel\\weapons.txt"), "name\tcode\r\nOld Sword\tosw\r\n"},
        {QStringLiteral("data\\global\\excel\\misc.txt"), ArchiveFixtures::Pattern(9000, 7)},
        {QStringLiteral("data\\global\\sfx\\hit.wav"), ArchiveFixtures::Pattern(20000, 8)}};
    const QByteArray newWeapons = ArchiveFixtures::Pattern(70000, 11);
    const QByteArray armor = "name\tcode\r\nTin Mail\ttin\r\n";
    const QByteArray font = ArchiveFixtures::Pattern(5000, 12);
    const QString expectedLog = QStringLiteral("Adding data\\global\\excel\\weapons.txt succeeded\r\n"
                                               "Adding data\\global\\excel\\armor.txt succeeded\r\n"
                                               "Adding data\\local\\font\\latin\\font16.dc6 succeeded\r\n");
    ArchiveFixtures fixtures;
    MpqLibrary library;
    QString game;
    QString modFolder;
    ModBuilder::Request request;
};

} // namespace

TEST(ModBuilderPathTest, TheArchiveIsNamedAfterTheTitleUpToItsLastDot)
{
    EXPECT_EQ(ModBuilder::ArchivePathFor(QStringLiteral("/m/W/"), QStringLiteral("My.Mod.mod")),
              QStringLiteral("/m/W/My.Mod.mpq"));
    EXPECT_EQ(ModBuilder::ArchivePathFor(QStringLiteral("/m/W"), QStringLiteral("W.mod")), QStringLiteral("/m/W/W.mpq"));
    EXPECT_TRUE(ModBuilder::ArchivePathFor(QStringLiteral("/m/W/"), QStringLiteral("Untitled")).isEmpty());
}

TEST_F(BuildTest, CompressedBuildHoldsTheGameFilesAndTheEntriesPackedAsTheGameWants)
{
    RecordingLog log;
    EXPECT_EQ(ModBuilder::Build(library, request, log), BuildOutcome::AllAdded);
    EXPECT_EQ(log.Text(), expectedLog);
    EXPECT_EQ(log.appends, 9);
    EXPECT_TRUE(log.busyWhileLogging);
    EXPECT_FALSE(library.IsLoaded());
    ExpectModArchiveHoldsGameAndEntries(request.archivePath);
    for (const QString& entry : request.entries) {
        const auto stored = ArchiveFixtures::StoredFileOf(request.archivePath, entry);
        ASSERT_TRUE(stored) << entry.toStdString();
        EXPECT_EQ(stored->flags & ArchiveFixtures::FlagCompress, ArchiveFixtures::FlagCompress);
        EXPECT_EQ(stored->flags & ArchiveFixtures::FlagEncrypted, ArchiveFixtures::FlagEncrypted);
    }
    EXPECT_LT(ArchiveFixtures::StoredFileOf(request.archivePath, request.entries[0])->compressedSize,
              quint32(newWeapons.size()));
    // Nothing but the archive itself is left beside the MOD's files.
    EXPECT_EQ(QDir(modFolder).entryList(QDir::Files | QDir::Hidden).size(), 4);
}

TEST_F(BuildTest, ARebuildStartsFromAFreshCopyOfTheGameArchive)
{
    RecordingLog first;
    ASSERT_EQ(ModBuilder::Build(library, request, first), BuildOutcome::AllAdded);
    request.entries = {QStringLiteral("data\\global\\excel\\armor.txt")};
    RecordingLog second;
    ASSERT_EQ(ModBuilder::Build(library, request, second), BuildOutcome::AllAdded);
    QStringList names = ArchiveFixtures::SmpqList(request.archivePath);
    EXPECT_FALSE(names.contains(QStringLiteral("data\\local\\font\\latin\\font16.dc6")));
    EXPECT_EQ(fixtures.SmpqExtract(request.archivePath, QStringLiteral("data\\global\\excel\\weapons.txt")),
              gameFiles.value(QStringLiteral("data\\global\\excel\\weapons.txt")));
}

TEST_F(BuildTest, AMissingFileFailsItsLineAndTheRestIsStillBuilt)
{
    QFile::remove(modFolder + QLatin1String("/armor.txt"));
    request.entries.insert(1, QStringLiteral("data\\..\\.."));
    RecordingLog log;
    EXPECT_EQ(ModBuilder::Build(library, request, log), BuildOutcome::SomeFailed);
    EXPECT_EQ(log.Text(), QStringLiteral("Adding data\\global\\excel\\weapons.txt succeeded\r\n"
                                         "Adding data\\..\\.. failed\r\n"
                                         "Adding data\\global\\excel\\armor.txt failed\r\n"
                                         "Adding data\\local\\font\\latin\\font16.dc6 succeeded\r\n"));
    EXPECT_EQ(fixtures.SmpqExtract(request.archivePath, request.entries[0]), newWeapons);
    EXPECT_EQ(fixtures.SmpqExtract(request.archivePath, request.entries[3]), font);
}

TEST_F(BuildTest, AGameArchiveThatCannotBeCopiedLeavesThePreviousModArchiveAlone)
{
    const QString previous = fixtures.Write(QStringLiteral("Weapons/Weapons.mpq"), "previous build");
    request.gameMpqPath = fixtures.Path(QStringLiteral("game/missing.mpq"));
    RecordingLog log;
    EXPECT_EQ(ModBuilder::Build(library, request, log), BuildOutcome::NotRun);
    EXPECT_TRUE(log.Text().startsWith(QStringLiteral("Cannot copy the game archive ") + request.gameMpqPath))
        << log.Text().toStdString();
    EXPECT_FALSE(log.Text().contains(QStringLiteral("Adding")));
    EXPECT_EQ(ArchiveFixtures::Read(previous), "previous build");
    EXPECT_EQ(QDir(modFolder).entryList(QDir::Files | QDir::Hidden).size(), 4);

    // A folder where the game archive should be fails the copy too.
    request.gameMpqPath = fixtures.Path(QStringLiteral("game"));
    RecordingLog folderLog;
    EXPECT_EQ(ModBuilder::Build(library, request, folderLog), BuildOutcome::NotRun);
    EXPECT_EQ(ArchiveFixtures::Read(previous), "previous build");
}

TEST_F(BuildTest, ADamagedGameArchiveIsNeverReplacedByAnArchiveOfTheModAlone)
{
    const QString previous = fixtures.Write(QStringLiteral("Weapons/Weapons.mpq"), "previous build");
    request.gameMpqPath = fixtures.Write(QStringLiteral("game/damaged.mpq"), ArchiveFixtures::Pattern(4096, 5));
    RecordingLog log;
    EXPECT_EQ(ModBuilder::Build(library, request, log), BuildOutcome::NotRun);
    EXPECT_TRUE(log.Text().startsWith(QStringLiteral("Cannot open or create the MOD archive ")));
    EXPECT_TRUE(log.Text().endsWith(QStringLiteral("The MOD archive ") + request.archivePath
                                    + QStringLiteral(" was left as it was\r\n")));
    EXPECT_EQ(ArchiveFixtures::Read(previous), "previous build");
    EXPECT_EQ(QDir(modFolder).entryList(QDir::Files | QDir::Hidden).size(), 4);
}

TEST_F(BuildTest, AFullHashTableIsGrown)
{
    // smpq sizes the hash table to the files it was given: four slots here.
    const QString tight = fixtures.MakeGameArchive(QStringLiteral("game/tight.mpq"),
                                                   {{QStringLiteral("a.txt"), "a"}}, {QStringLiteral("-A")});
    ASSERT_FALSE(tight.isEmpty());
    const int slots = ArchiveFixtures::SmpqMaxFileCount(tight);
    ASSERT_GT(slots, 0);
    request.gameMpqPath = tight;
    request.entries.clear();
    QString expected;
    for (int i = 0; i < slots * 3; ++i) {
        const QString name = QStringLiteral("file%1.txt").arg(i);
        fixtures.Write(QStringLiteral("Weapons/") + name, name.toLatin1());
        request.entries << QStringLiteral("data\\") + name;
        expected += QStringLiteral("Adding data\\%1 succeeded\r\n").arg(name);
    }
    RecordingLog log;
    EXPECT_EQ(ModBuilder::Build(library, request, log), BuildOutcome::AllAdded);
    EXPECT_EQ(log.Text(), expected);
    EXPECT_GT(ArchiveFixtures::SmpqMaxFileCount(request.archivePath), slots);
    EXPECT_EQ(fixtures.SmpqExtract(request.archivePath, request.entries.last()),
              ArchiveFixtures::Read(modFolder + QLatin1String("/file") + QString::number(slots * 3 - 1)
                                    + QLatin1String(".txt")));
}


#ifdef CARVESTONE_FULL_TABLE_STORM
TEST_F(BuildTest, AHashTableThatCannotGrowIsReportedAsAFullArchive)
{
    const QString tight = fixtures.MakeGameArchive(QStringLiteral("game/tight.mpq"),
                                                   {{QStringLiteral("a.txt"), "a"}}, {QStringLiteral("-A")});
    ASSERT_FALSE(tight.isEmpty());
    request.gameMpqPath = tight;
    request.entries.clear();
    for (int i = 0; i < ArchiveFixtures::SmpqMaxFileCount(tight) * 2; ++i) {
        fixtures.Write(QStringLiteral("Weapons/file%1.txt").arg(i), "x");
        request.entries << QStringLiteral("data\\file%1.txt").arg(i);
    }
    qputenv("CARVESTONE_MPQ_LIBRARY", CARVESTONE_FULL_TABLE_STORM);
    RecordingLog log;
    const BuildOutcome outcome = ModBuilder::Build(library, request, log);
    qunsetenv("CARVESTONE_MPQ_LIBRARY");

    EXPECT_EQ(outcome, BuildOutcome::SomeFailed) << log.Text().toStdString();
    const QString full = QStringLiteral("The MOD archive is full: no more files can be added to it\r\n");
    EXPECT_EQ(log.Text().count(full), 1);
    const QString afterFull = log.Text().mid(log.Text().indexOf(full));
    EXPECT_FALSE(afterFull.contains(QStringLiteral("succeeded")));
    EXPECT_TRUE(log.Text().startsWith(QStringLiteral("Adding data\\file0.txt succeeded\r\n")));
    // What fitted was written.
    EXPECT_EQ(fixtures.SmpqExtract(request.archivePath, QStringLiteral("data\\file0.txt")), "x");
}
#endif
