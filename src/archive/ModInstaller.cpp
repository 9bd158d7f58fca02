#include "ModInstaller.h"

#include "ModBuilder.h"
#include "core/SafeFileCopy.h"

#include <QDir>
#include <QFileInfo>

bool ModInstaller::CanInstall(const QString& gameFolder, const QString& projectPath)
{
    return WhyNotInstallable(gameFolder, projectPath).isEmpty();
}

QString ModInstaller::WhyNotInstallable(const QString& gameFolder, const QString& projectPath)
{
    if (gameFolder.isEmpty())
        return QStringLiteral("the Diablo II folder was not found");
    if (projectPath.isEmpty() || projectPath.contains(QLatin1String("untitled")))
        return QStringLiteral("an untitled project cannot be installed");
    const QString archive = ModBuilder::ArchivePathForProject(projectPath);
    if (archive.isEmpty() || !QFileInfo(archive).isFile())
        return QStringLiteral("the MOD has not been built yet");
    return {};
}

QString ModInstaller::DescribeInstall(const QString& modArchivePath, const QString& gameFolder)
{
    const QString installed = QStringLiteral("Installed %1 as %2")
                                  .arg(QFileInfo(modArchivePath).fileName(),
                                       QDir::toNativeSeparators(FindInFolder(gameFolder, PatchName)));
    const QString backup = FindInFolder(gameFolder, BackupName);
    if (!QFileInfo::exists(backup))
        return installed + QStringLiteral("; the game had no patch archive of its own to keep.");
    return installed + QStringLiteral("; the game's own archive is kept as %1.").arg(QDir::toNativeSeparators(backup));
}

QString ModInstaller::FindInFolder(const QString& folder, const QString& fileName)
{
    const QDir dir(folder);
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        if (name.compare(fileName, Qt::CaseInsensitive) == 0)
            return dir.filePath(name);
    }
    return dir.filePath(fileName);
}

bool ModInstaller::Install(const QString& modArchivePath, const QString& gameFolder, QString& error)
{
    if (!QFileInfo(modArchivePath).isFile()) {
        error = QStringLiteral("The MOD archive %1 does not exist.").arg(QDir::toNativeSeparators(modArchivePath));
        return false;
    }
    if (!QFileInfo(gameFolder).isDir()) {
        error = QStringLiteral("The Diablo II folder %1 does not exist.").arg(QDir::toNativeSeparators(gameFolder));
        return false;
    }
    const QString target = FindInFolder(gameFolder, PatchName);
    const QString backup = FindInFolder(gameFolder, BackupName);
    QString reason;
    if (QFileInfo::exists(target) && !QFileInfo::exists(backup)
        && !SafeFileCopy::CopyReplacing(target, backup, &reason)) {
        error = QStringLiteral("Cannot keep %1 as %2: %3")
                    .arg(QDir::toNativeSeparators(target), QDir::toNativeSeparators(backup), reason);
        return false;
    }
    if (!SafeFileCopy::CopyReplacing(modArchivePath, target, &reason)) {
        error = QStringLiteral("Cannot copy %1 to %2: %3")
                    .arg(QDir::toNativeSeparators(modArchivePath), QDir::toNativeSeparators(target), reason);
        return false;
    }
    return true;
}
