#include "ArchiveFixtures.h"

#include "archive/MpqHeaderCheck.h"
#include "archive/MpqLibrary.h"

#include <QProcess>
#include <QtEndian>

#include <functional>

namespace {

// Header fields by byte offset.
constexpr int HeaderSizeField = 4, VersionField = 12, SectorShiftField = 14;
constexpr int HashPositionField = 16, HashCountField = 24, BlockCountField = 28;

class DamagedArchiveTest : public SmpqTest
{
protected:
    void SetUp() override
    {
        SmpqTest::SetUp();
        if (IsSkipped())
            return;
        sound = ArchiveFixtures::Read(fixtures.MakeGameArchive(QStringLiteral("game.mpq"), files));
        ASSERT_GT(sound.size(), 64);
    }
    // Each variant under a name of its own: listings are cached per path.
    QString WriteVariant(const std::function<void(QByteArray&)>& change)
    {
        QByteArray bytes = sound;
        change(bytes);
        return fixtures.Write(QStringLiteral("variant%1.mpq").arg(++variants), bytes);
    }
    static void SetWord(QByteArray& bytes, int at, quint16 value) { qToLittleEndian(value, bytes.data() + at); }
    static void SetDword(QByteArray& bytes, int at, quint32 value) { qToLittleEndian(value, bytes.data() + at); }

    const QMap<QString, QByteArray> files{{QStringLiteral("data\\global\\excel\\armor.txt"), "name\tcode\r\n"},
                                          {QStringLiteral("data\\global\\excel\\misc.txt"), ArchiveFixtures::Pattern(5000, 7)}};
    QByteArray sound;
    int variants = 0;
    MpqLibrary library;
};

} // namespace

TEST_F(DamagedArchiveTest, HeadersTheLibraryCannotSurviveAreRefusedAndSoundOnesPass)
{
    struct Case
    {
        const char* what;
        std::function<void(QByteArray&)> change;
        bool sound;
    };
    const Case cases[] = {
        {"as smpq made it", [](QByteArray&) {}, true},
        {"largest sector shift allowed", [](QByteArray& b) { SetWord(b, SectorShiftField, MpqHeaderCheck::MaxSectorShift); }, true},
        {"behind 512 bytes of other data", [](QByteArray& b) { b.prepend(QByteArray(512, 'x')); }, true},
        {"behind a user-data header",
         [](QByteArray& b) {
             QByteArray user("MPQ\x1B", 4);
             user += QByteArray(508, '\0');
             SetDword(user, 8, 512);
             b.prepend(user);
         },
         true},
        {"sector shift 23 (the library divides by zero)", [](QByteArray& b) { SetWord(b, SectorShiftField, 23); }, false},
        {"sector shift beyond the limit", [](QByteArray& b) { SetWord(b, SectorShiftField, MpqHeaderCheck::MaxSectorShift + 1); }, false},
        {"hash count 0xCF000000 (55 GB)", [](QByteArray& b) { SetDword(b, HashCountField, 0xCF000000); }, false},
        {"block count past the end", [](QByteArray& b) { SetDword(b, BlockCountField, 0x10000); }, false},
        {"hash table past the end", [](QByteArray& b) { SetDword(b, HashPositionField, quint32(b.size())); }, false},
        {"no hash table", [](QByteArray& b) { SetDword(b, HashCountField, 0); }, false},
        {"unknown format version", [](QByteArray& b) { SetWord(b, VersionField, 4); }, false},
        {"header size too small", [](QByteArray& b) { SetDword(b, HeaderSizeField, 16); }, false},
        {"cut off in the header", [](QByteArray& b) { b.truncate(20); }, false},
        {"user-data header pointing outside", [](QByteArray& b) { b.prepend(QByteArray("MPQ\x1B\0\0\0\0\xff\xff\xff\x7f", 12).leftJustified(512, '\0')); }, false},
        {"no signature", [](QByteArray& b) { b[3] = 'X'; }, false},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.what);
        const QString path = WriteVariant(each.change);
        EXPECT_EQ(MpqHeaderCheck::IsSound(path), each.sound);
        // The library is never handed a refused file: no crash, a false answer.
        EXPECT_EQ(library.CanOpenArchive(path), each.sound);
        QStringList names;
        EXPECT_EQ(library.ReadListing(path, fixtures.Write(QStringLiteral("names.txt"), files.keys().join(QLatin1Char('\n')).toLatin1()),
                                      names, nullptr) == 2, each.sound);
        EXPECT_EQ(library.ExtractFile(path, files.firstKey(), fixtures.Path(QStringLiteral("out.txt")), false), each.sound);
    }
    EXPECT_EQ(MpqHeaderCheck::DamagedMessage(QStringLiteral("/a/b.mpq")), QStringLiteral("/a/b.mpq is damaged or is not an MPQ archive."));
    // A newer format, as smpq makes by default, is sound too.
    const QString v4 = fixtures.Write(QStringLiteral("v4/a.txt"), "a");
    ASSERT_EQ(QProcess::execute(QStringLiteral("smpq"), {QStringLiteral("-c"), QStringLiteral("-q"), v4 + QLatin1String(".mpq"), v4}), 0);
    EXPECT_TRUE(MpqHeaderCheck::IsSound(v4 + QLatin1String(".mpq")));
}
