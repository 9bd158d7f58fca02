#include "ArchiveFixtures.h"

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
