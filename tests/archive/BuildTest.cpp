#include "ArchiveFixtures.h"

#include "archive/ModBuilder.h"
#include "archive/MpqLibrary.h"

namespace {

class BuildTest : public ModProjectTest
{
protected:
    void SetUp() override
    {
        ModProjectTest::SetUp();
        request = Request();
    }

    // A game archive whose hash table smpq sized to its one file, and a MOD
    // of many more files than it has slots for.
    int UseTightGameArchive(int filesPerSlot)
    {
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
};

} // namespace

TEST(ModBuilderPathTest, TheArchiveIsNamedAfterTheTitleUpToItsLastDot)
{
    EXPECT_EQ(ModBuilder::ArchivePathFor(QStringLiteral("/m/W/"), QStringLiteral("My.Mod.mod")),
              QStringLiteral("/m/W/My.Mod.mpq"));
    EXPECT_EQ(ModBuilder::ArchivePathFor(QStringLiteral("/m/W"), QStringLiteral("W.mod")), QStringLiteral("/m/W/W.mpq"));
    EXPECT_TRUE(ModBuilder::ArchivePathFor(QStringLiteral("/m/W/"), QStringLiteral("Untitled")).isEmpty());
}

TEST_F(BuildTest, ARebuildStartsFromAFreshCopyOfTheGameArchive)
{
    request.entries << QStringLiteral("data\\..\\..");
    RecordingLog first;
    ASSERT_EQ(ModBuilder::Build(library, request, first), BuildOutcome::SomeFailed);
    EXPECT_EQ(first.text, expectedLog + QStringLiteral("Adding data\\..\\.. failed\r\n"));
    EXPECT_EQ(first.appends, 12);
    EXPECT_TRUE(first.busyWhileLogging);
    EXPECT_FALSE(ArchiveBusy::IsBusy());
    EXPECT_FALSE(library.IsLoaded());
    EXPECT_EQ(fixtures.SmpqExtract(modArchive, Weapons), modFiles.value(QStringLiteral("weapons.txt")));

    request.entries = {QStringLiteral("data\\global\\excel\\armor.txt")};
    RecordingLog second;
    ASSERT_EQ(ModBuilder::Build(library, request, second), BuildOutcome::AllAdded);
    EXPECT_EQ(fixtures.SmpqExtract(modArchive, Weapons), gameFiles.value(Weapons));
    EXPECT_EQ(ArchiveFixtures::SmpqList(modArchive).size(), 4);
}

TEST_F(BuildTest, AFullHashTableIsGrown)
{
    const int slots = UseTightGameArchive(3);
    ASSERT_GT(slots, 0);
    RecordingLog log;
    EXPECT_EQ(ModBuilder::Build(library, request, log), BuildOutcome::AllAdded);
    EXPECT_EQ(log.text.count(QStringLiteral(" succeeded\r\n")), slots * 3) << log.text.toStdString();
    EXPECT_GT(ArchiveFixtures::SmpqMaxFileCount(request.archivePath), slots);
    EXPECT_EQ(fixtures.SmpqExtract(request.archivePath, request.entries.last()), QByteArray::number(slots * 3 - 1));
}

#ifdef CARVESTONE_FULL_TABLE_STORM
TEST_F(BuildTest, AHashTableThatCannotGrowIsReportedAsAFullArchive)
{
    ASSERT_GT(UseTightGameArchive(2), 0);
    RecordingLog log;
    BuildOutcome outcome;
    {
        LibraryOverride fullTable(CARVESTONE_FULL_TABLE_STORM);
        outcome = ModBuilder::Build(library, request, log);
    }
    EXPECT_EQ(outcome, BuildOutcome::SomeFailed) << log.text.toStdString();
    const QString full = QStringLiteral("The MOD archive is full: no more files can be added to it\r\n");
    EXPECT_EQ(log.text.count(full), 1);
    EXPECT_TRUE(log.text.startsWith(QStringLiteral("Adding data\\file0.txt succeeded\r\n")));
    EXPECT_FALSE(log.text.mid(log.text.indexOf(full)).contains(QStringLiteral("succeeded")));
    // What fitted was written.
    EXPECT_EQ(fixtures.SmpqExtract(request.archivePath, QStringLiteral("data\\file0.txt")), "0");
}
#endif
