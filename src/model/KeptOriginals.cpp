#include "KeptOriginals.h"

#include "ProjectEntry.h"
#include "TableFile.h"
#include "core/FileErrorText.h"
#include "core/FileSetReplacer.h"
#include "core/SafeFileWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>

const QString KeptOriginals::FolderName = QStringLiteral(".carvestone/originals");

QString KeptOriginals::PathOf(const QString& entry) const
{
    if (projectFolder.isEmpty())
        return {};
    return ProjectEntry::DiskPath(projectFolder + FolderName + QLatin1Char('/'), entry);
}

bool KeptOriginals::Has(const QString& entry) const
{
    const QString path = PathOf(entry);
    return !path.isEmpty() && QFileInfo(path).isFile();
}

std::optional<QByteArray> KeptOriginals::Read(const QString& entry, QString* error) const
{
    if (!Has(entry))
        return std::nullopt;
    QByteArray bytes;
    QString why;
    if (!TableFile::ReadFile(PathOf(entry), &bytes, &why)) {
        if (error)
            *error = why;
        return std::nullopt;
    }
    return bytes;
}

bool KeptOriginals::KeepCopyOf(const QString& entry, const QString& source, QString* error) const
{
    const QString path = PathOf(entry);
    if (path.isEmpty()) {
        *error = FileErrorText::ForErrno(EINVAL, entry);
        return false;
    }
    return FileSetReplacer::MakeFolder(projectFolder + FolderName, error) && SafeFileWriter::CopyFile(source, path, error);
}

bool KeptOriginals::Keep(const QString& entry, const QByteArray& bytes, QString* error) const
{
    const QString path = PathOf(entry);
    if (path.isEmpty()) {
        *error = FileErrorText::ForErrno(EINVAL, entry);
        return false;
    }
    return FileSetReplacer::MakeFolder(projectFolder + FolderName, error) && SafeFileWriter::WriteFile(path, bytes, error);
}

bool KeptOriginals::Forget(const QString& entry, QString* error) const
{
    const QString path = PathOf(entry);
    if (path.isEmpty() || !QFileInfo::exists(path) || QFile::remove(path))
        return true;
    *error = FileErrorText::ForErrno(EACCES, path);
    return false;
}
