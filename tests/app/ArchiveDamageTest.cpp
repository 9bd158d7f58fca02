#include "ArchiveFixtures.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QtEndian>

#include <iostream>

namespace {

constexpr int Cases = 300;
constexpr quint32 Seed = 0xD1AB10;

// Damages a header field (to a limit or by chance) or a few bytes of a table or the data; says what, to reproduce it.
QString Damage(QByteArray& bytes, QRandomGenerator& random)
{
    const qint64 hashTable = qFromLittleEndian<quint32>(bytes.constData() + 16);
    const qint64 blockTable = qFromLittleEndian<quint32>(bytes.constData() + 20);
    const auto flip = [&](const char* what, qint64 from, qint64 to) {
        QStringList flipped;
        for (int count = 1 + int(random.bounded(8)); count > 0 && to > from; --count) {
            const qint64 at = from + random.bounded(to - from);
            bytes[at] = char(random.bounded(256));
            flipped << QString::number(at);
        }
        return QString::fromLatin1(what) + QStringLiteral(" bytes ") + flipped.join(QLatin1Char(','));
    };
    switch (random.bounded(4)) {
    case 0: {
        const int field = 4 + 2 * int(random.bounded(14)); // a word or the low half of a dword
        const quint32 limits[] = {0, 1, 3, 23, 0xFFFF, 0x7FFFFFFF, 0xFFFFFFFF, 0xCF000000, quint32(bytes.size()),
                                  quint32(bytes.size() - 16), quint32(hashTable), quint32(blockTable)};
        const quint32 value = random.bounded(3) ? limits[random.bounded(int(std::size(limits)))] : random.generate();
        qToLittleEndian(value, bytes.data() + field);
        return QStringLiteral("header offset %1 = 0x%2").arg(field).arg(value, 0, 16);
    }
    case 1:
        return flip("hash table", hashTable, blockTable);
    case 2:
        return flip("block table", blockTable, bytes.size());
    default:
        return flip("file data", 32, hashTable);
    }
}

// Empty when the command line ended by itself with a status of its own; else what went wrong.
QString RunCli(const QStringList& arguments)
{
    QProcess cli;
    cli.setProcessChannelMode(QProcess::MergedChannels);
    cli.start(QStringLiteral(CARVESTONE_CLI_PATH), arguments);
    if (!cli.waitForFinished(30000))
        return QStringLiteral("hung"); // and killed as it goes out of scope
    if (cli.exitStatus() == QProcess::NormalExit && (cli.exitCode() == 0 || cli.exitCode() == 1))
        return {};
    return QStringLiteral("crashed or ended with status %1: ").arg(cli.exitCode()) + cli.readAll().right(400);
}

using ArchiveDamageTest = SmpqTest;

TEST_F(ArchiveDamageTest, NoDamagedArchiveCrashesOrHangsListingExtractionOrBuilding)
{
    QByteArray misc;
    for (int i = 0; i < 400; ++i)
        misc += "item" + QByteArray::number(i) + "\tcode" + QByteArray::number(i * 7) + "\r\n";
    const QByteArray sound = ArchiveFixtures::Read(fixtures.MakeGameArchive(
        QStringLiteral("game.mpq"), {{"data\\global\\excel\\armor.txt", "name\tcode\r\nTin\ttin\r\n"},
                                     {"data\\global\\excel\\misc.txt", misc}}));
    ASSERT_FALSE(sound.isEmpty());
    qputenv("CARVESTONE_CONFIG_DIR", fixtures.Path(QStringLiteral("config")).toLocal8Bit());
    fixtures.Write(QStringLiteral("Mods/Damaged/armor.txt"), "name\tcode\r\nPlate\tplt\r\n");
    fixtures.Write(QStringLiteral("Mods/Damaged/new.txt"), "new");
    const QString project = fixtures.Write(QStringLiteral("Mods/Damaged/Damaged.mod"),
        "Carvestone Project File Version 1.0\ndata\\global\\excel\\armor.txt\ndata\\new.txt\n");
    const QString names = fixtures.Write(QStringLiteral("names.txt"),
                                         "data\\global\\excel\\armor.txt\r\ndata\\global\\excel\\misc.txt\r\n");
    const QString damaged = fixtures.Path(QStringLiteral("damaged.mpq"));
    QRandomGenerator random(Seed);
    int failures = 0;
    for (int i = 0; i < Cases && failures < 5; ++i) {
        QByteArray bytes = sound;
        const QString damage = Damage(bytes, random);
        fixtures.Write(QStringLiteral("damaged.mpq"), bytes);
        for (const QStringList& arguments : {QStringList{"list", damaged, "--listing", names},
                                             {"extract", damaged, "data\\global\\excel\\misc.txt", damaged + ".txt"},
                                             {"build", project, "--game-mpq", damaged}}) {
            const QString outcome = RunCli(arguments);
            if (outcome.isEmpty())
                continue;
            ++failures;
            ADD_FAILURE() << "case " << i << " (" << damage.toStdString() << "), " << arguments[0].toStdString() << ": "
                          << outcome.toStdString();
        }
    }
    std::cout << "damaged archives tried: " << Cases << ", each listed, extracted from and built on\n";
}

} // namespace
