#include "ArchiveFixtures.h"

#include "archive/ListingProgress.h"
#include "archive/MpqLibrary.h"

#include <QDir>

namespace {

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

    QList<int> range;
    QList<int> positions;
    int pumps = 0;
    bool busyWhilePumping = true;
};

class ListingTest : public SmpqTest
{
protected:
    void SetUp() override
    {
        SmpqTest::SetUp();
        if (IsSkipped())
            return;
        archive = fixtures.MakeGameArchive(QStringLiteral("game.mpq"),
                                           {{QStringLiteral("data\\global\\excel\\weapons.txt"), "w"},
                                            {QStringLiteral("data\\global\\excel\\armor.txt"), "a"},
                                            {QStringLiteral("(odd).txt"), "o"},
                                            {QStringLiteral(";odd.txt"), "o"},
                                            {QStringLiteral("spaced.txt "), "s"},
                                            {QStringLiteral("last.txt"), "l"}});
        ASSERT_FALSE(archive.isEmpty());
    }

    QString Listing(const QByteArray& text) { return fixtures.Write(QStringLiteral("AllFiles.txt"), text); }

    MpqLibrary library;
    QString archive;
};

} // namespace

TEST_F(ListingTest, FindsExactlyTheCandidatesTheArchiveHoldsInListingOrder)
{
    const QByteArray listing = "data\\global\\excel\\armor.txt\r\n"   // 29
                               "missing.txt\n\n\n"                   // 43, blank lines cost nothing
                               "(odd).txt\r"                         // 53
                               ";odd.txt\n\r\r\n"                    // 65
                               "spaced.txt \n"
                               "spaced.txt\n"
                               "data\\global\\excel\\weapons.txt\r\n"
                               "data\\global\\excel\\armor.txt\n"
                               "last.txt";
    QStringList result{QStringLiteral("stale")};
    RecordingProgress progress;

    EXPECT_EQ(library.ReadListing(archive, Listing(listing), result, &progress), 5);

    EXPECT_EQ(result, (QStringList{QStringLiteral("data\\global\\excel\\armor.txt"), QStringLiteral("spaced.txt "),
                                   QStringLiteral("data\\global\\excel\\weapons.txt"),
                                   QStringLiteral("data\\global\\excel\\armor.txt"), QStringLiteral("last.txt")}));
    EXPECT_EQ(progress.range, (QList<int>{0, int(listing.size())}));
    ASSERT_EQ(progress.positions.size(), 9);
    EXPECT_EQ(progress.positions.mid(0, 4), (QList<int>{29, 43, 53, 65}));
    EXPECT_EQ(progress.positions.last(), int(listing.size()));
    EXPECT_EQ(progress.pumps, 9);
    EXPECT_TRUE(progress.busyWhilePumping);
    EXPECT_FALSE(ArchiveBusy::IsBusy());
    EXPECT_FALSE(library.IsLoaded());
}

TEST_F(ListingTest, TheSecondListingOfAPathComesFromTheCacheEvenWhenItMatchedNothing)
{
    const QString listingPath = Listing("last.txt\n");
    QStringList first;
    ASSERT_EQ(library.ReadListing(archive, listingPath, first, nullptr), 1);
    Listing("last.txt\n(odd).txt\ndata\\global\\excel\\armor.txt\n");
    RecordingProgress progress;
    QStringList second;
    EXPECT_EQ(library.ReadListing(archive, listingPath, second, &progress), 1);
    EXPECT_EQ(second, first);
    EXPECT_TRUE(progress.positions.isEmpty());

    // The same archive under a path spelled otherwise is read afresh.
    const QString otherSpelling = fixtures.Path(QStringLiteral("./game.mpq"));
    EXPECT_EQ(library.ReadListing(otherSpelling, listingPath, second, nullptr), 2);

    const QString copy = fixtures.Path(QStringLiteral("copy.mpq"));
    ASSERT_TRUE(QFile::copy(archive, copy));
    Listing("nothing.txt");
    EXPECT_EQ(library.ReadListing(copy, listingPath, second, nullptr), 0);
    Listing("last.txt");
    EXPECT_EQ(library.ReadListing(copy, listingPath, second, nullptr), 0);
}

TEST_F(ListingTest, MissingPathsLeaveTheResultAloneAndFailuresCacheNothing)
{
    const QString listingPath = Listing("last.txt\n");
    QStringList result{QStringLiteral("kept")};
    EXPECT_EQ(library.ReadListing(QString(), listingPath, result, nullptr), 1);
    EXPECT_EQ(library.ReadListing(archive, QString(), result, nullptr), 1);
    EXPECT_EQ(result, QStringList{QStringLiteral("kept")});

    const QString folder = fixtures.Path(QStringLiteral("folder.mpq"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString truncated = fixtures.Write(QStringLiteral("truncated.mpq"), ArchiveFixtures::Read(archive).left(40));
    const QString noise = fixtures.Write(QStringLiteral("noise.mpq"), ArchiveFixtures::Pattern(5000, 3));
    for (const QString& failing : {archive, fixtures.Path(QStringLiteral("absent.mpq")), truncated, noise, folder}) {
        SCOPED_TRACE(failing.toStdString());
        const QString listing = failing == archive ? fixtures.Path(QStringLiteral("none.txt")) : listingPath;
        result = QStringList{QStringLiteral("old")};
        EXPECT_EQ(library.ReadListing(failing, listing, result, nullptr), 0);
        EXPECT_TRUE(result.isEmpty());
        EXPECT_EQ(library.ListingCache().Find(failing), nullptr);
        EXPECT_FALSE(library.IsLoaded());
    }
}
