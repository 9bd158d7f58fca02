#include "ArchiveFixtures.h"

#include "archive/ModBuilder.h"
#include "archive/MpqLibrary.h"

TEST(MpqLibraryTest, LoadsAreCountedSoANestedOperationNeverUnloadsTheOuterOne)
{
    ArchiveFixtures fixtures;
    MpqLibrary library;
    ASSERT_TRUE(library.Load());
    QStringList result;
    library.ReadListing(fixtures.Path(QStringLiteral("absent.mpq")),
                        fixtures.Write(QStringLiteral("AllFiles.txt"), "a.txt"), result, nullptr);
    EXPECT_TRUE(library.IsLoaded());
    ASSERT_TRUE(library.Load());
    library.Unload();
    EXPECT_TRUE(library.IsLoaded());
    library.Unload();
    EXPECT_FALSE(library.IsLoaded());
    library.Unload();   // one Unload too many changes nothing
    EXPECT_TRUE(library.Load());
    library.Unload();
    EXPECT_FALSE(library.IsLoaded());
}

TEST(MpqLibraryTest, TheProbeRunsOnceAndAnyMissingPieceMakesTheLibraryUnavailable)
{
    MpqLibrary library;
    EXPECT_TRUE(library.IsAvailable());
    EXPECT_FALSE(library.IsLoaded());
    for (const char* name : {"/nonexistent/libstorm.so.9", "libz.so.1"}) {
        SCOPED_TRACE(name);
        LibraryOverride other(name);
        EXPECT_TRUE(library.IsAvailable());   // answered from the first probe
        MpqLibrary fresh;
        EXPECT_FALSE(fresh.Load());
        EXPECT_FALSE(fresh.IsLoaded());
        EXPECT_FALSE(fresh.IsAvailable());
    }
}

TEST(MpqLibraryTest, WithoutTheLibraryEveryOperationFailsAndBuildSaysWhyAndWritesNothing)
{
    ArchiveFixtures fixtures;
    const QString game = fixtures.Write(QStringLiteral("game.mpq"), "not read");
    const QString previous = fixtures.Write(QStringLiteral("Mod/Mod.mpq"), "previous build");
    fixtures.Write(QStringLiteral("Mod/a.txt"), "a");
    LibraryOverride missing("/nonexistent/libstorm.so.9");
    MpqLibrary library;

    EXPECT_FALSE(ModBuilder::CanBuild(library, game, 1));
    QStringList result{QStringLiteral("old")};
    EXPECT_EQ(library.ReadListing(game, fixtures.Write(QStringLiteral("AllFiles.txt"), "a.txt"), result, nullptr), 0);
    EXPECT_TRUE(result.isEmpty());
    EXPECT_FALSE(library.ExtractFile(game, QStringLiteral("a.txt"), fixtures.Path(QStringLiteral("Mod")), true));

    const ModBuilder::Request request{game, previous, fixtures.Path(QStringLiteral("Mod")),
                                      {QStringLiteral("data\\a.txt")}, true};
    for (bool direct : {false, true}) {
        RecordingLog log;
        const BuildOutcome outcome = direct
            ? library.BuildArchive(previous, request.modFolder, request.entries, true, log)
            : ModBuilder::Build(library, request, log);
        EXPECT_EQ(outcome, BuildOutcome::NotRun);
        EXPECT_EQ(log.text, QStringLiteral("Cannot load the archive library /nonexistent/libstorm.so.9\r\n"));
    }
    EXPECT_EQ(ArchiveFixtures::Read(previous), "previous build");
    EXPECT_EQ(ArchiveFixtures::FilesIn(fixtures.Path(QStringLiteral("Mod"))).size(), 2);
}
