#include "FileSetReplacer.h"

#include "FileErrorText.h"
#include "SafeFileWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>

bool FileSetReplacer::MakeFolder(const QString& folder, QString* error)
{
    if (QFileInfo(folder).isDir() || QDir().mkpath(folder))
        return true;
    // mkpath says nothing of why; a file where a folder should be is the
    // cause a person can do something about.
    for (QString above = folder; !above.isEmpty() && above != QFileInfo(above).path(); above = QFileInfo(above).path()) {
        if (QFileInfo(above).isFile()) {
            *error = QStringLiteral("The folder %1 cannot be made: %2 is a file.")
                         .arg(QDir::toNativeSeparators(folder), QDir::toNativeSeparators(above));
            return false;
        }
    }
    *error = FileErrorText::ForErrno(EACCES, folder);
    return false;
}

void FileSetReplacer::Add(const QString& target, QByteArray bytes, const QString& backupName)
{
    files.push_back({target, std::move(bytes), backupFolder + QLatin1Char('/') + backupName, false});
}

bool FileSetReplacer::BackUp(QString* error)
{
    for (File& file : files) {
        file.existed = QFileInfo::exists(file.target);
        if (file.existed && !(MakeFolder(QFileInfo(file.backup).absolutePath(), error) && SafeFileWriter::CopyFile(file.target, file.backup, error)))
            return false;
    }
    return true;
}

bool FileSetReplacer::Restore(size_t count, QString* error) const
{
    bool restored = true;
    for (size_t index = 0; index < count; ++index) {
        const File& file = files[index];
        QString why;
        const bool back = file.existed ? SafeFileWriter::CopyFile(file.backup, file.target, &why)
                                       : QFile::remove(file.target);
        if (!back) {
            restored = false;
            *error += QStringLiteral(" %1 could not be put back: its old bytes are in %2.")
                          .arg(QDir::toNativeSeparators(file.target), QDir::toNativeSeparators(file.backup));
        }
    }
    return restored;
}

bool FileSetReplacer::Commit(QString* error)
{
    if (!BackUp(error)) {
        QDir(backupFolder).removeRecursively();
        return false;
    }
    for (size_t index = 0; index < files.size(); ++index) {
        const File& file = files[index];
        if (MakeFolder(QFileInfo(file.target).absolutePath(), error) && SafeFileWriter::WriteFile(file.target, file.bytes, error))
            continue;
        // The backup goes only when every file has its old bytes again.
        if (Restore(index, error))
            QDir(backupFolder).removeRecursively();
        return false;
    }
    return true;
}
