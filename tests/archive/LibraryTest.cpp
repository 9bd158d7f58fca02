#include "ArchiveFixtures.h"

#include "archive/BuildLog.h"
#include "archive/ModBuilder.h"
#include "archive/MpqLibrary.h"

#include <gtest/gtest.h>

#include <QDir>

namespace {

class StringLog : public BuildLog
{
public:
    void AppendLog(const QString& text) override { log += text; }
    QString log;
};

// Points the binding at another library for the life of the instance.
class LibraryOverride
{
public:
    explicit LibraryOverride(const QByteArray& name) { qputenv("CARVESTONE_MPQ_LIBRARY", name); }
    ~LibraryOverride() { qunsetenv("CARVESTONE_MPQ_LIBRARY"); }
};

} // namespace

TEST(MpqLibraryTest, LoadsAreCountedSoANestedOperationNeverUnloadsTheOuterOne)
{
    MpqLibrary library;
    ASSERT_TRUE(library.Load());
    ASSERT_TRUE(library.Load());
    library.Unload();
    EXPECT_TRUE(library.IsLoaded());
    library.Unload();
    EXPECT_FALSE(library.IsLoaded());
    library.Unload();   // one Unload too many changes nothing
    EXPECT_FALSE(library.IsLoaded());
    EXPECT_TRUE(library.Load());
    library.Unload();
}

TEST(MpqLibraryTest, AnOperationInsideAnotherKeepsTheLibraryLoaded)
{
    ArchiveFixtures fixtures;
    MpqLibrary library;
    ASSERT_TRUE(library.Load());
    QStringList result;
    library.ReadListing(fixtures.Path(QStringLiteral("absent.mpq")),
                        fixtures.Write(QStringLiteral("AllFiles.txt"), "a.txt"), result, nullptr);
    EXPECT_TRUE(library.IsLoaded());
    library.Unload();
    EXPECT_FALSE(library.IsLoaded());
}

TEST(MpqLibraryTest, TheProbeRunsOnceAndLeavesTheLibraryUnloaded)
{
    MpqLibrary library;
    EXPECT_TRUE(library.IsAvailable());
    EXPECT_FALSE(library.IsLoaded());
    {
        LibraryOverride missing("/nonexistent/libstorm.so.9");
        EXPECT_TRUE(library.IsAvailable());   // answered from the first probe
        MpqLibrary other;
        EXPECT_FALSE(other.IsAvailable());
    }
}

TEST(MpqLibraryTest, ALibraryWithoutTheEntryPointsCountsAsMissing)
{
    LibraryOverride wrong("libz.so.1");
    MpqLibrary library;
    EXPECT_FALSE(library.Load());
    EXPECT_FALSE(library.IsLoaded());
    EXPECT_FALSE(library.IsAvailable());
}

TEST(MpqLibraryTest, WithoutTheLibraryEveryOperationFailsAndBuildWritesNothing)
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

    StringLog log;
    const ModBuilder::Request request{game, previous, fixtures.Path(QStringLiteral("Mod")),
                                      {QStringLiteral("data\\a.txt")}, true};
    EXPECT_EQ(ModBuilder::Build(library, request, log), BuildOutcome::NotRun);
    EXPECT_EQ(log.log, QStringLiteral("Cannot load the archive library /nonexistent/libstorm.so.9\r\n"));
    EXPECT_EQ(ArchiveFixtures::Read(previous), "previous build");
    EXPECT_EQ(QDir(fixtures.Path(QStringLiteral("Mod"))).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

