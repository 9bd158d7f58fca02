#include "TestFiles.h"

#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <iostream>

namespace {

constexpr int Cases = 300;
constexpr quint32 Seed = 0xD1AB10;
constexpr int ChildTimeoutMs = 30000;

// Damages a copy of a real archive: a header field (set to a limit as often
// as to chance) or a few bytes of the hash table, the block table or the file
// data.  Returns what was changed, to reproduce a failure.
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
        const quint32 value = random.bounded(3) == 0 ? random.generate() : limits[random.bounded(int(std::size(limits)))];
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

class ArchiveDamageTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (QStandardPaths::findExecutable(QStringLiteral("smpq")).isEmpty())
            GTEST_SKIP() << "smpq is not installed; it makes the archive these tests damage";
        for (const char* path : {"stage/data/global/excel", "Mods/Damaged", "config"})
            QDir(folder.path()).mkpath(QString::fromLatin1(path));
        QByteArray misc;
        for (int i = 0; i < 400; ++i)
            misc += "item" + QByteArray::number(i) + "\tcode" + QByteArray::number(i * 7) + "\r\n";
        TestFiles::Write(Path("stage/data/global/excel/armor.txt"), "name\tcode\r\nTin Mail\ttin\r\n");
        TestFiles::Write(Path("stage/data/global/excel/misc.txt"), misc);
        QProcess smpq;
        smpq.setWorkingDirectory(Path("stage"));
        smpq.start(QStringLiteral("smpq"), {"-c", "-q", "-M", "1", "-C", "PKWARE", "-E", Path("game.mpq"),
                                            "data/global/excel/armor.txt", "data/global/excel/misc.txt"});
        ASSERT_TRUE(smpq.waitForFinished() && smpq.exitCode() == 0);
        TestFiles::Write(Path("Mods/Damaged/armor.txt"), "name\tcode\r\nPlate\tplt\r\n");
        TestFiles::Write(Path("Mods/Damaged/new.txt"), "new");
        TestFiles::Write(Path("Mods/Damaged/Damaged.mod"),
                         "Carvestone Project File Version 1.0\ndata\\global\\excel\\armor.txt\ndata\\new.txt\n");
        TestFiles::Write(Path("names.txt"), "data\\global\\excel\\armor.txt\r\ndata\\global\\excel\\misc.txt\r\n");
    }
    QString Path(const char* relative) const { return folder.filePath(QString::fromLatin1(relative)); }

    // Empty when the child ended by itself with a status of its own; else what went wrong.
    QString Run(const QStringList& arguments) const
    {
        QProcess cli;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("CARVESTONE_CONFIG_DIR"), Path("config"));
        cli.setProcessEnvironment(environment);
        cli.setProcessChannelMode(QProcess::MergedChannels);
        cli.start(QStringLiteral(CARVESTONE_CLI_PATH), arguments);
        if (!cli.waitForFinished(ChildTimeoutMs)) {
            cli.kill();
            cli.waitForFinished();
            return QStringLiteral("hung");
        }
        if (cli.exitStatus() != QProcess::NormalExit)
            return QStringLiteral("crashed: ") + QString::fromLocal8Bit(cli.readAll().right(400));
        if (cli.exitCode() != 0 && cli.exitCode() != 1)
            return QStringLiteral("ended with status %1: ").arg(cli.exitCode()) + QString::fromLocal8Bit(cli.readAll().right(400));
        return {};
    }

    QTemporaryDir folder;
};

} // namespace

TEST_F(ArchiveDamageTest, NoDamagedArchiveCrashesOrHangsListingExtractionOrBuilding)
{
    const QByteArray sound = TestFiles::Read(Path("game.mpq"));
    QRandomGenerator random(Seed);
    const QString damaged = Path("damaged.mpq");
    int failures = 0;
    for (int i = 0; i < Cases && failures < 5; ++i) {
        QByteArray bytes = sound;
        const QString damage = Damage(bytes, random);
        TestFiles::Write(damaged, bytes);
        for (const QStringList& arguments : {QStringList{"list", damaged, "--listing", Path("names.txt")},
                                             {"extract", damaged, "data\\global\\excel\\misc.txt", Path("out.txt")},
                                             {"build", Path("Mods/Damaged/Damaged.mod"), "--game-mpq", damaged}}) {
            const QString outcome = Run(arguments);
            if (!outcome.isEmpty()) {
                ++failures;
                ADD_FAILURE() << "case " << i << " (" << damage.toStdString() << "), " << arguments[0].toStdString()
                              << ": " << outcome.toStdString();
            }
        }
    }
    std::cout << "damaged archives tried: " << Cases << ", each listed, extracted from and built on\n";
}
