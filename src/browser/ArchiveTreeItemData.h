#pragma once

#include <QString>

// What a file item of the archive tree or the project tree stands for: the
// full archive name and where its name part begins.  Folder items and the
// root carry none, which is how a file item is told from the others.
struct ArchiveTreeItemData
{
    QString archiveName;
    qsizetype namePartStart = 0;

    static ArchiveTreeItemData FromArchiveName(const QString& archiveName)
    {
        return {archiveName, archiveName.lastIndexOf(QLatin1Char('\\')) + 1};
    }
    QString NamePart() const { return archiveName.mid(namePartStart); }
};
