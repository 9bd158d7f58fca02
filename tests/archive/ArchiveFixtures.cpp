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
#include <vector>

namespace {

// The MPQ format's encryption table, hash and block decryption, written from
// the format's description so that the tests read archives on their own.
std::array<std::uint32_t, 0x500> MakeCryptTable()
{
    std::array<std::uint32_t, 0x500> table{};
    std::uint32_t seed = 0x00100001;
    for (std::uint32_t index1 = 0; index1 < 0x100; ++index1) {
        for (std::uint32_t i = 0, index2 = index1; i < 5; ++i, index2 += 0x100) {
            seed = (seed * 125 + 3) % 0x2AAAAB;
            const std::uint32_t high = (seed & 0xFFFF) << 0x10;
            seed = (seed * 125 + 3) % 0x2AAAAB;
            table[index2] = high | (seed & 0xFFFF);
        }
    }
    return table;
}

std::uint32_t Crypt(std::uint32_t index)
{
    static const auto table = MakeCryptTable();
    return table[index];
}

std::uint32_t HashName(const QByteArray& name, std::uint32_t type)
{
    std::uint32_t seed1 = 0x7FED7FED;
    std::uint32_t seed2 = 0xEEEEEEEE;
    for (char c : name) {
        std::uint32_t ch = std::uint8_t(c == '/' ? '\\' : c);
        if (ch >= 'a' && ch <= 'z')
            ch -= 0x20;
        seed1 = Crypt(type * 0x100 + ch) ^ (seed1 + seed2);
        seed2 = ch + seed1 + seed2 + (seed2 << 5) + 3;
    }
    return seed1;
}

std::vector<std::uint32_t> Decrypt(const QByteArray& bytes, std::uint32_t offset, std::uint32_t count,
                                   std::uint32_t key)
{
    if (qsizetype(offset) + qsizetype(count) * 4 > bytes.size())
        return {};
    std::vector<std::uint32_t> plain(count);
    std::uint32_t seed = 0xEEEEEEEE;
    for (std::uint32_t i = 0; i < count; ++i) {
        seed += Crypt(0x400 + (key & 0xFF));
        plain[i] = qFromLittleEndian<std::uint32_t>(bytes.constData() + offset + i * 4) ^ (key + seed);
        key = ((~key << 0x15) + 0x11111111) | (key >> 0x0B);
        seed = plain[i] + seed + (seed << 5) + 3;
    }
    return plain;
}

// The compression byte that opens the first sector of an encrypted,
// compressed file; -1 when that sector is stored as it is.
int FirstSectorCompression(const QByteArray& bytes, std::uint32_t sectorSize, const std::uint32_t* block,
                           const QByteArray& name)
{
    const std::uint32_t position = block[0];
    const std::uint32_t fileSize = block[2];
    if (!(block[3] & ArchiveFixtures::FlagCompress) || !(block[3] & ArchiveFixtures::FlagEncrypted) || fileSize == 0)
        return -1;
    const std::uint32_t key = HashName(name.mid(name.lastIndexOf('\\') + 1), 3);
    const auto offsets = Decrypt(bytes, position, (fileSize + sectorSize - 1) / sectorSize + 1, key - 1);
    if (offsets.size() < 2 || offsets[1] - offsets[0] >= std::min(sectorSize, fileSize))
        return -1;
    const auto first = Decrypt(bytes, position + offsets[0], 1, key);
    return first.empty() ? -1 : int(first[0] & 0xFF);
}

} // namespace

void ModProjectTest::SetUp()
{
    SmpqTest::SetUp();
    if (IsSkipped())
        return;
    settings.GameMpqPath = fixtures.MakeGameArchive(QStringLiteral("Diablo II/patch_d2.mpq"), gameFiles);
    ASSERT_FALSE(settings.GameMpqPath.isEmpty());
    settings.GameFolder = fixtures.Path(QStringLiteral("Diablo II/"));
    project = fixtures.Write(QStringLiteral("Mods/Weapons/Weapons.mod"),
                             "Carvestone Project File Version 1.0\n" + entries.join(QLatin1Char('\n')).toLatin1() + "\n");
    for (auto it = modFiles.begin(); it != modFiles.end(); ++it)
        fixtures.Write(QStringLiteral("Mods/Weapons/") + it.key(), it.value());
}

QString ArchiveFixtures::Write(const QString& relative, const QByteArray& bytes) const
{
    const QString path = Path(relative);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() ? path : QString();
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

QStringList ArchiveFixtures::FilesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
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
    // are laid out as their archive names say, in a staging folder.
    const QString staging = relative + QLatin1String(".staging/");
    const QString archive = Path(relative);
    QStringList arguments = QStringList{QStringLiteral("-c"), QStringLiteral("-q"), QStringLiteral("-M"),
                                        QStringLiteral("1"), QStringLiteral("-C"), QStringLiteral("PKWARE"),
                                        QStringLiteral("-E")}
        + extraOptions + QStringList{archive};
    for (auto it = files.begin(); it != files.end(); ++it) {
        const QString diskName = QString(it.key()).replace(QLatin1Char('\\'), QLatin1Char('/'));
        Write(staging + diskName, it.value());
        arguments << diskName;
    }
    QFile::remove(archive);
    const bool made = RunSmpq(arguments, Path(staging), nullptr);
    QDir(Path(staging)).removeRecursively();
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
    RunSmpq({QStringLiteral("-i"), archive}, QDir::tempPath(), &output);
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
    const std::uint32_t sectorSize = 512u << qFromLittleEndian<std::uint16_t>(bytes.constData() + 14);
    const std::uint32_t hashSize = field(24);
    const std::uint32_t blockSize = field(28);
    const auto hashes = Decrypt(bytes, field(16), hashSize * 4, HashName("(hash table)", 3));
    const auto blocks = Decrypt(bytes, field(20), blockSize * 4, HashName("(block table)", 3));
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
        if (hashes[index * 4] == nameA && hashes[index * 4 + 1] == nameB && block < blockSize) {
            const std::uint32_t* entry = &blocks[block * 4];
            return StoredFile{entry[3], FirstSectorCompression(bytes, sectorSize, entry, key)};
        }
    }
    return std::nullopt;
}
