#include "ArchiveFixtures.h"

#include "archive/ModBuilder.h"
#include "archive/MpqLibrary.h"

namespace {

class BuildTest : public SmpqTest
{
protected:
    void SetUp() override
    {
        SmpqTest::SetUp();
        if (IsSkipped())
            return;
        request.gameMpqPath = fixtures.MakeGameArchive(QStringLiteral("game/patch_d2.mpq"), {{Weapons, "old"}});
        ASSERT_FALSE(request.gameMpqPath.isEmpty());
        request.modFolder = fixtures.Path(QStringLiteral("Weapons"));
        request.archivePath = ModBuilder::ArchivePathFor(request.modFolder, QStringLiteral("Weapons.mod"));
    }

    // A game archive whose hash table smpq sized to its one file, and a MOD
    // of many more files than it has slots for.
    int UseTightGameArchive(int filesPerSlot)
    {
        request.gameMpqPath = fixtures.MakeGameArchive(QStringLiteral("game/tight.mpq"), {{Weapons, "old"}},
                                                       {QStringLiteral("-A")});
        const int slots = ArchiveFixtures::SmpqMaxFileCount(request.gameMpqPath);
        for (int i = 0; i < slots * filesPerSlot; ++i) {
            fixtures.Write(QStringLiteral("Weapons/file%1.txt").arg(i), QByteArray::number(i));
            request.entries << QStringLiteral("data\\file%1.txt").arg(i);
        }
        return slots;
    }

    const QString Weapons = QStringLiteral("data\\global\\excel\\weapons.txt");
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
    fixtures.Write(QStringLiteral("Weapons/weapons.txt"), "new");
    fixtures.Write(QStringLiteral("Weapons/font16.dc6"), "font");
    request.entries = {Weapons, QStringLiteral("data\\local\\font\\latin\\font16.dc6"), QStringLiteral("data\\..\\..")};
    RecordingLog first;
    ASSERT_EQ(ModBuilder::Build(library, request, first), BuildOutcome::SomeFailed);
    EXPECT_EQ(first.text, QStringLiteral("Adding data\\global\\excel\\weapons.txt succeeded\r\n"
                                         "Adding data\\local\\font\\latin\\font16.dc6 succeeded\r\n"
                                         "Adding data\\..\\.. failed\r\n"));
    EXPECT_EQ(first.appends, 9);
    EXPECT_TRUE(first.busyWhileLogging);
    EXPECT_FALSE(ArchiveBusy::IsBusy());
    EXPECT_FALSE(library.IsLoaded());
    EXPECT_EQ(fixtures.SmpqExtract(request.archivePath, Weapons), "new");

    request.entries = {QStringLiteral("data\\local\\font\\latin\\font16.dc6")};
    RecordingLog second;
    ASSERT_EQ(ModBuilder::Build(library, request, second), BuildOutcome::AllAdded);
    EXPECT_EQ(fixtures.SmpqExtract(request.archivePath, Weapons), "old");
    EXPECT_EQ(ArchiveFixtures::SmpqList(request.archivePath).size(), 2);
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
