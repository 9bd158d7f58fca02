#include "ArchiveFixtures.h"

#include "archive/ListingProgress.h"
#include "archive/MpqLibrary.h"

namespace {

class RecordingProgress : public ListingProgress
{
public:
    void SetRange(int minimum, int maximum) override { range = {minimum, maximum}; }
    void SetPosition(int position) override { positions.append(position); }
    void ProcessEvents() override { busy = busy && ArchiveBusy::IsBusy(); ++pumps; }

    QList<int> range, positions;
    int pumps = 0;
    bool busy = true;
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
                                            {QStringLiteral("(odd).txt"), "o"}, {QStringLiteral(";odd.txt"), "o"},
                                            {QStringLiteral("spaced.txt "), "s"}, {QStringLiteral("last.txt"), "l"}});
        ASSERT_FALSE(archive.isEmpty());
    }
    QString Listing(const QByteArray& text) { return fixtures.Write(QStringLiteral("AllFiles.txt"), text); }

    MpqLibrary library;
    QString archive;
    QStringList result{QStringLiteral("stale")};
    RecordingProgress progress;
};

} // namespace

TEST_F(ListingTest, FindsExactlyTheCandidatesTheArchiveHoldsInListingOrder)
{
    const QByteArray listing = "data\\global\\excel\\armor.txt\r\n"   // 29
                               "missing.txt\n\n\n"                   // 43, blank lines cost nothing
                               "(odd).txt\r"                         // 53
                               ";odd.txt\n\r\r\n"                    // 65
                               "spaced.txt \nspaced.txt\ndata\\global\\excel\\weapons.txt\r\n"
                               "data\\global\\excel\\armor.txt\nlast.txt";
    // A name cut at a NUL would be found: such a line names no file.
    const QByteArray withNul = "last.txt" + QByteArray(1, '\0') + ".bak\n";
    EXPECT_EQ(library.ReadListing(archive, Listing(withNul), result, nullptr), 0);
    EXPECT_EQ(library.ReadListing(fixtures.Path(QStringLiteral("./game.mpq")), Listing(listing), result, &progress), 5);
    EXPECT_EQ(result, (QStringList{QStringLiteral("data\\global\\excel\\armor.txt"), QStringLiteral("spaced.txt "),
                                   QStringLiteral("data\\global\\excel\\weapons.txt"),
                                   QStringLiteral("data\\global\\excel\\armor.txt"), QStringLiteral("last.txt")}));
    EXPECT_EQ(progress.range, (QList<int>{0, int(listing.size())}));
    EXPECT_EQ(progress.positions, (QList<int>{29, 43, 53, 65, 77, 88, 119, 147, int(listing.size())}));
    EXPECT_EQ(progress.pumps, 9);
    EXPECT_TRUE(progress.busy);
    EXPECT_FALSE(ArchiveBusy::IsBusy() || library.IsLoaded());
}

TEST_F(ListingTest, TheSecondListingOfAPathComesFromTheCacheEvenWhenItMatchedNothing)
{
    const QString listingPath = Listing("last.txt\n");
    ASSERT_EQ(library.ReadListing(archive, listingPath, result, nullptr), 1);
    Listing("last.txt\n(odd).txt\ndata\\global\\excel\\armor.txt\n");
    QStringList second;
    EXPECT_EQ(library.ReadListing(archive, listingPath, second, &progress), 1);
    EXPECT_EQ(second, result);
    EXPECT_TRUE(progress.positions.isEmpty());
    // The same archive under a path spelled otherwise is read afresh.
    EXPECT_EQ(library.ReadListing(fixtures.Path(QStringLiteral("./game.mpq")), listingPath, second, nullptr), 2);

    const QString copy = fixtures.Path(QStringLiteral("copy.mpq"));
    ASSERT_TRUE(QFile::copy(archive, copy));
    Listing("nothing.txt");
    EXPECT_EQ(library.ReadListing(copy, listingPath, second, nullptr), 0);
    Listing("last.txt");
    EXPECT_EQ(library.ReadListing(copy, listingPath, second, nullptr), 0);
}
