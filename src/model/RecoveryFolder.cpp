#include "RecoveryFolder.h"

#include "core/FileErrorText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>

namespace {

// A record is the unsaved work of a whole session: a file beyond this is
// no record of ours, and reading it whole could exhaust the memory.
constexpr qint64 LargestRecord = qint64(1) << 30;

bool ReadRecordFile(const QString& path, QByteArray& bytes, QString& cause)
{
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly)) {
        cause = FileErrorText::ForDevice(file, errno, path);
        return false;
    }
    if (file.size() > LargestRecord) {
        cause = QStringLiteral("it is far larger than any recovery record");
        return false;
    }
    errno = 0;
    bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        cause = FileErrorText::ForDevice(file, errno, path);
        return false;
    }
    return true;
}

} // namespace

QString RecoveryFolder::DefaultPath()
{
    const QString chosen = qEnvironmentVariable("CARVESTONE_DATA_DIR");
    const QString data =
        chosen.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) : chosen;
    return data + QStringLiteral("/recovery");
}

QString RecoveryFolder::RecordPath(qint64 processId, int serial) const
{
    return QStringLiteral("%1/%2-%3%4").arg(folder).arg(processId).arg(serial).arg(QLatin1String(RecordSuffix));
}

std::unique_ptr<QLockFile> RecoveryFolder::MakeLock(const QString& recordPath)
{
    auto lock = std::make_unique<QLockFile>(LockPath(recordPath));
    lock->setStaleLockTime(0);
    return lock;
}

RecoveryFolder::Claim::Claim(QString path, RecoveryRecord record, std::unique_ptr<QLockFile> lock)
    : path(std::move(path)), record(std::move(record)), lock(std::move(lock))
{
}

RecoveryFolder::Claim::~Claim() = default;

bool RecoveryFolder::Claim::Discard(QString* error)
{
    QFile file(path);
    if (file.exists() && !file.remove()) {
        if (error)
            *error = FileErrorText::ForDevice(file, errno, path);
        return false;
    }
    return true;
}

std::vector<std::unique_ptr<RecoveryFolder::Claim>> RecoveryFolder::ClaimOrphans(QList<SetAside>& setAside) const
{
    std::vector<std::unique_ptr<Claim>> claims;
    const QString pattern = QLatin1Char('*') + QLatin1String(RecordSuffix);
    for (const QFileInfo& info : QDir(folder).entryInfoList({pattern}, QDir::Files | QDir::Hidden)) {
        const QString path = info.absoluteFilePath();
        std::unique_ptr<QLockFile> lock = MakeLock(path);
        if (!lock->tryLock(0))
            continue;
        QByteArray bytes;
        QString cause;
        RecoveryRecord record;
        if (ReadRecordFile(path, bytes, cause) && RecoveryRecord::Parse(bytes, record, cause) == RecoveryRecord::ParseResult::Read) {
            claims.push_back(std::make_unique<Claim>(path, std::move(record), std::move(lock)));
            continue;
        }
        const QString keptAs = SetAsidePath(path);
        setAside.append({path, QFile::rename(path, keptAs) ? keptAs : QString(), cause});
    }
    RemoveLocksWithoutRecord();
    std::stable_sort(claims.begin(), claims.end(), [](const auto& a, const auto& b) {
        return a->Record().writtenAt > b->Record().writtenAt;
    });
    return claims;
}

// A program that was killed after its record went (saved, then killed)
// leaves its lock behind; taking such a lock and letting it go removes it.
void RecoveryFolder::RemoveLocksWithoutRecord() const
{
    const QString pattern = QLatin1Char('*') + QLatin1String(RecordSuffix) + QStringLiteral(".lock");
    for (const QFileInfo& info : QDir(folder).entryInfoList({pattern}, QDir::Files | QDir::Hidden)) {
        const QString recordPath = info.absoluteFilePath().chopped(int(qstrlen(".lock")));
        if (!QFileInfo::exists(recordPath))
            (void)MakeLock(recordPath)->tryLock(0);
    }
}

// "<record>.damaged", numbered when an earlier one is kept there already.
QString RecoveryFolder::SetAsidePath(const QString& recordPath) const
{
    QString candidate = recordPath + QStringLiteral(".damaged");
    for (int number = 2; QFileInfo::exists(candidate); ++number)
        candidate = recordPath + QStringLiteral(".damaged-%1").arg(number);
    return candidate;
}
