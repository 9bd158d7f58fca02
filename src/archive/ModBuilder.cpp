#include "ModBuilder.h"

#include "ArchiveBusy.h"
#include "BuildLog.h"
#include "MpqHeaderCheck.h"
#include "core/SafeFileCopy.h"
#include "core/SafeFileWriter.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

namespace {

// Copies the game archive into the open temporary file that becomes the MOD
// archive, readable by everyone as a file made by a plain copy would be.
bool CopyGameArchive(const QString& gameMpqPath, QTemporaryFile& copy, const QString& archivePath,
                     QString& error)
{
    if (gameMpqPath.isEmpty()) {
        error = QStringLiteral("no game archive is chosen");
        return false;
    }
    if (!copy.open()) {
        error = copy.errorString();
        return false;
    }
    if (!SafeFileCopy::CopyInto(gameMpqPath, copy, archivePath, &error))
        return false;
    copy.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                        | QFileDevice::ReadOther);
    return true;
}

} // namespace

QString ModBuilder::ArchivePathFor(const QString& projectFolder, const QString& title)
{
    const qsizetype dot = title.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return {};
    QString folder = projectFolder;
    if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder + title.left(dot) + QLatin1String(".mpq");
}

QString ModBuilder::ArchivePathForProject(const QString& projectPath)
{
    const QFileInfo project(projectPath);
    return ArchivePathFor(project.path(), project.fileName());
}

bool ModBuilder::CanBuild(MpqLibrary& library, const QString& gameMpqPath, int entryCount)
{
    return !ArchiveBusy::IsBusy() && library.IsAvailable() && !gameMpqPath.isEmpty() && entryCount > 0;
}

BuildOutcome ModBuilder::Build(MpqLibrary& library, const Request& request, BuildLog& log)
{
    ArchiveBusy busy;
    if (request.entries.isEmpty()) {
        log.AppendLogLine(QStringLiteral("The project has no files to add"));
        return BuildOutcome::NotRun;
    }
    if (!library.Load()) {
        log.AppendLogLine(MpqLibrary::LoadFailure());
        return BuildOutcome::NotRun;
    }
    const struct Release
    {
        MpqLibrary& library;
        ~Release() { library.Unload(); }
    } release{library};

    const QFileInfo target(request.archivePath);
    const auto leftAsItWas = [&] {
        log.AppendLogLine(QStringLiteral("The MOD archive %1 was left as it was").arg(request.archivePath));
        return BuildOutcome::NotRun;
    };
    QTemporaryFile copy(target.absoluteDir().filePath(target.fileName() + QLatin1String(".XXXXXX")));
    QString error;
    if (QFileInfo::exists(request.gameMpqPath) && !MpqHeaderCheck::IsSound(request.gameMpqPath)) {
        log.AppendLogLine(MpqHeaderCheck::DamagedMessage(request.gameMpqPath));
        return leftAsItWas();
    }
    if (!CopyGameArchive(request.gameMpqPath, copy, request.archivePath, error)) {
        log.AppendLogLine(QStringLiteral("Cannot copy the game archive %1 into %2: %3")
                              .arg(request.gameMpqPath, target.absolutePath(), error));
        return leftAsItWas();
    }
    copy.close();
    // Named here, as the user knows it, rather than by its temporary copy.
    if (!library.CanOpenArchive(copy.fileName())) {
        log.AppendLogLine(MpqHeaderCheck::DamagedMessage(request.gameMpqPath));
        return leftAsItWas();
    }

    const BuildOutcome outcome = library.BuildArchive(copy.fileName(), request.modFolder, request.entries,
                                                      request.compress, log, request.listingPath);
    if (outcome == BuildOutcome::NotRun)
        return leftAsItWas();
    // The library wrote through its own buffers: only a synced file may
    // take the old archive's place.
    copy.setAutoRemove(false);
    if (!SafeFileWriter::CommitFinished(copy.fileName(), request.archivePath, &error)) {
        log.AppendLogLine(QStringLiteral("Cannot replace the MOD archive: %1").arg(error));
        return leftAsItWas();
    }
    // The last line says where the result is, for the install or a copy by hand.
    const QString built = QDir::toNativeSeparators(target.absoluteFilePath());
    log.AppendLogLine(outcome == BuildOutcome::AllAdded
                          ? QStringLiteral("Built the MOD archive %1").arg(built)
                          : QStringLiteral("Built the MOD archive %1 without the files that failed").arg(built));
    return outcome;
}
