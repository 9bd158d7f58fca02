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

template <typename Field> void Set(QByteArray& bytes, int at, Field value)
{
    qToLittleEndian(value, bytes.data() + at);
}

} // namespace

using DamagedArchiveTest = SmpqTest;

TEST_F(DamagedArchiveTest, HeadersTheLibraryCannotSurviveAreRefusedAndSoundOnesPass)
{
    const QMap<QString, QByteArray> files{{"data\\global\\excel\\armor.txt", "name\tcode\r\n"},
                                          {"data\\global\\excel\\misc.txt", ArchiveFixtures::Pattern(5000, 7)}};
    const QByteArray sound = ArchiveFixtures::Read(fixtures.MakeGameArchive("game.mpq", files));
    ASSERT_GT(sound.size(), 64);
    const QString listing = fixtures.Write("names.txt", files.keys().join('\n').toLatin1());
    QByteArray userData("MPQ\x1B", 4);
    userData += QByteArray(508, '\0');
    Set<quint32>(userData, 8, 512);
    const struct { const char* what; std::function<void(QByteArray&)> change; bool sound; } cases[] = {
        {"as smpq made it", [](QByteArray&) {}, true},
        {"largest sector shift allowed", [](QByteArray& b) { Set<quint16>(b, SectorShiftField, MpqHeaderCheck::MaxSectorShift); }, true},
        {"behind 512 bytes of other data", [](QByteArray& b) { b.prepend(QByteArray(512, 'x')); }, true},
        {"behind a user-data header", [&](QByteArray& b) { b.prepend(userData); }, true},
        {"sector shift 23 (the library divides by zero)", [](QByteArray& b) { Set<quint16>(b, SectorShiftField, 23); }, false},
        {"sector shift beyond the limit", [](QByteArray& b) { Set<quint16>(b, SectorShiftField, MpqHeaderCheck::MaxSectorShift + 1); }, false},
        {"hash count 0xCF000000 (55 GB)", [](QByteArray& b) { Set<quint32>(b, HashCountField, 0xCF000000); }, false},
        {"block count past the end", [](QByteArray& b) { Set<quint32>(b, BlockCountField, 0x10000); }, false},
        {"hash table past the end", [](QByteArray& b) { Set<quint32>(b, HashPositionField, quint32(b.size())); }, false},
        {"no hash table", [](QByteArray& b) { Set<quint32>(b, HashCountField, 0); }, false},
        {"unknown format version", [](QByteArray& b) { Set<quint16>(b, VersionField, 4); }, false},
        {"header size too small", [](QByteArray& b) { Set<quint32>(b, HeaderSizeField, 16); }, false},
        {"cut off in the header", [](QByteArray& b) { b.truncate(20); }, false},
        {"user-data header pointing outside", [](QByteArray& b) { b.prepend(QByteArray("MPQ\x1B\0\0\0\0\xff\xff\xff\x7f", 12).leftJustified(512, '\0')); }, false},
        {"no signature", [](QByteArray& b) { b[3] = 'X'; }, false},
    };
    MpqLibrary library;
    int variant = 0;
    for (const auto& each : cases) {
        SCOPED_TRACE(each.what);
        QByteArray bytes = sound;
        each.change(bytes);
        const QString path = fixtures.Write(QStringLiteral("variant%1.mpq").arg(++variant), bytes); // listings are cached per path
        EXPECT_EQ(MpqHeaderCheck::IsSound(path), each.sound);
        // The library is never handed a refused file: no crash, a false answer.
        EXPECT_EQ(library.CanOpenArchive(path), each.sound);
        QStringList names;
        EXPECT_EQ(library.ReadListing(path, listing, names, nullptr) == 2, each.sound);
        EXPECT_EQ(library.ExtractFile(path, files.firstKey(), fixtures.Path("out.txt"), false), each.sound);
    }
    // A newer format, as smpq makes by default, is sound too.
    const QString v4 = fixtures.Write("v4/a.txt", "a");
    ASSERT_EQ(QProcess::execute("smpq", {"-c", "-q", v4 + ".mpq", v4}), 0);
    EXPECT_TRUE(MpqHeaderCheck::IsSound(v4 + ".mpq"));
}
