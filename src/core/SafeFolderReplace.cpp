#include "SafeFolderReplace.h"

#include "FileErrorText.h"
#include "SafeFileWriter.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace {

bool Fail(QString* error, const QString& text)
{
    if (error)
        *error = text;
    return false;
}

// std::filesystem keeps the cause that QDir::rename drops.
int RenameFolder(const QString& from, const QString& to)
{
    std::error_code code;
    std::filesystem::rename(QFile::encodeName(from).toStdString(), QFile::encodeName(to).toStdString(), code);
    return code.value();
}

bool Exists(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

} // namespace

QString SafeFolderReplace::BackupPath(const QString& target)
{
    const QFileInfo place(target);
    return place.absolutePath() + QStringLiteral("/.") + place.fileName() + QStringLiteral(".carvestone-backup");
}

void SafeFolderReplace::RecoverInterrupted(const QString& target)
{
    const QString backup = BackupPath(target);
    if (!QFileInfo(backup).isDir())
        return;
    if (Exists(target))
        QDir(backup).removeRecursively();
    else
        RenameFolder(backup, target);
}

bool SafeFolderReplace::PutInPlace(const QString& finished, const QString& target, QString* error)
{
    RecoverInterrupted(target);
    const QString backup = BackupPath(target);
    const bool hadOld = Exists(target);
    if (hadOld) {
        if (const int cause = RenameFolder(target, backup))
            return Fail(error, FileErrorText::ForErrno(cause, target));
    }
    if (const int cause = RenameFolder(finished, target)) {
        if (hadOld)
            RenameFolder(backup, target);
        return Fail(error, FileErrorText::ForErrno(cause, target));
    }
    // The new folder is in place: a backup that will not go is removed by
    // the next replacement.
    if (hadOld)
        QDir(backup).removeRecursively();
    return true;
}

bool SafeFolderReplace::CopyTree(const QString& source, const QString& copy, const QString& shownFolder,
                                 QString* error, const Progress& onFile)
{
    const QDir from(source);
    const QDir to(copy);
    const QDir::Filters everything = QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System;
    int total = 0;
    for (QDirIterator count(source, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
         count.hasNext(); count.next())
        ++total;
    int copied = 0;
    QDirIterator walk(source, everything, QDirIterator::Subdirectories);
    while (walk.hasNext()) {
        const QFileInfo entry(walk.next());
        const QString relative = from.relativeFilePath(entry.filePath());
        const QString shown = QDir(shownFolder).filePath(relative);
        if (entry.isSymLink())
            return Fail(error, FileErrorText::ForErrno(ELOOP, entry.filePath()));
        if (entry.isDir()) {
            if (!to.mkpath(relative))
                return Fail(error, FileErrorText::ForErrno(EACCES, shown));
            continue;
        }
        QString cause;
        if (!to.mkpath(QFileInfo(relative).path()) || !SafeFileWriter::CopyFile(entry.filePath(), to.filePath(relative), &cause))
            return Fail(error, cause.isEmpty() ? FileErrorText::ForErrno(EACCES, shown)
                                               : cause.replace(QDir::toNativeSeparators(to.filePath(relative)),
                                                               QDir::toNativeSeparators(shown)));
        if (onFile)
            onFile(++copied, total);
    }
    return true;
}

void SafeFolderReplace::RemoveLeftovers(const QString& parent, const QString& prefix)
{
    // Compared as text: a project name may hold characters that a wildcard
    // pattern reads as patterns.
    const QDir folder(parent);
    for (const QString& name : folder.entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot | QDir::NoSymLinks)) {
        if (name.size() == prefix.size() + 6 && name.startsWith(prefix))
            QDir(folder.filePath(name)).removeRecursively();
    }
}
