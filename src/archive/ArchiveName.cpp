#include "ArchiveName.h"

QString ArchiveName::NamePart(const QString& archiveName)
{
    return archiveName.mid(archiveName.lastIndexOf(QLatin1Char('\\')) + 1);
}

bool ArchiveName::IsPlainFileName(const QString& name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    return !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'))
        && !name.contains(QChar(0));
}

QString ArchiveName::PathInFolder(const QString& folder, const QString& archiveName)
{
    const QString namePart = NamePart(archiveName);
    if (!IsPlainFileName(namePart))
        return {};
    if (folder.endsWith(QLatin1Char('/')) || folder.endsWith(QLatin1Char('\\')))
        return folder + namePart;
    return folder + QLatin1Char('/') + namePart;
}
