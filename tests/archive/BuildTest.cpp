#include "ArchiveFixtures.h"

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
