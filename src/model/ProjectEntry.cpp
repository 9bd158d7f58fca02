#include "ProjectEntry.h"

#include <QFileInfo>
#include <QStringList>

QString ProjectEntry::NamePart(const QString& entry)
{
    return entry.mid(entry.lastIndexOf(QLatin1Char('\\')) + 1);
}

bool ProjectEntry::IsPlainFileName(const QString& name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    if (name.contains(QLatin1Char('/')) || name.contains(QChar(0)))
        return false;
#ifdef Q_OS_WIN
    if (name.contains(QLatin1Char(':')) || name.contains(QLatin1Char('\\')))
        return false;
#endif
    return true;
}

QString ProjectEntry::DiskPath(const QString& projectFolder, const QString& entry)
{
    const QString name = NamePart(entry);
    if (projectFolder.isEmpty() || !IsPlainFileName(name))
        return {};
    return projectFolder + name;
}

QString ProjectEntry::RelativeDiskPath(const QString& entry)
{
    const QStringList parts = entry.split(QLatin1Char('\\'));
    for (const QString& part : parts) {
        if (!IsPlainFileName(part))
            return {};
    }
    return parts.join(QLatin1Char('/'));
}

QString ProjectEntry::DiskFileProblem(const QString& projectFolder, const QString& entry, QString& diskPath)
{
    const QString namePart = NamePart(entry);
    const QString folder = projectFolder.endsWith(QLatin1Char('/')) ? projectFolder : projectFolder + QLatin1Char('/');
    diskPath = DiskPath(folder, entry);
    if (diskPath.isEmpty() && namePart.isEmpty())
        return QStringLiteral("the entry names a folder, not a file");
    if (diskPath.isEmpty())
        return QStringLiteral("%1 is not a plain file name").arg(namePart);
    if (!QFileInfo(diskPath).isFile())
        return QStringLiteral("%1 is not in the MOD folder").arg(namePart);
    return {};
}
