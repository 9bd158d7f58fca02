#include "ArchiveFixtures.h"

#include "archive/MpqLibrary.h"

TEST(MpqLibraryTest, LoadsAreCountedAndTheProbeRunsOnce)
{
    ArchiveFixtures fixtures;
    MpqLibrary library;
    ASSERT_TRUE(library.Load());
    QStringList result;
    const QString listing = fixtures.Write(QStringLiteral("A.txt"), "a");
    // A nested operation never unloads under the outer one.
    library.ReadListing(fixtures.Path(QStringLiteral("absent.mpq")), listing, result, nullptr);
    EXPECT_TRUE(library.IsLoaded());
    library.Unload();
    library.Unload();   // one Unload too many changes nothing
    EXPECT_TRUE(library.Load());
    library.Unload();
    EXPECT_FALSE(library.IsLoaded());
    EXPECT_TRUE(library.IsAvailable());
    for (const char* name : {"/nonexistent/libstorm.so.9", "libz.so.1"}) {   // no library; no entry points
        SCOPED_TRACE(name);
        LibraryOverride other(name);
        EXPECT_TRUE(library.IsAvailable());   // answered from the first probe
        MpqLibrary fresh;
        EXPECT_FALSE(fresh.Load() || fresh.IsLoaded() || fresh.IsAvailable());
    }
}
