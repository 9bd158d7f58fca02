#include "GameDataFolder.h"

#include "ListingProgress.h"
#include "core/CarvestoneSettings.h"
#include "core/SafeFileCopy.h"
#include "model/ArchiveNameRule.h"
#include "model/ExtractedDataRule.h"
#include "model/ProjectEntry.h"
#include "model/ProjectModel.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#include <algorithm>

namespace {

QString Shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

bool Fail(QString* error, const QString& text)
{
    if (error)
        *error = text;
    return false;
}

// A name read from a file name is an archive name only when it comes back
// as itself: a backslash inside a Linux file name would split it.
bool CanBeArchiveName(const QString& relativePath)
{
    const QString name = QString(relativePath).replace(QLatin1Char('/'), QLatin1Char('\\'));
    return !relativePath.contains(QLatin1Char('\\')) && ArchiveNameRule::Problem(name).isEmpty()
        && ProjectModel::CanHoldEntry(name);
}

} // namespace

QStringList GameDataFolder::List(const QString& folder, ListingProgress* progress, int* skipped)
{
    QStringList names;
    int left = 0;
    const QString root = QFileInfo(folder).absoluteFilePath();
    const QString data = ExtractedDataRule::DataFolderOf(root);
    if (progress)
        progress->SetRange(0, 0);
    QDirIterator walk(data, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (!data.isEmpty() && walk.hasNext()) {
        const QFileInfo file(walk.next());
        const QString relative = QDir(root).relativeFilePath(file.filePath());
        if (!file.isSymLink() && CanBeArchiveName(relative))
            names.append(QString(relative).replace(QLatin1Char('/'), QLatin1Char('\\')));
        else
            ++left;
        if (progress)
            progress->ProcessEvents();
    }
    std::sort(names.begin(), names.end(), [](const QString& first, const QString& second) {
        const int order = first.compare(second, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : first < second;
    });
    if (progress) {
        progress->SetRange(0, int(names.size()));
        progress->SetPosition(int(names.size()));
    }
    if (skipped)
        *skipped = left;
    return names;
}

QString GameDataFolder::Spelled(const QString& folder, const QString& archiveName)
{
    const QString relative = ProjectEntry::RelativeDiskPath(archiveName);
    if (relative.isEmpty())
        return {};
    QStringList parts = relative.split(QLatin1Char('/'));
    QDir current(folder);
    for (QString& part : parts) {
        const QString found = ExtractedDataRule::EntryIgnoringCase(current.path(), part);
        if (found.isEmpty())
            break;
        part = found;
        current.setPath(current.filePath(found));
    }
    return parts.join(QLatin1Char('/'));
}

QString GameDataFolder::FilePath(const QString& folder, const QString& archiveName)
{
    const QString relative = Spelled(folder, archiveName);
    if (relative.isEmpty())
        return {};
    const QFileInfo file(QDir(folder).filePath(relative));
    const QString root = QFileInfo(folder).canonicalFilePath();
    const QString real = file.canonicalFilePath();
    if (!file.isFile() || root.isEmpty() || !real.startsWith(root + QLatin1Char('/')))
        return {};
    return file.filePath();
}

bool GameDataFolder::ExtractFile(const QString& folder, const QString& archiveName, const QString& destination,
                                 bool destinationIsFolder, QString* error)
{
    if (folder.isEmpty() || archiveName.isEmpty() || destination.isEmpty())
        return Fail(error, QStringLiteral("no folder, name or destination was given"));
    const QString target = destinationIsFolder
        ? ProjectEntry::DiskPath(CarvestoneSettings::FolderWithSlash(destination), archiveName)
        : destination;
    if (target.isEmpty())
        return Fail(error, QStringLiteral("%1 is not a plain file name").arg(ProjectEntry::NamePart(archiveName)));
    if (QFileInfo(target).isDir())
        return Fail(error, QStringLiteral("%1 is a folder").arg(Shown(target)));
    const QString source = FilePath(folder, archiveName);
    if (source.isEmpty())
        return Fail(error, QStringLiteral("%1 is not in %2").arg(archiveName, Shown(folder)));
    return SafeFileCopy::CopyReplacing(source, target, error);
}
