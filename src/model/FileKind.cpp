#include "FileKind.h"

int FileKind::IconIndex(const QString& archiveName)
{
    const qsizetype dot = archiveName.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return Other;
    const QString extension = archiveName.mid(dot + 1).toLower();
    if (extension == QLatin1String("dc6") || extension == QLatin1String("dcc"))
        return Picture;
    if (extension == QLatin1String("tbl"))
        return StringTable;
    if (extension == QLatin1String("wav"))
        return Sound;
    if (extension != QLatin1String("txt"))
        return Other;
    const QString namePart = archiveName.mid(archiveName.lastIndexOf(QLatin1Char('\\')) + 1).toLower();
    if (namePart == QLatin1String("uniqueitems.txt"))
        return UniqueItems;
    if (namePart == QLatin1String("setitems.txt"))
        return SetItems;
    return Table;
}
