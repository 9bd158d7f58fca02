#include "GameCopies.h"

#include "archive/ArchiveJob.h"
#include "model/ProjectEntry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

GameCopies::GameCopies(QString programFolder, QObject* parent)
    : QObject(parent)
    , programFolder(std::move(programFolder))
    , root(QDir::tempPath() + QStringLiteral("/carvestone-game-XXXXXX"))
{
}

GameCopies::~GameCopies() = default;

// An archive replaced on disk (a patch) is read again.
GameCopies::Archive& GameCopies::Fresh(const QString& archive)
{
    const QFileInfo info(archive);
    Archive& known = archives[archive];
    if (known.modified != info.lastModified() || known.size != info.size())
        known = Archive{info.lastModified(), info.size(), {}, {}, {}};
    return known;
}

bool GameCopies::Knows(const QString& archive, const QString& name) const
{
    const auto known = archives.constFind(archive);
    return known != archives.cend() && (known->files.contains(name) || known->missing.contains(name));
}

std::optional<QByteArray> GameCopies::Copy(const QString& archive, const QString& name) const
{
    const auto known = archives.constFind(archive);
    if (known == archives.cend() || !known->files.contains(name))
        return std::nullopt;
    QFile file(known->files.value(name));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

void GameCopies::Request(const QString& archive, const QStringList& names)
{
    const Archive& known = Fresh(archive);
    // A damaged archive is not tried again until it changes.
    if (!known.failure.isEmpty()) {
        Q_EMIT Failed(archive, known.failure);
        return;
    }
    QStringList unknown;
    for (const QString& name : names) {
        if (!known.files.contains(name) && !known.missing.contains(name) && !unknown.contains(name))
            unknown.append(name);
    }
    if (unknown.isEmpty()) {
        Q_EMIT Ready(archive);
        return;
    }
    pending.append({archive, unknown});
    if (!job)
        StartNext();
}

void GameCopies::StartNext()
{
    if (pending.isEmpty())
        return;
    running = pending.takeFirst();
    // A folder of its own for each reading: two MODs may hold files of one
    // name part under different archive names.
    runningFolder = root.filePath(QString::number(++folders));
    QDir().mkpath(runningFolder);
    job = new ArchiveJob(programFolder, this);
    connect(job, &ArchiveJob::Finished, this, &GameCopies::OnFinished);
    job->StartExtractions(running.archive, running.names, runningFolder);
}

void GameCopies::OnFinished()
{
    ArchiveJob* done = job;
    job = nullptr;
    done->deleteLater();
    Archive& known = Fresh(running.archive);
    const bool succeeded = done->GetResult() == ArchiveJob::Result::Succeeded;
    for (const QString& name : running.names) {
        if (succeeded && done->Names().contains(name))
            known.files.insert(name, ProjectEntry::DiskPath(runningFolder + QLatin1Char('/'), name));
        else if (succeeded)
            known.missing.insert(name);
    }
    if (!succeeded)
        known.failure = done->Message();
    const QString archive = running.archive;
    StartNext();
    if (succeeded)
        Q_EMIT Ready(archive);
    else
        Q_EMIT Failed(archive, done->Message());
}
