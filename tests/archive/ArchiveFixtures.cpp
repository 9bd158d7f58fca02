#include "ArchiveFixtures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QtEndian>

#include <array>

namespace {

std::array<std::uint32_t, 0x500> MakeCryptTable()
{
    std::array<std::uint32_t, 0x500> table{};
    std::uint32_t seed = 0x00100001;
    for (std::uint32_t index1 = 0; index1 < 0x100; ++index1) {
        std::uint32_t index2 = index1;
        for (int i = 0; i < 5; ++i, index2 += 0x100) {
            seed = (seed * 125 + 3) % 0x2AAAAB;
            const std::uint32_t high = (seed & 0xFFFF) << 0x10;
            seed = (seed * 125 + 3) % 0x2AAAAB;
            table[index2] = high | (seed & 0xFFFF);
        }
    }
    return table;
}

const std::array<std::uint32_t, 0x500>& CryptTable()
{
    static const auto table = MakeCryptTable();
    return table;
}

std::uint32_t HashName(const QByteArray& name, std::uint32_t type)
{
    std::uint32_t seed1 = 0x7FED7FED;
    std::uint32_t seed2 = 0xEEEEEEEE;
    for (char c : name) {
        std::uint32_t ch = std::uint8_t(c == '/' ? '\\' : c);
        if (ch >= 'a' && ch <= 'z')
            ch -= 0x20;
        seed1 = CryptTable()[type * 0x100 + ch] ^ (seed1 + seed2);
        seed2 = ch + seed1 + seed2 + (seed2 << 5) + 3;
    }
    return seed1;
}

std::vector<std::uint32_t> ReadTable(const QByteArray& bytes, std::uint32_t offset, std::uint32_t entries,
                                     const char* keyName)
{
    std::vector<std::uint32_t> table(entries * 4);
    if (qsizetype(offset) + qsizetype(table.size() * 4) > bytes.size())
        return {};
    std::uint32_t key = HashName(keyName, 3);
    std::uint32_t seed = 0xEEEEEEEE;
    for (std::size_t i = 0; i < table.size(); ++i) {
        seed += CryptTable()[0x400 + (key & 0xFF)];
        const std::uint32_t plain = qFromLittleEndian<std::uint32_t>(bytes.constData() + offset + i * 4)
            ^ (key + seed);
        key = ((~key << 0x15) + 0x11111111) | (key >> 0x0B);
        seed = plain + seed + (seed << 5) + 3;
        table[i] = plain;
    }
    return table;
}

} // namespace

ArchiveFixtures::ArchiveFixtures() = default;

QString ArchiveFixtures::Write(const QString& relative, const QByteArray& bytes) const
{
    const QString path = Path(relative);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    return path;
}

QByteArray ArchiveFixtures::Read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray ArchiveFixtures::Pattern(qsizetype size, int seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator generator(quint32(seed + 1));
    for (char& c : bytes)
        c = char(generator.bounded(48, 58));   // digits compress, but not to nothing
    return bytes;
}

bool ArchiveFixtures::HasSmpq()
{
    return !QStandardPaths::findExecutable(QStringLiteral("smpq")).isEmpty();
}

bool ArchiveFixtures::RunSmpq(const QStringList& arguments, const QString& workingFolder, QByteArray* output)
{
    QProcess smpq;
    smpq.setWorkingDirectory(workingFolder);
    smpq.start(QStringLiteral("smpq"), arguments);
    if (!smpq.waitForFinished(60000))
        return false;
    if (output)
        *output = smpq.readAllStandardOutput();
    return smpq.exitStatus() == QProcess::NormalExit && smpq.exitCode() == 0;
}

QString ArchiveFixtures::MakeGameArchive(const QString& relative, const QMap<QString, QByteArray>& files,
                                         const QStringList& extraOptions) const
{
    // smpq stores a file under the relative path it is given, so the files
    // are laid out as the archive names say, in a staging folder.
    const QString staging = Path(relative + QLatin1String(".staging"));
    QStringList arguments{QStringLiteral("-c"), QStringLiteral("-q"), QStringLiteral("-M"), QStringLiteral("1"),
                          QStringLiteral("-C"), QStringLiteral("PKWARE"), QStringLiteral("-E")};
    arguments += extraOptions;
    const QString archive = Path(relative);
    arguments << archive;
    for (auto it = files.begin(); it != files.end(); ++it) {
        const QString diskName = QString(it.key()).replace(QLatin1Char('\\'), QLatin1Char('/'));
        Write(relative + QLatin1String(".staging/") + diskName, it.value());
        arguments << diskName;
    }
    QFile::remove(archive);
    const bool made = RunSmpq(arguments, staging, nullptr);
    QDir(staging).removeRecursively();
    return made ? archive : QString();
}

QStringList ArchiveFixtures::SmpqList(const QString& archive)
{
    QByteArray output;
    if (!RunSmpq({QStringLiteral("-l"), archive}, QDir::tempPath(), &output))
        return {};
    // "<size> <date> <time> <name>", the name with slashes.
    static const QRegularExpression entry(QStringLiteral("^\\s*\\d+ \\S+ \\S+ (.*)$"));
    QStringList names;
    for (const QByteArray& line : output.split('\n')) {
        const QRegularExpressionMatch match = entry.match(QString::fromLatin1(line));
        if (match.hasMatch())
            names << match.captured(1).replace(QLatin1Char('/'), QLatin1Char('\\'));
    }
    return names;
}

std::optional<QByteArray> ArchiveFixtures::SmpqExtract(const QString& archive, const QString& name) const
{
    QTemporaryDir out(Path(QStringLiteral("smpq-out-XXXXXX")));
    if (!RunSmpq({QStringLiteral("-x"), QStringLiteral("-q"), archive, name}, out.path(), nullptr))
        return std::nullopt;
    QFile file(out.filePath(QString(name).replace(QLatin1Char('\\'), QLatin1Char('/'))));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

int ArchiveFixtures::SmpqMaxFileCount(const QString& archive)
{
    QByteArray output;
    if (!RunSmpq({QStringLiteral("-i"), archive}, QDir::tempPath(), &output))
        return -1;
    for (const QByteArray& line : output.split('\n')) {
        if (line.startsWith("Maximum file count of archive:"))
            return line.mid(line.indexOf(':') + 1).trimmed().toInt();
    }
    return -1;
}

std::optional<ArchiveFixtures::StoredFile> ArchiveFixtures::StoredFileOf(const QString& archive,
                                                                         const QString& name)
{
    const QByteArray bytes = Read(archive);
    if (bytes.size() < 32 || !bytes.startsWith("MPQ\x1A"))
        return std::nullopt;
    const auto field = [&](int offset) { return qFromLittleEndian<std::uint32_t>(bytes.constData() + offset); };
    const std::uint32_t hashPos = field(16);
    const std::uint32_t blockPos = field(20);
    const std::uint32_t hashSize = field(24);
    const std::uint32_t blockSize = field(28);
    const auto hashes = ReadTable(bytes, hashPos, hashSize, "(hash table)");
    const auto blocks = ReadTable(bytes, blockPos, blockSize, "(block table)");
    if (hashes.empty() || blocks.empty())
        return std::nullopt;
    const QByteArray key = name.toLatin1();
    const std::uint32_t nameA = HashName(key, 1);
    const std::uint32_t nameB = HashName(key, 2);
    std::uint32_t index = HashName(key, 0) & (hashSize - 1);
    for (std::uint32_t probes = 0; probes < hashSize; ++probes, index = (index + 1) & (hashSize - 1)) {
        const std::uint32_t block = hashes[index * 4 + 3];
        if (block == 0xFFFFFFFF)
            break;
        if (hashes[index * 4] == nameA && hashes[index * 4 + 1] == nameB && block < blockSize)
            return StoredFile{blocks[block * 4 + 1], blocks[block * 4 + 2], blocks[block * 4 + 3]};
    }
    return std::nullopt;
}
