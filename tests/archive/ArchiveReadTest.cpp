#include "ArchiveFixtures.h"

#include "archive/MpqHeaderCheck.h"
#include "archive/MpqLibrary.h"

#include <QProcess>
#include <QtEndian>

#include <functional>

namespace {

constexpr int HeaderSizeField = 4, VersionField = 12, SectorShiftField = 14;
constexpr int HashPositionField = 16, HashCountField = 24, BlockCountField = 28;

class ArchiveReadTest : public SmpqTest
{
protected:
    void SetUp() override
    {
        SmpqTest::SetUp();
        if (IsSkipped())
            return;
        archive = fixtures.MakeGameArchive("game.mpq", files);
        ASSERT_FALSE(archive.isEmpty());
        ASSERT_TRUE(QDir().mkpath(out));
    }
    QString Out(const QString& name) const { return out + '/' + name; }
    QString Listing(const QByteArray& text) { return fixtures.Write("AllFiles.txt", text); }

    // Around the chunk size: one chunk, one and a byte, several; then names for the listing.
    static constexpr int Chunk = MpqLibrary::ChunkSize;
    const QMap<QString, QByteArray> files{
        {"one.bin", ArchiveFixtures::Pattern(Chunk, 1)}, {"data\\two.bin", ArchiveFixtures::Pattern(Chunk + 1, 2)},
        {"data\\big.bin", ArchiveFixtures::Pattern(3 * Chunk + 77, 4)}, {"data\\empty.txt", QByteArray()},
        {"top.txt", "top"}, {"data\\global\\excel\\weapons.txt", "w"}, {"data\\global\\excel\\armor.txt", "a"},
        {"(odd).txt", "o"}, {";odd.txt", "o"}, {"spaced.txt ", "s"}, {"last.txt", "l"}};
    MpqLibrary library;
    QString archive;
    const QString out = fixtures.Path("out");
    QStringList result{"stale"};
};

} // namespace

TEST_F(ArchiveReadTest, EveryFileComesOutWholeIntoAFolderOrUnderAChosenNameAndFailuresWriteNothingAnywhere)
{
    const QString inner = Out("inner"), plainFile = fixtures.Write("plain", "x");
    QByteArray spoiled = ArchiveFixtures::Read(archive);
    for (qsizetype i = 32; i < spoiled.size() / 2; ++i) // the header stays, the file data is spoiled
        spoiled[i] = char(spoiled[i] ^ 0x5A);
    const QString damaged = fixtures.Write("spoiled.mpq", spoiled);
    const QString truncated = fixtures.Write("cut.mpq", spoiled.left(100));
    ASSERT_TRUE(QDir().mkpath(inner));
    struct Case { QString archive, name, destination; bool isFolder = true; };
    for (const Case& c : {Case{archive, "data\\empty.txt", inner}, Case{archive, "absent", inner},
                          Case{archive, "", inner}, Case{"", "top.txt", inner}, Case{archive, "top.txt", ""},
                          Case{archive, "top.txt", plainFile},    // no such folder
                          Case{archive, "top.txt", inner, false}, // a folder, not a file
                          Case{archive, "data\\..", inner}, Case{archive, "..", inner}, Case{archive, "data\\", inner},
                          Case{archive, "x/../../top.txt", inner}, Case{truncated, "top.txt", inner},
                          Case{damaged, "data\\big.bin", inner}}) {
        SCOPED_TRACE((c.archive + ' ' + c.name + ' ' + c.destination).toStdString());
        EXPECT_FALSE(library.ExtractFile(c.archive, c.name, c.destination, c.isFolder));
        EXPECT_FALSE(library.IsLoaded());
    }
    EXPECT_TRUE(ArchiveFixtures::FilesIn(out).isEmpty() && QDir(inner).isEmpty());
    EXPECT_EQ(ArchiveFixtures::Read(plainFile), "x");

    for (const QString name : {"one.bin", "data\\two.bin", "data\\big.bin", "top.txt"}) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_TRUE(library.ExtractFile(archive, name, out + '/', true));
        EXPECT_EQ(ArchiveFixtures::Read(Out(name.section('\\', -1))), files.value(name));
        // An existing file is replaced without a question.
        EXPECT_TRUE(library.ExtractFile(archive, name, Out("renamed.dat"), false));
        EXPECT_EQ(ArchiveFixtures::Read(Out("renamed.dat")), files.value(name));
    }
    EXPECT_EQ(ArchiveFixtures::FilesIn(out).size(), 5);
}

TEST_F(ArchiveReadTest, AListingFindsExactlyTheCandidatesTheArchiveHoldsInListingOrderOnceForEachPath)
{
    const QByteArray listing = "data\\global\\excel\\armor.txt\r\nmissing.txt\n\n\n(odd).txt\r;odd.txt\n\r\r\n"
                               "spaced.txt \nspaced.txt\ndata\\global\\excel\\weapons.txt\r\n"
                               "data\\global\\excel\\armor.txt\nlast.txt";
    // A name cut at a NUL would be found: such a line names no file.
    EXPECT_EQ(library.ReadListing(archive, Listing("last.txt" + QByteArray(1, '\0') + ".bak\n"), result, nullptr), 0);
    // The same archive under a path spelled otherwise is read afresh.
    const QString game = fixtures.Path("./game.mpq");
    EXPECT_EQ(library.ReadListing(game, Listing(listing), result, nullptr), 5);
    EXPECT_EQ(result, (QStringList{"data\\global\\excel\\armor.txt", "spaced.txt ", "data\\global\\excel\\weapons.txt",
                                   "data\\global\\excel\\armor.txt", "last.txt"}));
    EXPECT_FALSE(ArchiveBusy::IsBusy() || library.IsLoaded());
    QStringList second;
    EXPECT_EQ(library.ReadListing(game, Listing("last.txt\n"), second, nullptr), 5) << "from the cache";
    EXPECT_EQ(second, result);

    // A demo file the listing beside the programs does not name would be missing from the Add File dialog.
    const QString names = ArchiveFixtures::Read(CARVESTONE_DEMO_SOURCE "/archive-names.txt");
    QStringList demo, named = names.split('\n', Qt::SkipEmptyParts);
    library.ReadListing(BinFolder() + "demo/patch_d2.mpq", BinFolder() + "AllFiles.txt", demo, nullptr);
    demo.sort();
    named.sort();
    EXPECT_EQ(demo, named);
}

TEST_F(ArchiveReadTest, HeadersTheLibraryCannotSurviveAreRefusedAndSoundOnesPass)
{
    using Change = std::function<void(QByteArray&)>;
    const auto set = [](int at, auto value) -> Change {
        return [=](QByteArray& b) { qToLittleEndian(value, b.data() + at); };
    };
    const auto prepend = [](const QByteArray& data) -> Change { return [=](QByteArray& b) { b.prepend(data); }; };
    const QByteArray userData = QByteArray("MPQ\x1B\0\0\0\0\0\x02\0\0", 12).leftJustified(512, '\0'); // header at 512
    const QByteArray userDataOutside = QByteArray("MPQ\x1B\0\0\0\0\xff\xff\xff\x7f", 12).leftJustified(512, '\0');
    const struct { const char* what; Change change; bool sound; } cases[] = {
        {"as smpq made it", [](QByteArray&) {}, true},
        {"largest sector shift allowed", set(SectorShiftField, quint16(MpqHeaderCheck::MaxSectorShift)), true},
        {"behind 512 bytes of other data", prepend(QByteArray(512, 'x')), true},
        {"behind a user-data header", prepend(userData), true},
        // From 23 on, the library divides by zero.
        {"sector shift beyond the limit", set(SectorShiftField, quint16(MpqHeaderCheck::MaxSectorShift + 1)), false},
        {"hash count 0xCF000000 (55 GB)", set(HashCountField, quint32(0xCF000000)), false},
        {"block count past the end", set(BlockCountField, quint32(0x10000)), false},
        {"hash table past the end", [&](QByteArray& b) { set(HashPositionField, quint32(b.size()))(b); }, false},
        {"no hash table", set(HashCountField, quint32(0)), false},
        {"unknown format version", set(VersionField, quint16(4)), false},
        {"header size too small", set(HeaderSizeField, quint32(16)), false},
        {"cut off in the header", [](QByteArray& b) { b.truncate(20); }, false},
        {"user-data header pointing outside", prepend(userDataOutside), false},
        {"no signature", [](QByteArray& b) { b[3] = 'X'; }, false},
    };
    int variant = 0;
    for (const auto& each : cases) {
        SCOPED_TRACE(each.what);
        QByteArray bytes = ArchiveFixtures::Read(archive);
        each.change(bytes);
        const QString path = fixtures.Write(QStringLiteral("variant%1.mpq").arg(++variant), bytes);
        EXPECT_EQ(MpqHeaderCheck::IsSound(path), each.sound);
        EXPECT_EQ(library.CanOpenArchive(path), each.sound) << "the library is never handed a refused file";
    }
    // A newer format, as smpq makes by default, is sound too.
    const QString v4 = fixtures.Write("v4/a.txt", "a");
    ASSERT_EQ(QProcess::execute("smpq", {"-c", "-q", v4 + ".mpq", v4}), 0);
    EXPECT_TRUE(MpqHeaderCheck::IsSound(v4 + ".mpq"));
}
