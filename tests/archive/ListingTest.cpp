#include "ArchiveFixtures.h"

#include "archive/ArchiveBusy.h"
#include "archive/ListingLineReader.h"
#include "archive/ListingProgress.h"
#include "archive/MpqLibrary.h"

#include <gtest/gtest.h>

#include <QList>
#include <QPair>

namespace {

struct ReaderLine
{
    QByteArray text;
    qsizetype next;
    bool candidate;
};

QList<ReaderLine> ReadAll(const QByteArray& text)
{
    QList<ReaderLine> lines;
    ListingLineReader reader(text);
    while (reader.Next())
        lines.append({reader.Line().toByteArray(), reader.NextLineStart(), reader.IsCandidate()});
    return lines;
}

class RecordingProgress : public ListingProgress
{
public:
    void SetRange(int minimum, int maximum) override { range = {minimum, maximum}; }
    void SetPosition(int position) override { positions.append(position); }
    void ProcessEvents() override
    {
        ++pumps;
        busyWhilePumping = busyWhilePumping && ArchiveBusy::IsBusy();
    }

    QPair<int, int> range{-1, -1};
    QList<int> positions;
    int pumps = 0;
    bool busyWhilePumping = true;
};

class ListingTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!ArchiveFixtures::HasSmpq())
            GTEST_SKIP() << "smpq is not installed; it makes the archives these tests read";
        archive = fixtures.MakeGameArchive(QStringLiteral("game.mpq"),
                                           {{QStringLiteral("data\\global\\excel\\weapons.txt"), "w"},
                                            {QStringLiteral("data\\global\\excel\\armor.txt"), "a"},
                                            {QStringLiteral("(odd).txt"), "o"},
                                            {QStringLiteral("spaced.txt "), "s"},
                                            {QStringLiteral("last.txt"), "l"}});
        ASSERT_FALSE(archive.isEmpty());
    }

    ArchiveFixtures fixtures;
    MpqLibrary library;
    QString archive;
};

} // namespace

TEST(ListingLineReaderTest, EveryKindOfLineEndSeparatesAlikeAndBlankLinesVanish)
{
    const QList<ReaderLine> lines = ReadAll("a\r\nb\nc\rd\r\n\r\n\n\re");
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines[0].text, "a");
    EXPECT_EQ(lines[0].next, 3);
    EXPECT_EQ(lines[1].text, "b");
    EXPECT_EQ(lines[2].text, "c");
    EXPECT_EQ(lines[3].text, "d");
    EXPECT_EQ(lines[3].next, 14);
    EXPECT_EQ(lines[4].text, "e");
    EXPECT_EQ(lines[4].next, 15);
}

TEST_F(ListingTest, FindsExactlyTheCandidatesTheArchiveHoldsInListingOrder)
{
    const QByteArray listing = "data\\global\\excel\\armor.txt\r\n"
                               "missing.txt\n"
                               "\n\n"
                               "(odd).txt\r"
                               ";last.txt\r\n"
                               "spaced.txt \n"
                               "spaced.txt\n"
                               "data\\global\\excel\\weapons.txt\r\n"
                               "data\\global\\excel\\armor.txt\n"
                               "last.txt";
    const QString listingPath = fixtures.Write(QStringLiteral("AllFiles.txt"), listing);
    QStringList result{QStringLiteral("stale")};
    RecordingProgress progress;

    EXPECT_EQ(library.ReadListing(archive, listingPath, result, &progress), 5);

    EXPECT_EQ(result, (QStringList{QStringLiteral("data\\global\\excel\\armor.txt"), QStringLiteral("spaced.txt "),
                                   QStringLiteral("data\\global\\excel\\weapons.txt"),
                                   QStringLiteral("data\\global\\excel\\armor.txt"), QStringLiteral("last.txt")}));
    EXPECT_EQ(progress.range, qMakePair(0, int(listing.size())));
    ASSERT_EQ(progress.positions.size(), 9);
    EXPECT_EQ(progress.positions.first(), 29);
    EXPECT_EQ(progress.positions[1], 43);   // after "missing.txt" and the blank lines
    EXPECT_EQ(progress.positions.last(), int(listing.size()));
    EXPECT_EQ(progress.pumps, 9);
    EXPECT_TRUE(progress.busyWhilePumping);
    EXPECT_FALSE(ArchiveBusy::IsBusy());
    EXPECT_FALSE(library.IsLoaded());
}

TEST_F(ListingTest, SecondListingOfThePathComesFromTheCacheAndCaseMakesAnotherPath)
{
    const QString listingPath = fixtures.Write(QStringLiteral("AllFiles.txt"), "last.txt\n");
    QStringList first;
    ASSERT_EQ(library.ReadListing(archive, listingPath, first, nullptr), 1);

    fixtures.Write(QStringLiteral("AllFiles.txt"), "last.txt\n(odd).txt\ndata\\global\\excel\\armor.txt\n");
    RecordingProgress progress;
    QStringList second;
    EXPECT_EQ(library.ReadListing(archive, listingPath, second, &progress), 1);
    EXPECT_EQ(second, first);
    EXPECT_TRUE(progress.positions.isEmpty());

    // The same archive under a path spelled otherwise is read afresh.
    const QString otherSpelling = fixtures.Path(QStringLiteral("./game.mpq"));
    QStringList third;
    EXPECT_EQ(library.ReadListing(otherSpelling, listingPath, third, nullptr), 2);
    ASSERT_NE(library.ListingCache().Find(otherSpelling), nullptr);
}

TEST_F(ListingTest, MissingPathsLeaveTheResultAloneAndFailuresCacheNothing)
{
    const QString listingPath = fixtures.Write(QStringLiteral("AllFiles.txt"), "last.txt\n");
    QStringList result{QStringLiteral("kept")};
    EXPECT_EQ(library.ReadListing(QString(), listingPath, result, nullptr), 1);
    EXPECT_EQ(library.ReadListing(archive, QString(), result, nullptr), 1);
    EXPECT_EQ(result, QStringList{QStringLiteral("kept")});

    EXPECT_EQ(library.ReadListing(archive, fixtures.Path(QStringLiteral("none.txt")), result, nullptr), 0);
    EXPECT_TRUE(result.isEmpty());
    EXPECT_EQ(library.ListingCache().Find(archive), nullptr);

    const QString absent = fixtures.Path(QStringLiteral("absent.mpq"));
    EXPECT_EQ(library.ReadListing(absent, listingPath, result, nullptr), 0);
    EXPECT_EQ(library.ListingCache().Find(absent), nullptr);
    EXPECT_FALSE(library.IsLoaded());
}

TEST_F(ListingTest, AListingThatMatchesNothingIsCachedEmpty)
{
    const QString listingPath = fixtures.Write(QStringLiteral("AllFiles.txt"), "nothing.txt");
    QStringList result;
    EXPECT_EQ(library.ReadListing(archive, listingPath, result, nullptr), 0);
    const QStringList* cached = library.ListingCache().Find(archive);
    ASSERT_NE(cached, nullptr);
    EXPECT_TRUE(cached->isEmpty());
}

TEST_F(ListingTest, DamagedArchivesFailQuietly)
{
    const QString listingPath = fixtures.Write(QStringLiteral("AllFiles.txt"), "last.txt\n");
    const QByteArray whole = ArchiveFixtures::Read(archive);
    const QString truncated = fixtures.Write(QStringLiteral("truncated.mpq"), whole.left(40));
    const QString noise = fixtures.Write(QStringLiteral("noise.mpq"), ArchiveFixtures::Pattern(5000, 3));
    const QString folder = fixtures.Path(QStringLiteral("folder.mpq"));
    ASSERT_TRUE(QDir().mkpath(folder));
    for (const QString& damaged : {truncated, noise, folder}) {
        QStringList result;
        EXPECT_EQ(library.ReadListing(damaged, listingPath, result, nullptr), 0) << damaged.toStdString();
        EXPECT_TRUE(result.isEmpty());
    }
}
