#include "ArchiveFixtures.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QtEndian>

QString ArchiveFixtures::Write(const QString& relative, const QByteArray& bytes) const
{
    const QString path = Path(relative);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() ? path : QString();
}

QMap<QString, QByteArray> ArchiveFixtures::FilesUnder(const QString& folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(QDir(folder).relativeFilePath(path), Read(path));
    }
    return files;
}

QByteArray ArchiveFixtures::Pattern(qsizetype size, int seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator generator(quint32(seed + 1));
    for (char& c : bytes)
        c = char(generator.bounded(48, 58));   // digits compress, but not to nothing
    return bytes;
}

std::optional<QByteArray> ArchiveFixtures::RunSmpq(const QStringList& arguments, const QString& workingFolder)
{
    QProcess smpq;
    smpq.setWorkingDirectory(workingFolder);
    smpq.start(QStringLiteral("smpq"), arguments);
    const bool ran = smpq.waitForFinished(60000) && smpq.exitStatus() == QProcess::NormalExit && smpq.exitCode() == 0;
    return ran ? std::optional(smpq.readAllStandardOutput()) : std::nullopt;
}

QString ArchiveFixtures::MakeGameArchive(const QString& relative, const QMap<QString, QByteArray>& files,
                                         const QStringList& extraOptions) const
{
    // smpq stores a file under the relative path it is given: lay the files out as their archive names say.
    const QString staging = relative + QLatin1String(".staging/"), archive = Path(relative);
    QStringList arguments = QStringLiteral("-c -q -M 1 -C PKWARE -E").split(QLatin1Char(' ')) + extraOptions << archive;
    for (auto it = files.begin(); it != files.end(); ++it) {
        const QString diskName = QString(it.key()).replace(QLatin1Char('\\'), QLatin1Char('/'));
        Write(staging + diskName, it.value());
        arguments << diskName;
    }
    QFile::remove(archive);
    const bool made = RunSmpq(arguments, Path(staging)).has_value();
    QDir(Path(staging)).removeRecursively();
    return made ? archive : QString();
}

std::optional<QByteArray> ArchiveFixtures::SmpqExtract(const QString& archive, const QString& name) const
{
    QTemporaryDir out(Path(QStringLiteral("smpq-out-XXXXXX")));
    const QString file = out.filePath(QString(name).replace(QLatin1Char('\\'), QLatin1Char('/')));
    const bool extracted = RunSmpq({QStringLiteral("-x"), QStringLiteral("-q"), archive, name}, out.path()).has_value();
    return extracted && QFile::exists(file) ? std::optional(Read(file)) : std::nullopt;
}

QByteArray ArchiveFixtures::SmpqPacked(const QString& name, const QByteArray& contents) const
{
    // A one-file archive holds, after its header, the file's stored bytes, then the same listing as for an empty file.
    const auto stored = [&](const QByteArray& bytes) {
        const QByteArray made = Read(MakeGameArchive(QStringLiteral("p.mpq"), {{name, bytes}}, {QStringLiteral("-A")}));
        return made.size() < 32 ? QByteArray() : made.mid(32, qFromLittleEndian<quint32>(made.constData() + 16) - 32);
    };
    const QByteArray file = stored(contents), listing = stored({});
    return file.size() > listing.size() ? file.chopped(listing.size()) : QByteArray();
}
